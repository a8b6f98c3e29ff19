// Opening the trends window 「推移」 over the history daily runs make: by
// default four runs a day for four years (6,000 snapshots) of a 1,000-member
// alliance. The window, its member table and the alliance charts should be
// up in 500 ms. Prints figures; not a test.
//   trends_bench [--runs N] [--members M]
#include "trends/trendstable.h"
#include "trends/trendswindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("snapshots recorded"),
                                        QStringLiteral("N"), QStringLiteral("6000"));
    const QCommandLineOption membersOption(QStringLiteral("members"), QStringLiteral("members per snapshot"),
                                           QStringLiteral("M"), QStringLiteral("1000"));
    parser.addOptions({runsOption, membersOption});
    parser.process(app);
    const int runs = parser.value(runsOption).toInt();
    const int members = parser.value(membersOption).toInt();

    QTemporaryDir dir;
    const QDateTime start(QDate(2023, 1, 1), QTime(9, 0));
    {
        HistoryStore store(dir.path());
        for (int s = 0; s < runs; ++s) {
            // Four runs a day; every other one reads points.
            const bool activity = s % 2 == 1;
            Snapshot snapshot{0,
                              start.addDays(s / 4).addSecs(60 * (s % 4)),
                              activity ? History::Kinds::activity.key : History::Kinds::report.key,
                              QStringLiteral("7"),
                              {}};
            for (int m = 0; m < members; ++m) {
                MemberReading reading;
                reading.position = m + 1;
                reading.userId = QString::number(1000 + m);
                reading.name = QStringLiteral("城主%1").arg(m);
                if (activity) {
                    reading.points = 1000 + (m % 3 == 0 ? 0 : s * m);
                } else {
                    reading.population = 500 + s;
                    reading.merit = s * 10;
                }
                snapshot.members << reading;
            }
            if (!store.recordSnapshot(snapshot)) {
                std::fprintf(stderr, "recording failed\n");
                return 1;
            }
        }
    }
    QElapsedTimer timer;
    timer.start();
    TrendsWindow window(dir.path(), QStringLiteral("7"), start.date().addDays(runs / 4 + 1));
    window.show();
    QApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    const int rows = window.model(TrendsWindow::Table::Members)->rowCount();
    std::printf("trends window: %d runs of %d members, opened in %lld ms (limit 500)\n", runs, rows,
                static_cast<long long>(elapsed));
    return rows == members && elapsed < 500 ? 0 : 1;
}
