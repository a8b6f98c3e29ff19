#pragma once

#include "alliance/walk/pagewalk.h"
#include "site/membertable.h"

// The walk of the commands that visit every member: the alliance page and
// its member table first, then every member's profile page through the page
// walk.
class MemberWalk
{
public:
    MemberWalk(CommandContext &context, QString progressLabel);

    // Loads the alliance page and reads its member table, in table order.
    // The markup that was read goes on the clipboard, as the reader leaves
    // it, also when the table cannot be read (ReadFailure then reaches the
    // caller).
    QList<Member> readMembers(const QString &allianceId);

    // Visits the profile page of every member, in order, with the reader
    // (index into members).
    void visitProfiles(const QList<Member> &members, const PageWalk::Reader &read);

    const QStringList &leftOut() const { return m_walk.leftOut(); }
    void tellLeftOut(const QString &intro) const { m_walk.tellLeftOut(intro); }
    // What the pages left out lacked, for a command's own message.
    QString explanations() const { return m_walk.explanations(); }

private:
    CommandContext &m_context;
    PageWalk m_walk;
};
