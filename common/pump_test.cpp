#include "common/pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QCoreApplication &app()
{
    static int argc = 1;
    static char name[] = "pump_test";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *instance = new QCoreApplication(argc, argv);
    return *instance;
}

class PumpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app();
        AppQuit::reset();
    }
    void TearDown() override { AppQuit::reset(); }
};

TEST_F(PumpTest, EveryWaitEndsOnceTheProgramIsClosing)
{
    EventLoopPump pump;
    AppQuit::request();
    EXPECT_THROW(pump.yieldOnce(), Quitting);
    EXPECT_THROW(pump.pauseFor(1000), Quitting);
    EXPECT_THROW(pauseWithEvents(1000), Quitting);
}

TEST_F(PumpTest, AQuitDuringALongPauseEndsItAtOnce)
{
    EventLoopPump pump;
    QTimer::singleShot(30, [] { AppQuit::request(); });
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_THROW(pump.pauseFor(5000), Quitting);
    EXPECT_LT(elapsed.elapsed(), 1000);
}

TEST_F(PumpTest, QtsOwnQuitEndsTheWaitsToo)
{
    // Someone else told Qt to quit: every nested loop now returns at once,
    // and a wait that went on would spin. It must end instead.
    EventLoopPump pump;
    QCoreApplication::exit(0);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_THROW(pump.pauseFor(5000), Quitting);
    EXPECT_LT(elapsed.elapsed(), 1000);
    EXPECT_TRUE(AppQuit::requested());
}

TEST_F(PumpTest, APauseLastsItsTimeAlsoAfterANewRunBegins)
{
    AppQuit::request();
    AppQuit::reset();
    EventLoopPump pump;
    QElapsedTimer elapsed;
    elapsed.start();
    pump.pauseFor(120);
    EXPECT_GE(elapsed.elapsed(), 115);
    EXPECT_LT(elapsed.elapsed(), 2000);
}

} // namespace
