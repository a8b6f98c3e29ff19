#include "alliance/window/rankingpanel.h"

#include "alliance/rules/rankingarchive.h"
#include "alliance/walk/toolport.h"
#include "common/datafile.h"
#include "site/session.h"

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
        m_port.warn(refusal);
        return;
    }
    const DataFile::Result written = RankingArchive::save(archivePath(category), text);
    if (!written) {
        m_port.warn(
            QStringLiteral("保存データを書き込めませんでした。前の保存データはそのまま残っています。\r\n") +
            written.error);
        return;
    }
    // The category has an archive now: it can be compared with at once.
    m_panel.setCheck1Enabled(true);
}
