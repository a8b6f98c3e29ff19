#include "alliance/rules/activityhistory.h"

#include "common/datafile.h"
#include "common/readfailure.h"
#include "common/textsearch.h"
#include "site/document.h"

#include <QHash>

using namespace TextSearch;

namespace {

const QString &rowMarker()
{
    static const QString marker = QStringLiteral("<TR class=fs12");
    return marker;
}

// The file separates its fields with "%", so a "%" inside a field would move
// every later field. It is written as its character reference instead;
// names read from the page never hold "&#" themselves (the markup writes
// "&" as "&amp;"), so the reference cannot be mistaken for a name's text.
const QString &percent()
{
    static const QString text = QStringLiteral("%");
    return text;
}
const QString &percentReference()
{
    static const QString text = QStringLiteral("&#37;");
    return text;
}

QString escapeField(QString field)
{
    return field.replace(percent(), percentReference());
}

QString unescapeField(QString field)
{
    return field.replace(percentReference(), percent());
}

ActivityRecord readRow(const QString &row, qsizetype rowNumber)
{
    const qsizetype link = findAsText(row, QStringLiteral("user_id"));
    if (link == 0)
        throw ReadFailure(
            QStringLiteral("同盟員の一覧の%1行目に城主へのリンクがありません。").arg(rowNumber));
    const qsizetype nameStart = findAsText(row, QStringLiteral(">"), link);
    const qsizetype nameEnd = findAsText(row, QStringLiteral("</A>"), nameStart);
    if (nameStart == 0 || nameEnd == 0)
        throw ReadFailure(QStringLiteral("同盟員の一覧の%1行目から城主名を読めません。").arg(rowNumber));
    const qsizetype cell = findAsText(row, QStringLiteral("<TD>"), nameEnd);
    const qsizetype pointsStart = cell == 0 ? 0 : findAsText(row, QStringLiteral(">"), cell);
    const qsizetype pointsEnd = pointsStart == 0 ? 0 : findAsText(row, QStringLiteral("</TD>"), pointsStart);
    if (pointsEnd == 0)
        throw ReadFailure(
            QStringLiteral("同盟員の一覧の%1行目から同盟ポイントを読めません。").arg(rowNumber));
    // The digits after "user_id=" name the member the way every other
    // reading of the history does; a renamed lord stays the same member.
    QString userId;
    if (row.mid(link - 1 + 7, 1) == QStringLiteral("="))
        for (qsizetype i = link - 1 + 8; i < row.size() && row.at(i) >= u'0' && row.at(i) <= u'9'; ++i)
            userId += row.at(i);
    return {trimSpaces(span(row, nameStart + 1, nameEnd - 1)),
            trimSpaces(span(row, pointsStart + 1, pointsEnd - 1)), QString(), userId};
}

} // namespace

