// Qt's own words in Japanese on a desktop set to English: the process runs
// with the C locale, as a user's English desktop would start it.
#include "common/japanese.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/x11/testapplication.h"
#include "ui/savedialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeView>
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

TEST_F(JapaneseTest, TheSaveDialogSaysSaveAndCancelAndListsItsFilesInJapanese)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    QFile file(folder.filePath(QStringLiteral("a.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QDateTime written = QFileInfo(file).lastModified();
    const std::unique_ptr<QFileDialog> dialog =
        SaveDialog::make(nullptr, QStringLiteral("CSVで保存"), folder.filePath(QStringLiteral("b.csv")),
                         QStringLiteral("CSV (*.csv)"));
    const QDialogButtonBox *buttons = dialog->findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    QStringList texts;
    for (const QAbstractButton *button : buttons->buttons())
        texts << shown(button->text());
    EXPECT_TRUE(texts.contains(QStringLiteral("保存"))) << texts.join(u',').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("キャンセル"))) << texts.join(u',').toStdString();

    // The list the dialog shows, once its folder is read.
    auto *list = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
    ASSERT_NE(list, nullptr);
    QAbstractItemModel *model = list->model();
    QElapsedTimer waited;
    waited.start();
    while (model->rowCount(list->rootIndex()) < 2 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QHash<QString, QStringList> rows;
    for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
        QStringList columns;
        for (int column = 0; column < 4; ++column)
            columns << model->index(row, column, list->rootIndex()).data().toString();
        rows.insert(columns.first(), columns);
    }
    ASSERT_TRUE(rows.contains(QStringLiteral("a.csv")) && rows.contains(QStringLiteral("sub")))
        << rows.keys().join(u',').toStdString();
    EXPECT_EQ(rows[QStringLiteral("a.csv")].at(3), written.toString(QStringLiteral("yyyy/MM/dd HH:mm")));
    EXPECT_EQ(rows[QStringLiteral("sub")].at(2), QStringLiteral("フォルダ"));
}

} // namespace
