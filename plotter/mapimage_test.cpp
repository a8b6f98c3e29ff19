#include "common/datafile.h"
#include "plotter/mapgeometry.h"
#include "plotter/mapimage.h"
#include "testsupport/plotter/plotterfakes.h"
#include "plotter/plotwindow.h"
#include "testsupport/x11/testapplication.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Gives the path a test chose instead of asking, and remembers what it was
// offered.
class GivenPath : public Plotter::SavePathPort
{
public:
    explicit GivenPath(QString path) : m_path(std::move(path)) {}
    QString chooseImagePath(QWidget *, const QString &suggested) override
    {
        offered.append(suggested);
        return m_path;
    }
    QStringList offered;

private:
    QString m_path;
};

int darkPixels(const QImage &image, const QRect &box)
{
    int dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (qGray(image.pixel(x, y)) < 110)
                ++dark;
    return dark;
}

bool allWhite(const QImage &image, const QRect &box)
{
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

// The band of a member's label in pixels: from 20 twips right of its cell's
// left edge and 240 below the cell's top line, above the cell's lower line,
// where nothing but the label's text is drawn.
QRect labelBand(const Plotter::MapFrame &frame, int x, int y)
{
    const Plotter::Cell cell = *Plotter::cellOf(x, y);
    const qint64 left = frame.MapCenterX + (cell.column - 18) * 400 + 20;
    const qint64 top = frame.MapCenterY - cell.row * 400 + 240;
    return QRect(int(left / 15) + 2, int(top / 15) + 1, 14, 8);
}

class MapImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureTestApplication();
        ASSERT_TRUE(DataFile::writeText(m_dir.filePath(q("OVEKMAP_DATA_9.txt")),
                                        q("\"武田\",\"-50\",\"40\"\r\n\"上杉\",\"60\",\"-30\"\r\n")));
    }

    // A window the size of the screen, loaded with the roster, the
    // completion message already answered.
    std::unique_ptr<PlotWindow> loadedWindow(Plotter::SavePathPort &paths)
    {
        auto window = std::make_unique<PlotWindow>(m_dir.path(), m_clock, m_messages);
        window->useSavePathPort(paths);
        window->setGeometry(QGuiApplication::primaryScreen()->geometry());
        window->Form_Load(q("OVEKMAP_DATA_9.txt"));
        return window;
    }

    QStringList filesInDir() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
    FakeClock m_clock = fixedClock();
    RecordingMessages m_messages;
};

} // namespace

TEST_F(MapImageTest, SavesWhatTheWindowShowsWithLabelsWhereTheGeometryPutsThem)
{
    const QString path = m_dir.filePath(q("地図.png"));
    GivenPath paths(path);
    auto window = loadedWindow(paths);
    window->saveImage();

    EXPECT_TRUE(m_messages.warned.isEmpty());
    ASSERT_EQ(paths.offered, QStringList{m_dir.filePath(q("OVEKMAP_DATA_9.png"))});
    QImage saved;
    ASSERT_TRUE(saved.load(path, "PNG"));
    ASSERT_EQ(saved.size(), window->size());

    const Plotter::MapFrame frame = window->frame();
    EXPECT_GT(darkPixels(saved, labelBand(frame, -50, 40)), 8) << "label of (-50, 40)";
    EXPECT_GT(darkPixels(saved, labelBand(frame, 60, -30)), 8) << "label of (60, -30)";
    EXPECT_TRUE(allWhite(saved, labelBand(frame, -50, -30))) << "an empty cell stays blank";
    EXPECT_TRUE(allWhite(saved, labelBand(frame, 60, 40))) << "an empty cell stays blank";
    // The picture boxes and the title field are in it as shown: the first
    // list row of Picture1 and the bold "同盟名".
    EXPECT_GT(darkPixels(saved, QRect(3, 46, 60, 10)), 8) << "Picture1's first row";
    const QRect title = window->findChild<QLineEdit *>(q("Text1"))->geometry();
    EXPECT_GT(darkPixels(saved, title), 200) << "the title field";

    // Saving again replaces the picture in one piece.
    window->findChild<QLineEdit *>(q("Text1"))->setText(QString());
    window->saveImage();
    ASSERT_TRUE(saved.load(path, "PNG"));
    EXPECT_LT(darkPixels(saved, title), 30) << "the emptied title field";
    EXPECT_EQ(filesInDir(), (QStringList{q("OVEKMAP_DATA_9.txt"), q("地図.png")}));
}

