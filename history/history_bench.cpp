// Figures of the history store at the size of a large alliance: 100 runs of
// 500 members already recorded, then the time to record one more run and to
// read everything back for the trends. Prints figures; not a test.
#include "history/historystore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimeZone>
#include <algorithm>

namespace {

Snapshot run(int index, int members)
{
    Snapshot snapshot;
    snapshot.takenAt = QDateTime(QDate(2026, 1, 1), QTime(21, 0), QTimeZone(9 * 3600)).addDays(index);
    snapshot.command = index % 2 ? History::activityCommand() : History::rosterCommand();
    snapshot.allianceId = QStringLiteral("7");
    for (int i = 1; i <= members; ++i) {
        MemberReading reading;
        reading.position = i;
        reading.userId = QString::number(100000 + i);
        reading.name = QStringLiteral("同盟員%1").arg(i);
        reading.x = i % 200 - 100;
        reading.y = i / 5;
        reading.points = 10000LL * i + (i % 3 ? index * 17 : 0);
        reading.population = 500 + i;
        reading.merit = i * 3;
        reading.role = QStringLiteral("一般");
        reading.fiefCount = i % 12;
        snapshot.members << reading;
    }
    return snapshot;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    HistoryStore store(dir.path());

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 100; ++i) {
        const RecordResult result = store.recordSnapshot(run(i, 500));
        if (!result) {
            out << result.error << Qt::endl;
            return 1;
        }
    }
    out << "filling 100 runs of 500 members: " << timer.elapsed() << " ms" << Qt::endl;

    QList<double> record;
    for (int i = 100; i < 110; ++i) {
        const Snapshot snapshot = run(i, 500);
        timer.restart();
        store.recordSnapshot(snapshot);
        record << timer.nsecsElapsed() / 1e6;
    }
    out << "recording one run of 500 members (median of 10): " << median(record) << " ms (budget 50)"
        << Qt::endl;

    timer.restart();
    const qsizetype snapshots = store.snapshots(QStringLiteral("7")).value.size();
    out << "reading " << snapshots << " runs back: " << timer.nsecsElapsed() / 1e6 << " ms" << Qt::endl;
    timer.restart();
    const qsizetype idle =
        store.daysSincePointsLastMoved(QStringLiteral("7"), QDate(2026, 6, 1)).value.size();
    out << "days since points moved for " << idle << " members: " << timer.nsecsElapsed() / 1e6 << " ms"
        << Qt::endl;
    timer.restart();
    const qsizetype log = store.joinLeaveLog(QStringLiteral("7")).value.size();
    out << "join/leave log (" << log << " lines): " << timer.nsecsElapsed() / 1e6 << " ms" << Qt::endl;
    return 0;
}
