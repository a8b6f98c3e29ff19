#include "common/appdir.h"
#include "common/clock.h"
#include "common/japanese.h"
#include "plotter/messageport.h"
#include "plotter/plotwindow.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QStringList>
#include <cstdio>

namespace {

// --help and --version are answered without a window, so they work where
// there is no screen. (A roster is never named like an option.)
int printAndEnd(int argc, char *argv[])
{
    QCoreApplication core(argc, argv);
    const QString argument = QCoreApplication::arguments().value(1);
    const QString text =
        argument == QStringLiteral("--version")
            ? QStringLiteral("revovi %1\n").arg(QStringLiteral(OVEK_VERSION))
            : QStringLiteral("使い方: revovi [名簿ファイル名]\n\n"
                             "同盟員名簿（OVEKMAP_DATA_<同盟ID>.txt）から同盟員分布図を描きます。"
                             "ふつうは ovekwarden の「同盟員分布図」から起動します。\n"
                             "名簿ファイル名は、今いるフォルダかデータのフォルダの中の名前、"
                             "またはファイルのパスです（ワールドごとのフォルダの名簿は、"
                             "そのフォルダで起動するかパスで指定します）。\n\n"
                             "  -h, --help  この説明を表示して終了します。\n"
                             "  --version   版を表示して終了します。\n\n"
                             "データのフォルダ: ") +
                  QDir::toNativeSeparators(AppDir::path()) + u'\n';
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

bool onlyPrints(int argc, char *argv[])
{
    if (argc != 2)
        return false;
    const QByteArray argument(argv[1]);
    return argument == "--help" || argument == "-h" || argument == "--version";
}

} // namespace

int main(int argc, char *argv[])
{
    if (onlyPrints(argc, argv))
        return printAndEnd(argc, argv);
    QApplication app(argc, argv);
    Japanese::install(app);
    // The roster name is the whole command line after the program name;
    // arguments split at blanks are joined back with one blank.
    const QString commandLine = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));

    SystemClock clock;
    MessageBoxPort messages;
    PlotWindow window(AppDir::path(), clock, messages);
    messages.setParentWidget(&window);
    // Sized to the screen before it is shown, so the map frame is right
    // even where no window manager carries out the maximising.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.setWindowState(Qt::WindowMaximized);
    window.Form_Load(commandLine);
    return QApplication::exec();
}
