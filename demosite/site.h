#pragma once

#include "demosite/faults.h"
#include "demosite/world.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <shared_mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

struct SiteOptions
{
    std::uint64_t seed = 1;
    int topPort = 0; // 0: any free port
    int worldPort = 0;
    int members = 30;
    bool autoLogin = false;
    int world = 3; // the world number the world server is, 1 to 999
};

// The demo game site: the public top site and the world 3 server, two
// origins on 127.0.0.1, both served from one generated world.
class DemoSite
{
public:
    explicit DemoSite(const SiteOptions &options);
    ~DemoSite();
    DemoSite(const DemoSite &) = delete;
    DemoSite &operator=(const DemoSite &) = delete;

    // Binds both ports and serves them on background threads.
    bool start(std::string &error);
    void stop();
    void wait();
    int topPort() const { return m_topPort; }
    int worldPort() const { return m_worldPort; }
    Faults &faults() { return m_faults; }

private:
    void serveTop(const httplib::Request &request, httplib::Response &response);
    void serveTopLogin(const httplib::Request &request, httplib::Response &response);
    void serveWorld(const httplib::Request &request, httplib::Response &response);
    void serveWorldPage(const httplib::Request &request, httplib::Response &response);
    void sendLetter(const httplib::Request &request, httplib::Response &response);
    void serveControl(const httplib::Request &request, httplib::Response &response);
    bool serveImage(const httplib::Request &request, httplib::Response &response);

    std::string newSessionId();
    std::string topLoginName(const httplib::Request &request);
    bool hasWorldSession(const httplib::Request &request);
    bool loginExpired();
    std::string topUrl() const;
    std::string worldUrl() const;

    SiteOptions m_options;
    World m_world;
    std::shared_mutex m_worldMutex;
    Faults m_faults;
    std::mutex m_sessionMutex;
    std::map<std::string, std::string> m_topSessions; // id -> login name
    std::set<std::string> m_worldSessions;
    // expire-login: the saved login is gone, so even --auto-login shows the
    // form until a reset.
    bool m_loginExpired = false;
    std::uint64_t m_sessionSalt = 0;
    std::atomic<std::uint64_t> m_sessionCounter{0};
    std::unique_ptr<httplib::Server> m_topServer;
    std::unique_ptr<httplib::Server> m_worldServer;
    std::thread m_topThread;
    std::thread m_worldThread;
    int m_topPort = 0;
    int m_worldPort = 0;
};
