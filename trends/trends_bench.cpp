// Opening the trends window over a store of 100 snapshots of a 500-member
// alliance: the member table and the alliance chart should be up in 300 ms.
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
    QTemporaryDir dir;
    {
        HistoryStore store(dir.path());
        const QDateTime start(QDate(2026, 1, 1), QTime(9, 0));
        for (int s = 0; s < 100; ++s) {
            Snapshot snapshot{0, start.addDays(s), History::activityCommand(), QStringLiteral("7"), {}};
            for (int m = 0; m < 500; ++m) {
                MemberReading reading;
                reading.position = m + 1;
                reading.userId = QString::number(1000 + m);
                reading.name = QStringLiteral("城主%1").arg(m);
                reading.points = 1000 + (m % 3 == 0 ? 0 : s * m);
                reading.population = 500 + s;
                reading.merit = s * 10;
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
    TrendsWindow window(dir.path(), QStringLiteral("7"), QDate(2026, 5, 1));
    window.show();
    QApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    const int rows = window.model(TrendsWindow::Table::Members)->rowCount();
    std::printf("trends window: %d members, opened in %lld ms (limit 300)\n", rows,
                static_cast<long long>(elapsed));
    return rows == 500 && elapsed < 300 ? 0 : 1;
}
