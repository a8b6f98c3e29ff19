#pragma once

#include "plotter/imagecanvas.h"
#include "plotter/mapgeometry.h"
#include "plotter/plottedmembers.h"

#include <QWidget>
#include <memory>

class Clock;
class MessagePort;
class QAction;
class QLineEdit;

namespace Plotter {
class SavePathPort;
}

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

    // Asks where, then writes the window as it is shown to a PNG file; the
    // context menu's 「画像として保存…」 and Ctrl+S. A failure is told in a
    // warning box and leaves no file.
    void saveImage();
    QAction *saveImageAction() const { return m_saveImage; }
    // Where saveImage asks for the path; a file dialog unless replaced.
    void useSavePathPort(Plotter::SavePathPort &port) { m_savePaths = &port; }

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
    QAction *m_saveImage;
    std::unique_ptr<Plotter::SavePathPort> m_fileDialog;
    Plotter::SavePathPort *m_savePaths;
};
