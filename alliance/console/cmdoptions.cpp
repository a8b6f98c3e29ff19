#include "alliance/console/cmdoptions.h"

#include "alliance/console/exitcode.h"
#include "site/worldsettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

namespace {

// The options of a run without the tool window.
struct RunOptions
{
    explicit RunOptions(const QStringList &runnable)
        : run(QStringLiteral("run"),
              QStringLiteral("ウィンドウを開かずに、コマンドを順に実行して終了します。"
                             "名前をカンマで区切って指定します（%1）。"
                             "ブラウザに保存されたログインを使い、ログインを待ちません。")
                  .arg(runnable.join(QStringLiteral(", "))),
              QStringLiteral("コマンド")),
          alliance(QStringLiteral("alliance"),
                   QStringLiteral("--run の report で調べる同盟のID。省略すると自分の同盟。"),
                   QStringLiteral("同盟ID")),
          headless(QStringLiteral("headless"),
                   QStringLiteral(
                       "ブラウザのウィンドウを出さずに実行します（--run か --check-pages と使います）。")),
          checkPages(QStringLiteral("check-pages"),
                     QStringLiteral(
                         "ウィンドウを開かずに、ゲームのページを種類ごとに読んでみて、読めたかどうかの表を"
                         "出して終了します。すべて読めたら終了コード 0、読めないページがあれば 1 です。"))
    {
    }
    QCommandLineOption run;
    QCommandLineOption alliance;
    QCommandLineOption headless;
    QCommandLineOption checkPages;
};

// What --run, --alliance, --headless and --check-pages ask for; a refusal
// in line's text when they do not go together.
bool readRunOptions(const QCommandLineParser &parser, const RunOptions &options, const QStringList &runnable,
                    CommandLine &line)
{
    auto refuse = [&line](const QString &text) {
        line.outcome = CommandLine::Outcome::Refused;
        line.text = text;
        return false;
    };
    if (parser.isSet(options.run)) {
        for (const QString &name : parser.value(options.run).split(u',')) {
            const QString command = name.trimmed();
            if (!runnable.contains(command))
                return refuse(QStringLiteral("--run に指定できるコマンドは %1 です。指定された値: %2\r\n")
                                  .arg(runnable.join(QStringLiteral(", ")), parser.value(options.run)));
            line.runCommands.append(command);
        }
    }
    if (parser.isSet(options.alliance)) {
        static const QRegularExpression allianceNumber(QStringLiteral("^[0-9]+$"));
        line.runAllianceId = parser.value(options.alliance);
        if (!allianceNumber.match(line.runAllianceId).hasMatch())
            return refuse(
                QStringLiteral("--alliance には同盟IDを数字で指定してください。指定された値: %1\r\n")
                    .arg(line.runAllianceId));
    }
    if (parser.isSet(options.checkPages)) {
        if (parser.isSet(options.run) || parser.isSet(options.alliance))
            return refuse(
                QStringLiteral("--check-pages は --run や --alliance と一緒には指定できません。\r\n"));
        line.checkPages = true;
        // The option is the page check's own: it runs that command alone.
        line.runCommands = {options.checkPages.names().constFirst()};
    }
    // Both only mean something for a run without the tool window: the
    // window needs the browser's window to log in by hand.
    if ((parser.isSet(options.alliance) || parser.isSet(options.headless)) && line.runCommands.isEmpty() &&
        !line.checkPages)
        return refuse(QStringLiteral(
            "--alliance と --headless は --run か --check-pages と一緒に指定してください。\r\n"));
    line.headless = parser.isSet(options.headless);
    return true;
}

QString helpDescription(const QString &appDir, const WorldConfig &world)
{
    return QStringLiteral("戦国OVEK 同盟管理ツール\n\n") + exitCodeHelp() +
           QStringLiteral("\nデータのフォルダ: ") + QDir::toNativeSeparators(appDir) +
           QStringLiteral(
               "\n  設定ファイル ovekwarden.ini "
               "と、ワールドごとのフォルダ（w<ワールド番号>_<サーバー>）を置きます。"
               "\n  名簿などのファイル、ブラウザのプロファイル、記録、診断はワールドのフォルダに入ります。"
               "\nこのワールドのフォルダ: ") +
           QDir::toNativeSeparators(QDir(appDir).filePath(world.folderName()));
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments, const QString &appDir, const WorldConfig &builtIn,
                             const QStringList &runnable)
{
    CommandLine line;
    line.world = builtIn;
    auto refuse = [&line](const QString &text) {
        line.outcome = CommandLine::Outcome::Refused;
        line.text = text;
        return line;
    };

    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示して終了します。"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("版を表示して終了します。"));
    const WorldOptions worldOptions;
    const RunOptions runOptions(runnable);
    parser.addOptions(QList<QCommandLineOption>{help, version} + worldOptions.options() +
                      QList<QCommandLineOption>{runOptions.run, runOptions.alliance, runOptions.headless,
                                                runOptions.checkPages});
    if (!parser.parse(arguments))
        return refuse(QStringLiteral("起動オプションが正しくありません: %1\r\n\r\n").arg(parser.errorText()) +
                      parser.helpText());
    const WorldOptions::Chosen chosen = worldOptions.choose(parser, appDir, builtIn);
    // Help names the folders of the world these options start, as a run would.
    parser.setApplicationDescription(
        helpDescription(appDir, chosen.refusal.isEmpty() ? chosen.world : builtIn));
    if (parser.isSet(help) || parser.isSet(version)) {
        line.outcome = CommandLine::Outcome::Print;
        line.text = parser.isSet(help)
                        ? parser.helpText()
                        : QStringLiteral("ovekwarden %1\n").arg(QCoreApplication::applicationVersion());
        return line;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("起動オプションが正しくありません: %1\r\n\r\n")
                          .arg(parser.positionalArguments().join(u' ')) +
                      parser.helpText());

    if (!chosen.refusal.isEmpty())
        return refuse(chosen.refusal);
    line.world = chosen.world;
    line.savedWorld = chosen.saved;
    line.worldSaved = chosen.savedInFile;
    line.worldNamed = chosen.named;
    line.save = chosen.save;
    readRunOptions(parser, runOptions, runnable, line);
    return line;
}
