#include "alliance/walk/pacer.h"
#include "alliance/window/toolwindow.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "common/pump.h"
#include "composer/form2.h"
#include "history/historystore.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "testsupport/alliance/pagefixtures.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/site/fakebrowser.h"
#include "testsupport/ui/designedcontrols.h"
#include "testsupport/x11/testapplication.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Message
{
    QString text;
    QString title;
};

// The window with its message boxes recorded instead of shown.
class RecordingToolWindow : public OVEKMark
{
public:
    using OVEKMark::OVEKMark;
    void showMessage(const QString &text, const QString &title, Icon) override
    {
        messages.push_back({text, title});
    }
    void saveCsv(const QString &, const QString &suggestedPath) override { csvPaths.append(suggestedPath); }
    std::vector<Message> messages;
    QStringList csvPaths;
};

class ToolWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_session.appDir = m_dir.path() + QStringLiteral("/");
        m_session.world.worldBaseUrl = QStringLiteral("http://127.0.0.1:1");
        m_session.world.warRankingKey = QStringLiteral("5");
        m_session.world.worldNumber = QStringLiteral("3");
    }

    std::unique_ptr<RecordingToolWindow> openWindow()
    {
        auto window =
            std::make_unique<RecordingToolWindow>(m_session, m_browsers, m_navigator, m_pump, m_clock);
        window->Form_Load();
        return window;
    }

    template <typename W> static W *find(QWidget *window, const char *name)
    {
        return window->findChild<W *>(QString::fromLatin1(name));
    }

    void touch(const QString &name) { ASSERT_TRUE(DataFile::writeText(m_session.appDir + name, QString())); }

    struct App
    {
        App() { ensureTestApplication(); }
    } m_app;
    QTemporaryDir m_dir;
    Session m_session;
    // Browsers that tell the test when they are told to quit.
    class QuitRecordingBrowser : public FakeBrowser
    {
    public:
        explicit QuitRecordingBrowser(int &quits) : m_quits(quits) {}
        void quit() override
        {
            ++m_quits;
            FakeBrowser::quit();
        }

    private:
        int &m_quits;
    };
    int m_browserQuits = 0;
    BrowserSlot m_browsers{[this] { return std::make_unique<QuitRecordingBrowser>(m_browserQuits); }};
    SystemClock m_clock;
    EventLoopPump m_pump;
    Navigator m_navigator{m_browsers, m_session.world, m_clock, m_pump};
};

TEST_F(ToolWindowTest, OpensWithItsControlsAndDefaults)
{
    auto window = openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("同盟管理ツール"));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->size(), QSize(239, 512));
    QComboBox *combo = find<QComboBox>(window.get(), "Combo1");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("1～100位"));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(find<QPushButton>(window.get(), "Command2")->text(), QStringLiteral("同盟名簿作成"));
    EXPECT_EQ(find<QPushButton>(window.get(), "Command2")->geometry(), QRect(128, 8, 97, 25));
    EXPECT_TRUE(find<QPushButton>(window.get(), "Command2")->isEnabled());
    // The composer's button and the ranking panel are usable.
    EXPECT_TRUE(find<QPushButton>(window.get(), "Command9")->isEnabled());
    EXPECT_TRUE(find<QComboBox>(window.get(), "Combo1")->isEnabled());
}

