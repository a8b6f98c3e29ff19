#include "common/appdir.h"
#include "common/clock.h"
#include "plotter/messageport.h"
#include "plotter/plotwindow.h"

#include <QApplication>
#include <QScreen>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
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
