#pragma once

#include <QString>

class ToolPort;
struct Session;

// What the war-ranking panel changes in the window besides Text1.
class RankingPanelPort
{
public:
    virtual ~RankingPanelPort() = default;
    virtual void setCheck1Enabled(bool enabled) = 0;
    virtual void setCheck1Ticked(bool ticked) = 0;
};

// The archive side of the panel: Option1 (which archive Check1 refers to)
// and 「データ保存」.
class RankingPanel
{
public:
    RankingPanel(const Session &session, ToolPort &port, RankingPanelPort &panel)
        : m_session(session), m_port(port), m_panel(panel)
    {
    }

    QString archivePath(int category) const;

    // Option1_Click, and Form_Load with category 0: Check1 unticked, and
    // enabled only when the category has an archive.
    void selectCategory(int category);

    // Command6_Click: Text1 as the category's archive, or the reason it
    // cannot be.
    void save(int category);

private:
    const Session &m_session;
    ToolPort &m_port;
    RankingPanelPort &m_panel;
};
