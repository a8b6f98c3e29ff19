// Figures of the history store at the size daily runs make: by default four
// commands a day for four years (6,000 runs) of a 1,000-member alliance,
// then the time to record one more run and to read what the trends window
// opens with. Prints figures; not a test.
//   history_bench [--runs N] [--members M]
#include "history/historystore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimeZone>
#include <algorithm>

namespace {

// Run index: four commands a day; one member in fifty changes every ten days.
Snapshot run(int index, int members)
{
    static const QString commands[] = {History::Kinds::roster.key, History::Kinds::activity.key,
                                       History::Kinds::report.key, History::Kinds::castles.key};
    const int day = index / 4;
    Snapshot snapshot;
    snapshot.takenAt = QDateTime(QDate(2023, 1, 1), QTime(21, 0), QTimeZone(9 * 3600))
                           .addDays(day)
                           .addSecs(60 * (index % 4));
    snapshot.command = commands[index % 4];
    snapshot.allianceId = QStringLiteral("7");
    const int shift = day / 10;
    for (int i = 1; i <= members; ++i) {
        const int id = i % 50 == 0 ? 100000 + i + shift * members : 100000 + i;
        MemberReading reading;
        reading.position = i;
        reading.userId = QString::number(id);
        reading.name = QStringLiteral("同盟員%1").arg(id);
        if (snapshot.command == History::Kinds::roster.key) {
            reading.x = i % 200 - 100;
            reading.y = i / 5;
        } else if (snapshot.command == History::Kinds::activity.key) {
            reading.points = 10000LL * i + (i % 3 ? day * 17 : 0);
        } else if (snapshot.command == History::Kinds::report.key) {
            reading.population = 500 + i + day;
            reading.merit = i * 3 + day;
            reading.role = QStringLiteral("一般");
        }
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

double msSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

// What 「推移」 reads of a full history, each timed.
void measureReading(const QString &directory, const QDate &today, QTextStream &out)
{
    HistoryStore reader(directory);
    QElapsedTimer timer;
    timer.start();
    const qsizetype idle = reader.daysSincePointsLastMoved(QStringLiteral("7"), today).value.size();
    out << "days since points moved for " << idle << " members: " << msSince(timer) << " ms (budget 100)"
        << Qt::endl;
    timer.restart();
    const qsizetype log = reader.joinLeaveLog(QStringLiteral("7")).value.size();
    out << "join/leave log (" << log << " lines): " << msSince(timer) << " ms (budget 100)" << Qt::endl;
    timer.restart();
    const qsizetype totals = reader.totals(QStringLiteral("7")).value.size();
    out << "sums of " << totals << " runs: " << msSince(timer) << " ms" << Qt::endl;
    timer.restart();
    const qsizetype readings =
        reader.memberReadings(QStringLiteral("7"), QStringLiteral("100001"), QStringLiteral("同盟員100001"))
            .value.size();
    out << "one member's " << readings << " readings: " << msSince(timer) << " ms" << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("runs already recorded"),
                                        QStringLiteral("N"), QStringLiteral("6000"));
    const QCommandLineOption membersOption(QStringLiteral("members"), QStringLiteral("members per run"),
                                           QStringLiteral("M"), QStringLiteral("1000"));
    parser.addOptions({runsOption, membersOption});
    parser.process(app);
    const int runs = parser.value(runsOption).toInt();
    const int members = parser.value(membersOption).toInt();

    QTextStream out(stdout);
    QTemporaryDir dir;
    HistoryStore store(dir.path());
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        const Result<qint64> result = store.recordSnapshot(run(i, members));
        if (!result) {
            out << result.error << Qt::endl;
            return 1;
        }
        if ((i + 1) % 500 == 0)
            out << "  " << i + 1 << " runs recorded, " << timer.elapsed() / 1000 << " s" << Qt::endl;
    }
    out << "filling " << runs << " runs of " << members << " members: " << timer.elapsed() / 1000 << " s"
        << Qt::endl;

    QList<double> record;
    for (int i = runs; i < runs + 12; ++i) {
        const Snapshot snapshot = run(i, members);
        timer.restart();
        store.recordSnapshot(snapshot);
        record << msSince(timer);
    }
    out << "recording one run (median of 12, every command): " << median(record) << " ms (budget 50)"
        << Qt::endl;
    for (int command = 0; command < 4; ++command)
        out << "  " << run(runs + command, 1).command << ": "
            << median({record.at(command), record.at(command + 4), record.at(command + 8)}) << " ms"
            << Qt::endl;

    measureReading(dir.path(), run(runs + 12, members).takenAt.date(), out);
    out << "database file: " << QFileInfo(store.path()).size() / (1024 * 1024) << " MiB" << Qt::endl;
    return 0;
}
