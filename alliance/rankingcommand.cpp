#include "alliance/rankingcommand.h"

#include "alliance/pacer.h"
#include "alliance/pagewalk.h"
#include "alliance/rankingarchive.h"
#include "alliance/rankingpage.h"
#include "alliance/toolport.h"
#include "site/session.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The ranking pages overlap their pause with the load: the ticks start just
// before a page is asked for and are waited for after it has been read. The
// walk asks for "pause, load, read" per page; here the pause before a page
// finishes the ticks of the page before and starts its own.
class OverlappingPacer : public Pacer
{
public:
    explicit OverlappingPacer(Pacer &pacer) : m_pacer(pacer) {}

    void startTicks() override
    {
        if (m_started)
            m_pacer.waitForTicks();
        m_pacer.startTicks();
        m_started = true;
    }
    void waitForTicks() override {}

    // The wait after the last page.
    void finish()
    {
        if (m_started)
            m_pacer.waitForTicks();
        m_started = false;
    }

private:
    Pacer &m_pacer;
    bool m_started = false;
};

} // namespace

QString RankingCommand::bandHeader(int band)
{
    return QStringLiteral("★第%1～%2位━━━").arg(100 * band + 1).arg(100 * band + 100);
}

QString RankingCommand::savedText() const
{
    const QString name = RankingArchive::fileName(m_context.session.world.warRankingKey, m_category);
    const RankingArchive::Loaded loaded = RankingArchive::load(m_context.session.appDir + name);
    // Asked to compare and cannot: say so, and extract without marks rather
    // than not at all.
    QString why;
    if (!loaded.ok)
        why = QStringLiteral("保存データ（%1）を読めませんでした。\r\n%2").arg(name, loaded.error);
    else if (!loaded.found)
        why = QStringLiteral("保存データ（%1）がないか、合戦格付のデータではありません。").arg(name);
    if (!why.isEmpty()) {
        m_context.port.showMessage(why + QStringLiteral("\r\n保存データと比べずに抽出します。"),
                                   QStringLiteral("注意"), ToolPort::Icon::Warning);
    }
    return loaded.savedText;
}

void RankingCommand::append(const QString &text)
{
    // Read at every page: the box may have been cleared or edited meanwhile,
    // and what the user did there is kept.
    m_context.port.setOutputText(m_context.port.outputText() + text);
}

void RankingCommand::run()
{
    m_rowCount = 0;
    m_leftOut.clear();
    if (m_band < 0 || m_category < 0 || m_category >= RankingArchive::kCategoryCount)
        return;
    const QString allianceId = m_context.session.cleanAllianceId();
    const SavedRanking saved = m_compare ? SavedRanking::fromText(savedText()) : SavedRanking();

    const QString header = bandHeader(m_band);
    // The header starts a line of its own, also after an output that does
    // not end with a line end (the castle list).
    const QString before = m_context.port.outputText();
    append((before.isEmpty() || before.endsWith(kCrLf) ? QString() : kCrLf) + header + kCrLf);

    QList<WalkPage> pages;
    const int first = kPagesPerBand * m_band + 1;
    for (int page = first; page < first + kPagesPerBand; ++page)
        pages.append(
            {m_context.session.world.warRankingUrl(m_category, page), QStringLiteral("%1ページ").arg(page)});

    OverlappingPacer pacer(m_context.pacer);
    PageWalk walk(m_context, QStringLiteral("格付抽出"), &pacer);
    walk.run(pages, [&](const Document &page, qsizetype) {
        // The category is the one selected when the band was picked, for all
        // ten pages, whatever is clicked meanwhile.
        const RankingPageRead read = readRankingPage(page, allianceId, m_category);
        if (!read.complete)
            return false;
        QString lines;
        for (const RankingRow &row : read.rows)
            lines += rankingLine(row, saved) + kCrLf;
        m_rowCount += read.rows.size();
        if (!lines.isEmpty())
            append(lines);
        return true;
    });
    pacer.finish();
    m_leftOut = walk.leftOut();

    // Only the header this run appended gets the count: an earlier block of
    // the same band, or one of a stopped run, keeps what it says. It is the
    // last line that is the bare header, since this run's rows follow it.
    QString text = m_context.port.outputText();
    const QString bareLine = header + kCrLf;
    qsizetype at = text.lastIndexOf(bareLine);
    while (at > 0 && !text.mid(0, at).endsWith(kCrLf))
        at = text.lastIndexOf(bareLine, at - 1);
    if (at >= 0) {
        text.insert(at + header.size(), QStringLiteral(" %1人").arg(m_rowCount));
        m_context.port.setOutputText(text);
    }
    walk.tellLeftOut(
        QStringLiteral("次のページは合戦格付のページとして表示されなかったため、抽出に入っていません。"
                       "人数はそのページを除いた数です。"));
}

QString RankingPanel::archivePath(int category) const
{
    return m_session.appDir + RankingArchive::fileName(m_session.world.warRankingKey, category);
}

void RankingPanel::selectCategory(int category)
{
    m_panel.setCheck1Ticked(false);
    m_panel.setCheck1Enabled(DataFile::exists(archivePath(category)));
}

void RankingPanel::save(int category)
{
    const QString text = m_port.outputText();
    const QString refusal = RankingArchive::saveRefusal(text);
    if (!refusal.isEmpty()) {
        m_port.showMessage(refusal, QStringLiteral("注意"), ToolPort::Icon::Warning);
        return;
    }
    const DataFile::Result written = RankingArchive::save(archivePath(category), text);
    if (!written) {
        m_port.showMessage(
            QStringLiteral("保存データを書き込めませんでした。前の保存データはそのまま残っています。\r\n") +
                written.error,
            QStringLiteral("注意"), ToolPort::Icon::Warning);
        return;
    }
    // The category has an archive now: it can be compared with at once.
    m_panel.setCheck1Enabled(true);
}
