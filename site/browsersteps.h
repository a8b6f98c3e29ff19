#pragma once

#include <QString>
#include <functional>

// Runs a step that drives the one browser under the program's one guard: a
// command of the tool window, or a page step of the letter composer. A step
// that stops on one of the program's failures is told to the user the one
// way every command is (a closed browser: told and opened again).
class BrowserSteps
{
public:
    enum class Outcome {
        Done,    // the step ran to its end
        Busy,    // another step drives the browser: nothing was done
        Stopped, // the step stopped on a failure, and the user was told
    };

    virtual ~BrowserSteps() = default;
    // name: the step as the user knows it ("画面挿入"), for what is told.
    virtual Outcome run(const QString &name, const std::function<void()> &step) = 0;
    // Whether the last step stopped on a closed browser and a new one was
    // opened in its place: it shows the world's user page, not the step's.
    virtual bool reopenedBrowser() const { return false; }
};
