#include "history/briefing.h"

#include "common/settingsfile.h"
#include "history/historytrends.h"

#include <QDir>
#include <QHash>
#include <QSettings>
#include <vector>

namespace Briefing {

namespace {

// Names as the member table shows them: the ranking and the roster may
// keep blanks and quotes the table drops.
QString plainName(QString name)
{
    name.remove(u' ');
    name.remove(u'"');
    return name;
}

// A reading of a member in one snapshot, by id, else by its name where one
// side has no id; the first in the snapshot's order wins. Made once per
// snapshot: each of a thousand members is looked up in every one.
class ReadingIndex
{
public:
    explicit ReadingIndex(const QList<MemberReading> &readings)
    {
        for (const MemberReading &reading : readings) {
            if (!reading.userId.isEmpty() && !m_byId.contains(reading.userId))
                m_byId.insert(reading.userId, &reading);
            const QString name = plainName(reading.name);
            if (!m_byName.contains(name))
                m_byName.insert(name, &reading);
            if (reading.userId.isEmpty() && !m_idlessByName.contains(name))
                m_idlessByName.insert(name, &reading);
        }
    }
    const MemberReading *find(const MemberReading &member) const
    {
        if (!member.userId.isEmpty()) {
            if (const MemberReading *found = m_byId.value(member.userId))
                return found;
            return m_idlessByName.value(plainName(member.name));
        }
        return m_byName.value(plainName(member.name));
    }

private:
    QHash<QString, const MemberReading *> m_byId;
    QHash<QString, const MemberReading *> m_byName;
    QHash<QString, const MemberReading *> m_idlessByName;
};

// The lookups of one briefing, made once for all its rows.
struct Indexes
{
    explicit Indexes(const Inputs &inputs, int circulars)
        : week(inputs.points7DaysAgo), month(inputs.points28DaysAgo)
    {
        for (qsizetype i = 0; i < inputs.replyChecks.size() && i < circulars; ++i)
            checks.emplace_back(inputs.replyChecks.at(i).members);
        for (const Snapshot &ranking : inputs.meritRankings)
            rankings.emplace_back(ranking.members);
    }
    ReadingIndex week;
    ReadingIndex month;
    std::vector<ReadingIndex> checks;   // in the order of Inputs::replyChecks
    std::vector<ReadingIndex> rankings; // in the order of Inputs::meritRankings
};

std::optional<qint64> gainedSince(const ReadingIndex &then, const MemberReading &now)
{
    const MemberReading *before = then.find(now);
    if (!now.points || before == nullptr || !before->points)
        return std::nullopt;
    return *now.points - *before->points;
}

void addReplies(Row &row, const MemberReading &member, const Inputs &inputs, const Indexes &indexes)
{
    for (std::size_t i = 0; i < indexes.checks.size(); ++i) {
        const Snapshot &check = inputs.replyChecks.at(static_cast<qsizetype>(i));
        const MemberReading *found = indexes.checks[i].find(member);
        if (found == nullptr || !found->replied)
            continue; // not yet in the roster of that check
        ++row.checked;
        if (*found->replied)
            ++row.answered;
        else if (!row.lastMissed.isValid())
            row.lastMissed = check.takenAt.date();
    }
}

void addMerit(Row &row, const MemberReading &member, const Indexes &indexes)
{
    for (const ReadingIndex &ranking : indexes.rankings) {
        const MemberReading *found = ranking.find(member);
        if (found == nullptr || !found->rank)
            continue;
        if (!row.meritRank) {
            row.meritRank = found->rank;
            row.meritScore = found->score;
            continue;
        }
        row.rankChange = *found->rank - *row.meritRank;
        if (row.meritScore && found->score)
            row.scoreChange = *row.meritScore - *found->score;
        return;
    }
}

std::optional<int> daysInAlliance(const MemberReading &member, const Inputs &inputs)
{
    QDate joined;
    for (const QString &line : inputs.joinLeaveLog) {
        const HistoryTrends::LogEntry entry = HistoryTrends::readLogLine(line);
        if (entry.joined && plainName(entry.name) == plainName(member.name))
            joined = entry.day; // the latest join counts
    }
    if (!joined.isValid())
        return std::nullopt;
    return static_cast<int>(std::max<qint64>(0, joined.daysTo(inputs.today)));
}

void decide(Row &row, const IdleMember *idle, const Inputs &inputs, const Thresholds &thresholds)
{
    if (row.leaveUntil.isValid() && row.leaveUntil >= inputs.today) {
        row.status = Status::OnLeave;
        row.reason = row.leaveUntil.toString(QStringLiteral("M/d")) + QStringLiteral("まで");
        return;
    }
    if (row.daysInAlliance && *row.daysInAlliance < kNewcomerDays) {
        row.status = Status::Newcomer;
        row.reason = QStringLiteral("在籍%1日").arg(*row.daysInAlliance);
        return;
    }
    QStringList reasons;
    if (row.idleDays && *row.idleDays >= thresholds.idleDays)
        reasons << QStringLiteral("%1日間ポイント変化なし").arg(*row.idleDays);
    if (row.checked >= thresholds.minAnswered && row.answered < thresholds.minAnswered)
        reasons << QStringLiteral("返信 %1/%2").arg(row.answered).arg(row.checked);
    if (!reasons.isEmpty()) {
        row.status = Status::Attention;
        row.reason = reasons.join(u'、');
        return;
    }
    if (idle != nullptr && idle->days < kReturnedWithinDays &&
        idle->stoodBeforeLastMove >= thresholds.idleDays) {
        row.status = Status::Returned;
        row.reason = QStringLiteral("%1日間の停止から再開").arg(idle->stoodBeforeLastMove);
        return;
    }
    row.status = Status::Active;
}

QString number(const std::optional<qint64> &value)
{
    return value ? QString::number(*value) : QString();
}

QString signedNumber(const std::optional<qint64> &value)
{
    if (!value)
        return {};
    return *value > 0 ? u'+' + QString::number(*value) : QString::number(*value);
}

} // namespace

namespace {

const QString kIdleDays = QStringLiteral("idle-days");
const QString kCirculars = QStringLiteral("circulars");
const QString kMinAnswered = QStringLiteral("min-answered");

QString thresholdsPath(const QString &worldFolder)
{
    return QDir(worldFolder).filePath(QStringLiteral("briefing.ini"));
}

} // namespace

Thresholds readThresholds(const QString &worldFolder)
{
    const QSettings file(thresholdsPath(worldFolder), QSettings::IniFormat);
    Thresholds thresholds;
    const auto value = [&file](const QString &key, int fallback, int low, int high) {
        bool ok = false;
        const int read = file.value(key).toString().trimmed().toInt(&ok);
        return ok && read >= low && read <= high ? read : fallback;
    };
    thresholds.idleDays = value(kIdleDays, thresholds.idleDays, 1, 365);
    thresholds.circulars = value(kCirculars, thresholds.circulars, 1, 52);
    thresholds.minAnswered = value(kMinAnswered, thresholds.minAnswered, 0, thresholds.circulars);
    return thresholds;
}

QString writeThresholds(const QString &worldFolder, const Thresholds &thresholds)
{
    QSettings file(thresholdsPath(worldFolder), QSettings::IniFormat);
    file.setValue(kIdleDays, thresholds.idleDays);
    file.setValue(kCirculars, thresholds.circulars);
    file.setValue(kMinAnswered, thresholds.minAnswered);
    return SettingsFile::commit(file);
}

QString statusName(Status status)
{
    switch (status) {
    case Status::Attention:
        return QStringLiteral("要注意");
    case Status::Newcomer:
        return QStringLiteral("新入り");
    case Status::OnLeave:
        return QStringLiteral("休止中");
    case Status::Returned:
        return QStringLiteral("復帰");
    case Status::Active:
        return QStringLiteral("活動中");
    }
    return {};
}

QList<Status> statuses()
{
    return {Status::Attention, Status::Newcomer, Status::Returned, Status::OnLeave, Status::Active};
}

QList<Row> rows(const Inputs &inputs, const Thresholds &thresholds)
{
    QList<Row> rows;
    rows.reserve(inputs.members.size());
    const Indexes indexes(inputs, thresholds.circulars);
    for (const MemberReading &member : inputs.members) {
        Row row;
        row.userId = member.userId;
        row.name = member.name;
        const IdleMember *idle = nullptr;
        for (const IdleMember &candidate : inputs.idle) {
            if ((!member.userId.isEmpty() && candidate.userId == member.userId) ||
                (member.userId.isEmpty() && candidate.name == member.name)) {
                idle = &candidate;
                break;
            }
        }
        if (idle != nullptr)
            row.idleDays = idle->days;
        row.gained7 = gainedSince(indexes.week, member);
        row.gained28 = gainedSince(indexes.month, member);
        if (inputs.leaderName.isEmpty() || plainName(member.name) != plainName(inputs.leaderName))
            addReplies(row, member, inputs, indexes);
        addMerit(row, member, indexes);
        row.daysInAlliance = daysInAlliance(member, inputs);
        for (const MemberNote &note : inputs.notes) {
            if ((!note.userId.isEmpty() && note.userId == member.userId) ||
                (note.userId.isEmpty() && note.name == member.name)) {
                row.note = note.note;
                row.leaveUntil = note.leaveUntil;
            }
        }
        decide(row, idle, inputs, thresholds);
        rows << row;
    }
    return rows;
}

QStringList headings()
{
    return {QStringLiteral("名前"),         QStringLiteral("状態"),     QStringLiteral("停止日数"),
            QStringLiteral("7日増"),        QStringLiteral("28日増"),   QStringLiteral("返信"),
            QStringLiteral("最後の未返信"), QStringLiteral("戦功順位"), QStringLiteral("順位変化"),
            QStringLiteral("戦功"),         QStringLiteral("戦功変化"), QStringLiteral("在籍日数"),
            QStringLiteral("理由"),         QStringLiteral("メモ")};
}

QStringList cells(const Row &row)
{
    const QString answered =
        row.checked == 0 ? QString() : QStringLiteral("%1/%2").arg(row.answered).arg(row.checked);
    return {row.name,
            statusName(row.status),
            row.idleDays ? QString::number(*row.idleDays) : QString(),
            signedNumber(row.gained7),
            signedNumber(row.gained28),
            answered,
            row.lastMissed.isValid() ? row.lastMissed.toString(QStringLiteral("yyyy/MM/dd")) : QString(),
            number(row.meritRank),
            signedNumber(row.rankChange),
            number(row.meritScore),
            signedNumber(row.scoreChange),
            row.daysInAlliance ? QString::number(*row.daysInAlliance) : QStringLiteral("不明"),
            row.reason,
            row.note};
}

QString text(const QList<Row> &rows, const QDate &today)
{
    QString text = QStringLiteral("同盟の状況（%1）\r\n").arg(today.toString(QStringLiteral("yyyy/MM/dd")));
    for (const Status status : {Status::Attention, Status::Newcomer, Status::Returned, Status::OnLeave}) {
        QStringList lines;
        for (const Row &row : rows) {
            if (row.status != status)
                continue;
            QString line = row.name + QStringLiteral("：") + row.reason;
            if (!row.note.isEmpty())
                line += QStringLiteral("（") + row.note + QStringLiteral("）");
            lines << line;
        }
        text += QStringLiteral("\r\n■%1（%2名）\r\n").arg(statusName(status)).arg(lines.size());
        for (const QString &line : std::as_const(lines))
            text += line + QStringLiteral("\r\n");
    }
    return text;
}

} // namespace Briefing
