#include "alliance/walk/pacer.h"
#include "common/pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TimerPacerTest : public ::testing::Test
{
protected:
    TimerPacerTest()
    {
        static int argc = 1;
        static char name[] = "pacer_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
        AppQuit::reset();
    }
    ~TimerPacerTest() override { AppQuit::reset(); }

    EventLoopPump m_pump;
    TimerPacer m_pacer{m_pump};
};

TEST_F(TimerPacerTest, APauseIsTwoTicksOfTheTimer)
{
    QElapsedTimer elapsed;
    elapsed.start();
    m_pacer.pause();
    // Qt's coarse timers may fire up to 5 % early.
    EXPECT_GE(elapsed.elapsed(), 2 * TimerPacer::kIntervalMs * 9 / 10);
    EXPECT_LT(elapsed.elapsed(), 4 * TimerPacer::kIntervalMs);
    EXPECT_FALSE(m_pacer.timer().isActive());
    EXPECT_EQ(m_pacer.tickCount(), 0);
}

TEST_F(TimerPacerTest, ClosingTheWindowDuringThePauseEndsItAtOnce)
{
    // Once Qt is quitting no timer fires any more: a pause that went on
    // waiting for its ticks would never end.
    QTimer::singleShot(50, [] { AppQuit::request(); });
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_THROW(m_pacer.pause(), Quitting);
    EXPECT_LT(elapsed.elapsed(), 500);
    EXPECT_FALSE(m_pacer.timer().isActive());
}

} // namespace
