#include "trends/text1csv.h"

#include "common/rosterfile.h"
#include "trends/csvfile.h"
#include "trends/trendsfileport.h"

#include <QHash>
#include <algorithm>

namespace {

QStringList linesOf(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain.split(u'\n');
}

// A roster line: a double quote at each end, the fields read as every
// reader of the roster reads them.
std::optional<QStringList> rosterFields(const QString &line)
{
    if (line.size() < 2 || !line.startsWith(u'"') || !line.endsWith(u'"'))
        return std::nullopt;
    QStringList fields = RosterFile::fields(line);
    // A coordinate text without a comma gives two fields: Y stays empty.
    while (fields.size() < 3)
        fields << QString();
    return fields;
}

struct Bar
{
    QString name;
    QString shown; // the value as the report shows it
};

// "***<<1250:name": the stars, "<<", the value as read, ":" and the name.
// The value is a number from the profile page and holds no colon, so the
// first colon after "<<" ends it; a name may hold one.
std::optional<Bar> barOf(const QString &line)
{
    qsizetype i = 0;
    while (i < line.size() && line.at(i) == u'*')
        ++i;
    if (!QStringView(line).mid(i).startsWith(QStringLiteral("<<")))
        return std::nullopt;
    const qsizetype valueStart = i + 2;
    const qsizetype colon = line.indexOf(u':', valueStart);
    if (colon < 0)
        return std::nullopt;
    return Bar{line.mid(colon + 1), line.mid(valueStart, colon - valueStart)};
}

// The bar lines after the section's heading, up to the first line that is
// not a bar (the empty line that closes the section).
QList<Bar> barsAfter(const QStringList &lines, const QString &headingStart)
{
    QList<Bar> bars;
    qsizetype i = 0;
    while (i < lines.size() && !lines.at(i).startsWith(headingStart))
        ++i;
    for (++i; i < lines.size(); ++i) {
        const std::optional<Bar> bar = barOf(lines.at(i));
        if (!bar)
            break;
        bars << *bar;
    }
    return bars;
}

} // namespace

namespace Text1Csv {

QString suggestedFileName(const QString &text, const QString &reportAllianceId, const QString &ownAllianceId)
{
    return reportTable(text) ? QStringLiteral("同盟レポート_%1.csv").arg(reportAllianceId)
                             : QStringLiteral("同盟名簿_%1.csv").arg(ownAllianceId);
}

std::optional<TrendsTable> rosterTable(const QString &text)
{
    TrendsTable table{{QStringLiteral("名前"), QStringLiteral("X"), QStringLiteral("Y")}, {}};
    for (const QString &line : linesOf(text)) {
        if (line.trimmed().isEmpty())
            continue;
        std::optional<QStringList> fields = rosterFields(line);
        if (!fields)
            return std::nullopt;
        table.rows << *fields;
    }
    if (table.rows.isEmpty())
        return std::nullopt;
    return table;
}

std::optional<TrendsTable> reportTable(const QString &text)
{
    const QStringList lines = linesOf(text);
    const QString populationHeading = QStringLiteral("人口分布 *1つにつき");
    const QString meritHeading = QStringLiteral("戦功分布　*1つにつき");
    if (!lines.contains(QStringLiteral("★人口について・・・")) ||
        !std::any_of(lines.cbegin(), lines.cend(),
                     [&](const QString &line) { return line.startsWith(meritHeading); }))
        return std::nullopt;

    // Both sections list every member read, in member order. A member's row
    // pairs its population bar with its merit bar by name, in order among
    // members of the same name, so a line removed by hand from one section
    // leaves that cell empty instead of shifting every later member.
    const QList<Bar> population = barsAfter(lines, populationHeading);
    const QList<Bar> merit = barsAfter(lines, meritHeading);
    QHash<QString, QList<qsizetype>> meritByName;
    for (qsizetype i = 0; i < merit.size(); ++i)
        meritByName[merit.at(i).name] << i;
    QList<bool> meritUsed(merit.size(), false);

    TrendsTable table{{QStringLiteral("名前"), QStringLiteral("人口"), QStringLiteral("戦功")}, {}};
    for (const Bar &bar : population) {
        QString meritShown;
        QList<qsizetype> &candidates = meritByName[bar.name];
        if (!candidates.isEmpty()) {
            const qsizetype index = candidates.takeFirst();
            meritUsed[index] = true;
            meritShown = merit.at(index).shown;
        }
        table.rows << QStringList{bar.name, bar.shown, meritShown};
    }
    for (qsizetype i = 0; i < merit.size(); ++i) {
        if (!meritUsed.at(i))
            table.rows << QStringList{merit.at(i).name, QString(), merit.at(i).shown};
    }
    return table;
}

std::optional<TrendsTable> tableFromOutput(const QString &text)
{
    if (std::optional<TrendsTable> report = reportTable(text))
        return report;
    return rosterTable(text);
}

} // namespace Text1Csv

namespace Text1Csv {

bool saveOutput(const QString &outputText, const QString &suggestedPath, TrendsFilePort &port)
{
    const QString title = QStringLiteral("注意");
    const std::optional<TrendsTable> table = tableFromOutput(outputText);
    if (!table) {
        port.tell(QStringLiteral("CSVで保存できるのは、同盟名簿と同盟レポートの表示です。"), title);
        return false;
    }
    const QString path =
        port.saveFileName(QStringLiteral("CSVで保存"), suggestedPath, QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return false;
    const DataFile::Result written = Csv::write(path, table->withHeaders());
    if (!written)
        port.tell(written.error, title);
    return written.ok;
}

} // namespace Text1Csv
