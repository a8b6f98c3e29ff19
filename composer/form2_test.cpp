#include "common/datafile.h"
#include "common/pump.h"
#include "composer/form2.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/composer/composerfixture.h"
#include "testsupport/ui/designedcontrols.h"
#include "testsupport/x11/testapplication.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The window with its message boxes answered by the test.
class RecordingForm2 : public Form2
{
public:
    using Form2::Form2;
    void showMessage(const QString &text) override { messages.append(text); }
    bool askYesNo(const QString &text) override
    {
        messages.append(text);
        return true;
    }
    QStringList messages;
};

// The composer's window over the same fakes as its rules' tests.
class Form2Test : public ComposerTesting::ComposerTest
{
protected:
    Form2Test()
    {
        ensureTestApplication();
        m_session.allianceId = QStringLiteral("7");
        m_window = std::make_unique<RecordingForm2>(m_context, m_state);
    }

    template <typename W> W *find(const char *name) const
    {
        return m_window->findChild<W *>(QString::fromLatin1(name));
    }
    void click(const char *button) { find<QPushButton>(button)->click(); }

    std::unique_ptr<RecordingForm2> m_window;
};

TEST_F(Form2Test, EveryControlStandsAtItsDesignedPlaceWithItsCaption)
{
    const DesignedControl designed[] = {
        {"Label1", 120, 120, 1335, 255, QStringLiteral(":件名(ファイル名)")},
        {"Text2", 1560, 120, 4815, 270, {}},
        {"Command2(0)", 6600, 120, 1695, 375, QStringLiteral("内容記憶＋閉じる")},
        {"Command2(1)", 8280, 120, 855, 375, QStringLiteral("閉じる")},
        {"Command4", 9120, 120, 1095, 375, QStringLiteral("初期化")},
        {"List1", 10320, 120, 2175, 4560, {}},
        {"Label2", 120, 480, 1215, 255, QStringLiteral("宛名")},
        {"Text3", 600, 480, 5775, 270, {}},
        {"Command1", 6480, 480, 1455, 375, QStringLiteral("画面挿入")},
        {"Command3", 7920, 480, 1575, 375, QStringLiteral("ヘージ再読み込み")},
        {"Command5(1)", 9480, 480, 735, 375, QStringLiteral("保存")},
        {"Text1", 120, 840, 10095, 4815, {}},
        {"Command8", 11520, 4680, 975, 375, QStringLiteral("名簿OPEN")},
        {"Command9", 10320, 5160, 1095, 375, QStringLiteral("名簿切替")},
        {"Command6", 11280, 5520, 1215, 255, QStringLiteral("宛名の流込")},
        {"Combo1", 120, 5760, 7215, 300, QStringLiteral("保存データ一覧")},
        {"Command5(0)", 7440, 5760, 1455, 375, QStringLiteral("保存データ読込")},
        {"Command5(2)", 8880, 5760, 1455, 375, QStringLiteral("保存データ破棄")},
        {"Combo2", 10440, 5880, 2055, 300, QStringLiteral("追加宛名")},
    };
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("新規書状作成"));
    m_window->Form_Load();
    EXPECT_EQ(m_window->size(), QSize(844, 418));
    expectDesignedControls(m_window.get(), designed);
    for (const DesignedControl &d : designed)
        EXPECT_EQ(find<QWidget>(d.name)->parentWidget(), m_window.get()) << d.name;
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("　新規作成"));
    EXPECT_TRUE(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(find<QPushButton>("Command1")->font().bold());
    EXPECT_FALSE(find<QPushButton>("Command3")->font().bold());
    EXPECT_EQ(find<QPlainTextEdit>("Text1")->font().pointSize(), 11);
    EXPECT_EQ(find<QListWidget>("List1")->font().pointSize(), 11);
    EXPECT_EQ(m_window->pos(), QPoint(0, 0));
    // The body comes first in the tab order.
    EXPECT_EQ(m_window->nextInFocusChain(), find<QWidget>("Text1"));
}

TEST_F(Form2Test, ClicksOnTheListsPickAddresseesUpToThree)
{
    ASSERT_TRUE(DataFile::writeText(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"),
                                    QStringLiteral("\"LordA\",\"-12\",\"34\"\r\n\"LordB\",\"1\",\"2\"\r\n")));
    m_window->Form_Load();
    auto *list = find<QListWidget>("List1");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("/ally"));
    const auto clickRow = [&](int row) {
        QListWidgetItem *item = list->item(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    };
    clickRow(1);
    clickRow(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("甲\n乙"));
    click("Command6");
    auto *combo2 = find<QComboBox>("Combo2");
    ASSERT_EQ(combo2->count(), 2);
    EXPECT_EQ(combo2->currentText(), QStringLiteral("追加宛名"));
    emit combo2->activated(1);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), QStringLiteral("LordA,LordA,乙"));
    clickRow(2);
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), QStringLiteral("LordA,LordA,乙"));
    EXPECT_EQ(m_window->messages, QStringList{QStringLiteral("同時発信は３名までです。")});
}

