#pragma once

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

// A profile page still without its home castle (the page came half made).
QString profilePageWithoutHome();

} // namespace PageFixtures
