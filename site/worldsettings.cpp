#include "site/worldsettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>

namespace {

// The keys of the file are the names of the options.
const QString kTopUrl = QStringLiteral("top-url");
const QString kWorldUrl = QStringLiteral("world-url");
const QString kWorld = QStringLiteral("world");
const QString kRankingKey = QStringLiteral("ranking-key");
const QString kSave = QStringLiteral("save-settings");

// Scheme and host (a port may follow), nothing after: every game address
// is built by adding a path to it.
bool isServerAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() != QStringLiteral("http") && url.scheme() != QStringLiteral("https"))
        return false;
    return url.path().isEmpty() && !url.hasQuery() && !url.hasFragment() && url.userInfo().isEmpty() &&
           !text.endsWith(u'/');
}

QString checkValue(const QString &key, const QString &value)
{
    static const QRegularExpression worldNumber(QStringLiteral("^[0-9]{1,3}$"));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (key == kTopUrl || key == kWorldUrl) {
        if (!isServerAddress(value))
            return QStringLiteral("「%1」には http:// か https:// で始まるサーバーのアドレスを、"
                                  "パスや末尾の「/」を付けずに指定してください（例: https://w3.example.jp）。"
                                  "指定された値: %2")
                .arg(key, value);
    } else if (key == kWorld) {
        if (!worldNumber.match(value).hasMatch())
            return QStringLiteral("「%1」にはワールド番号を 1～3 桁の数字で指定してください（例: 3）。"
                                  "指定された値: %2")
                .arg(key, value);
    } else if (key == kRankingKey) {
        if (!digits.match(value).hasMatch())
            return QStringLiteral("「%1」には合戦番号を数字で指定してください（例: 5）。指定された値: %2")
                .arg(key, value);
    }
    return {};
}

QString *field(WorldConfig &world, const QString &key)
{
    if (key == kTopUrl)
        return &world.gameSiteTopUrl;
    if (key == kWorldUrl)
        return &world.worldBaseUrl;
    if (key == kWorld)
        return &world.worldNumber;
    return &world.warRankingKey;
}

QString settingsPath(const QString &appDir)
{
    return QDir(appDir).filePath(WorldSettingsFile::fileName());
}

} // namespace

namespace WorldSettingsFile {
QString fileName()
{
    return QStringLiteral("ovekwarden.ini");
}
} // namespace WorldSettingsFile

