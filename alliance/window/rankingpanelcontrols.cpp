#include "alliance/window/rankingpanelcontrols.h"

#include "alliance/rules/rankingarchive.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

RankingPanelControls::RankingPanelControls(const QHash<QString, QWidget *> &controls, const Session &session,
                                           ToolPort &port, QObject *parent)
    : QObject(parent), m_panel(session, port, *this),
      m_combo1(qobject_cast<QComboBox *>(controls.value(QStringLiteral("Combo1")))),
      m_check1(qobject_cast<QCheckBox *>(controls.value(QStringLiteral("Check1")))),
      m_command6(qobject_cast<QPushButton *>(controls.value(QStringLiteral("Command6"))))
{
    connect(m_combo1, &QComboBox::activated, this, &RankingPanelControls::Combo1_Click);
    connect(m_command6, &QPushButton::clicked, this, &RankingPanelControls::Command6_Click);
    for (int i = 0; i < RankingArchive::kCategoryCount; ++i) {
        auto *option = qobject_cast<QRadioButton *>(controls.value(QStringLiteral("Option1(%1)").arg(i)));
        m_options.append(option);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
    }
    qobject_cast<QRadioButton *>(m_options.first())->setChecked(true);
}

void RankingPanelControls::Form_Load()
{
    m_combo1->addItems({QStringLiteral("1～100位"), QStringLiteral("101～200位"),
                        QStringLiteral("201～300位"), QStringLiteral("301～400位"),
                        QStringLiteral("401～500位")});
    m_combo1->setCurrentIndex(-1);
    m_panel.selectCategory(0); // Check1 follows the archive of the first category
}

int RankingPanelControls::selectedCategory() const
{
    for (int i = 0; i < m_options.size(); ++i) {
        if (qobject_cast<QRadioButton *>(m_options.at(i))->isChecked())
            return i;
    }
    return 0;
}

bool RankingPanelControls::compareWithSaved() const
{
    return m_check1->isChecked();
}

void RankingPanelControls::focusSave()
{
    m_command6->setFocus();
}

QWidget *RankingPanelControls::bandList() const
{
    return m_combo1;
}

void RankingPanelControls::Combo1_Click(int index)
{
    if (index >= 0 && m_extract)
        m_extract(index);
}

void RankingPanelControls::Option1_Click(int index)
{
    m_panel.selectCategory(index);
}

void RankingPanelControls::Command6_Click()
{
    m_panel.save(selectedCategory());
}

void RankingPanelControls::setCheck1Enabled(bool enabled)
{
    m_check1->setEnabled(enabled);
}

void RankingPanelControls::setCheck1Ticked(bool ticked)
{
    m_check1->setChecked(ticked);
}