TEST_F(ToolWindowTest, EveryControlStandsAtItsDesignedPlaceWithItsCaption)
{
    const DesignedControl designed[] = {
        {"Frame2", 120, 120, 1695, 1935, QStringLiteral("合戦格付抽出")},
        {"Combo1", 120, 240, 1335, 300, {}},
        {"Option1(0)", 120, 600, 735, 255, QStringLiteral("戦功")},
        {"Option1(1)", 840, 600, 700, 255, QStringLiteral("攻撃")},
        {"Option1(2)", 120, 840, 700, 255, QStringLiteral("防御")},
        {"Option1(3)", 840, 840, 700, 255, QStringLiteral("総合")},
        {"Command6", 120, 1140, 1455, 255, QStringLiteral("データ保存")},
        {"Check1", 120, 1440, 1335, 375, QStringLiteral("保存データを参考にする")},
        {"Command2", 1920, 120, 1455, 375, QStringLiteral("同盟名簿作成")},
        {"Command3", 1920, 480, 1455, 375, QStringLiteral("出城リスト作成")},
        {"Command5", 1920, 840, 1455, 375, QStringLiteral("同盟員活動履歴")},
        {"Command4", 1920, 1200, 1455, 375, QStringLiteral("同盟員分布図")},
        {"Command1(0)", 1920, 1560, 735, 255, QStringLiteral("初期化")},
        {"Command1(2)", 2640, 1560, 735, 255, QStringLiteral("コピー")},
        {"Command1(1)", 1920, 1800, 735, 255, QStringLiteral("拡大")},
        {"Text4", 120, 2160, 1695, 270, QStringLiteral("キーワード")},
        {"Command8", 120, 2400, 1695, 375, QStringLiteral("返信者リストアップ")},
        {"Command9", 2040, 2400, 1335, 375, QStringLiteral("書状新規作成")},
        {"Text1", 120, 2880, 3375, 3015, {}},
        {"List1", 2160, 4200, 615, 600, {}},
        {"Frame1", 120, 6000, 3255, 1575, {}},
        {"Label1", 120, 240, 615, 255, QStringLiteral("同盟ID")},
        {"Text2", 720, 240, 2295, 270, {}},
        {"Label2", 120, 600, 855, 255, QStringLiteral("区切 人口")},
        {"Text3(0)", 960, 600, 735, 270, QStringLiteral("300")},
        {"Label3", 1800, 600, 375, 255, QStringLiteral("戦功")},
        {"Text3(1)", 2280, 600, 735, 270, QStringLiteral("10000")},
        {"Command7", 120, 960, 1455, 255, QStringLiteral("同盟データ取得")},
    };
    auto window = openWindow();
    expectDesignedControls(window.get(), designed);
    const QString inFrame2[] = {QStringLiteral("Combo1"), QStringLiteral("Option1(0)"),
                                QStringLiteral("Command6"), QStringLiteral("Check1")};
    for (const QString &name : inFrame2)
        EXPECT_EQ(window->findChild<QWidget *>(name)->parentWidget()->objectName(), QStringLiteral("Frame2"));
    EXPECT_EQ(window->findChild<QWidget *>(QStringLiteral("Command7"))->parentWidget()->objectName(),
              QStringLiteral("Frame1"));
}

TEST_F(ToolWindowTest, Text1GivesBackExactlyTheTextSet)
{
    auto window = openWindow();
    const QString report = QStringLiteral("一行目\r\n二行目\r\n\r\n");
    window->setOutputText(report);
    EXPECT_EQ(window->outputText(), report);
    // Typed into by hand: the lines still come back with CR LF.
    auto *text1 = find<QPlainTextEdit>(window.get(), "Text1");
    text1->setPlainText(QStringLiteral("手で\n直した"));
    EXPECT_EQ(window->outputText(), QStringLiteral("手で\r\n直した"));
}

TEST_F(ToolWindowTest, ClosingTheWindowDuringARosterWalkEndsItAndKeepsTheFile)
{
    touch(QStringLiteral("OVEKMAP_DATA_7.txt"));
    const QByteArray before = QByteArray("\r\n");
    m_session.allianceId = QStringLiteral("7");
    m_browsers.replaceWithNew();
    auto &browser = static_cast<FakeBrowser &>(m_browsers.current());
    browser.addPage(QStringLiteral("http://127.0.0.1:1/alliance/info.php?id=7"),
                    QStringLiteral("<table class=commonTables><tbody><tr class=fs12><td>"
                                   "<a href='/user/?user_id=1'>甲</a></td><td>1</td><td>1</td><td>1</td>"
                                   "<td>1</td><td>1</td></tr></tbody></table>"));
    auto window = openWindow();
    // The close request arrives in the middle of the pacing pause.
    QTimer::singleShot(300, window.get(), [&] { window->close(); });
    QElapsedTimer elapsed;
    elapsed.start();
    find<QPushButton>(window.get(), "Command2")->click();
    EXPECT_LT(elapsed.elapsed(), 1200) << "the walk ends at its next wait";
    EXPECT_TRUE(window->messages.empty());
    EXPECT_EQ(browser.loadCount(QStringLiteral("http://127.0.0.1:1/user/?user_id=1")), 0);
    QFile roster(m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt"));
    ASSERT_TRUE(roster.open(QIODevice::ReadOnly));
    EXPECT_EQ(roster.readAll(), before);
    EXPECT_FALSE(window->pacer().timer().isActive());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";
    AppQuit::reset();
}

TEST_F(ToolWindowTest, AnotherWorldShowsInTheCaption)
{
    m_session.world.worldNumber = QStringLiteral("12");
    auto window = openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("同盟管理ツール - w012"));
    window->showProgress(QStringLiteral("名簿作成 1/3"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("同盟管理ツール - w012 - 名簿作成 1/3"));
}

TEST_F(ToolWindowTest, TrendsAndCsvAreInTheMenuWithoutMovingAControl)
{
    m_session.allianceId = QStringLiteral("77");
    auto window = openWindow();
    QAction *trends = nullptr;
    QAction *csv = nullptr;
    for (QAction *action : window->actions()) {
        if (action->text() == QStringLiteral("推移"))
            trends = action;
        else if (action->text() == QStringLiteral("CSVで保存…"))
            csv = action;
    }
    ASSERT_NE(trends, nullptr);
    ASSERT_NE(csv, nullptr);
    EXPECT_EQ(trends->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    trends->trigger();
    QWidget *opened = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && top->windowTitle().contains(QStringLiteral("推移")))
            opened = top;
    }
    ASSERT_NE(opened, nullptr) << "the trends window did not open";
    EXPECT_EQ(find<QPushButton>(window.get(), "Command2")->geometry(), QRect(128, 8, 97, 25));
    opened->close();
}

