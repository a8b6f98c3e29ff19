#include "site/worldsettings.h"

#include "common/settingsfile.h"

#include <QCommandLineParser>
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

WorldConfig read(const QSettings &file)
{
    WorldConfig world;
    for (const QString &key : {kTopUrl, kWorldUrl, kWorld, kRankingKey})
        *field(world, key) = file.value(key).toString().trimmed();
    return world;
}

void write(QSettings &file, WorldConfig world)
{
    for (const QString &key : {kTopUrl, kWorldUrl, kWorld, kRankingKey})
        file.setValue(key, *field(world, key));
}

bool isValid(const WorldConfig &world)
{
    return checkValue(kTopUrl, world.gameSiteTopUrl).isEmpty() &&
           checkValue(kWorldUrl, world.worldBaseUrl).isEmpty() &&
           checkValue(kWorld, world.worldNumber).isEmpty() &&
           checkValue(kRankingKey, world.warRankingKey).isEmpty();
}
} // namespace WorldSettingsFile

WorldOptions::WorldOptions()
    : m_values{QCommandLineOption(
                   kTopUrl, QStringLiteral("ゲームのトップページのアドレス（例: https://example.jp）。"),
                   QStringLiteral("アドレス")),
               QCommandLineOption(
                   kWorldUrl, QStringLiteral("ワールドのサーバーのアドレス（例: https://w3.example.jp）。"),
                   QStringLiteral("アドレス")),
               QCommandLineOption(kWorld, QStringLiteral("ワールド番号、1～3 桁（例: 3）。"),
                                  QStringLiteral("番号")),
               QCommandLineOption(kRankingKey, QStringLiteral("合戦格付の合戦番号（例: 5）。"),
                                  QStringLiteral("番号"))},
      m_save(kSave, QStringLiteral("指定した設定を ovekwarden.ini に保存します。"))
{
}

QList<QCommandLineOption> WorldOptions::options() const
{
    return m_values + QList<QCommandLineOption>{m_save};
}

WorldOptions::Chosen WorldOptions::choose(const QCommandLineParser &parser, const QString &appDir,
                                          const WorldConfig &builtIn) const
{
    Chosen chosen;
    chosen.world = builtIn;
    const QString path = settingsPath(appDir);
    const QStringList keys{kTopUrl, kWorldUrl, kWorld, kRankingKey};
    if (QFileInfo::exists(path)) {
        QSettings file(path, QSettings::IniFormat);
        if (file.status() != QSettings::NoError || !QFileInfo(path).isReadable()) {
            chosen.refusal =
                QStringLiteral("設定ファイル %1 を読めません。").arg(QDir::toNativeSeparators(path));
            return chosen;
        }
        // Keys of no meaning here are let be: the file is the user's.
        for (const QString &key : keys) {
            if (!file.contains(key))
                continue;
            const QString value = file.value(key).toString().trimmed();
            if (const QString problem = checkValue(key, value); !problem.isEmpty()) {
                chosen.refusal = QStringLiteral("設定ファイル %1 の値が正しくありません。\r\n")
                                     .arg(QDir::toNativeSeparators(path)) +
                                 problem;
                return chosen;
            }
            *field(chosen.world, key) = value;
            chosen.savedInFile = true;
        }
    }
    chosen.saved = chosen.world;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (!parser.isSet(m_values.at(i)))
            continue;
        chosen.named = true;
        const QString value = parser.value(m_values.at(i));
        if (const QString problem = checkValue(keys.at(i), value); !problem.isEmpty()) {
            chosen.refusal =
                QStringLiteral("起動オプション --%1 の値が正しくありません。\r\n").arg(keys.at(i)) + problem;
            return chosen;
        }
        *field(chosen.world, keys.at(i)) = value;
    }
    chosen.save = parser.isSet(m_save);
    return chosen;
}

QString saveWorldSettings(const QString &appDir, const WorldConfig &world)
{
    const QString path = settingsPath(appDir);
    QSettings file(path, QSettings::IniFormat);
    WorldSettingsFile::write(file, world);
    return SettingsFile::commit(file);
}
