#include "common/clock.h"
#include "common/datafile.h"
#include "common/twips.h"
#include "plotter/imagecanvas.h"
#include "plotter/messageport.h"
#include "plotter/plotwindow.h"
#include "testsupport/plotter/plotterfakes.h"
#include "testsupport/x11/testapplication.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool allWhite(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

class PlotWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { ensureTestApplication(); }
    QTemporaryDir m_dir;
    FakeClock m_clock = fixedClock();
    RecordingMessages m_messages;
};

} // namespace

TEST_F(PlotWindowTest, LoadDrawsTheRosterAndReportsCompletion)
{
    ASSERT_TRUE(DataFile::writeText(m_dir.filePath(q("OVEKMAP_DATA_9.txt")), q("\"甲斐\",\"0\",\"0\"\r\n")));
    PlotWindow window(m_dir.path(), m_clock, m_messages);
    window.Form_Load(q("  OVEKMAP_DATA_9.txt "));

    EXPECT_EQ(window.objectName(), q("OVEKPLOT"));
    EXPECT_EQ(window.windowTitle(), q("OVEK Map Maker 1280X1024専用"));
    EXPECT_EQ(window.RosterName(), q("OVEKMAP_DATA_9.txt"));
    const auto *text1 = window.findChild<QLineEdit *>(q("Text1"));
    ASSERT_NE(text1, nullptr);
    EXPECT_EQ(text1->text(), q("同盟名"));
    EXPECT_TRUE(text1->font().bold());
    EXPECT_EQ(text1->font().pointSize(), 18);
    for (const char *name : {"Picture1", "Picture2", "Picture3"})
        EXPECT_NE(window.findChild<PictureBox *>(q(name)), nullptr) << name;
    const int screenWidth = window.screen()->geometry().width();
    EXPECT_EQ(window.findChild<PictureBox *>(q("Picture2"))->x(),
              Twips::toPixels(Twips::fromPixels(screenWidth) - 2295));

    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_EQ(m_messages.shown.at(0).first, q("作業確認"));
    EXPECT_EQ(m_messages.shown.at(0).second,
              q("作図完了\r\n\r\n地図を完全なものにするには、「同盟名」を書き換えてください。\r\n"
                "そして、Printキーを押して画面画像をペイントツールで保存・加工してください。\r\n"));

    // The axis is on the kept image, and the first list row in Picture1.
    EXPECT_EQ(window.members().MemberCount(), 1);
    const Plotter::MapFrame frame = window.frame();
    const QImage &surface = window.surface().image();
    EXPECT_EQ(surface.pixel(Twips::toPixels(frame.MapCenterX + 1000), Twips::toPixels(frame.MapCenterY)),
              qRgb(0, 0, 0));
    EXPECT_FALSE(
        allWhite(window.findChild<PictureBox *>(q("Picture1"))->canvas().image().copy(0, 40, 150, 16)));
}

TEST_F(PlotWindowTest, NoRosterOrEmptyCommandLineLeavesTheWindowBlank)
{
    for (const char *commandLine : {"missing.txt", "", "   "}) {
        RecordingMessages messages;
        PlotWindow window(m_dir.path(), m_clock, messages);
        window.Form_Load(q(commandLine));
        EXPECT_EQ(messages.shown.size(), 1) << commandLine;
        EXPECT_TRUE(allWhite(window.surface().image())) << commandLine;
        EXPECT_EQ(window.members().MemberCount(), 0);
    }
}

// The tool starts the plotter in a world's folder with the bare name; a
// shell may give a whole path; any other name is the data folder's.
TEST_F(PlotWindowTest, TheRosterIsTheWorkingFoldersThenAWholePathsThenTheDataFolders)
{
    QTemporaryDir world;
    QTemporaryDir elsewhere;
    const QString name = q("OVEKMAP_DATA_9.txt");
    const QString line = q("\"甲斐\",\"0\",\"0\"\r\n");
    ASSERT_TRUE(DataFile::writeText(m_dir.filePath(name), line));
    ASSERT_TRUE(DataFile::writeText(QDir(world.path()).filePath(name), line + line));
    ASSERT_TRUE(DataFile::writeText(QDir(elsewhere.path()).filePath(name), line + line + line));
    const QString before = QDir::currentPath();
    struct Case
    {
        QString workingDir;
        QString commandLine;
        int members;
    };
    const Case cases[] = {
        {world.path(), name, 2},
        {world.path(), QDir(elsewhere.path()).filePath(name), 3},
        {QDir::tempPath(), name, 1},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(QDir::setCurrent(c.workingDir));
        RecordingMessages messages;
        PlotWindow window(m_dir.path(), m_clock, messages);
        window.Form_Load(c.commandLine);
        EXPECT_EQ(window.members().MemberCount(), c.members) << c.commandLine.toStdString();
        EXPECT_EQ(window.RosterName(), name);
    }
    QDir::setCurrent(before);
}

TEST(ImageCanvas, ThinBarsCoverAPixelAndJapaneseTextIsPainted)
{
    ensureTestApplication();
    ImageCanvas canvas(QSize(100, 100), Qt::white, Qt::black, QFont(q("IPAPMincho")));
    canvas.fillBar(748, 0, 752, 1500, QColor(100, 100, 100));
    EXPECT_EQ(canvas.image().pixel(50, 10), qRgb(100, 100, 100));
    EXPECT_EQ(canvas.image().pixel(49, 10), qRgb(255, 255, 255));
    // Far-off corners are clipped, not wrapped.
    canvas.fillBar(-40'000'000'000, 750, 40'000'000'000, 750, Qt::black);
    EXPECT_EQ(canvas.image().pixel(0, 50), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.image().pixel(99, 50), qRgb(0, 0, 0));

    canvas.clear();
    canvas.setFontSize(8);
    EXPECT_GT(canvas.textWidth(q("甲")), 100);
    canvas.drawText(0, 0, q("甲"));
    EXPECT_FALSE(allWhite(canvas.image()));
}
