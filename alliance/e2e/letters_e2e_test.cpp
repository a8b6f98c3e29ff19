// End to end: from a result to the letters. The tool window against demosite
// and a headless Chromium: a reply check, the activity record and 「推移」 each
// hand their members to the composer, and 画面挿入 fills the game's letter
// page with them three a letter, sent from the page in between.
#include "alliance/window/toolwindow.h"
#include "common/datafile.h"
#include "common/rosterfile.h"
#include "composer/form2.h"
#include "testsupport/alliance/endtoendfixture.h"
#include "testsupport/alliance/rosteroracle.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/site/browserprocesses.h"
#include "trends/trendswindow.h"
#include "ui/messagebox.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QJsonArray>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QUrl>
#include <csignal>

namespace {

// The tool window with its messages written down; the composer's own boxes
// are answered by MessageBox.
class RecordingWindow : public OVEKMark
{
public:
    using OVEKMark::OVEKMark;
    void showMessage(const QString &text, const QString &title, Icon) override
    {
        messages.append(title + u'|' + text);
    }
    QStringList messages;
};

class LettersEndToEnd : public EndToEndFixture
{
protected:
    bool startsUpInSetUp() const override { return true; }

    void SetUp() override
    {
        EndToEndFixture::SetUp();
        MessageBox::setNextAnswer(true);
        m_window = std::make_unique<RecordingWindow>(m_session, m_browsers, *m_navigator, m_pump, m_clock);
        m_window->Form_Load();
    }
    void TearDown() override
    {
        if (m_window)
            m_window->close();
        m_window.reset();
        MessageBox::setNextAnswer(std::nullopt);
        EndToEndFixture::TearDown();
    }

    template <typename W> W *find(QWidget *in, const QString &name) const { return in->findChild<W *>(name); }
    void click(const QString &button) { find<QPushButton>(m_window.get(), button)->click(); }
    void writeLetter()
    {
        QAction *write = find<QAction>(m_window.get(), QStringLiteral("mnuWriteLetter"));
        ASSERT_TRUE(write->isEnabled()) << m_window->outputText().toStdString();
        write->trigger();
    }
    Form2 &composer() { return *m_window->composer(); }
    QString addressees() { return find<QLineEdit>(&composer(), QStringLiteral("Text3"))->text(); }
    void writeRoster(const QString &text)
    {
        ASSERT_TRUE(DataFile::writeBytes(m_session.appDir + RosterFile::fileName(m_session.allianceId),
                                         RosterOracle::codePage932Bytes(text + QStringLiteral("\r\n"))));
    }

    // What the letter page's TO holds now, as the page mirrors it.
    QString pageTo()
    {
        const QRegularExpression pattern(QStringLiteral(" id=TO [^>]*data-value=\"?([^\" >]*)"));
        const QRegularExpressionMatch match = pattern.match(m_browsers.current().document().markup());
        return match.hasMatch() ? QUrl::fromPercentEncoding(match.captured(1).toLatin1())
                                : QStringLiteral("(no TO field)");
    }
    // Sends from the page as the user would, waits for the game to have it,
    // and loads a new letter page with 「ヘージ再読み込み」.
    QString sendAndReload(qsizetype sentBefore)
    {
        m_browsers.current().setFieldValue(QStringLiteral("SEND"), QStringLiteral("1"));
        QJsonArray sent;
        QElapsedTimer waited;
        waited.start();
        while (sent.size() <= sentBefore && waited.elapsed() < 15000) {
            m_pump.pauseFor(100);
            sent = dump()[QStringLiteral("sent_letters")].toArray();
        }
        find<QPushButton>(&composer(), QStringLiteral("Command3"))->click();
        return sent.size() > sentBefore ? sent.last()[QStringLiteral("to")].toString()
                                        : QStringLiteral("(unsent)");
    }
    // 画面挿入, sending in between, until 宛名 is empty: each letter's TO as
    // the game got it, and the caption after each insert.
    std::pair<QStringList, QStringList> sendAll()
    {
        QStringList to;
        QStringList captions;
        const qsizetype before = dump()[QStringLiteral("sent_letters")].toArray().size();
        while (!addressees().isEmpty() && to.size() < 12) {
            find<QPushButton>(&composer(), QStringLiteral("Command1"))->click();
            captions.append(composer().windowTitle());
            const QString onPage = pageTo();
            const QString sent = sendAndReload(before + to.size());
            EXPECT_EQ(sent, onPage);
            to.append(sent);
        }
        return {to, captions};
    }