TEST_F(ToolWindowTest, TheReportsCsvIsNamedAfterTheAllianceTheReportWasMadeFor)
{
    m_browsers.replaceWithNew();
    auto &browser = static_cast<FakeBrowser &>(m_browsers.current());
    const QString world = m_session.world.worldBaseUrl;
    browser.addPage(world + QStringLiteral("/alliance/info.php?id=2581"),
                    PageFixtures::alliancePage({{101, QStringLiteral("斎藤道三"), QString()}}));
    browser.addPage(world + QStringLiteral("/user/?user_id=101"),
                    PageFixtures::lordProfilePage(QStringLiteral("斎藤道三"), QStringLiteral("1250"),
                                                  QStringLiteral("10100"), QStringLiteral("盟主"), -12, 34));
    auto window = openWindow();
    auto *text2 = find<QLineEdit>(window.get(), "Text2");
    text2->setText(QStringLiteral("２５８１"));
    find<QPushButton>(window.get(), "Command7")->click();
    ASSERT_TRUE(window->outputText().startsWith(QStringLiteral("[美濃]同盟 レポート ")))
        << window->outputText().toStdString();
    text2->setText(QStringLiteral("99"));
    for (QAction *action : window->actions()) {
        if (action->text() == QStringLiteral("CSVで保存…"))
            action->trigger();
    }
    ASSERT_EQ(window->csvPaths.size(), 1);
    EXPECT_TRUE(window->csvPaths.first().endsWith(QStringLiteral("/同盟レポート_2581.csv")))
        << window->csvPaths.first().toStdString();
}

