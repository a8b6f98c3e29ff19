#pragma once

#include <QList>
#include <QString>
#include <vector>

// Pages of the game as small HTML, for the tests of commands that walk them.
namespace PageFixtures {

struct Member
{
    int id;
    QString name;
    QString coordinates; // the home castle's link text, "-12,34"
};

// An alliance page with the member table: one row per member, in order.
QString alliancePage(const std::vector<Member> &members);

// A profile page whose home castle link shows the coordinates.
QString profilePage(const QString &coordinates);

// A lord's whole profile as the report reads it: name, population, merit
// (総戦功 … pt), alliance 美濃 of 3 members (rank 5), the role (a sub-leader
// shown with a blank before its bracket, as the game does) and the home
// castle's link.
QString lordProfilePage(const QString &name, const QString &population, const QString &merit,
                        const QString &role, int x, int y);

// A profile page still without its home castle (the page came half made).
QString profilePageWithoutHome();

struct Letter
{
    QString subject;
    QString sender;
};

// The inbox as the game shows it: the table header without blanks between
// its cells, a row per letter, and the pager with a no-break space; the last
// page link's text is lastLink when given.
QString inboxHtml(int page, int last, const QList<Letter> &letters, const QString &lastLink = QString());

} // namespace PageFixtures