    FakeClock m_clock{10 * 3600, QDate(2026, 12, 1)};
    std::unique_ptr<RecordingWindow> m_window;
};

QStringList threeALetter(const QStringList &names)
{
    QStringList letters;
    for (qsizetype i = 0; i < names.size(); i += 3)
        letters.append(names.mid(i, 3).join(u','));
    return letters;
}

TEST_F(LettersEndToEnd, TheNonRepliersOfAKeywordGoThreeALetterInRosterOrderUntilNoneIsLeft)
{
    const QJsonObject world = dump();
    const QString own = m_session.allianceId;
    const QString rosterText = RosterOracle::rosterText(world, own);
    writeRoster(rosterText);
    auto *keyword = find<QLineEdit>(m_window.get(), QStringLiteral("Text4"));
    keyword->setText(QStringLiteral("出欠"));
    click(QStringLiteral("Command8"));
    const QString fullResult = m_window->outputText();
    const QString section = fullResult.section(QStringLiteral("★未返信者リスト\r\n"), 1);
    const QStringList nonRepliers = section.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_GT(nonRepliers.size(), 8) << fullResult.toStdString();
    ASSERT_FALSE(section.contains(u'※')) << "the inbox is read whole";

    // A roster keeping every replier and the first eight who did not reply:
    // three letters, the last to two.
    QStringList kept;
    for (const QString &line : rosterText.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const QString name = RosterFile::fields(line).value(0);
        const qsizetype at = nonRepliers.indexOf(name);
        if (at < 0 || at < 8)
            kept.append(line);
    }
    writeRoster(kept.join(QStringLiteral("\r\n")));
    click(QStringLiteral("Command8"));
    const QStringList eight = nonRepliers.mid(0, 8);
    ASSERT_TRUE(m_window->outputText().endsWith(QStringLiteral("★未返信者リスト\r\n") +
                                                eight.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")))
        << m_window->outputText().toStdString();

    writeLetter();
    EXPECT_TRUE(m_window->messages.isEmpty()) << m_window->messages.join(u'\n').toStdString();
    ASSERT_NE(m_window->composer(), nullptr);
    EXPECT_TRUE(composer().isVisible());
    EXPECT_EQ(addressees(), eight.join(u','));
    EXPECT_EQ(composer().windowTitle(), QStringLiteral("　新規作成（残り 8名）"));
    find<QLineEdit>(&composer(), QStringLiteral("Text2"))->setText(QStringLiteral("【出欠】ご返信のお願い"));
    find<QPlainTextEdit>(&composer(), QStringLiteral("Text1"))
        ->setPlainText(QStringLiteral("出欠のご返信を。"));

    const auto [to, captions] = sendAll();
    EXPECT_EQ(to, threeALetter(eight));
    EXPECT_EQ(captions, (QStringList{QStringLiteral("　新規作成（残り 5名）"), QStringLiteral("　新規作成"),
                                     QStringLiteral("　新規作成")}));
    EXPECT_EQ(addressees(), QString());
    EXPECT_TRUE(m_window->messages.isEmpty()) << m_window->messages.join(u'\n').toStdString();
}

TEST_F(LettersEndToEnd, TheInactiveMembersAndThoseIdleForTwoDaysInTrendsGoToTheComposer)
{
    const QString own = m_session.allianceId;
    writeRoster(RosterOracle::rosterText(dump(), own));
    QList<QHash<int, qint64>> pointsByDay;
    QList<QJsonObject> members;
    for (int day = 0; day < 3; ++day) {
        if (day > 0)
            m_site.control(QStringLiteral("advance-day"));
        m_clock.setDate(QDate(2026, 12, 1).addDays(day));
        members = RosterOracle::members(dump(), own);
        QHash<int, qint64> points;
        for (const QJsonObject &lord : members)
            points.insert(lord[QStringLiteral("user_id")].toInt(),
                          lord[QStringLiteral("points")].toInteger());
        pointsByDay.append(points);
        click(QStringLiteral("Command5"));

        if (day != 1)
            continue;
        // The members whose points stood still since yesterday, in page
        // order, their names as the page shows them (blanks and all).
        QStringList inactive;
        for (const QJsonObject &lord : members) {
            const int id = lord[QStringLiteral("user_id")].toInt();
            if (pointsByDay[0].contains(id) && pointsByDay[0].value(id) == pointsByDay[1].value(id))
                inactive.append(lord[QStringLiteral("name")].toString());
        }
        ASSERT_GT(inactive.size(), 3);
        m_window->messages.clear(); // the first run's 「判定不能」
        ASSERT_TRUE(m_window->outputText().startsWith(QString::number(inactive.size()) +
                                                      QStringLiteral("人の同盟員が、")))
            << m_window->outputText().toStdString();
        writeLetter();
        EXPECT_EQ(addressees(), inactive.join(u','));
        EXPECT_EQ(composer().windowTitle(), QStringLiteral("　新規作成（残り %1名）").arg(inactive.size()));
        // The one who joined today is not inactive; everyone listed is in
        // the roster once blanks are let be: nobody to tell about.
        EXPECT_TRUE(m_window->messages.isEmpty()) << m_window->messages.join(u'\n').toStdString();
        find<QLineEdit>(&composer(), QStringLiteral("Text2"))->setText(QStringLiteral("ご様子伺い"));
        find<QPushButton>(&composer(), QStringLiteral("Command1"))->click();
        EXPECT_EQ(pageTo(), inactive.mid(0, 3).join(u','));
        EXPECT_EQ(sendAndReload(dump()[QStringLiteral("sent_letters")].toArray().size()),
                  inactive.mid(0, 3).join(u','))
            << "the game finds the lords by the names with their blanks";
    }

    // 「推移」 on the third day, two days chosen: those whose points have
    // not moved since the first day.
    QStringList idle;
    for (const QJsonObject &lord : members) {
        const int id = lord[QStringLiteral("user_id")].toInt();
        if (pointsByDay[0].contains(id) && pointsByDay[0].value(id) == pointsByDay[2].value(id) &&
            pointsByDay[1].value(id) == pointsByDay[2].value(id))
            idle.append(lord[QStringLiteral("name")].toString());
    }
    ASSERT_FALSE(idle.isEmpty());
    m_window->messages.clear();
    for (QAction *action : m_window->actions()) {
        if (action->text() == QStringLiteral("推移"))
            action->trigger();
    }
    auto *trends = m_window->findChild<TrendsWindow *>();
    ASSERT_NE(trends, nullptr);
    find<QSpinBox>(trends, QStringLiteral("idleDays"))->setValue(2);
    auto *write = find<QPushButton>(trends, QStringLiteral("writeLetter"));
    ASSERT_TRUE(write->isVisible() && write->isEnabled());
    write->click();
    EXPECT_EQ(addressees(), idle.join(u','));
    EXPECT_EQ(composer().windowTitle(), idle.size() > 3
                                            ? QStringLiteral("　新規作成（残り %1名）").arg(idle.size())
                                            : QStringLiteral("　新規作成"));
    const auto [to, captions] = sendAll();
    EXPECT_EQ(to, threeALetter(idle));
    EXPECT_EQ(addressees(), QString());
    EXPECT_TRUE(m_window->messages.isEmpty()) << m_window->messages.join(u'\n').toStdString();
}

TEST_F(LettersEndToEnd, AfterTheBrowserIsKilledTheComposerIsBackOnTheLetterPageAndSendsEveryNameOnce)
{
    m_window->setBrowserReopener(
        [this] { StartupSequence(m_session, m_browsers, *m_navigator, m_pump).reopenBrowser(); });
    const QString own = m_session.allianceId;
    writeRoster(RosterOracle::rosterText(dump(), own));
    find<QLineEdit>(m_window.get(), QStringLiteral("Text4"))->setText(QStringLiteral("出欠"));
    click(QStringLiteral("Command8"));
    const QStringList nonRepliers = m_window->outputText()
                                        .section(QStringLiteral("★未返信者リスト\r\n"), 1)
                                        .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_GT(nonRepliers.size(), 3);
    writeLetter();
    m_window->messages.clear();
    find<QLineEdit>(&composer(), QStringLiteral("Text2"))->setText(QStringLiteral("【出欠】ご返信のお願い"));

    // Chromium goes away as in a crash, then 画面挿入 (and, the second
    // round, 「ヘージ再読み込み」) is pressed.
    for (const QString &button : {QStringLiteral("Command1"), QStringLiteral("Command3")}) {
        SCOPED_TRACE(button.toStdString());
        const qint64 chromium = chromiumMainProcess(m_profile.path());
        ASSERT_NE(chromium, 0);
        ::kill(static_cast<pid_t>(chromium), SIGKILL);
        find<QPushButton>(&composer(), button)->click();
        ASSERT_EQ(m_window->messages.size(), 1);
        EXPECT_TRUE(m_window->messages.first().contains(QStringLiteral("ブラウザが閉じられたため")));
        m_window->messages.clear();
        EXPECT_EQ(m_browsers.current().locationUrl(), m_session.world.newLetterUrl())
            << "back on the letter page, as 「ヘージ再読み込み」 leaves it";
        EXPECT_EQ(addressees(), nonRepliers.join(u',')) << "no name left the field";
    }

    const auto [to, captions] = sendAll();
    EXPECT_EQ(to, threeALetter(nonRepliers)) << "every name once, three a letter";
    EXPECT_TRUE(m_window->messages.isEmpty()) << m_window->messages.join(u'\n').toStdString();
    EXPECT_TRUE(QDir(m_session.appDir + QStringLiteral("診断")).entryList(QDir::Files).isEmpty())
        << "no letter page was taken for a changed one";
}

} // namespace