TEST_F(Form2Test, OpeningWhileOpenOnlyBringsItToTheFrontAndClosingRemembers)
{
    m_window->showComposer();
    EXPECT_TRUE(m_window->isVisible());
    find<QLineEdit>("Text2")->setText(QStringLiteral(" 件名 "));
    find<QPlainTextEdit>("Text1")->setPlainText(QStringLiteral("一行目\n二行目"));
    find<QLineEdit>("Text3")->setText(QStringLiteral("A"));
    m_window->showComposer();
    EXPECT_EQ(find<QLineEdit>("Text2")->text(), QStringLiteral(" 件名 "));
    EXPECT_EQ(browser().navigations().size(), 1);

    QGuiApplication::clipboard()->setText(QStringLiteral("甲\r\n乙\r\n丙"));
    click("Command6");
    click("Command2(0)");
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_state.rememberedBody, QStringLiteral("一行目\r\n二行目"));

    m_window->showComposer();
    EXPECT_EQ(browser().navigations().size(), 2);
    EXPECT_EQ(find<QLineEdit>("Text2")->text(), QStringLiteral("件名"));
    EXPECT_EQ(find<QPlainTextEdit>("Text1")->toPlainText(), QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), QString())
        << "a window opened again starts without addressees";
    EXPECT_EQ(find<QComboBox>("Combo2")->count(), 3);
    m_window->close();
    m_window->showComposer();
    EXPECT_EQ(find<QComboBox>("Combo2")->count(), 0);
    EXPECT_EQ(find<QLineEdit>("Text2")->text(), QStringLiteral("件名"));
    click("Command2(1)");
    m_window->showComposer();
    EXPECT_EQ(find<QLineEdit>("Text2")->text(), QString());
    EXPECT_EQ(find<QPlainTextEdit>("Text1")->toPlainText(), QString());
}

TEST_F(Form2Test, AListOpensTheComposerInItsAddresseesAndTheCaptionCountsDown)
{
    QStringList seven;
    for (int i = 1; i <= 7; ++i)
        seven.append(QStringLiteral("将%1").arg(i));
    m_window->writeTo(seven);
    ASSERT_TRUE(m_window->isVisible());
    auto *text3 = find<QLineEdit>("Text3");
    EXPECT_EQ(text3->text(), seven.join(u','));
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("　新規作成（残り 7名）"));
    EXPECT_EQ(browser().navigations().size(), 1);

    const QStringList captions{QStringLiteral("　新規作成（残り 4名）"), QStringLiteral("　新規作成"),
                               QStringLiteral("　新規作成")};
    for (const QString &caption : captions) {
        click("Command1");
        EXPECT_EQ(m_window->windowTitle(), caption);
    }
    EXPECT_EQ(browser().fieldValue(QStringLiteral("TO")), QStringLiteral("将7"));
    EXPECT_EQ(text3->text(), QString());
    // Typed by hand, the count follows too.
    text3->setText(QStringLiteral("A,B,C,D,E"));
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("　新規作成（残り 5名）"));

    // While open, another list replaces the field, and the letter page is
    // loaded again: the list's command has taken the browser elsewhere.
    m_window->writeTo(seven.mid(0, 4));
    EXPECT_EQ(text3->text(), QStringLiteral("将1,将2,将3,将4"));
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("　新規作成（残り 4名）"));
    EXPECT_EQ(browser().navigations(),
              (QStringList{ComposerTesting::kLetterPage, ComposerTesting::kLetterPage}));
    // Opened again by 「書状新規作成」: no list, the plain caption.
    m_window->close();
    m_window->showComposer();
    EXPECT_EQ(text3->text(), QString());
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("　新規作成"));
}

TEST_F(Form2Test, SavedLettersFollowTheComboSelection)
{
    m_window->Form_Load();
    auto *combo1 = find<QComboBox>("Combo1");
    find<QLineEdit>("Text2")->setText(QStringLiteral("甲"));
    find<QPlainTextEdit>("Text1")->setPlainText(QStringLiteral("本文\n二行目"));
    click("Command5(1)");
    // The new entry is listed but not picked: saving again does not ask.
    ASSERT_EQ(combo1->count(), 1);
    EXPECT_EQ(combo1->currentText(), QStringLiteral("保存データ一覧"));
    click("Command5(1)");
    EXPECT_TRUE(m_window->messages.isEmpty());
    QFile file(m_session.appDir + QStringLiteral("書状3_甲.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), DataFile::encode(QStringLiteral("TO:甲\r\n本文\r\n二行目\r\n")));

    combo1->setCurrentIndex(0);
    find<QPlainTextEdit>("Text1")->clear();
    click("Command5(0)");
    EXPECT_EQ(find<QPlainTextEdit>("Text1")->toPlainText(), QStringLiteral("本文\n二行目"));
    // A name typed over the picked one picks nothing.
    combo1->setEditText(QStringLiteral("別"));
    click("Command5(2)");
    EXPECT_TRUE(file.exists());
    combo1->setCurrentIndex(0);
    emit combo1->activated(0);
    click("Command5(2)");
    EXPECT_FALSE(file.exists());
    // Saved twice without a pick, the name stood twice; one entry went.
    EXPECT_EQ(combo1->count(), 1);
    EXPECT_EQ(combo1->currentText(), QStringLiteral("保存データ一覧"));
}

TEST_F(Form2Test, TheRosterOpensThroughTheDesktop)
{
    ASSERT_TRUE(DataFile::writeText(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"), QString()));
    m_window->Form_Load();
    click("Command8");
    EXPECT_EQ(m_opener.opened, QStringList{m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt")});
}

} // namespace
