// End to end: the composer fills the new-letter page of demosite in a
// headless Chromium, and the letter sent from that page reaches the game.
#include "alliance/walk/commandguard.h"
#include "alliance/walk/commandrunner.h"
#include "common/clock.h"
#include "common/pump.h"
#include "composer/composer.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "site/startup.h"
#include "site/webdriverbrowser.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/composer/recordingcomposerport.h"
#include "testsupport/composer/recordingfileopener.h"
#include "testsupport/site/browserprocesses.h"
#include "testsupport/site/demositeprocess.h"
#include "testsupport/x11/testapplication.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class ComposerEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureTestApplication(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_appDir.isValid() && m_profile.isValid());
        m_site.start({QStringLiteral("--auto-login"), QStringLiteral("--seed"), QStringLiteral("7")});
        m_session.world.gameSiteTopUrl = m_site.topUrl();
        m_session.world.worldBaseUrl = m_site.worldUrl();
        m_session.world.worldNumber = QStringLiteral("3");
        m_session.world.warRankingKey = QStringLiteral("5");
        m_session.appDir = m_appDir.path() + QStringLiteral("/");
        m_navigator = std::make_unique<Navigator>(m_browsers, m_session.world, m_clock, m_pump);
        StartupSequence(m_session, m_browsers, *m_navigator, m_pump).run();
    }
    void TearDown() override { m_browsers.quit(); }

    QJsonObject dump() const
    {
        return QJsonDocument::fromJson(m_site.control(QStringLiteral("dump"))).object();
    }

    // Names of the own alliance's lords as the roster writes them (no blanks).
    QStringList ownMemberNames(int count) const
    {
        const QJsonObject world = dump();
        const int own = world[QStringLiteral("player")][QStringLiteral("alliance_id")].toInt();
        QHash<int, QString> names;
        for (const QJsonValue &lord : world[QStringLiteral("lords")].toArray())
            names.insert(lord[QStringLiteral("user_id")].toInt(), lord[QStringLiteral("name")].toString());
        QStringList picked;
        for (const QJsonValue &alliance : world[QStringLiteral("alliances")].toArray()) {
            if (alliance[QStringLiteral("id")].toInt() != own)
                continue;
            for (const QJsonValue &id : alliance[QStringLiteral("member_ids")].toArray()) {
                if (picked.size() < count)
                    picked.append(QString(names.value(id.toInt())).remove(u' '));
            }
        }
        return picked;
    }

    // What the page's field holds now, as the page mirrors it.
    static QString fieldValue(const Document &page, const QString &id)
    {
        const QRegularExpression pattern(QStringLiteral(" id=") + id +
                                         QStringLiteral(" [^>]*data-value=\"?([^\" >]*)"));
        const QRegularExpressionMatch match = pattern.match(page.markup());
        if (!match.hasMatch())
            return QStringLiteral("(no field %1)").arg(id);
        return QUrl::fromPercentEncoding(match.captured(1).toLatin1());
    }

    DemoSiteProcess m_site{QStringLiteral(OVEK_DEMOSITE_PROGRAM)};
    QTemporaryDir m_appDir;
    QTemporaryDir m_profile;
    Session m_session;
    BrowserSlot m_browsers{[this] {
        WebDriverOptions options;
        options.profileDir = m_profile.path();
        options.headless = true;
        options.noSandbox = true; // CI runs as root
        return std::make_unique<WebDriverBrowser>(options);
    }};
    SystemClock m_clock;
    EventLoopPump m_pump;
    std::unique_ptr<Navigator> m_navigator;
    RecordingFileOpener m_opener;
    // The page steps run as every command does, and a closed browser is
    // opened again with start-up's walk.
    RecordingToolPort m_toolPort;
    CommandGuard m_guard;
    CommandRunner m_runner{m_toolPort, m_guard, [this] {
                               StartupSequence(m_session, m_browsers, *m_navigator, m_pump).reopenBrowser();
                           }};
};

