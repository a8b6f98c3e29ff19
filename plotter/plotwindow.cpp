#include "plotter/plotwindow.h"

#include "common/appdir.h"
#include "common/clock.h"
#include "common/pump.h"
#include "common/textsearch.h"
#include "common/twips.h"
#include "plotter/drawing.h"
#include "plotter/mapimage.h"
#include "plotter/messageport.h"
#include "plotter/plotroster.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

namespace {

// The design face is "ＭＳ Ｐ明朝"; where it is missing (any system but a
// Japanese Windows one) IPAPMincho, a proportional Mincho of the same
// metrics class from fonts-ipafont-mincho, takes its place.
QFont plotterFont(int points)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho")});
    font.setPointSize(points);
    font.setWeight(QFont::Normal);
    return font;
}

QRect pixelsOf(qint64 left, qint64 top, qint64 width, qint64 height)
{
    return QRect(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
                 Twips::toPixels(height));
}

QSize screenPixels()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1280, 1024);
}

const QColor SurfaceBackground(255, 255, 255);

} // namespace

PictureBox::PictureBox(const QString &name, QSize pixels, QWidget *parent)
    : QWidget(parent), m_canvas(pixels, parent->palette().color(QPalette::Base),
                                parent->palette().color(QPalette::Text), plotterFont(9))
{
    setObjectName(name);
    resize(pixels);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas.image());
}

PlotWindow::PlotWindow(const QString &appDir, const Clock &clock, MessagePort &messages, QWidget *parent)
    : QWidget(parent), m_appDir(appDir), m_clock(clock), m_messages(messages),
      m_surface(screenPixels(), SurfaceBackground, palette().color(QPalette::WindowText), plotterFont(9))
{
    setObjectName(QStringLiteral("OVEKPLOT"));
    setWindowTitle(QStringLiteral("OVEK Map Maker"));
    setFont(plotterFont(9));

    const QRect panel = pixelsOf(0, 0, Plotter::PanelWidth, Plotter::PanelHeight);
    m_picture1 = new PictureBox(QStringLiteral("Picture1"), panel.size(), this);
    m_picture1->move(panel.topLeft());
    m_picture2 = new PictureBox(QStringLiteral("Picture2"), panel.size(), this);
    m_picture2->move(panel.topLeft());
    const QRect picture3 = pixelsOf(120, 120, 3495, 480);
    m_picture3 = new PictureBox(QStringLiteral("Picture3"), picture3.size(), this);
    m_picture3->move(picture3.topLeft());

    // Created last, so the title field lies above the panels.
    m_text1 = new QLineEdit(QStringLiteral("同盟名"), this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(plotterFont(9));
    m_text1->setGeometry(pixelsOf(120, 40, 3135, 375));

    // Right click anywhere on the map or the panels (the title field keeps
    // its own editing menu); the shortcut works wherever the focus is.
    m_fileDialog = std::make_unique<Plotter::FileDialogSavePath>();
    m_savePaths = m_fileDialog.get();
    m_saveImage = new QAction(QStringLiteral("画像として保存…"), this);
    m_saveImage->setObjectName(QStringLiteral("SaveImage"));
    m_saveImage->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveImage->setShortcutContext(Qt::WindowShortcut);
    connect(m_saveImage, &QAction::triggered, this, &PlotWindow::saveImage);
    addAction(m_saveImage);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

PlotWindow::~PlotWindow() = default;

const QString &PlotWindow::completionTitle()
{
    static const QString title = QStringLiteral("作業確認");
    return title;
}

const QString &PlotWindow::completionText()
{
    static const QString text =
        QStringLiteral("作図完了\r\n"
                       "\r\n"
                       "地図を完全なものにするには、「同盟名」を書き換えてください。\r\n"
                       "そして、Printキーを押して画面画像をペイントツールで保存・加工してください。\r\n");
    return text;
}

qint64 PlotWindow::screenWidthTwips() const
{
    return Twips::fromPixels(screenPixels().width());
}

qint64 PlotWindow::screenHeightTwips() const
{
    return Twips::fromPixels(screenPixels().height());
}

void PlotWindow::Form_Load(const QString &commandLine)
{
    setWindowTitle(windowTitle() + QStringLiteral(" 1280X1024専用"));
    m_appDir = AppDir::withTrailingSlash(m_appDir);
    m_rosterName = TextSearch::trimSpaces(commandLine);
    // The tool starts the plotter in the world's folder with the roster's
    // bare name, so a name found in the working directory is that world's
    // roster (and a whole path is the file it names). Any other name is one
    // in the data folder, as always.
    if (!m_rosterName.isEmpty()) {
        const QFileInfo here(QDir::current(), m_rosterName);
        const QFileInfo named(m_rosterName);
        if (named.isAbsolute() || here.isFile()) {
            m_appDir = AppDir::withTrailingSlash(here.absolutePath());
            m_rosterName = here.fileName();
        }
    }
    show();
    waitForFrame();
    m_picture2->move(Twips::toPixels(Plotter::picture2Left(screenWidthTwips())), 0);

    const QRect outer = frameGeometry();
    m_frame = Plotter::mapFrameFor(Twips::fromPixels(outer.width()), Twips::fromPixels(outer.height()));

    QFont title = m_text1->font();
    title.setBold(true);
    title.setPointSize(18);
    m_text1->setFont(title);

    PlotRoster();
    show();
    update();
    m_messages.information(completionTitle(), completionText());
}

void PlotWindow::waitForFrame()
{
    // Under a window manager the frame, and the maximised size with it,
    // arrive some time after show(); the map is fitted to the window's outer
    // size, so give them a moment. Without a manager the frame never comes.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
        return;
    QElapsedTimer waited;
    waited.start();
    while (frameGeometry() == geometry() && waited.elapsed() < kFrameWaitMs)
        pauseWithEvents(10);
}

void PlotWindow::PlotRoster()
{
    // An empty command line names no roster (the path would be AppDir
    // itself): the window stays blank and the completion message follows.
    if (m_rosterName.isEmpty())
        return;
    std::optional<Plotter::MemberTable> members =
        Plotter::PlotRoster(m_appDir + m_rosterName, m_frame, screenHeightTwips(), m_clock,
                            Plotter::PlotSurfaces{m_surface, m_picture1->canvas(), m_picture2->canvas()});
    if (!members)
        return;
    m_members = std::move(*members);
    update();
    m_picture1->update();
    m_picture2->update();
}

void PlotWindow::Drawing()
{
    Plotter::Drawing(m_surface, m_frame, m_members);
    update();
}

void PlotWindow::saveImage()
{
    const QString suggested = AppDir::withTrailingSlash(m_appDir) + Plotter::defaultImageName(m_rosterName);
    const QString path = m_savePaths->chooseImagePath(this, suggested);
    if (path.isEmpty())
        return;
    const DataFile::Result saved = Plotter::saveWidgetImage(*this, path);
    // Success needs no box: the file is where the user just pointed. A
    // failure carries the plotter's own title.
    if (!saved)
        m_messages.warning(QStringLiteral("作業確認"),
                           QStringLiteral("地図の画像を保存できませんでした。\r\n") + saved.error);
}

void PlotWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), SurfaceBackground);
    painter.drawImage(0, 0, m_surface.image());
}
