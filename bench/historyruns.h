#pragma once

#include "history/historytypes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

// The history daily runs make, for the benchmarks of the windows over it:
// by default four runs a day for four years (6,000 snapshots) of a
// 1,000-member alliance "7".
struct HistoryRuns
{
    int runs = 6000;
    int members = 1000;
    QDateTime start{QDate(2023, 1, 1), QTime(9, 0)};

    // --runs N and --members M.
    static HistoryRuns fromCommandLine(const QCoreApplication &app)
    {
        QCommandLineParser parser;
        parser.addHelpOption();
        const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("snapshots recorded"),
                                            QStringLiteral("N"), QStringLiteral("6000"));
        const QCommandLineOption membersOption(QStringLiteral("members"),
                                               QStringLiteral("members per snapshot"), QStringLiteral("M"),
                                               QStringLiteral("1000"));
        parser.addOptions({runsOption, membersOption});
        parser.process(app);
        HistoryRuns made;
        made.runs = parser.value(runsOption).toInt();
        made.members = parser.value(membersOption).toInt();
        return made;
    }

    // The day after the last run.
    QDate today() const { return start.date().addDays(runs / 4 + 1); }

    // Run s without its members: every other one reads points (activity),
    // the others are of otherKind.
    Snapshot run(int s, const QString &otherKind) const
    {
        return Snapshot{0,
                        start.addDays(s / 4).addSecs(60 * (s % 4)),
                        readsPoints(s) ? History::Kinds::activity.key : otherKind,
                        QStringLiteral("7"),
                        {}};
    }
    static bool readsPoints(int s) { return s % 2 == 1; }
    // Member m of every run, by user id and name.
    static MemberReading member(int m)
    {
        MemberReading reading;
        reading.position = m + 1;
        reading.userId = QString::number(1000 + m);
        reading.name = QStringLiteral("城主%1").arg(m);
        return reading;
    }
};
