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

    QString missed;
    const QString rowsMarkup = loadMemberRows(allianceId, missed);
    if (rowsMarkup.isEmpty()) {
        tell(Messages::pageWithoutMembers(kAlliancePageLoads) + QStringLiteral("\r\n\r\n") + missed, true);
        return;
    }
    const QList<ActivityRecord> current = readMemberRows(rowsMarkup);
    m_memberCount = current.size();

    const QString path = m_context.session.appDir + fileName(allianceId);
    const PreviousRun previous = readPreviousRun(path);
    if (!previous.ok) {
        tell(Messages::unreadableRecord(previous.error), true);
        return;
    }
    const bool firstRun = previous.firstRun;

    const QString today = m_clock.todayText();
    const QList<ActivityRecord> dated = dateMembers(current, previous.records, today);
    const QStringList inactive = firstRun ? QStringList() : inactiveLines(dated, today);
    if (!inactive.isEmpty()) {
        m_context.port.setOutputText(inactiveReport(inactive));
        m_addressees = inactiveNames(dated, today);
    }

    // Saved before any message box: the user may close the program while
    // one is up, and this run's state would be lost.
    const DataFile::Result written = DataFile::writeLines(path, formatHistory(dated));
    if (written)
        m_savedFile = fileName(allianceId);
    // The page read to its end is the run: its snapshot is kept whether or
    // not the activity file could be written.
    HistoryRecording::recordRun(m_context, kLabel, HistoryRecording::activitySnapshot(allianceId, current));
    if (firstRun) {
        if (!written) {
            tell(Messages::firstRunUnsaved(written.error), true);
            return;
        }
        tell(Messages::firstRun(), false);
        return;
    }
    if (inactive.isEmpty())
        tell(Messages::allActive(), false);
    if (!written)
        tell(Messages::unsaved(written.error), true);
}

QString ActivityCommand::loadMemberRows(const QString &allianceId, QString &missed)
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
        [](int load) {
            return load == 1 ? kLabel
                             : QStringLiteral("活動履歴（同盟員の一覧を待っています %1/%2）")
                                   .arg(load)
                                   .arg(kAlliancePageLoads);
        });
    if (!read && !walk.missedMarks().isEmpty())
        missed = walk.missedMarks().constFirst().explanation();
    return read ? rowsMarkup : QString();
}
