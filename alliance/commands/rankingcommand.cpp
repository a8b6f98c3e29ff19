#include "alliance/commands/rankingcommand.h"

#include "alliance/rules/rankingarchive.h"
#include "alliance/rules/rankingpage.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/pacer.h"
#include "alliance/walk/pagewalk.h"
#include "alliance/walk/toolport.h"
#include "site/document.h"
#include "site/session.h"

#include <optional>

QString RankingCommand::savedText() const
{
    const QString name = RankingArchive::fileName(m_context.session.world.warRankingKey, m_category);
    const RankingArchive::Loaded loaded = RankingArchive::load(m_context.session.appDir + name);
    if (const QString refusal = RankingArchive::comparisonRefusal(name, loaded); !refusal.isEmpty())
        m_context.port.warn(refusal);
    return loaded.savedText;
}

void RankingCommand::append(const QString &text)
{
    // Read at every page: the box may have been cleared or edited meanwhile,
    // and what the user did there is kept.
    m_context.port.setOutputText(m_context.port.outputText() + text);
}

namespace {

// The ten pages of the band, in the category.
QList<WalkPage> bandPages(const WorldConfig &world, int band, int category)
{
    QList<WalkPage> pages;
    const int first = RankingCommand::kPagesPerBand * band + 1;
    for (int page = first; page < first + RankingCommand::kPagesPerBand; ++page)
        pages.append({world.warRankingUrl(category, page), QStringLiteral("%1ページ").arg(page),
                      PageMark::Family::Ranking});
    return pages;
}

} // namespace

void RankingCommand::run()
{
    m_rowCount = 0;
    m_leftOut.clear();
    if (m_band < 0 || m_category < 0 || m_category >= RankingArchive::kCategoryCount)
        return;
    const QString allianceId = m_context.session.cleanAllianceId();
    const SavedRanking saved = m_compare ? SavedRanking::fromText(savedText()) : SavedRanking();

    const QString header = bandHeader(m_band);
    m_context.port.setOutputText(withBandHeader(m_context.port.outputText(), header));

    QList<RankingRow> ranked;
    OverlappingPacer pacer(m_context.pacer);
    PageWalk walk(m_context, QStringLiteral("格付抽出"), &pacer);
    // A band none of whose pages holds the ranking table is past the last
    // ranked lord, or made otherwise: its first such page is kept to tell.
    bool anyTable = false;
    std::optional<Document> withoutTable;
    walk.run(bandPages(m_context.session.world, m_band, m_category), [&](const Document &page, qsizetype) {
        // The category is the one selected when the band was picked, for all
        // ten pages, whatever is clicked meanwhile.
        const RankingPageRead read = readRankingPage(page, allianceId, m_category);
        if (!read.complete)
            return PageMark::Read::lacking(read.missing);
        anyTable = anyTable || read.missing.isEmpty();
        if (!read.missing.isEmpty() && !withoutTable)
            withoutTable = page;
        const QString lines = rankingLines(read.rows, saved);
        m_rowCount += read.rows.size();
        ranked << read.rows;
        if (!lines.isEmpty())
            append(lines);
        return PageMark::Read::done();
    });
    pacer.finish();
    m_leftOut = walk.leftOut();
    // Only a whole band tells each member's place in it.
    if (m_leftOut.isEmpty())
        HistoryRecording::recordRun(
            m_context, kLabel, HistoryRecording::rankingSnapshot(allianceId, m_category, m_band, ranked));

    const QString text = m_context.port.outputText();
    if (const QString counted = withBandCount(text, header, m_rowCount); counted != text)
        m_context.port.setOutputText(counted);
    walk.tellLeftOut(pagesLeftOutIntro());
    // Only the first band always has ranked lords: a later one without any
    // table is past the last, as the game shows it.
    if (m_band == 0 && !anyTable && withoutTable) {
        tellMissedMark(m_context, noTableIntro(kPagesPerBand), PageMark::Family::Ranking, kRankingTableMark,
                       *withoutTable);
    }
}
