#include "demosite/site.h"

#include "demosite/httputil.h"
#include "demosite/pages.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

using namespace httputil;

namespace {

// Both origins share the host 127.0.0.1, and cookies are shared by host,
// so the two sessions carry distinct names.
const char *const kTopCookie = "ovek_top_sid";
const char *const kWorldCookie = "ovek_world_sid";
const char *const kSessionOutPath = "/false/login_sessionout.php";

// The top-site login is kept by the browser across restarts, as the game's
// saved login is; the world session ends with the browser.
std::string sessionCookie(const char *name, const std::string &value, bool persistent = false)
{
    return std::string(name) + "=" + value + "; Path=/; HttpOnly; SameSite=Lax" +
           (persistent ? "; Max-Age=2592000" : "");
}

// httplib's default sets SO_REUSEPORT, which lets a second demosite bind a
// port already in use and silently share its requests. A busy port must fail.
void exclusivePort(socket_t socket)
{
    int yes = 1;
#ifdef _WIN32
    setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<char *>(&yes), sizeof(yes));
#else
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
#endif
}

std::unique_ptr<httplib::Server> newServer()
{
    auto server = std::make_unique<httplib::Server>();
    server->set_socket_options(exclusivePort);
    // Hung and delayed requests hold a worker each; keep plenty for the rest.
    server->new_task_queue = [] { return new httplib::ThreadPool(96); };
    // No compression on loopback: this httplib build answers browsers with
    // brotli at its slowest quality, about 70 ms for a 300-member page. The
    // request object belongs to the server and is not const, so dropping the
    // header before the answer is written is safe.
    server->set_pre_routing_handler([](const httplib::Request &request, httplib::Response &) {
        const_cast<httplib::Request &>(request).headers.erase("Accept-Encoding");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    return server;
}

bool bindServer(httplib::Server &server, int &port)
{
    if (port == 0) {
        port = server.bind_to_any_port("127.0.0.1");
        return port > 0;
    }
    return server.bind_to_port("127.0.0.1", port);
}

} // namespace

DemoSite::DemoSite(const SiteOptions &options)
    : m_options(options), m_world(World::generate(options.seed, options.members))
{
    std::random_device device;
    m_sessionSalt = (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

DemoSite::~DemoSite()
{
    stop();
}

bool DemoSite::start(std::string &error)
{
    m_topServer = newServer();
    m_worldServer = newServer();
    m_topServer->Get(".*", [this](const httplib::Request &rq, httplib::Response &rs) { serveTop(rq, rs); });
    m_topServer->Post(".*", [this](const httplib::Request &rq, httplib::Response &rs) { serveTop(rq, rs); });
    m_worldServer->Get(".*",
                       [this](const httplib::Request &rq, httplib::Response &rs) { serveWorld(rq, rs); });
    m_worldServer->Post(".*",
                        [this](const httplib::Request &rq, httplib::Response &rs) { serveWorld(rq, rs); });
    m_topPort = m_options.topPort;
    m_worldPort = m_options.worldPort;
    if (!bindServer(*m_topServer, m_topPort)) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(m_options.topPort);
        return false;
    }
    if (!bindServer(*m_worldServer, m_worldPort)) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(m_options.worldPort);
        m_topServer->stop();
        return false;
    }
    m_topThread = std::thread([this] { m_topServer->listen_after_bind(); });
    m_worldThread = std::thread([this] { m_worldServer->listen_after_bind(); });
    // A stop() before a server's loop has started is lost, and its thread
    // would then listen for ever: return only once both loops run.
    while (!m_topServer->is_running() || !m_worldServer->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void DemoSite::stop()
{
    m_faults.shutdown();
    if (m_topServer)
        m_topServer->stop();
    if (m_worldServer)
        m_worldServer->stop();
    wait();
}

void DemoSite::wait()
{
    if (m_topThread.joinable())
        m_topThread.join();
    if (m_worldThread.joinable())
        m_worldThread.join();
}

std::string DemoSite::topUrl() const
{
    return "http://127.0.0.1:" + std::to_string(m_topPort);
}

std::string DemoSite::worldUrl() const
{
    return "http://127.0.0.1:" + std::to_string(m_worldPort);
}

std::string DemoSite::newSessionId()
{
    // Unpredictable enough for a loopback demo, unique within the run.
    std::uint64_t z = m_sessionSalt + 0x9E3779B97F4A7C15ULL * ++m_sessionCounter;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(z ^ (z >> 31)));
    return buffer;
}

std::string DemoSite::topLoginName(const httplib::Request &request)
{
    const std::string id = cookie(request, kTopCookie);
    std::lock_guard lock(m_sessionMutex);
    const auto it = m_topSessions.find(id);
    return it == m_topSessions.end() ? std::string() : it->second;
}

bool DemoSite::loginExpired()
{
    std::lock_guard lock(m_sessionMutex);
    return m_loginExpired;
}

bool DemoSite::hasWorldSession(const httplib::Request &request)
{
    const std::string id = cookie(request, kWorldCookie);
    std::lock_guard lock(m_sessionMutex);
    return m_worldSessions.count(id) != 0;
}

bool DemoSite::serveImage(const httplib::Request &request, httplib::Response &response)
{
    if (request.path.rfind("/img/", 0) != 0)
        return false;
    const std::string picture = pages::headingImage(request.path.substr(5));
    if (picture.empty())
        sendHtml(response, pages::notFoundPage(), 404);
    else
        response.set_content(picture, "image/svg+xml");
    return true;
}

void DemoSite::serveTop(const httplib::Request &request, httplib::Response &response)
{
    if (serveImage(request, response))
        return;
    const std::string &path = request.path;
    m_faults.apply(path);
    const std::string name = topLoginName(request);
    if (path == "/") {
        sendHtml(response, pages::topIndexPage(!name.empty(), name));
    } else if (path == "/index.php") {
        serveTopLogin(request, response);
    } else if (path == "/game_start.php") {
        if (name.empty())
            redirect(response, "/");
        else
            sendHtml(response, pages::worldSelectPage(worldUrl() + "/login/enter.php", m_options.world));
    } else if (path == "/world_closed.php") {
        sendHtml(response, pages::worldClosedPage(intParam(request, "w", 0)));
    } else if (path == "/logout.php") {
        std::lock_guard lock(m_sessionMutex);
        m_topSessions.erase(cookie(request, kTopCookie));
        redirect(response, "/");
    } else {
        sendHtml(response, pages::notFoundPage(), 404);
    }
}

void DemoSite::serveTopLogin(const httplib::Request &request, httplib::Response &response)
{
    if (request.get_param_value("event") != "OAuth" || !topLoginName(request).empty()) {
        redirect(response, "/");
        return;
    }
    std::string name;
    if (request.method == "POST") {
        name = request.get_param_value("name");
        if (name.find_first_not_of(" \t\r\n") == std::string::npos) {
            sendHtml(response, pages::loginFormPage("城主名を入力してください。"));
            return;
        }
    } else if (m_options.autoLogin && !loginExpired()) {
        name = "demo";
    } else {
        sendHtml(response, pages::loginFormPage({}));
        return;
    }
    // The name is only shown back; no password is asked or kept.
    const std::string id = newSessionId();
    {
        std::lock_guard lock(m_sessionMutex);
        m_topSessions[id] = name.substr(0, 64);
    }
    response.set_header("Set-Cookie", sessionCookie(kTopCookie, id, true));
    redirect(response, "/");
}

void DemoSite::serveWorld(const httplib::Request &request, httplib::Response &response)
{
    const std::string &path = request.path;
    if (path.rfind("/__control/", 0) == 0) {
        serveControl(request, response);
        return;
    }
    if (serveImage(request, response))
        return;
    m_faults.apply(path);
    if (path == kSessionOutPath) {
        sendHtml(response, pages::sessionOutPage(topUrl()));
    } else if (path == "/login/enter.php") {
        // Entering the world needs the top-site login; it opens a world session.
        if (topLoginName(request).empty()) {
            redirect(response, kSessionOutPath);
            return;
        }
        const std::string id = newSessionId();
        {
            std::lock_guard lock(m_sessionMutex);
            m_worldSessions.insert(id);
        }
        response.set_header("Set-Cookie", sessionCookie(kWorldCookie, id));
        redirect(response, "/user/");
    } else if (path == "/logout.php") {
        {
            std::lock_guard lock(m_sessionMutex);
            m_worldSessions.erase(cookie(request, kWorldCookie));
        }
        redirect(response, topUrl() + "/");
    } else {
        serveWorldPage(request, response);
    }
}

void DemoSite::serveWorldPage(const httplib::Request &request, httplib::Response &response)
{
    static const std::set<std::string> known = {"/",
                                                "/user/",
                                                "/alliance/info.php",
                                                "/war/war_ranking.php",
                                                "/message/inbox.php",
                                                "/message/detail.php",
                                                "/message/new.php",
                                                "/land.php",
                                                "/map.php",
                                                "/village_change.php",
                                                "/help.php"};
    const std::string &path = request.path;
    if (known.count(path) == 0) {
        sendHtml(response, pages::notFoundPage(), 404);
        return;
    }
    if (!hasWorldSession(request)) {
        redirect(response, kSessionOutPath);
        return;
    }
    if (path == "/message/new.php" && request.method == "POST") {
        sendLetter(request, response);
        return;
    }
    std::shared_lock lock(m_worldMutex);
    const auto send = [&](std::string html) {
        sendHtml(response,
                 m_faults.markupChanged(path) ? pages::withChangedMarkup(path, std::move(html)) : html);
    };
    if (path == "/" || path == "/village_change.php") {
        redirect(response, "/user/");
    } else if (path == "/user/") {
        const bool miss = m_faults.takeMiss(path);
        if (request.has_param("user_id"))
            send(pages::profilePage(m_world, intParam(request, "user_id", 0), !miss));
        else
            send(pages::userPage(m_world, !miss));
    } else if (path == "/alliance/info.php") {
        send(pages::alliancePage(m_world, intParam(request, "id", 0), !m_faults.takeMiss(path)));
    } else if (path == "/war/war_ranking.php") {
        const std::string mode = request.get_param_value("m");
        const RankingCategory category = mode == "attack"    ? RankingCategory::Attack
                                         : mode == "defense" ? RankingCategory::Defense
                                         : mode == "total"   ? RankingCategory::Total
                                                             : RankingCategory::Merit;
        send(pages::rankingPage(m_world, category, std::max(1, intParam(request, "p", 1)),
                                !m_faults.takeMiss(path)));
    } else if (path == "/message/inbox.php") {
        send(pages::inboxPage(m_world, std::max(1, intParam(request, "p", 1)), !m_faults.takeMiss(path)));
    } else if (path == "/message/detail.php") {
        send(pages::letterPage(m_world, intParam(request, "id", 0)));
    } else if (path == "/message/new.php") {
        send(pages::newLetterPage(m_world, {}, {}));
    } else if (path == "/land.php" || path == "/map.php") {
        send(pages::landPage(m_world, intParam(request, "x", 0), intParam(request, "y", 0),
                             path == "/map.php"));
    } else {
        send(pages::helpPage(m_world, request.get_param_value("p") == "rule"));
    }
}

void DemoSite::sendLetter(const httplib::Request &request, httplib::Response &response)
{
    pages::LetterForm form{request.get_param_value("subject"), request.get_param_value("to"),
                           request.get_param_value("body")};
    std::unique_lock lock(m_worldMutex);
    std::string error;
    std::vector<std::string> names;
    for (std::size_t at = 0; at <= form.to.size();) {
        const std::size_t end = std::min(form.to.find(',', at), form.to.size());
        std::string name = form.to.substr(at, end - at);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        if (!name.empty())
            names.push_back(name);
        at = end + 1;
    }
    if (form.subject.find_first_not_of(' ') == std::string::npos)
        error = "件名を入力してください。";
    else if (names.empty())
        error = "宛先を入力してください。";
    else if (names.size() > 3)
        error = "同時発信は３名までです。";
    for (const std::string &name : names) {
        if (!error.empty())
            break;
        // The tool's roster drops blanks from names; the game finds the lord either way.
        bool found = m_world.lordByName(name) != nullptr;
        for (const Lord &lord : m_world.lords) {
            if (found)
                break;
            std::string bare = lord.name;
            bare.erase(std::remove(bare.begin(), bare.end(), ' '), bare.end());
            found = bare == name;
        }
        if (!found)
            error = "宛先「" + name + "」の城主は存在しません。";
    }
    if (!error.empty()) {
        sendHtml(response, pages::newLetterPage(m_world, form, error));
        return;
    }
    m_world.sentLetters.push_back({form.subject, form.to, form.body});
    sendHtml(response, pages::letterSentPage(m_world, m_world.sentLetters.back()));
}
