#include "alliance/console/cmdoptions.h"
#include "site/worldsettings.h"
#include "testsupport/common/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

WorldConfig builtIn()
{
    WorldConfig world;
    world.gameSiteTopUrl = QStringLiteral("http://127.0.0.1:18080");
    world.worldBaseUrl = QStringLiteral("http://127.0.0.1:18083");
    world.worldNumber = QStringLiteral("3");
    world.warRankingKey = QStringLiteral("5");
    return world;
}

class WorldSettingsTest : public ::testing::Test
{
protected:
    void writeFile(const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(QStringLiteral("ovekwarden.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    CommandLine configure(QStringList options)
    {
        options.prepend(QStringLiteral("ovekwarden"));
        return parseCommandLine(
            options, m_dir.path(), builtIn(),
            {QStringLiteral("roster"), QStringLiteral("activity"), QStringLiteral("report")});
    }

    QTemporaryDir m_dir;
};

TEST_F(WorldSettingsTest, OptionOverFileOverBuiltInKeyByKey)
{
    CommandLine nothing = configure({});
    EXPECT_EQ(nothing.outcome, CommandLine::Outcome::Run);
    EXPECT_EQ(nothing.world.worldNumber, QStringLiteral("3"));
    EXPECT_EQ(nothing.world.worldBaseUrl, QStringLiteral("http://127.0.0.1:18083"));

    // The file with a byte order mark, CR LF lines and a key of no meaning.
    writeFile("\xEF\xBB\xBF[General]\r\nworld=12\r\nworld-url=https://w12.example.jp\r\ncolour=blue\r\n");
    const CommandLine fromFile = configure({});
    ASSERT_EQ(fromFile.outcome, CommandLine::Outcome::Run) << fromFile.text.toStdString();
    EXPECT_EQ(fromFile.world.worldNumber, QStringLiteral("12"));
    EXPECT_EQ(fromFile.world.worldBaseUrl, QStringLiteral("https://w12.example.jp"));
    EXPECT_EQ(fromFile.world.gameSiteTopUrl, QStringLiteral("http://127.0.0.1:18080")) << "not in the file";
    EXPECT_EQ(fromFile.world.warRankingKey, QStringLiteral("5"));

    EXPECT_FALSE(fromFile.worldNamed);
    EXPECT_TRUE(fromFile.worldSaved);
    EXPECT_FALSE(nothing.worldSaved) << "no file, nothing saved";
    EXPECT_TRUE(fromFile.worldSaved);
    EXPECT_FALSE(nothing.worldSaved) << "no file, nothing saved";
    EXPECT_EQ(fromFile.savedWorld.worldNumber, QStringLiteral("12"));
    const CommandLine both =
        configure({QStringLiteral("--world"), QStringLiteral("7"), QStringLiteral("--ranking-key=9")});
    // An option is the user's answer to the world question; the file's world stays the saved one.
    EXPECT_TRUE(both.worldNamed);
    EXPECT_EQ(both.savedWorld.worldNumber, QStringLiteral("12"));
    EXPECT_EQ(both.world.worldNumber, QStringLiteral("7"));
    EXPECT_EQ(both.world.warRankingKey, QStringLiteral("9"));
    EXPECT_EQ(both.world.worldBaseUrl, QStringLiteral("https://w12.example.jp"));
}

TEST_F(WorldSettingsTest, TheSameFileWithoutBomAndWithLfReadsTheSame)
{
    writeFile("world=12\nworld-url=https://w12.example.jp\n");
    const CommandLine plain = configure({});
    EXPECT_EQ(plain.world.worldNumber, QStringLiteral("12"));
    EXPECT_EQ(plain.world.worldBaseUrl, QStringLiteral("https://w12.example.jp"));
}

TEST_F(WorldSettingsTest, BadValuesAreRefusedNamingTheOptionOrKey)
{
    const struct
    {
        QStringList options;
        QString named;
    } refused[] = {
        {{QStringLiteral("--world-url"), QStringLiteral("ftp://w3.example.jp")},
         QStringLiteral("--world-url")},
        {{QStringLiteral("--world-url"), QStringLiteral("https://w3.example.jp/")},
         QStringLiteral("--world-url")},
        {{QStringLiteral("--top-url"), QStringLiteral("https://example.jp/game")},
         QStringLiteral("--top-url")},
        {{QStringLiteral("--top-url"), QStringLiteral("example.jp")}, QStringLiteral("--top-url")},
        {{QStringLiteral("--world"), QStringLiteral("1234")}, QStringLiteral("--world")},
        {{QStringLiteral("--world"), QStringLiteral("w3")}, QStringLiteral("--world")},
        {{QStringLiteral("--ranking-key"), QStringLiteral("5a")}, QStringLiteral("--ranking-key")},
        {{QStringLiteral("--colour"), QStringLiteral("blue")}, QStringLiteral("colour")},
        {{QStringLiteral("stray")}, QStringLiteral("stray")},
        // A user name in an address would send the login name to the server.
        {{QStringLiteral("--world-url"), QStringLiteral("https://user@w3.example.jp")},
         QStringLiteral("--world-url")},
        {{QStringLiteral("--top-url"), QStringLiteral("https://user:pw@example.jp")},
         QStringLiteral("--top-url")},
    };
    for (const auto &c : refused) {
        const CommandLine settings = configure(c.options);
        EXPECT_EQ(settings.outcome, CommandLine::Outcome::Refused) << c.options.join(u' ').toStdString();
        EXPECT_TRUE(settings.text.contains(c.named)) << settings.text.toStdString();
    }
    // Accepted: a port, https, three digits.
    const CommandLine fine =
        configure({QStringLiteral("--world-url"), QStringLiteral("https://w3.example.jp:8443"),
                   QStringLiteral("--world"), QStringLiteral("012")});
    EXPECT_EQ(fine.outcome, CommandLine::Outcome::Run) << fine.text.toStdString();

    for (const auto &[bytes, key] :
         {std::pair{QByteArray("world=abc\n"), QStringLiteral("「world」")},
          std::pair{QByteArray("world-url=https://user@w3.example.jp\n"), QStringLiteral("「world-url」")},
          std::pair{QByteArray("top-url=https://user:pw@example.jp\n"), QStringLiteral("「top-url」")}}) {
        writeFile(bytes);
        const CommandLine badFile = configure({});
        EXPECT_EQ(badFile.outcome, CommandLine::Outcome::Refused) << bytes.toStdString();
        EXPECT_TRUE(badFile.text.contains(QStringLiteral("ovekwarden.ini")));
        EXPECT_TRUE(badFile.text.contains(key)) << badFile.text.toStdString();
    }
}

TEST_F(WorldSettingsTest, RunOptionsNameCommandsInOrderAndTheRestOnlyWithThem)
{
    const CommandLine run =
        configure({QStringLiteral("--run"), QStringLiteral("report,roster"), QStringLiteral("--alliance"),
                   QStringLiteral("2581"), QStringLiteral("--headless")});
    ASSERT_EQ(run.outcome, CommandLine::Outcome::Run) << run.text.toStdString();
    EXPECT_EQ(run.runCommands, QStringList({QStringLiteral("report"), QStringLiteral("roster")}));
    EXPECT_EQ(run.runAllianceId, QStringLiteral("2581"));
    EXPECT_TRUE(run.headless);
    EXPECT_TRUE(configure({}).runCommands.isEmpty()) << "the window opens";
    const CommandLine check = configure({QStringLiteral("--check-pages"), QStringLiteral("--headless")});
    ASSERT_EQ(check.outcome, CommandLine::Outcome::Run) << check.text.toStdString();
    EXPECT_TRUE(check.checkPages && check.headless);

    const struct
    {
        QStringList options;
        QString named;
    } refused[] = {
        {{QStringLiteral("--run"), QStringLiteral("roster,castles")},
         QStringLiteral("roster, activity, report")},
        {{QStringLiteral("--run"), QStringLiteral("")}, QStringLiteral("--run")},
        {{QStringLiteral("--run"), QStringLiteral("report"), QStringLiteral("--alliance"),
          QStringLiteral("25x")},
         QStringLiteral("--alliance")},
        {{QStringLiteral("--headless")}, QStringLiteral("--run")},
        {{QStringLiteral("--alliance"), QStringLiteral("7")}, QStringLiteral("--run")},
        {{QStringLiteral("--check-pages"), QStringLiteral("--run"), QStringLiteral("roster")},
         QStringLiteral("--check-pages")},
    };
    for (const auto &c : refused) {
        const CommandLine settings = configure(c.options);
        EXPECT_EQ(settings.outcome, CommandLine::Outcome::Refused) << c.options.join(u' ').toStdString();
        EXPECT_TRUE(settings.text.contains(c.named)) << settings.text.toStdString();
    }
    const CommandLine help = configure({QStringLiteral("--help")});
    for (const char *exitCode : {"  3  ", "  4  "})
        EXPECT_TRUE(help.text.contains(QString::fromLatin1(exitCode))) << "exit codes are in --help";
}

TEST_F(WorldSettingsTest, QuotedValuesInTheFileLoseTheirBlanks)
{
    writeFile("world=\" 12 \"\nworld-url=\"https://w12.example.jp \"\n");
    const CommandLine quoted = configure({});
    ASSERT_EQ(quoted.outcome, CommandLine::Outcome::Run) << quoted.text.toStdString();
    EXPECT_EQ(quoted.world.worldNumber, QStringLiteral("12"));
    EXPECT_EQ(quoted.world.worldBaseUrl, QStringLiteral("https://w12.example.jp"));
}

TEST_F(WorldSettingsTest, HelpIsPrintedAndSavingWritesTheFile)
{
    const CommandLine help = configure({QStringLiteral("--help")});
    EXPECT_EQ(help.outcome, CommandLine::Outcome::Print);
    EXPECT_TRUE(help.text.contains(QStringLiteral("--world-url")));
    EXPECT_TRUE(help.text.contains(QStringLiteral("ワールド番号")));
    // It names the folder of the world the same options start.
    EXPECT_TRUE(
        help.text.contains(QStringLiteral("このワールドのフォルダ: ") +
                           QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("w003_127.0.0.1_18083")))));
    EXPECT_TRUE(configure({QStringLiteral("--help"), QStringLiteral("--world"), QStringLiteral("12")})
                    .text.contains(QStringLiteral("w012_127.0.0.1_18083")));

    const CommandLine saving =
        configure({QStringLiteral("--world"), QStringLiteral("12"), QStringLiteral("--save-settings")});
    ASSERT_TRUE(saving.save);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("ovekwarden.ini"))))
        << "nothing written unasked";
    EXPECT_EQ(saveWorldSettings(m_dir.path(), saving.world), QString());
    EXPECT_EQ(configure({}).world.worldNumber, QStringLiteral("12"));
}

} // namespace
