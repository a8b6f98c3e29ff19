#pragma once

#include "alliance/walk/commandcontext.h"
#include "alliance/walk/pagewalk.h"
#include "alliance/walk/toolport.h"

#include <QList>
#include <QString>
#include <QStringList>

class Clock;

// 「同盟員活動履歴」: reads every member's alliance points from the own
// alliance's page, compares them with the history file of the previous run,
// lists in Text1 the members whose points have not moved (with the day they
// last moved) and replaces the history file with today's state. The first
// run only records. The history file is the only memory between runs: it is
// replaced whole or not at all, and kept as it was when the page cannot be
// read.
class ActivityCommand
{
public:
    // The command as the user knows it: caption, progress, history.
    static inline const QString kLabel = QStringLiteral("活動履歴");

    // The alliance page is loaded at most this many times, with the pacing
    // pause between loads, before the command gives up: the game's page that
    // comes without its member list is one that is still being made, and a
    // few loads a pause apart are enough for it, while loading without end
    // would hold the browser and every other command for good.
    static constexpr int kAlliancePageLoads = PageWalk::kAttemptsPerPage;

    ActivityCommand(CommandContext &context, const Clock &clock) : m_context(context), m_clock(clock) {}

    void run();

    // The member rows the last run read; -1 when it read none.
    qsizetype memberCount() const { return m_memberCount; }
    // The activity record's name when the last run replaced it, else empty.
    const QString &savedFile() const { return m_savedFile; }
    // Why the file could not be replaced, in the file helper's words.
    const QString &saveFailure() const { return m_saveFailure; }
    // The members listed as inactive, in page order; the tool window offers
    // to write to them.
    const QStringList &addressees() const { return m_addressees; }

private:
    // The member rows of the alliance page; empty when the page never
    // showed them, and then what the last load lacked, explained.
    struct MemberRowsLoad
    {
        QString markup;
        QString missed;
    };
    MemberRowsLoad loadMemberRows(const QString &allianceId);
    // The command's messages: a warning, or a notice of how the run went.
    void warn(const QString &text) const { tell(text, ToolPort::Icon::Warning); }
    void notify(const QString &text) const { tell(text, ToolPort::Icon::Information); }
    void tell(const QString &text, ToolPort::Icon icon) const
    {
        m_context.port.showMessage(text, QStringLiteral("同盟員活動状況"), icon);
    }

    CommandContext &m_context;
    const Clock &m_clock;
    qsizetype m_memberCount = -1;
    QString m_savedFile;
    QString m_saveFailure;
    QStringList m_addressees;
};
