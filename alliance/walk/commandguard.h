#pragma once

#include <functional>

// Lets one browser command run at a time. Two walks interleaved on the one
// browser would read each other's pages and write wrong data, so while one
// runs the others are refused; clear, widen and copy do not drive the browser
// and are not guarded.
class CommandGuard
{
public:
    // Called with true when a command starts and false when it ends, so the
    // window can disable its browser buttons.
    using BusyChanged = std::function<void(bool)>;

    explicit CommandGuard(BusyChanged onChange = {}) : m_onChange(std::move(onChange)) {}

    bool isBusy() const { return m_busy; }

    class Scope
    {
    public:
        explicit Scope(CommandGuard &guard);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
        // False when another command was already running: do nothing then.
        explicit operator bool() const { return m_owns; }

    private:
        CommandGuard &m_guard;
        bool m_owns;
    };

private:
    BusyChanged m_onChange;
    bool m_busy = false;
};