TEST_F(ToolWindowTest, TheSurveyIsAMenuEntryAndItsCsvOffersTheRosterThenTheReport)
{
    m_browsers.replaceWithNew();
    auto &browser = static_cast<FakeBrowser &>(m_browsers.current());
    const QString world = m_session.world.worldBaseUrl;
    m_session.allianceId = QStringLiteral("2581");
    browser.addPage(world + QStringLiteral("/alliance/info.php?id=2581"),
                    PageFixtures::alliancePage({{101, QStringLiteral("斎藤道三"), QString()}}));
    browser.addPage(world + QStringLiteral("/user/?user_id=101"),
                    PageFixtures::lordProfilePage(QStringLiteral("斎藤道三"), QStringLiteral("1250"),
                                                  QStringLiteral("10100"), QStringLiteral("盟主"), -12, 34)
                        .replace(QStringLiteral("</body>"), QStringLiteral("<!-- /領地情報 --></body>")));
    auto window = openWindow();
    auto *survey = window->findChild<QAction *>(QStringLiteral("mnuSurvey"));
    ASSERT_NE(survey, nullptr);
    EXPECT_EQ(survey->text(), QStringLiteral("一括調査"));
    EXPECT_EQ(survey->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    EXPECT_TRUE(window->actions().contains(survey));
    survey->trigger();
    ASSERT_TRUE(
        window->outputText().startsWith(QStringLiteral("■■■ 同盟名簿 ■■■\r\n\"斎藤道三\",\"-12\",\"34\"")))
        << window->outputText().toStdString();
    for (QAction *action : window->actions()) {
        if (action->text() == QStringLiteral("CSVで保存…"))
            action->trigger();
    }
    ASSERT_EQ(window->csvPaths.size(), 2);
    EXPECT_TRUE(window->csvPaths.at(0).endsWith(QStringLiteral("/同盟名簿_2581.csv")))
        << window->csvPaths.at(0).toStdString();
    EXPECT_TRUE(window->csvPaths.at(1).endsWith(QStringLiteral("/同盟レポート_2581.csv")))
        << window->csvPaths.at(1).toStdString();
    EXPECT_EQ(find<QPushButton>(window.get(), "Command2")->geometry(), QRect(128, 8, 97, 25));
}

TEST_F(ToolWindowTest, WidenTwiceRestoresWidthsAndCaption)
{
    auto window = openWindow();
    QPushButton *widen = find<QPushButton>(window.get(), "Command1(1)");
    QPlainTextEdit *text1 = find<QPlainTextEdit>(window.get(), "Text1");
    const int windowWidth = window->width();
    const int textWidth = text1->width();
    QTest::mouseClick(widen, Qt::LeftButton);
    EXPECT_EQ(widen->text(), QStringLiteral("縮小"));
    EXPECT_EQ(window->width(), windowWidth + 140);
    EXPECT_EQ(text1->width(), textWidth + 140);
    QTest::mouseClick(widen, Qt::LeftButton);
    EXPECT_EQ(widen->text(), QStringLiteral("拡大"));
    EXPECT_EQ(window->width(), windowWidth);
    EXPECT_EQ(text1->width(), textWidth);
}

TEST_F(ToolWindowTest, CopyAndClear)
{
    auto window = openWindow();
    QGuiApplication::clipboard()->setText(QStringLiteral("前の内容"));
    QTest::mouseClick(find<QPushButton>(window.get(), "Command1(2)"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());

    // The clipboard gets CR LF lines, as the files and Windows programs have them.
    window->setOutputText(QStringLiteral("一行目\n二行目"));
    QTest::mouseClick(find<QPushButton>(window.get(), "Command1(2)"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("一行目\r\n二行目"));
    QTest::mouseClick(find<QPushButton>(window.get(), "Command1(0)"), Qt::LeftButton);
    EXPECT_EQ(window->outputText(), QString());
}

TEST_F(ToolWindowTest, ArchiveCheckFollowsOnlyTheFirstCategory)
{
    touch(QStringLiteral("Archive_5_攻撃.txt"));
    EXPECT_FALSE(find<QCheckBox>(openWindow().get(), "Check1")->isEnabled());
    touch(QStringLiteral("Archive_5_戦功.txt"));
    EXPECT_TRUE(find<QCheckBox>(openWindow().get(), "Check1")->isEnabled());
}

TEST_F(ToolWindowTest, PlotterNeedsTheRosterFirst)
{
    auto window = openWindow();
    m_session.allianceId = QStringLiteral("77");
    window->Command4_Click();
    ASSERT_EQ(window->messages.size(), 1u);
    EXPECT_EQ(window->messages[0].text, QStringLiteral("同盟員名簿を作成してから、実行してください。"));
    EXPECT_EQ(window->messages[0].title, QStringLiteral("注意"));
}

TEST_F(ToolWindowTest, MissingPlotterIsToldNotIgnored)
{
    touch(QStringLiteral("OVEKMAP_DATA_77.txt"));
    auto window = openWindow();
    m_session.allianceId = QStringLiteral("77");
    window->setPlotterProgram(m_session.appDir + QStringLiteral("revovi"));
    window->Command4_Click();
    ASSERT_EQ(window->messages.size(), 1u);
    EXPECT_TRUE(window->messages[0].text.contains(QStringLiteral("revovi")));
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(ToolWindowTest, PlotterStartsWithTheBareRosterNameOfTheCleanedId)
{
    touch(QStringLiteral("OVEKMAP_DATA_123.txt"));
    // A stand-in plotter that writes down how it was started.
    const QString program = m_session.appDir + QStringLiteral("revovi");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "#!/bin/sh\nprintf '%s|%s' \"$*\" \"$(pwd)\" > started.txt.tmp && mv started.txt.tmp started.txt\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);

    auto window = openWindow();
    m_session.allianceId = QStringLiteral("123/");
    window->setPlotterProgram(program);
    window->Command4_Click();
    EXPECT_TRUE(window->messages.empty());
    EXPECT_EQ(m_session.allianceId, QStringLiteral("123"));

    const QString started = m_session.appDir + QStringLiteral("started.txt");
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(started) && waited.elapsed() < 5000)
        QTest::qWait(20);
    QFile record(started);
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(record.readAll()), QStringLiteral("OVEKMAP_DATA_123.txt|") + m_dir.path());
}

TEST_F(ToolWindowTest, ClosingTheWindowQuitsTheBrowserEvenWhenItIsAlreadyGone)
{
    m_browsers.replaceWithNew();
    static_cast<FakeBrowser &>(m_browsers.current()).close(); // the user closed the browser window first
    auto window = openWindow();
    window->close();
    EXPECT_EQ(m_browserQuits, 1);
    EXPECT_FALSE(m_browsers.hasBrowser());
    EXPECT_FALSE(window->isVisible());
    AppQuit::reset();
}

TEST_F(ToolWindowTest, ASecondBrowserCommandIsRefusedWhileOneRuns)
{
    auto window = openWindow();
    QPushButton *roster = find<QPushButton>(window.get(), "Command2");
    {
        CommandGuard::Scope running(window->guard());
        ASSERT_TRUE(running);
        // Every browser command waits: the buttons and the ranking band list.
        for (const char *name : {"Command2", "Command3", "Command5", "Command7", "Command8"})
            EXPECT_FALSE(find<QPushButton>(window.get(), name)->isEnabled()) << name;
        EXPECT_FALSE(find<QComboBox>(window.get(), "Combo1")->isEnabled());
        EXPECT_FALSE(window->findChild<QAction *>(QStringLiteral("mnuSurvey"))->isEnabled());
        CommandGuard::Scope second(window->guard());
        EXPECT_FALSE(second) << "a nested command must not start";
        // Clear, widen and copy stay usable meanwhile.
        EXPECT_TRUE(find<QPushButton>(window.get(), "Command1(0)")->isEnabled());
        EXPECT_TRUE(find<QPushButton>(window.get(), "Command1(1)")->isEnabled());
    }
    EXPECT_TRUE(roster->isEnabled());
    EXPECT_FALSE(window->guard().isBusy());
}

} // namespace

TEST_F(ToolWindowTest, TheNonRepliersGoFromText1sMenuIntoTheComposerWhileText1ShowsThem)
{
    m_session.allianceId = QStringLiteral("7");
    const QString roster = m_session.appDir + QStringLiteral("OVEKMAP_DATA_7.txt");
    ASSERT_TRUE(
        DataFile::writeText(roster, QStringLiteral("\"甲\",\"1\",\"2\"\r\n\"乙\",\"1\",\"2\"\r\n"
                                                   "\"丙,丁\",\"1\",\"2\"\r\n\"戊\",\"1\",\"2\"\r\n")));
    m_browsers.replaceWithNew();
    auto &browser = static_cast<FakeBrowser &>(m_browsers.current());
    browser.addPage(m_session.world.inboxUrl(1),
                    PageFixtures::inboxHtml(1, 1, {{QStringLiteral("Re: 出欠"), QStringLiteral("乙")}}));
    auto window = openWindow();
    auto *write = window->findChild<QAction *>(QStringLiteral("mnuWriteLetter"));
    ASSERT_NE(write, nullptr);
    EXPECT_EQ(write->text(), QStringLiteral("この人たちに書状を書く"));
    EXPECT_TRUE(window->actions().contains(write));
    EXPECT_FALSE(write->isEnabled()) << "no result names anyone yet";

    find<QPushButton>(window.get(), "Command8")->click();
    ASSERT_TRUE(write->isEnabled()) << window->outputText().toStdString();
    // The roster changed since: the one no longer in it is told first.
    ASSERT_TRUE(
        DataFile::writeText(roster, QStringLiteral("\"甲\",\"1\",\"2\"\r\n\"丙,丁\",\"1\",\"2\"\r\n")));
    write->trigger();
    ASSERT_EQ(window->messages.size(), 1u);
    EXPECT_TRUE(window->messages[0].text.startsWith(QStringLiteral("次の1名は今の同盟員名簿にいません")))
        << window->messages[0].text.toStdString();
    EXPECT_TRUE(window->messages[0].text.endsWith(QStringLiteral("\r\n\r\n戊")));
    Form2 *composer = window->composer();
    ASSERT_NE(composer, nullptr);
    EXPECT_TRUE(composer->isVisible());
    EXPECT_EQ(composer->findChild<QLineEdit *>(QStringLiteral("Text3"))->text(),
              QStringLiteral("甲,\"丙,丁\",戊"));
    EXPECT_EQ(composer->windowTitle(), QStringLiteral("　新規作成"));

    // Text1 edited, then cleared: the entry no longer stands for that list.
    find<QPlainTextEdit>(window.get(), "Text1")->appendPlainText(QStringLiteral("メモ"));
    EXPECT_FALSE(write->isEnabled());
    find<QPushButton>(window.get(), "Command1(0)")->click();
    EXPECT_FALSE(write->isEnabled());
    window->close();
}

TEST_F(ToolWindowTest, LetterComposerOpensOnceAndClosesWithTheWindow)
{
    m_browsers.replaceWithNew();
    auto window = openWindow();
    QPushButton *command9 = find<QPushButton>(window.get(), "Command9");
    ASSERT_TRUE(command9->isEnabled());
    command9->click();
    Form2 *composer = window->composer();
    ASSERT_NE(composer, nullptr);
    EXPECT_TRUE(composer->isVisible());
    EXPECT_EQ(composer->windowTitle(), QStringLiteral("　新規作成"));
    auto &browser = static_cast<FakeBrowser &>(m_browsers.current());
    EXPECT_EQ(browser.navigations(), QStringList{QStringLiteral("http://127.0.0.1:1/message/new.php")});
    // The composer let go of the browser: the commands can run again.
    EXPECT_FALSE(window->guard().isBusy());
    EXPECT_TRUE(find<QPushButton>(window.get(), "Command2")->isEnabled());
    // Pressed again while open: to the front only, the page is not loaded again.
    composer->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("書きかけ"));
    command9->click();
    EXPECT_EQ(window->composer(), composer);
    EXPECT_EQ(browser.navigations().size(), 1);
    EXPECT_EQ(composer->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QStringLiteral("書きかけ"));
    window->close();
    EXPECT_FALSE(composer->isVisible());
}

