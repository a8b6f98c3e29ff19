#include "alliance/activitycommand.h"

#include "alliance/activityhistory.h"
#include "alliance/historyrecorder.h"
#include "alliance/pacer.h"
#include "alliance/pagewalk.h"
#include "alliance/toolport.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "common/readfailure.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"

using namespace ActivityHistory;

void ActivityCommand::run()
{
    m_context.port.setOutputText(QString());
    const QString &allianceId = m_context.session.cleanAllianceId();

    const QString rowsMarkup = loadMemberRows(allianceId);
    if (rowsMarkup.isEmpty()) {
        tell(QStringLiteral(
                 "同盟ページを%1回読み込みましたが、同盟員の一覧が表示されませんでした。\r\n"
                 "活動記録は前のままです。時間をおいて、もう一度「同盟員活動履歴」を実行してください。")
                 .arg(kAlliancePageLoads),
             true);
        return;
    }
    const QList<ActivityRecord> current = readMemberRows(rowsMarkup);
    // Written back, an empty list would wipe every member's date.
    if (current.isEmpty())
        throw ReadFailure(QStringLiteral("同盟員の一覧に同盟員がいません。"));

    // The files are read and written whole by the file helpers, which close
    // them on every path out, a failure included.
    const QString path = m_context.session.appDir + fileName(allianceId);
    const bool firstRun = !DataFile::exists(path);
    QList<ActivityRecord> previous;
    if (!firstRun) {
        // Taking an unreadable file for a first run would replace the
        // members' dates with today's.
        const DataFile::Lines lines = DataFile::readLines(path);
        if (!lines) {
            tell(QStringLiteral("同盟員の活動記録を読めませんでした。記録は前のままです。\r\n\r\n") +
                     lines.error,
                 true);
            return;
        }
        previous = parseHistory(lines.lines);
    }

    const QString today = m_clock.todayText();
    const QList<ActivityRecord> dated = dateMembers(current, previous, today);
    const QStringList inactive = firstRun ? QStringList() : inactiveLines(dated, today);
    if (!inactive.isEmpty())
        m_context.port.setOutputText(inactiveReport(inactive));

    // Saved before any message box: the user may close the program while
    // one is up, and this run's state would be lost.
    const DataFile::Result written = DataFile::writeLines(path, formatHistory(dated));
    recordHistory(allianceId, current);
    if (firstRun) {
        if (!written) {
            tell(QStringLiteral("同盟員の活動記録を保存できませんでした。"
                                "次回の実行も、記録のない初回として扱われます。\r\n\r\n") +
                     written.error,
                 true);
            return;
        }
        tell(QStringLiteral(
                 "判定不能\r\n\r\n記録データがなかったため、活動状況の推移は次回実行時には判定できます。"),
             false);
        return;
    }
    if (inactive.isEmpty())
        tell(QStringLiteral("全員活動中です。前回調査と比べての全員同盟ポイントが変動しています。"), false);
    if (!written) {
        tell(QStringLiteral("同盟員の活動記録を保存できませんでした。前回の記録は前のままで、"
                            "次回もその記録と比べて判定します。\r\n\r\n") +
                 written.error,
             true);
    }
}

QString ActivityCommand::loadMemberRows(const QString &allianceId)
{
    // Shows how long a slow page has kept the command waiting.
    PageWalk walk(m_context, kLabel);
    const QString address = m_context.session.world.allianceInfoUrl(allianceId);
    for (int load = 1; load <= kAlliancePageLoads; ++load) {
        if (load == 1) {
            walk.showProgress(kLabel);
        } else {
            walk.showProgress(QStringLiteral("活動履歴（同盟員の一覧を待っています %1/%2）")
                                  .arg(load)
                                  .arg(kAlliancePageLoads));
            m_context.pacer.pause();
        }
        m_context.navigator.waitForPage(address);
        const QString rows = memberRowsMarkup(m_context.browsers.current().document());
        if (!rows.isEmpty())
            return rows;
    }
    return QString();
}

void ActivityCommand::recordHistory(const QString &allianceId, const QList<ActivityRecord> &members)
{
    // The page read to its end is the run: its snapshot is kept whether or
    // not the activity file could be written.
    Snapshot snapshot;
    snapshot.command = History::activityCommand();
    snapshot.allianceId = allianceId;
    for (qsizetype i = 0; i < members.size(); ++i) {
        MemberReading reading = HistoryRecording::memberReading(i, members.at(i).userId, members.at(i).name);
        reading.points = HistoryRecording::count(members.at(i).points);
        snapshot.members.append(reading);
    }
    HistoryRecording::recordRun(m_context, kLabel, snapshot);
}

void ActivityCommand::tell(const QString &text, bool warning) const
{
    m_context.port.showMessage(text, QStringLiteral("同盟員活動状況"),
                               warning ? ToolPort::Icon::Warning : ToolPort::Icon::Information);
}