namespace ActivityHistory {

QString fileName(const QString &allianceId)
{
    return QStringLiteral("同盟ポイントDATA_") + allianceId + QStringLiteral(".txt");
}

QString memberRowsMarkup(const Document &alliancePage)
{
    return memberRows(alliancePage).markup;
}

MemberRows memberRows(const Document &alliancePage)
{
    // Every element's markup is a part of the root's, so the root is the
    // first element that holds the row marker whenever any element does.
    const QString searched =
        removeAll(trimSpaces(alliancePage.rootInnerHtml().toString()), QStringLiteral("\""));
    const qsizetype rows = findAsText(searched, rowMarker());
    if (rows == 0)
        return {QString(), QStringLiteral("同盟員の行の印「%1」").arg(rowMarker())};
    const QString fromRows = searched.mid(rows - 1);
    const QString tableEnd = QStringLiteral("</TD></TR></TBODY></TABLE>");
    const qsizetype end = findAsText(fromRows, tableEnd);
    if (end == 0)
        return {QString(), QStringLiteral("同盟員の表の終わり「%1」").arg(tableEnd)};
    return {fromRows.left(end), QString()};
}

QList<ActivityRecord> readMemberRows(const QString &rowsMarkup)
{
    const QStringList pieces = rowsMarkup.split(rowMarker(), Qt::KeepEmptyParts, Qt::CaseSensitive);
    QList<ActivityRecord> members;
    members.reserve(pieces.size());
    // What stands before the first marker is never a row.
    for (qsizetype i = 1; i < pieces.size(); ++i)
        members.append(readRow(pieces.at(i), i));
    if (members.isEmpty())
        throw ReadFailure(QStringLiteral("同盟員の一覧に同盟員がいません。"));
    return members;
}

PreviousRun readPreviousRun(const QString &path)
{
    PreviousRun previous;
    previous.firstRun = !DataFile::exists(path);
    if (previous.firstRun)
        return previous;
    // Read whole by the file helper, which closes the file on every path out.
    const DataFile::Lines lines = DataFile::readLines(path);
    previous.ok = lines.ok;
    previous.error = lines.error;
    previous.records = parseHistory(lines.value);
    return previous;
}

QList<ActivityRecord> parseHistory(const QStringList &lines)
{
    QList<ActivityRecord> records;
    records.reserve(lines.size());
    for (const QString &line : lines) {
        const QStringList pieces = trimSpaces(line).split(percent());
        // A damaged line is left out rather than failing this run and every
        // later one: its member is then dated anew, nothing else is lost.
        if (pieces.size() < 3)
            continue;
        records.append(
            {unescapeField(pieces.at(0)), unescapeField(pieces.at(1)), unescapeField(pieces.at(2))});
    }
    return records;
}

QStringList formatHistory(const QList<ActivityRecord> &records)
{
    QStringList lines;
    lines.reserve(records.size());
    for (const ActivityRecord &record : records) {
        lines.append(escapeField(record.name) + percent() + escapeField(record.points) + percent() +
                     escapeField(record.date));
    }
    return lines;
}

QList<ActivityRecord> dateMembers(const QList<ActivityRecord> &current, const QList<ActivityRecord> &previous,
                                  const QString &today)
{
    // A name the file holds twice is compared with its first record only.
    QHash<QString, qsizetype> firstRecord;
    for (qsizetype i = 0; i < previous.size(); ++i) {
        if (!firstRecord.contains(previous.at(i).name))
            firstRecord.insert(previous.at(i).name, i);
    }
    QList<ActivityRecord> dated;
    dated.reserve(current.size());
    for (const ActivityRecord &member : current) {
        ActivityRecord record{member.name, member.points, today};
        const auto found = firstRecord.constFind(member.name);
        if (found != firstRecord.cend() && previous.at(*found).points == member.points)
            record.date = previous.at(*found).date;
        dated.append(record);
    }
    return dated;
}

QStringList inactiveLines(const QList<ActivityRecord> &dated, const QString &today)
{
    QStringList lines;
    for (const ActivityRecord &record : dated) {
        if (record.date != today)
            lines.append(record.name + QStringLiteral("<<") + record.points + QStringLiteral("<<") +
                         record.date);
    }
    return lines;
}

QStringList inactiveNames(const QList<ActivityRecord> &dated, const QString &today)
{
    QStringList names;
    for (const ActivityRecord &record : dated) {
        if (record.date != today)
            names.append(record.name);
    }
    return names;
}

namespace Messages {

QString pageWithoutMembers(int loads)
{
    return QStringLiteral(
               "同盟ページを%1回読み込みましたが、同盟員の一覧が表示されませんでした。\r\n"
               "活動記録は前のままです。時間をおいて、もう一度「同盟員活動履歴」を実行してください。")
        .arg(loads);
}

QString unreadableRecord(const QString &error)
{
    return QStringLiteral("同盟員の活動記録を読めませんでした。記録は前のままです。\r\n\r\n") + error;
}

QString firstRunUnsaved(const QString &error)
{
    return QStringLiteral("同盟員の活動記録を保存できませんでした。"
                          "次回の実行も、記録のない初回として扱われます。\r\n\r\n") +
           error;
}

QString firstRun()
{
    return QStringLiteral(
        "判定不能\r\n\r\n記録データがなかったため、活動状況の推移は次回実行時には判定できます。");
}

QString waitingForMembers(int load, int loads)
{
    return QStringLiteral("活動履歴（同盟員の一覧を待っています %1/%2）").arg(load).arg(loads);
}

QString allActive()
{
    return QStringLiteral("全員活動中です。前回調査と比べての全員同盟ポイントが変動しています。");
}

QString unsaved(const QString &error)
{
    return QStringLiteral("同盟員の活動記録を保存できませんでした。前回の記録は前のままで、"
                          "次回もその記録と比べて判定します。\r\n\r\n") +
           error;
}

} // namespace Messages

QString inactiveReport(const QStringList &lines)
{
    QString text = QString::number(lines.size()) + QStringLiteral("人の同盟員が、前回調査時より、\r\n") +
                   QStringLiteral("同盟ポイントに変動がなく、活動停止状態です｡ \r\n") +
                   QStringLiteral("以下、活動停止中の同盟員・・・氏名<<同盟ポイント<<最終確認日\r\n");
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

} // namespace ActivityHistory
