#pragma once

#include "common/datafile.h"

#include <QList>
#include <QString>

// The saved war-ranking extraction of one category, "Archive_<key>_<caption>.txt"
// in AppDir: the whole output box as it was when 「データ保存」 was pressed,
// kept to compare a later extraction with.
namespace RankingArchive {

inline constexpr int kCategoryCount = 4;

// "戦功", "攻撃", "防御", "総合": the captions of Option1(0) to Option1(3),
// which also name the archive files.
QString categoryCaption(int category);

// "Archive_5_攻撃.txt"
QString fileName(const QString &warRankingKey, int category);

// Ranking data carries at least one band header ("★第1～100位━━━ 12人").
bool isValid(const QString &text);

// Takes out the marks of the rows and the "位━" of the band headers, so that
// only row lines still hold "位" and their rank and score are bare again.
QString clean(QString text);

// Why the output box cannot be saved as ranking data ("データが作成されてません。",
// "データが不正です。"); empty when it can.
QString saveRefusal(const QString &text);

// The archive's text for comparing: its lines, each followed by CR LF, made
// clean. Empty when the file is missing or is not ranking data. A file that
// exists but cannot be read gives !ok with the reason.
struct Loaded
{
    bool ok = true;
    bool found = false; // the file exists and holds ranking data
    QString error;
    QString savedText;
};
Loaded load(const QString &path);
// Why a run asked to compare with the archive name cannot: unreadable, or
// none there; empty when it can.
QString comparisonRefusal(const QString &name, const Loaded &loaded);

// The output box, whole, followed by one CR LF; atomically, so a failed
// write leaves the previous archive as it was.
DataFile::Result save(const QString &path, const QString &text);

} // namespace RankingArchive

// The rows of a saved extraction, to compare a new one with: lord name, rank
// text and score text of every line that holds "位" after cleaning.
class SavedRanking
{
public:
    struct Entry
    {
        QString name;
        QString rank;
        QString score;
    };

    SavedRanking() = default;
    // savedText: the cleaned archive text (RankingArchive::load).
    static SavedRanking fromText(const QString &savedText);

    bool isEmpty() const { return m_entries.isEmpty(); }
    const QList<Entry> &entries() const { return m_entries; }
    // The first entry of that lord, compared with the name as it would read
    // after cleaning, or nullptr.
    const Entry *find(const QString &name) const;

private:
    QList<Entry> m_entries;
};
