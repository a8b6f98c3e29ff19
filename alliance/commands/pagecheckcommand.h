#pragma once

#include "alliance/rules/pagechecks.h"
#include "alliance/walk/commandcontext.h"

#include <QString>

class Clock;

// 「ページ点検」: visits one page of every family the tool reads (the own
// alliance page, its first member's profile, the first ranking page of each
// category, the inbox and the new-letter page), the pacing pause between,
// runs the readers on each and lists in Text1 which read and which mark each
// of the others lacked. A page that lacks one is kept in 「診断」, as in any
// walk.
class PageCheckCommand
{
public:
    static inline const QString kLabel = QStringLiteral("ページ点検");

    PageCheckCommand(CommandContext &context, const Clock &clock) : m_context(context), m_clock(clock) {}

    void run();

    // The pages the last run could not read; 0 when every family read.
    qsizetype unreadPages() const { return m_unread; }

private:
    // A verdict for each check's page, and what the pages lacked, explained.
    struct Walked
    {
        QList<PageChecks::Verdict> verdicts;
        QString explanations;
    };
    Walked walkChecks(const QList<PageChecks::Check> &checks);

    CommandContext &m_context;
    const Clock &m_clock;
    qsizetype m_unread = 0;
};