TEST_F(ToolWindowTest, TheLastRunWithoutTheWindowIsToldAtStartAndTheRunHistoryListsEveryRunNewestFirst)
{
    EXPECT_EQ(openWindow()->windowTitle(), QStringLiteral("同盟管理ツール")) << "no run yet: nothing to tell";
    HistoryStore history(m_session.appDir);
    const QDateTime morning(QDate(2026, 12, 6), QTime(5, 30));
    for (const auto &[day, code, count] : {std::tuple{0, 0, 30}, std::tuple{1, 1, 30}, std::tuple{2, 3, -1}})
        ASSERT_TRUE(history.recordRun({morning.addDays(day),
                                       morning.addDays(day).addSecs(600),
                                       {QStringLiteral("survey"), QStringLiteral("activity")},
                                       code,
                                       count,
                                       {QStringLiteral("survey: 30 members")},
                                       {}}));
    auto window = openWindow();
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("同盟管理ツール - 前回の自動記録: 12/08 05:30 ログインが切れていました"));

    window->findChild<QAction *>(QStringLiteral("mnuRunHistory"))->trigger();
    auto *runs = window->findChild<QDialog *>(QStringLiteral("RunHistory"));
    ASSERT_NE(runs, nullptr);
    EXPECT_TRUE(runs->isVisible());
    auto *table = runs->findChild<QTableWidget *>(QStringLiteral("tblRuns"));
    ASSERT_EQ(table->rowCount(), 3);
    QStringList rows;
    for (int row = 0; row < 3; ++row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << table->item(row, column)->text();
        rows << cells.join(u'|');
    }
    EXPECT_EQ(
        rows,
        QStringList(
            {QStringLiteral("2026/12/08 05:30|2026/12/08 05:40|一括調査、活動履歴|ログインが切れていました"),
             QStringLiteral(
                 "2026/12/07 05:30|2026/12/07 05:40|一括調査、活動履歴|一部のコマンドが止まりました"),
             QStringLiteral("2026/12/06 05:30|2026/12/06 05:40|一括調査、活動履歴|完了")}));
    EXPECT_EQ(table->item(2, 4)->text(), QStringLiteral("survey: 30 members"));
}
