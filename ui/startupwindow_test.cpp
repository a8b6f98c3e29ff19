#include "testsupport/x11/testapplication.h"
#include "ui/startupwindow.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The world question waits in the window; the person's answer comes once it shows.
TEST(StartupWindow, TheWorldQuestionAnswersTheWorldClickedOrNoneWhenLeft)
{
    ensureTestApplication();
    struct Case
    {
        const char *what;
        std::function<void(OvekWarden &)> answer;
        int chosen;
    };
    const auto click = [](const char *name) {
        return [name](OvekWarden &window) {
            auto *button = window.findChild<QPushButton *>(QString::fromLatin1(name));
            ASSERT_NE(button, nullptr) << name;
            button->click();
        };
    };
    const Case cases[] = {
        {"the second world", click("World1"), 1},
        {"the first world", click("World0"), 0},
        {"終了", click("QuitStartup"), -1},
        {"Escape",
         [](OvekWarden &window) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(&window, &escape);
         },
         -1},
        {"closed", [](OvekWarden &window) { window.close(); }, -1},
    };
    for (const Case &c : cases) {
        OvekWarden window;
        QStringList shown;
        QTimer::singleShot(0, &window, [&] {
            for (const QPushButton *button : window.findChildren<QPushButton *>())
                shown << button->text();
            c.answer(window);
        });
        EXPECT_EQ(window.chooseWorld({QStringLiteral("w012"), QStringLiteral("w003")}), c.chosen) << c.what;
        EXPECT_EQ(shown,
                  QStringList({QStringLiteral("w012"), QStringLiteral("w003"), QStringLiteral("終了")}))
            << c.what;
        EXPECT_TRUE(window.findChildren<QPushButton *>().isEmpty())
            << "the question is gone after the answer";
    }
}

} // namespace
