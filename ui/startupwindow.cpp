#include "ui/startupwindow.h"

#include "common/pump.h"
#include "common/twips.h"

#include <QEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 5640;
constexpr int kHeight = 3165;

QLabel *label(QWidget *parent, const char *name, const QString &caption, const QColor &colour, int pointSize,
              bool bold)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    QFont font = l->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, colour);
    l->setPalette(palette);
    return l;
}

} // namespace

OvekWarden::OvekWarden(QWidget *parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("OvekWarden"));
    setWindowTitle(QStringLiteral("OVEK Warden"));
    setFixedSize(Twips::toPixels(kWidth), Twips::toPixels(kHeight));

    m_label1 = label(this, "Label1", QStringLiteral("起動中"), QColor(255, 0, 0), 12, true);
    m_label1->setGeometry(Twips::toPixelRect(4560, 240, 855, 375));
    m_label2 = label(this, "Label2", QStringLiteral("再起動"), QColor(192, 192, 0), 10, false);
    m_label2->setGeometry(Twips::toPixelRect(240, 2760, 555, 180));
    // The label is small; let its text decide the height so 10 pt fits.
    m_label2->adjustSize();
    m_label2->setCursor(Qt::PointingHandCursor);
    m_label2->installEventFilter(this);
}

void OvekWarden::showForStartup()
{
    // Shown again after a message hid it: placed and kept on top already.
    if (m_shown) {
        show();
        raise();
        return;
    }
    m_shown = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - width()) / 2, (area.height() - height()) / 5);
    }
    show();
    raise();
    // The browser window opens after this one and, where the window manager
    // ignores the stay-on-top hint (or there is none), would cover 「起動中」
    // and 「再起動」: bring the window back up now and then while it shows.
    auto *keepOnTop = new QTimer(this);
    connect(keepOnTop, &QTimer::timeout, this, [this] { raise(); });
    keepOnTop->start(1000);
}

int OvekWarden::chooseWorld(const QStringList &captions)
{
    showForStartup();
    // 「再起動」 means nothing before a world is chosen.
    m_label2->hide();
    auto *question = new QWidget(this);
    question->setGeometry(Twips::toPixelRect(240, 840, kWidth - 480, kHeight - 1080));
    auto *layout = new QVBoxLayout(question);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *prompt = label(question, "WorldPrompt", QStringLiteral("ワールドを選んでください"),
                         QColor(240, 230, 200), 10, true);
    layout->addWidget(prompt);
    auto *area = new QScrollArea(question);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    // The dusk behind shows through; the buttons keep their own look.
    area->viewport()->setAutoFillBackground(false);
    auto *buttons = new QWidget(area);
    auto *grid = new QGridLayout(buttons);
    grid->setContentsMargins(0, 0, 0, 0);
    QEventLoop choosing;
    int chosen = -1;
    constexpr int kColumns = 3;
    for (qsizetype i = 0; i < captions.size(); ++i) {
        auto *button = new QPushButton(captions.at(i), buttons);
        button->setObjectName(QStringLiteral("World%1").arg(i));
        connect(button, &QPushButton::clicked, &choosing, [&choosing, &chosen, i] {
            chosen = int(i);
            choosing.quit();
        });
        grid->addWidget(button, int(i / kColumns), int(i % kColumns));
    }
    auto *quit = new QPushButton(QStringLiteral("終了"), buttons);
    quit->setObjectName(QStringLiteral("QuitStartup"));
    connect(quit, &QPushButton::clicked, &choosing, &QEventLoop::quit);
    grid->addWidget(quit, int((captions.size() + kColumns - 1) / kColumns), kColumns - 1);
    area->setWidget(buttons);
    buttons->setAutoFillBackground(false); // setWidget turned it on
    layout->addWidget(area, 1);
    question->show();
    if (auto *first = buttons->findChild<QPushButton *>(QStringLiteral("World0")))
        first->setFocus();

    m_choosing = &choosing;
    choosing.exec();
    m_choosing = nullptr;
    delete question;
    m_label2->show();
    return chosen;
}

void OvekWarden::closeEvent(QCloseEvent *event)
{
    if (m_choosing)
        m_choosing->quit();
    QWidget::closeEvent(event);
}

void OvekWarden::keyPressEvent(QKeyEvent *event)
{
    if (m_choosing && event->key() == Qt::Key_Escape) {
        m_choosing->quit();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool OvekWarden::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_label2 && event->type() == QEvent::MouseButtonRelease) {
        Label2_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void OvekWarden::Label2_Click()
{
    // A second click while the walk it started still runs would start a
    // third walk on the same browser; one at a time is enough.
    if (m_restarting || !m_restart)
        return;
    m_restarting = true;
    try {
        m_restart();
    } catch (const Quitting &) {
        // The program is closing: the walk simply ends.
    }
    m_restarting = false;
}

void OvekWarden::paintEvent(QPaintEvent *)
{
    // The background picture: dusk over a castle keep, drawn here so the
    // program carries no picture file.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(28, 32, 64));
    sky.setColorAt(0.6, QColor(150, 70, 50));
    sky.setColorAt(1.0, QColor(230, 170, 90));
    painter.fillRect(rect(), sky);

    const qreal w = width();
    const qreal h = height();
    QPainterPath keep;
    keep.addRect(w * 0.36, h * 0.62, w * 0.28, h * 0.38);
    keep.addRect(w * 0.40, h * 0.45, w * 0.20, h * 0.18);
    keep.addRect(w * 0.44, h * 0.32, w * 0.12, h * 0.14);
    painter.fillPath(keep, QColor(20, 18, 24));
    painter.setBrush(QColor(20, 18, 24));
    painter.setPen(Qt::NoPen);
    for (const qreal top : {0.58, 0.42, 0.29}) { // the sweeping roofs of each storey
        const qreal span = 0.36 - (0.58 - top) * 0.5;
        const QPointF roof[] = {{w * (0.5 - span / 2), h * (top + 0.06)},
                                {w * 0.5, h * (top - 0.03)},
                                {w * (0.5 + span / 2), h * (top + 0.06)}};
        painter.drawPolygon(roof, 3);
    }
    painter.fillRect(QRectF(0, h * 0.9, w, h * 0.1), QColor(20, 18, 24));

    QFont title = font();
    title.setPointSize(16);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(240, 230, 200));
    painter.drawText(QRectF(Twips::toPixels(240), Twips::toPixels(240), w / 2, h / 4),
                     Qt::AlignLeft | Qt::AlignTop, QStringLiteral("OVEK Warden"));
}