WorldSettings configureWorld(const QStringList &arguments, const QString &appDir, const WorldConfig &builtIn,
                             const QStringList &runnable)
{
    WorldSettings settings;
    settings.world = builtIn;
    auto refuse = [&](const QString &text) {
        settings.outcome = WorldSettings::Outcome::Refused;
        settings.text = text;
        return settings;
    };

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "戦国OVEK 同盟管理ツール\n\n"
            "--run か --check-pages で実行したときの終了コード:\n"
            "  0  すべてのコマンドが完了した（--check-pages: すべてのページを読めた）\n"
            "  1  "
            "中止したコマンドか保存できなかったファイルがある（理由は標準エラー出力かそのコマンドの行）、\n"
            "     読めないページがある\n"
            "  2  起動オプションが正しくない\n"
            "  3  ログインが切れている（何も書き換えていない）\n"
            "  4  別の ovekwarden がブラウザのプロファイルを使っている\n"
            "  5  データのフォルダに書き込めない（ディスクの空きがない、権限がない）ため始められなかった\n\n"
            "データのフォルダ: ") +
        QDir::toNativeSeparators(appDir));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示して終了します。"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("版を表示して終了します。"));
    const QCommandLineOption topUrl(
        kTopUrl, QStringLiteral("ゲームのトップページのアドレス（例: https://example.jp）。"),
        QStringLiteral("アドレス"));
    const QCommandLineOption worldUrl(
        kWorldUrl, QStringLiteral("ワールドのサーバーのアドレス（例: https://w3.example.jp）。"),
        QStringLiteral("アドレス"));
    const QCommandLineOption world(kWorld, QStringLiteral("ワールド番号、1～3 桁（例: 3）。"),
                                   QStringLiteral("番号"));
    const QCommandLineOption rankingKey(kRankingKey, QStringLiteral("合戦格付の合戦番号（例: 5）。"),
                                        QStringLiteral("番号"));
    const QCommandLineOption save(kSave, QStringLiteral("指定した設定を ovekwarden.ini に保存します。"));
    const QCommandLineOption run(QStringLiteral("run"),
                                 QStringLiteral("ウィンドウを開かずに、コマンドを順に実行して終了します。"
                                                "名前をカンマで区切って指定します（%1）。"
                                                "ブラウザに保存されたログインを使い、ログインを待ちません。")
                                     .arg(runnable.join(QStringLiteral(", "))),
                                 QStringLiteral("コマンド"));
    const QCommandLineOption alliance(
        QStringLiteral("alliance"),
        QStringLiteral("--run の report で調べる同盟のID。省略すると自分の同盟。"), QStringLiteral("同盟ID"));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("ブラウザのウィンドウを出さずに実行します（--run か --check-pages と使います）。"));
    const QCommandLineOption checkPages(
        QStringLiteral("check-pages"),
        QStringLiteral(
            "ウィンドウを開かずに、ゲームのページを種類ごとに読んでみて、読めたかどうかの表を出して"
            "終了します。すべて読めたら終了コード 0、読めないページがあれば 1 です。"));
    parser.addOptions(
        {help, version, topUrl, worldUrl, world, rankingKey, save, run, alliance, headless, checkPages});
    if (!parser.parse(arguments))
        return refuse(QStringLiteral("起動オプションが正しくありません: %1\r\n\r\n").arg(parser.errorText()) +
                      parser.helpText());
    if (parser.isSet(help) || parser.isSet(version)) {
        settings.outcome = WorldSettings::Outcome::Print;
        settings.text = parser.isSet(help)
                            ? parser.helpText()
                            : QStringLiteral("ovekwarden %1\n").arg(QCoreApplication::applicationVersion());
        return settings;
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("起動オプションが正しくありません: %1\r\n\r\n")
                          .arg(parser.positionalArguments().join(u' ')) +
                      parser.helpText());

    const QString path = settingsPath(appDir);
    const QStringList keys{kTopUrl, kWorldUrl, kWorld, kRankingKey};
    if (QFileInfo::exists(path)) {
        QSettings file(path, QSettings::IniFormat);
        if (file.status() != QSettings::NoError || !QFileInfo(path).isReadable())
            return refuse(
                QStringLiteral("設定ファイル %1 を読めません。").arg(QDir::toNativeSeparators(path)));
        // Keys of no meaning here are let be: the file is the user's.
        for (const QString &key : keys) {
            if (!file.contains(key))
                continue;
            const QString value = file.value(key).toString().trimmed();
            if (const QString problem = checkValue(key, value); !problem.isEmpty())
                return refuse(QStringLiteral("設定ファイル %1 の値が正しくありません。\r\n")
                                  .arg(QDir::toNativeSeparators(path)) +
                              problem);
            *field(settings.world, key) = value;
        }
    }
    const QCommandLineOption *options[] = {&topUrl, &worldUrl, &world, &rankingKey};
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (!parser.isSet(*options[i]))
            continue;
        const QString value = parser.value(*options[i]);
        if (const QString problem = checkValue(keys.at(i), value); !problem.isEmpty())
            return refuse(QStringLiteral("起動オプション --%1 の値が正しくありません。\r\n").arg(keys.at(i)) +
                          problem);
        *field(settings.world, keys.at(i)) = value;
    }
    settings.save = parser.isSet(save);

    if (parser.isSet(run)) {
        for (const QString &name : parser.value(run).split(u',')) {
            const QString command = name.trimmed();
            if (!runnable.contains(command))
                return refuse(QStringLiteral("--run に指定できるコマンドは %1 です。指定された値: %2\r\n")
                                  .arg(runnable.join(QStringLiteral(", ")), parser.value(run)));
            settings.runCommands.append(command);
        }
    }
    if (parser.isSet(alliance)) {
        static const QRegularExpression allianceNumber(QStringLiteral("^[0-9]+$"));
        settings.runAllianceId = parser.value(alliance);
        if (!allianceNumber.match(settings.runAllianceId).hasMatch())
            return refuse(
                QStringLiteral("--alliance には同盟IDを数字で指定してください。指定された値: %1\r\n")
                    .arg(settings.runAllianceId));
    }
    if (parser.isSet(checkPages)) {
        if (parser.isSet(run) || parser.isSet(alliance))
            return refuse(
                QStringLiteral("--check-pages は --run や --alliance と一緒には指定できません。\r\n"));
        settings.checkPages = true;
    }
    // Both only mean something for a run without the tool window: the
    // window needs the browser's window to log in by hand.
    if ((parser.isSet(alliance) || parser.isSet(headless)) && settings.runCommands.isEmpty() &&
        !settings.checkPages)
        return refuse(QStringLiteral(
            "--alliance と --headless は --run か --check-pages と一緒に指定してください。\r\n"));
    settings.headless = parser.isSet(headless);
    return settings;
}

QString saveWorldSettings(const QString &appDir, const WorldConfig &world)
{
    const QString path = settingsPath(appDir);
    QSettings file(path, QSettings::IniFormat);
    file.setValue(kTopUrl, world.gameSiteTopUrl);
    file.setValue(kWorldUrl, world.worldBaseUrl);
    file.setValue(kWorld, world.worldNumber);
    file.setValue(kRankingKey, world.warRankingKey);
    file.sync();
    if (file.status() != QSettings::NoError)
        return QStringLiteral("設定ファイル %1 を保存できませんでした。").arg(QDir::toNativeSeparators(path));
    return {};
}
