#include "alliance/toolwindow.h"
#include "common/clock.h"
#include "common/datafile.h"
#include "common/pump.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "testsupport/site/fakebrowser.h"
#include "testsupport/x11/testapplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
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
    std::vector<Message> messages;
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
    }

    std::unique_ptr<RecordingToolWindow> openWindow()
    {
        auto window = std::make_unique<RecordingToolWindow>(m_session, m_browsers, m_navigator, m_pump);
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
    // Commands that are not part of the tool yet are visible but cannot be pressed.
    EXPECT_FALSE(find<QPushButton>(window.get(), "Command7")->isEnabled());
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

    window->setOutputText(QStringLiteral("一行目\n二行目"));
    QTest::mouseClick(find<QPushButton>(window.get(), "Command1(2)"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("一行目\n二行目"));
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
}

TEST_F(ToolWindowTest, ASecondBrowserCommandIsRefusedWhileOneRuns)
{
    auto window = openWindow();
    QPushButton *roster = find<QPushButton>(window.get(), "Command2");
    {
        CommandGuard::Scope running(window->guard());
        ASSERT_TRUE(running);
        EXPECT_FALSE(roster->isEnabled());
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
