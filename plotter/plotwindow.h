#pragma once

#include "plotter/imagecanvas.h"
#include "plotter/mapgeometry.h"
#include "plotter/plottedmembers.h"

#include <QWidget>
#include <memory>

class Clock;
class MessagePort;
class QLineEdit;

// A picture box: shows the image of its canvas.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    PictureBox(const QString &name, QSize pixels, QWidget *parent);
    ImageCanvas &canvas() { return m_canvas; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ImageCanvas m_canvas;
};

// The plotter window OVEKPLOT: draws the roster's map once at load and then
// only shows it.
class PlotWindow : public QWidget
{
    Q_OBJECT
public:
    PlotWindow(const QString &appDir, const Clock &clock, MessagePort &messages, QWidget *parent = nullptr);
    ~PlotWindow() override;

    void Form_Load(const QString &commandLine);
    void PlotRoster();
    void Drawing();

    QString RosterName() const { return m_rosterName; }
    const Plotter::MapFrame &frame() const { return m_frame; }
    const Plotter::MemberTable &members() const { return m_members; }
    const ImageCanvas &surface() const { return m_surface; }

    static const QString &completionTitle();
    static const QString &completionText();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int kFrameWaitMs = 1000;

    void waitForFrame();
    qint64 screenWidthTwips() const;
    qint64 screenHeightTwips() const;

    QString m_appDir;
    const Clock &m_clock;
    MessagePort &m_messages;
    QString m_rosterName;
    Plotter::MapFrame m_frame;
    Plotter::MemberTable m_members;
    ImageCanvas m_surface;
    PictureBox *m_picture1;
    PictureBox *m_picture2;
    PictureBox *m_picture3;
    QLineEdit *m_text1;
};
