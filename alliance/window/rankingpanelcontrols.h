#pragma once

#include "alliance/window/rankingpanel.h"

#include <QHash>
#include <QObject>
#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QWidget;
class ToolPort;
struct Session;

// The tool window's frame 「合戦格付抽出」 (Frame2): Combo1 picks a band to
// extract (a browser command, run by the window), Option1 the category,
// Check1 whether to compare with the saved data, Command6 saves Text1 as the
// category's archive.
class RankingPanelControls : public QObject, public RankingPanelPort
{
    Q_OBJECT
public:
    // controls: the tool window's controls by name.
    RankingPanelControls(const QHash<QString, QWidget *> &controls, const Session &session, ToolPort &port,
                         QObject *parent);

    // Combo1, whose pick runs the extraction of that band.
    QWidget *bandList() const;
    void setExtraction(std::function<void(int band)> extract) { m_extract = std::move(extract); }

    // The bands in Combo1, none picked; Check1 follows the first category.
    void Form_Load();
    int selectedCategory() const;
    bool compareWithSaved() const;
    // After a band was extracted: Command6 is the next thing to press.
    void focusSave();

    void Combo1_Click(int index);
    void Option1_Click(int index);
    void Command6_Click();

    // RankingPanelPort
    void setCheck1Enabled(bool enabled) override;
    void setCheck1Ticked(bool ticked) override;

private:
    RankingPanel m_panel;
    std::function<void(int)> m_extract;
    QComboBox *m_combo1 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QPushButton *m_command6 = nullptr;
    QList<QWidget *> m_options;
};
