// Opening the trends window 「推移」 over the history daily runs make: by
// default four runs a day for four years (6,000 snapshots) of a 1,000-member
// alliance. The window, its member table and the alliance charts should be
// up in 500 ms. Prints figures; not a test.
//   trends_bench [--runs N] [--members M]
#include "bench/historyruns.h"
#include "trends/trendstable.h"
#include "trends/trendswindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const HistoryRuns history = HistoryRuns::fromCommandLine(app);
    const int runs = history.runs;
    const int members = history.members;

    QTemporaryDir dir;
    {
        HistoryStore store(dir.path());
        for (int s = 0; s < runs; ++s) {
            Snapshot snapshot = history.run(s, History::Kinds::report.key);
            for (int m = 0; m < members; ++m) {
                MemberReading reading = HistoryRuns::member(m);
                if (HistoryRuns::readsPoints(s)) {
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
    TrendsWindow window(dir.path(), QStringLiteral("7"), history.today());
    window.show();
    QApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    const int rows = window.model(TrendsWindow::Table::Members)->rowCount();
    std::printf("trends window: %d runs of %d members, opened in %lld ms (limit 500)\n", runs, rows,
                static_cast<long long>(elapsed));
    return rows == members && elapsed < 500 ? 0 : 1;
}
