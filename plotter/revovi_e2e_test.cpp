#include "common/datafile.h"
#include "plotter/mapgeometry.h"
#include "testsupport/x11/xvfbdisplay.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Dark pixels (text, lines) in a box given in pixels.
int darkPixels(const QImage &image, int left, int top, int width, int height)
{
    int dark = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            if (qGray(image.pixel(x, y)) < 110)
                ++dark;
        }
    }
    return dark;
}

// Where a member's label starts, in pixels: 20 twips in from its cell's left
// edge and 240 below the cell's top line.
QPoint labelOf(const Plotter::MapFrame &frame, int x, int y)
{
    const Plotter::Cell cell = *Plotter::cellOf(x, y);
    const qint64 left = frame.MapCenterX + (cell.column - 18) * 400 + 20;
    const qint64 top = frame.MapCenterY - cell.row * 400 + 240;
    return {int(left / 15), int(top / 15)};
}

TEST(RevoviOnScreen, DrawsTheMembersWhereTheGeometrySays)
{
    XvfbDisplay display(1280, 1024);
    ASSERT_TRUE(display.isRunning()) << "Xvfb is needed (package xvfb)";

    // revovi reads its roster from its own directory: run a copy from a
    // directory of our own.
    QTemporaryDir appDir;
    const QString program = appDir.filePath(QStringLiteral("revovi"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(REVOVI_PROGRAM), program));
    ASSERT_TRUE(
        DataFile::writeText(appDir.filePath(QStringLiteral("OVEKMAP_DATA_9.txt")),
                            QStringLiteral("\"武田\",\"-150\",\"150\"\r\n\"上杉\",\"150\",\"-150\"\r\n")));

    QProcess revovi;
    revovi.setProcessEnvironment(display.environment());
    revovi.setWorkingDirectory(appDir.path());
    revovi.start(program, {QStringLiteral("OVEKMAP_DATA_9.txt")});
    ASSERT_TRUE(revovi.waitForStarted(5000));
    ASSERT_TRUE(display.waitForWindow(QStringLiteral("作業確認"))) << "the completion message never showed";

    const QImage shot = display.screenshot();
    revovi.kill();
    revovi.waitForFinished(3000);
    ASSERT_EQ(shot.size(), QSize(1280, 1024));

    const Plotter::MapFrame frame = Plotter::mapFrameFor(1280 * 15, 1024 * 15);
    const QPoint takeda = labelOf(frame, -150, 150);
    const QPoint uesugi = labelOf(frame, 150, -150);
    const QPoint nobody = labelOf(frame, -150, -150);
    // The band between the label's top and the cell's lower grid line holds
    // only the label's text.
    auto labelBand = [&](QPoint at) { return darkPixels(shot, at.x() + 2, at.y() + 1, 14, 8); };
    EXPECT_GT(labelBand(takeda), 8) << "label of (-150, 150)";
    EXPECT_GT(labelBand(uesugi), 8) << "label of (150, -150)";
    EXPECT_EQ(labelBand(nobody), 0) << "an empty cell stays empty";
    // The two axes cross at the map centre.
    EXPECT_GT(darkPixels(shot, int(frame.MapCenterX / 15) - 1, 20, 3, 1), 0) << "the vertical axis";
    EXPECT_GT(darkPixels(shot, 200, int(frame.MapCenterY / 15) - 1, 1, 3), 0) << "the horizontal axis";

    QDir().mkpath(QStringLiteral(SHOTS_DIR));
    shot.save(QStringLiteral(SHOTS_DIR "/revovi-e2e.png"));
}

} // namespace
