#pragma once

#include "alliance/walk/commandcontext.h"

#include <QString>
#include <QStringList>

// A band picked in Combo1: the own alliance's lords on the ten ranking pages
// of the band, appended to Text1 under the band header, which is completed
// with the number of rows at the end. With the saved data asked for (Check1),
// every row carries its marks against the archive of the category.
class RankingCommand
{
public:
    // The command as the user knows it: caption and messages. Its progress
    // counts the band's pages (「格付抽出 3/10」).
    static inline const QString kLabel = QStringLiteral("合戦格付抽出");
    static constexpr int kBandCount = 5;
    static constexpr int kPagesPerBand = 10;

    // band: the Combo1 index (0 "1～100位" to 4 "401～500位"); category: the
    // Option1 index; compareWithSaved: Check1 ticked when the band was picked.
    RankingCommand(CommandContext &context, int band, int category, bool compareWithSaved)
        : m_context(context), m_band(band), m_category(category), m_compare(compareWithSaved)
    {
    }

    void run();

    // The rows the last run found, and the pages it had to leave out.
    qsizetype rowCount() const { return m_rowCount; }
    const QStringList &leftOut() const { return m_leftOut; }

private:
    QString savedText() const;
    void append(const QString &text);

    CommandContext &m_context;
    int m_band;
    int m_category;
    bool m_compare;
    qsizetype m_rowCount = 0;
    QStringList m_leftOut;
};
