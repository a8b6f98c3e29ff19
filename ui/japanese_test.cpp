// Qt's own words in Japanese on a desktop set to English: the process runs
// with the C locale, as a user's English desktop would start it.
#include "common/japanese.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/x11/testapplication.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// "元に戻す(&U)\tCtrl+Z" as the user reads it: "元に戻す".
QString shown(QString text)
{
    text = text.section(u'\t', 0, 0);
    static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)|&"));
    return text.remove(accelerator).trimmed();
}

QStringList shownTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *action : actions) {
        if (!action->isSeparator())
            texts << shown(action->text());
    }
    return texts;
}

class JapaneseTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        qputenv("LC_ALL", "C");
        qputenv("LANG", "en_US.UTF-8");
        qputenv("LANGUAGE", "en_US");
        ensureTestApplication();
        ASSERT_NE(QLocale::system().language(), QLocale::Japanese) << "the desktop is not Japanese";
        ASSERT_TRUE(Japanese::install(*QCoreApplication::instance()))
            << "qtbase_ja.qm in Qt's translations folder";
    }
};

TEST_F(JapaneseTest, TheTextBoxMenuAndTheQuestionButtonsAreJapanese)
{
    QPlainTextEdit edit;
    edit.setPlainText(QStringLiteral("本文"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    EXPECT_EQ(shownTexts(menu->actions()),
              (QStringList{QStringLiteral("元に戻す"), QStringLiteral("やり直す"), QStringLiteral("切り取り"),
                           QStringLiteral("コピー"), QStringLiteral("貼り付け"), QStringLiteral("削除"),
                           QStringLiteral("すべてを選択")}));

    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("注意"), QStringLiteral("上書きしますか"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(shown(box.button(QMessageBox::Yes)->text()), QStringLiteral("はい"));
    EXPECT_EQ(shown(box.button(QMessageBox::No)->text()), QStringLiteral("いいえ"));
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
}

TEST_F(JapaneseTest, TheSaveDialogSaysSaveAndCancel)
{
    QFileDialog dialog(nullptr, QStringLiteral("CSVで保存"), QDir::tempPath(), QStringLiteral("CSV (*.csv)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QDialogButtonBox *buttons = dialog.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    QStringList texts;
    for (const QAbstractButton *button : buttons->buttons())
        texts << shown(button->text());
    EXPECT_TRUE(texts.contains(QStringLiteral("保存"))) << texts.join(u',').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("キャンセル"))) << texts.join(u',').toStdString();
}

} // namespace