TEST_F(MapImageTest, APathThatCannotBeWrittenIsToldAndLeavesNoFile)
{
    for (const QString &path : {m_dir.filePath(q("無い/地図.png")), m_dir.filePath(q("既存"))}) {
        QDir(m_dir.path()).mkdir(q("既存"));
        RecordingMessages messages;
        GivenPath paths(path);
        PlotWindow window(m_dir.path(), m_clock, messages);
        window.useSavePathPort(paths);
        window.Form_Load(q("OVEKMAP_DATA_9.txt"));
        window.saveImage();

        ASSERT_EQ(messages.warned.size(), 1) << path.toStdString();
        EXPECT_EQ(messages.warned.at(0).first, q("作業確認"));
        EXPECT_TRUE(messages.warned.at(0).second.startsWith(q("地図の画像を保存できませんでした。\r\n")));
        EXPECT_TRUE(messages.warned.at(0).second.contains(QDir::toNativeSeparators(path)));
        EXPECT_FALSE(QFileInfo(path).isFile()) << path.toStdString();
        EXPECT_EQ(filesInDir(), (QStringList{q("OVEKMAP_DATA_9.txt"), q("既存")}));
    }
}

TEST_F(MapImageTest, CancellingWritesNothingAndTellsNothing)
{
    GivenPath paths{QString()};
    auto window = loadedWindow(paths);
    window->saveImage();
    EXPECT_EQ(paths.offered.size(), 1);
    EXPECT_TRUE(m_messages.warned.isEmpty());
    EXPECT_EQ(filesInDir(), QStringList{q("OVEKMAP_DATA_9.txt")});
}

TEST(MapImageName, IsTheRosterNameWithPngInPlaceOfItsEnding)
{
    EXPECT_EQ(Plotter::defaultImageName(q("OVEKMAP_DATA_2581.txt")), q("OVEKMAP_DATA_2581.png"));
    EXPECT_EQ(Plotter::defaultImageName(q("map.v2.txt")), q("map.v2.png"));
    EXPECT_EQ(Plotter::defaultImageName(q("roster")), q("roster.png"));
    EXPECT_EQ(Plotter::defaultImageName(QString()), q("OVEKMAP.png"));
}

TEST_F(MapImageTest, CtrlSAndTheContextMenuSave)
{
    const QString path = m_dir.filePath(q("map.png"));
    GivenPath paths(path);
    auto window = loadedWindow(paths);
    QAction *save = window->saveImageAction();
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), q("画像として保存…"));
    EXPECT_EQ(save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    // Ctrl+S with the focus in the title field.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window->findChild<QLineEdit *>(q("Text1")), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(paths.offered.size(), 1) << "Ctrl+S";
    EXPECT_TRUE(QFileInfo(path).isFile());

    // A right click on the map opens a menu offering the action; choosing it
    // saves.
    QStringList menuTexts;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions())
            menuTexts.append(action->text());
        if (menu->actions().contains(save)) {
            menu->setActiveAction(save);
            QTest::keyClick(menu, Qt::Key_Return);
        }
        if (QApplication::activePopupWidget())
            QApplication::activePopupWidget()->close();
    });
    const QPoint onMap(window->width() / 2 + 40, window->height() / 2 + 40);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, onMap, window->mapToGlobal(onMap));
    QApplication::sendEvent(window.get(), &rightClick);
    EXPECT_EQ(menuTexts, QStringList{q("画像として保存…")});
    EXPECT_EQ(paths.offered.size(), 2) << "the context menu";
}
