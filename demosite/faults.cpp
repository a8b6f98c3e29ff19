#include "demosite/faults.h"

void Faults::setDelay(const std::string &path, int milliseconds)
{
    std::lock_guard lock(m_mutex);
    if (milliseconds <= 0)
        m_delays.erase(path);
    else
        m_delays[path] = milliseconds;
}

void Faults::hang(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    m_hung.insert(path);
}

void Faults::release(const std::string &path)
{
    {
        std::lock_guard lock(m_mutex);
        m_hung.erase(path);
    }
    m_wake.notify_all();
}

void Faults::setMissCount(const std::string &path, int count)
{
    std::lock_guard lock(m_mutex);
    if (count <= 0)
        m_misses.erase(path);
    else
        m_misses[path] = count;
}

bool Faults::takeMiss(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_misses.find(path);
    if (it == m_misses.end())
        return false;
    if (--it->second <= 0)
        m_misses.erase(it);
    return true;
}

void Faults::changeMarkup(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    m_changedMarkup.insert(path);
}

bool Faults::markupChanged(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    return m_changedMarkup.count(path) != 0;
}

void Faults::reset()
{
    {
        std::lock_guard lock(m_mutex);
        m_delays.clear();
        m_hung.clear();
        m_misses.clear();
        m_changedMarkup.clear();
    }
    m_wake.notify_all();
}

void Faults::shutdown()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
}

void Faults::apply(const std::string &path)
{
    std::unique_lock lock(m_mutex);
    const auto delay = m_delays.find(path);
    if (delay != m_delays.end()) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay->second);
        // Only the stop ends a delay early; a changed delay applies to later requests.
        m_wake.wait_until(lock, until, [this] { return m_stopping; });
    }
    if (m_hung.count(path) != 0) {
        m_wake.wait_for(lock, hangLimit, [this, &path] { return m_stopping || m_hung.count(path) == 0; });
    }
}
