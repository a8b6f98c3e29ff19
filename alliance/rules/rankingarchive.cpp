#include "alliance/rules/rankingarchive.h"

#include "common/textsearch.h"

#include <QFileInfo>

namespace RankingArchive {

QString categoryCaption(int category)
{
    static const char16_t *const captions[kCategoryCount] = {u"戦功", u"攻撃", u"防御", u"総合"};
    return category >= 0 && category < kCategoryCount ? QString::fromUtf16(captions[category]) : QString();
}

QString fileName(const QString &warRankingKey, int category)
{
    return QStringLiteral("Archive_") + warRankingKey + QStringLiteral("_") + categoryCaption(category) +
           QStringLiteral(".txt");
}

bool isValid(const QString &text)
{
    return TextSearch::containsExact(text, QStringLiteral("位━━━"));
}

QString clean(QString text)
{
    for (const QString &mark :
         {QStringLiteral("→"), QStringLiteral("↓"), QStringLiteral("↑"), QStringLiteral("　"),
          QStringLiteral(">"), QStringLiteral("位━"), QStringLiteral("●")})
        text = TextSearch::removeAll(std::move(text), mark);
    return text;
}

QString saveRefusal(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("データが作成されてません。");
    if (!isValid(text))
        return QStringLiteral("データが不正です。");
    return QString();
}

Loaded load(const QString &path)
{
    Loaded loaded;
    if (!DataFile::exists(path))
        return loaded;
    const DataFile::Lines lines = DataFile::readLines(path);
    if (!lines) {
        loaded.ok = false;
        loaded.error = lines.error;
        return loaded;
    }
    QString text;
    for (const QString &line : lines.value)
        text += line + QStringLiteral("\r\n");
    if (!isValid(text))
        return loaded;
    loaded.found = true;
    loaded.savedText = clean(std::move(text));
    return loaded;
}

DataFile::Result save(const QString &path, const QString &text)
{
    return DataFile::writeText(path, text);
}

QString comparisonRefusal(const QString &name, const Loaded &loaded)
{
    // Asked to compare and cannot: say so, and extract without marks rather
    // than not at all.
    QString why;
    if (!loaded.ok)
        why = QStringLiteral("保存データ（%1）を読めませんでした。\r\n%2").arg(name, loaded.error);
    else if (!loaded.found)
        why = QStringLiteral("保存データ（%1）がないか、合戦格付のデータではありません。").arg(name);
    return why.isEmpty() ? why : why + QStringLiteral("\r\n保存データと比べずに抽出します。");
}

} // namespace RankingArchive

namespace {

// "1200", "-5", "+3", ".5": what a score cell holds.
bool startsWithNumber(const QString &text)
{
    qsizetype i = 0;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        ++i;
    if (i < text.size() && text.at(i) == u'.')
        ++i;
    return i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9';
}

} // namespace

SavedRanking SavedRanking::fromText(const QString &savedText)
{
    SavedRanking saved;
    const QStringList lines = savedText.split(QStringLiteral("\r\n"));
    for (const QString &raw : lines) {
        const QString line = TextSearch::trimSpaces(raw);
        const qsizetype mark = line.indexOf(u'位');
        if (mark < 0)
            continue;
        // A row is rank + "位", then the name and the score after blanks. The
        // name runs from the first blank after "位" to the last blank, so a
        // name with a blank in it ("真田 昌輝") is kept whole. A line with
        // "位" but no blank after it is some other text of the box (a note);
        // it is passed over and the other rows still count.
        const qsizetype nameFrom = line.indexOf(u' ', mark);
        if (nameFrom < 0)
            continue;
        // The score is the last field when it is a number. Otherwise the row
        // was saved with an empty score (a score cell wrapped in a tag:
        // "3位 凛 "): the lord is still in the saved ranking, matched by name,
        // with no score to compare.
        const QString rest = line.mid(nameFrom + 1);
        const qsizetype lastBlank = rest.lastIndexOf(u' ');
        const bool scored = lastBlank > 0 && startsWithNumber(rest.mid(lastBlank + 1));
        const QString name = scored ? rest.left(lastBlank) : rest;
        if (name.isEmpty())
            continue;
        saved.m_entries.append({name, line.left(mark), scored ? rest.mid(lastBlank + 1) : QString()});
    }
    return saved;
}

const SavedRanking::Entry *SavedRanking::find(const QString &name) const
{
    // The saved names went through the cleaning; a name holding one of the
    // marks (a full-width blank, say) is matched as it reads after it.
    const QString cleaned = RankingArchive::clean(name);
    for (const Entry &entry : m_entries) {
        if (entry.name == cleaned)
            return &entry;
    }
    return nullptr;
}
