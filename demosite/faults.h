#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>

// Fault switches of the demo site, keyed by request path (query ignored).
// Shared by the server threads; every wait ends early when the site stops.
class Faults
{
public:
    void setDelay(const std::string &path, int milliseconds);
    void hang(const std::string &path);
    void release(const std::string &path);
    void setMissCount(const std::string &path, int count);
    // True when this load of the path should miss its marker; counts it down.
    bool takeMiss(const std::string &path);
    // The page of the path is served with its making changed, until reset.
    void changeMarkup(const std::string &path);
    bool markupChanged(const std::string &path);
    void reset();
    void shutdown();

    // Waits as the switches of this path say, before the request is answered.
    void apply(const std::string &path);

    // A hung request gives up after this long.
    std::chrono::milliseconds hangLimit{120000};

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::string, int> m_delays;
    std::set<std::string> m_hung;
    std::map<std::string, int> m_misses;
    std::set<std::string> m_changedMarkup;
    bool m_stopping = false;
};
