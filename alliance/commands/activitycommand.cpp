#include "alliance/commands/activitycommand.h"

#include "alliance/rules/activityhistory.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/pacer.h"
#include "alliance/walk/pagewalk.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "site/browserslot.h"
#include "site/document.h"
#include "site/navigator.h"
#include "site/pagekeeper.h"
#include "site/session.h"

using namespace ActivityHistory;

void ActivityCommand::run()
{
    m_context.port.setOutputText(QString());
    const QString &allianceId = m_context.session.cleanAllianceId();

    const MemberRowsLoad rows = loadMemberRows(allianceId);
    if (rows.markup.isEmpty()) {
        warn(Messages::pageWithoutMembers(kAlliancePageLoads) + QStringLiteral("\r\n\r\n") + rows.missed);
        return;
    }
    const QList<ActivityRecord> current = readMemberRows(rows.markup);
    m_memberCount = current.size();

    const QString path = m_context.session.appDir + fileName(allianceId);
    const PreviousRun previous = readPreviousRun(path);
    if (!previous.ok) {
        warn(Messages::unreadableRecord(previous.error));
        return;
    }

    const QString today = m_clock.todayText();
    const QList<ActivityRecord> dated = dateMembers(current, previous.records, today);
    const QStringList inactive = previous.firstRun ? QStringList() : inactiveLines(dated, today);
    if (!inactive.isEmpty()) {
        m_context.port.setOutputText(inactiveReport(inactive));
        m_addressees = inactiveNames(dated, today);
    }

    // Saved before any message box: the user may close the program while
    // one is up, and this run's state would be lost.
    const DataFile::Result written = DataFile::writeLines(path, formatHistory(dated));
    if (written)
        m_savedFile = fileName(allianceId);
    else
        m_saveFailure = written.error;
    // The page read to its end is the run: its snapshot is kept whether or
    // not the activity file could be written.
    HistoryRecording::recordRun(m_context, kLabel, HistoryRecording::activitySnapshot(allianceId, current));
    if (previous.firstRun && !written)
        warn(Messages::firstRunUnsaved(written.error));
    else if (previous.firstRun)
        notify(Messages::firstRun());
    else if (inactive.isEmpty())
        notify(Messages::allActive());
    if (!previous.firstRun && !written)
        warn(Messages::unsaved(written.error));
}

ActivityCommand::MemberRowsLoad ActivityCommand::loadMemberRows(const QString &allianceId)
{
    // Shows how long a slow page has kept the command waiting.
    PageWalk walk(m_context, kLabel);
    QString rowsMarkup;
    const WalkPage page{m_context.session.world.allianceInfoUrl(allianceId), kLabel,
                        PageMark::Family::Alliance};
    const bool read = walk.readAlone(
        page,
        [&rowsMarkup](const Document &loaded, qsizetype) {
            const MemberRows rows = memberRows(loaded);
            rowsMarkup = rows.markup;
            return PageMark::Read::of(!rows.markup.isEmpty(), rows.missing);
        },
        [](int load) { return load == 1 ? kLabel : Messages::waitingForMembers(load, kAlliancePageLoads); });
    if (read || walk.missedMarks().isEmpty())
        return {read ? rowsMarkup : QString(), QString()};
    return {QString(), walk.missedMarks().constFirst().explanation()};
}