TEST_F(ComposerEndToEnd, InsertingFillsTheLetterPageExactlyAndTheSentLetterReachesTheGame)
{
    const QStringList names = ownMemberNames(5);
    ASSERT_EQ(names.size(), 5);
    ComposerContext context{m_session, *m_navigator, m_browsers, m_opener, m_runner};
    ComposerState state;
    RecordingComposerPort port;
    Composer composer(context, state, port);
    composer.fillAtOpening();
    composer.loadLetterPage();
    ASSERT_EQ(m_browsers.current().locationUrl(),
              m_session.world.worldBaseUrl + QStringLiteral("/message/new.php"));

    const QString subject = QStringLiteral("【出欠】 \"合戦\" の件 \\ </script><b>&amp;</b> 'x'");
    const QString body = QStringLiteral("各位\r\n  参加可否を\\n\"返信\"で</textarea>\r\n\r\n以上");
    port.text2 = QStringLiteral("  ") + subject + QStringLiteral(" ");
    port.text3 = names.join(u',');
    port.text1 = body + QStringLiteral("   ");
    composer.fillLetterPage();
    EXPECT_EQ(port.text3, names.mid(3).join(u','));

    const Document page = m_browsers.current().document();
    EXPECT_EQ(fieldValue(page, QStringLiteral("SUBJECT")), subject);
    EXPECT_EQ(fieldValue(page, QStringLiteral("TO")), names.mid(0, 3).join(u','));
    // A text area holds its lines with LF alone.
    EXPECT_EQ(fieldValue(page, QStringLiteral("BODY")),
              QString(body).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // Sent from the page, as the user would press its button.
    m_browsers.current().setFieldValue(QStringLiteral("SEND"), QStringLiteral("1"));
    QJsonArray sent;
    QElapsedTimer waited;
    waited.start();
    while (sent.isEmpty() && waited.elapsed() < 15000) {
        m_pump.pauseFor(100);
        sent = dump()[QStringLiteral("sent_letters")].toArray();
    }
    ASSERT_EQ(sent.size(), 1);
    const QJsonObject letter = sent[0].toObject();
    EXPECT_EQ(letter[QStringLiteral("subject")].toString(), subject);
    EXPECT_EQ(letter[QStringLiteral("to")].toString(), names.mid(0, 3).join(u','));
    EXPECT_EQ(letter[QStringLiteral("body")].toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
              QString(body).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

TEST_F(ComposerEndToEnd, ABrowserClosedWhileTheLetterPageLoadsIsToldAndOpenedAgain)
{
    ComposerContext context{m_session, *m_navigator, m_browsers, m_opener, m_runner};
    ComposerState state;
    RecordingComposerPort port;
    Composer composer(context, state, port);
    composer.fillAtOpening();

    // The letter page hangs; meanwhile the browser goes away.
    m_site.control(QStringLiteral("hang?path=/message/new.php"));
    const qint64 chromium = chromiumMainProcess(m_profile.path());
    ASSERT_NE(chromium, 0);
    // Once it is gone the page comes again, for the new browser.
    QTimer::singleShot(1500, [this, chromium] {
        ::kill(static_cast<pid_t>(chromium), SIGKILL);
        m_site.control(QStringLiteral("release?path=/message/new.php"));
    });
    composer.loadLetterPage();

    ASSERT_EQ(m_toolPort.messages.size(), 1) << m_toolPort.messages.join(u'\n').toStdString();
    EXPECT_TRUE(m_toolPort.messages.first().startsWith(
        QStringLiteral("注意|ブラウザが閉じられたため、「書状作成ページの読み込み」を中止しました。")))
        << m_toolPort.messages.first().toStdString();
    EXPECT_TRUE(port.pageCommandsEnabled);
    const qint64 reopened = chromiumMainProcess(m_profile.path());
    EXPECT_NE(reopened, 0) << "a new browser";
    EXPECT_NE(reopened, chromium);
    EXPECT_EQ(m_browsers.current().locationUrl(), m_session.world.newLetterUrl())
        << "the new browser stands on the letter page, as the composer's page";

    // 「ヘージ再読み込み」, then 「画面挿入」 on the new browser.
    composer.loadLetterPage();
    port.text2 = QStringLiteral("件名");
    port.text3 = ownMemberNames(3).join(u',');
    port.text1 = QStringLiteral("本文");
    composer.fillLetterPage();
    EXPECT_EQ(fieldValue(m_browsers.current().document(), QStringLiteral("SUBJECT")), QStringLiteral("件名"));
    EXPECT_EQ(fieldValue(m_browsers.current().document(), QStringLiteral("TO")),
              ownMemberNames(3).join(u','));
    EXPECT_EQ(port.text3, QString()) << "three names went to the page";
    EXPECT_EQ(m_toolPort.messages.size(), 1);
}

} // namespace
