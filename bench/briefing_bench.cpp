// 「同盟の状況」 over four years of readings of a 1,000-member alliance: by
// default 6,000 snapshots (four runs a day), a reply check every week and
// a merit ranking every week. The briefing should be shown in 500 ms and a
// member's readings in 100 ms. Prints figures; not a test.
//   briefing_bench [--runs N] [--members M]
#include "bench/historyruns.h"
#include "trends/briefingpane.h"
#include "trends/trendsfileport.h"
#include "trends/trendswindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

class NoFiles : public TrendsFilePort
{
public:
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    void tell(const QString &, const QString &) override {}
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const HistoryRuns history = HistoryRuns::fromCommandLine(app);
    const int runs = history.runs;
    const int members = history.members;

    QTemporaryDir dir;
    int checks = 0;
    {
        HistoryStore store(dir.path());
        for (int s = 0; s < runs; ++s) {
            Snapshot snapshot = history.run(s, History::Kinds::roster.key);
            for (int m = 0; m < members; ++m) {
                MemberReading reading = HistoryRuns::member(m);
                reading.points = 1000 + (m % 3 == 0 ? 0 : s * m);
                snapshot.members << reading;
            }
            QList<Snapshot> recorded{snapshot};
            // Sundays: a reply check and a merit ranking.
            if (s % 28 == 27) {
                Snapshot check{
                    0,  snapshot.takenAt.addSecs(30), History::Kinds::replies.key, QStringLiteral("7"),
                    {}, QStringLiteral("集合")};
                Snapshot ranking{0,
                                 snapshot.takenAt.addSecs(40),
                                 History::Kinds::ranking.key,
                                 QStringLiteral("7"),
                                 {},
                                 History::rankingDetail(QStringLiteral("戦功"), 0)};
                for (int m = 0; m < members; ++m) {
                    MemberReading answer = HistoryRuns::member(m);
                    answer.userId.clear();
                    answer.replied = (m + checks) % 3 != 0;
                    check.members << answer;
                    if (m < 100) {
                        MemberReading ranked = HistoryRuns::member(m);
                        ranked.userId.clear();
                        ranked.rank = m + 1 + checks % 5;
                        ranked.score = 100000 - m * 10 + checks;
                        ranking.members << ranked;
                    }
                }
                recorded << check << ranking;
                ++checks;
            }
            for (const Snapshot &one : recorded) {
                if (!store.recordSnapshot(one)) {
                    std::fprintf(stderr, "recording failed\n");
                    return 1;
                }
            }
        }
    }
    const QDate today = history.today();
    HistoryStore store(dir.path());
    NoFiles files;
    QElapsedTimer timer;
    timer.start();
    BriefingPane pane(store, dir.path(), QStringLiteral("7"), today, files);
    pane.reload();
    pane.show();
    QApplication::processEvents();
    const qint64 shown = timer.elapsed();
    timer.restart();
    const MemberReading middle = HistoryRuns::member(members / 2);
    const Result<QList<DatedReading>> details =
        store.memberReadings(QStringLiteral("7"), middle.userId, middle.name);
    const qint64 member = timer.elapsed();
    std::printf("briefing: %d runs, %d reply checks, %lld members: shown in %lld ms (limit 500), "
                "a member's %lld readings in %lld ms (limit 100)\n",
                runs, checks, static_cast<long long>(pane.rows().size()), static_cast<long long>(shown),
                static_cast<long long>(details.value.size()), static_cast<long long>(member));
    return pane.rows().size() == members && shown < 500 && member < 100 ? 0 : 1;
}
