#include "alliance/rankingarchive.h"

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
    for (const QString &line : lines.lines)
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

} // namespace RankingArchive

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
        // "位" but not three fields is some other text of the box (a note);
        // it is passed over and the other rows still count.
        const qsizetype nameFrom = line.indexOf(u' ', mark);
        const qsizetype scoreFrom = line.lastIndexOf(u' ');
        if (nameFrom < 0 || scoreFrom <= nameFrom)
            continue;
        saved.m_entries.append(
            {line.mid(nameFrom + 1, scoreFrom - nameFrom - 1), line.left(mark), line.mid(scoreFrom + 1)});
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
