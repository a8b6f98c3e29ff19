#include "alliance/walk/historyrecorder.h"

#include "alliance/rules/rankingarchive.h"
#include "alliance/walk/commandcontext.h"
#include "alliance/walk/toolport.h"
#include "common/clock.h"
#include "history/historystore.h"

#include <QSet>
#include <QStringList>

QString StoreRecorder::record(const Snapshot &snapshot)
{
    Snapshot stamped = snapshot;
    if (!stamped.takenAt.isValid())
        stamped.takenAt = m_clock.now();
    const Result<qint64> recorded = m_store.recordSnapshot(stamped);
    m_failure = recorded ? QString() : recorded.error;
    return m_failure;
}

namespace HistoryRecording {

QString failureCaption(const QString &commandLabel, const QString &reason)
{
    return QStringLiteral("%1は完了しました。%2").arg(commandLabel, reason);
}

void recordRun(CommandContext &context, const QString &commandLabel, const Snapshot &snapshot)
{
    if (context.history == nullptr)
        return;
    const QString failure = context.history->record(snapshot);
    if (!failure.isEmpty())
        context.port.showStatus(failureCaption(commandLabel, failure));
}

MemberReading memberReading(qsizetype index, const QString &userId, const QString &name)
{
    MemberReading reading;
    reading.position = static_cast<int>(index) + 1;
    reading.userId = userId;
    reading.name = name;
    return reading;
}

Snapshot tableSnapshot(const QString &command, const QString &allianceId, const QList<Member> &members)
{
    Snapshot snapshot;
    snapshot.command = command;
    snapshot.allianceId = allianceId;
    snapshot.members.reserve(members.size());
    for (qsizetype i = 0; i < members.size(); ++i) {
        MemberReading reading = memberReading(i, members.at(i).userId, members.at(i).name);
        // Every reading of the table keeps the points it shows: a survey or
        // a roster walk alone then tells 「推移」 who stood still.
        reading.points = count(members.at(i).points());
        if (const std::optional<qint64> fiefs = count(members.at(i).fiefCount()))
            reading.fiefCount = static_cast<int>(*fiefs);
        snapshot.members.append(reading);
    }
    return snapshot;
}

Snapshot activitySnapshot(const QString &allianceId, const QList<ActivityRecord> &members)
{
    Snapshot snapshot;
    snapshot.command = History::Kinds::activity.key;
    snapshot.allianceId = allianceId;
    for (qsizetype i = 0; i < members.size(); ++i) {
        MemberReading reading = memberReading(i, members.at(i).userId, members.at(i).name);
        reading.points = count(members.at(i).points);
        snapshot.members.append(reading);
    }
    return snapshot;
}

Snapshot replySnapshot(const QString &allianceId, const QString &keyword, const QStringList &rosterNames,
                       const QStringList &nonRepliers)
{
    Snapshot snapshot;
    snapshot.command = History::Kinds::replies.key;
    snapshot.allianceId = allianceId;
    snapshot.detail = keyword;
    const QSet<QString> silent(nonRepliers.cbegin(), nonRepliers.cend());
    for (qsizetype i = 0; i < rosterNames.size(); ++i) {
        MemberReading reading = memberReading(i, QString(), rosterNames.at(i));
        reading.replied = !silent.contains(rosterNames.at(i));
        snapshot.members.append(reading);
    }
    return snapshot;
}

Snapshot rankingSnapshot(const QString &allianceId, int category, int band, const QList<RankingRow> &ranked)
{
    Snapshot snapshot;
    snapshot.command = History::Kinds::ranking.key;
    snapshot.allianceId = allianceId;
    snapshot.detail = History::rankingDetail(RankingArchive::categoryCaption(category), band);
    for (qsizetype i = 0; i < ranked.size(); ++i) {
        MemberReading reading = memberReading(i, QString(), ranked.at(i).name);
        // "12位" and "12" alike: the digits the rank begins with.
        QString digits;
        for (const QChar c : ranked.at(i).rank.trimmed()) {
            if (!c.isDigit())
                break;
            digits += c;
        }
        reading.rank = count(digits);
        reading.score = count(ranked.at(i).score);
        snapshot.members.append(reading);
    }
    return snapshot;
}

void setProfile(MemberReading &reading, const LordProfile &profile)
{
    reading.population = count(profile.population);
    reading.merit = count(profile.merit);
    if (!profile.role.isEmpty())
        reading.role = profile.role;
    setCoordinates(reading, profile.x + u',' + profile.y);
}

std::optional<qint64> count(const QString &text)
{
    QString digits = text.trimmed();
    digits.remove(u',');
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

void setCoordinates(MemberReading &reading, const QString &coordinates)
{
    const QStringList parts = coordinates.split(u',');
    bool ok = false;
    if (const int x = parts.value(0).toInt(&ok); ok)
        reading.x = x;
    if (parts.size() < 2)
        return;
    if (const int y = parts.at(1).toInt(&ok); ok)
        reading.y = y;
}

} // namespace HistoryRecording
