// Control endpoints of the world server, for tests and demos. They answer
// small JSON and never need a session.
#include "demosite/dump.h"
#include "demosite/httputil.h"
#include "demosite/site.h"

using namespace httputil;

namespace {

std::string jsonText(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) >= 0x20)
            out += c;
    }
    return out + "\"";
}

void fail(httplib::Response &response, int status, const std::string &message)
{
    sendJson(response, "{\"ok\":false,\"error\":" + jsonText(message) + "}", status);
}

void ok(httplib::Response &response, const std::string &extra = {})
{
    sendJson(response, "{\"ok\":true" + extra + "}");
}

bool intArgument(const httplib::Request &request, const char *name, long long low, long long high, int &value,
                 httplib::Response &response)
{
    long long parsed = 0;
    if (!parseInt(request.get_param_value(name), parsed) || parsed < low || parsed > high) {
        fail(response, 400, std::string("missing or bad parameter: ") + name);
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool pathArgument(const httplib::Request &request, std::string &path, httplib::Response &response)
{
    path = request.get_param_value("path");
    // The switch is keyed by path alone, as requests are matched.
    path = path.substr(0, path.find('?'));
    if (path.empty() || path[0] != '/') {
        fail(response, 400, "missing or bad parameter: path");
        return false;
    }
    return true;
}

} // namespace

void DemoSite::serveControl(const httplib::Request &request, httplib::Response &response)
{
    const std::string command = request.path.substr(std::string("/__control/").size());
    std::string path;
    int number = 0;
    if (command == "expire-session") {
        std::size_t count = 0;
        {
            std::lock_guard lock(m_sessionMutex);
            count = m_worldSessions.size();
            m_worldSessions.clear();
        }
        ok(response, ",\"expired\":" + std::to_string(count));
    } else if (command == "expire-login") {
        // The saved login of every browser runs out: top-site and world
        // sessions end, and the login entry asks for the form again.
        std::lock_guard lock(m_sessionMutex);
        m_topSessions.clear();
        m_worldSessions.clear();
        m_loginExpired = true;
        ok(response);
    } else if (command == "delay") {
        if (pathArgument(request, path, response) &&
            intArgument(request, "ms", 0, 600000, number, response)) {
            m_faults.setDelay(path, number);
            ok(response);
        }
    } else if (command == "hang") {
        if (pathArgument(request, path, response)) {
            m_faults.hang(path);
            ok(response);
        }
    } else if (command == "release") {
        if (pathArgument(request, path, response)) {
            m_faults.release(path);
            ok(response);
        }
    } else if (command == "miss-marker") {
        if (pathArgument(request, path, response) &&
            intArgument(request, "count", 0, 1000000, number, response)) {
            m_faults.setMissCount(path, number);
            ok(response);
        }
    } else if (command == "change-markup") {
        if (pathArgument(request, path, response)) {
            m_faults.changeMarkup(path);
            ok(response);
        }
    } else if (command == "reset") {
        m_faults.reset();
        {
            std::lock_guard lock(m_sessionMutex);
            m_loginExpired = false;
        }
        ok(response);
    } else if (command == "set-points") {
        int userId = 0;
        if (!intArgument(request, "user_id", 1, 2000000000, userId, response) ||
            !intArgument(request, "points", -2000000000, 2000000000, number, response))
            return;
        std::unique_lock lock(m_worldMutex);
        Lord *lord = m_world.lord(userId);
        if (lord == nullptr) {
            fail(response, 404, "unknown user_id");
            return;
        }
        lord->points = number;
        ok(response);
    } else if (command == "add-member" || command == "remove-member") {
        int allianceId = 0;
        int userId = 0;
        if (!intArgument(request, "alliance_id", 1, 2000000000, allianceId, response) ||
            !intArgument(request, "user_id", 1, 2000000000, userId, response))
            return;
        std::unique_lock lock(m_worldMutex);
        const bool done = command == "add-member" ? m_world.addMember(allianceId, userId)
                                                  : m_world.removeMember(allianceId, userId);
        if (done)
            ok(response);
        else
            fail(response, 404, "unknown alliance, user or membership");
    } else if (command == "ranking-traps") {
        std::unique_lock lock(m_worldMutex);
        plantRankingTraps(m_world);
        ok(response);
    } else if (command == "rank-only") {
        // A small world: only the first N lords of every ranking are ranked,
        // so later bands show ranking pages without rows.
        if (!intArgument(request, "lords", 0, 1000000, number, response))
            return;
        std::unique_lock lock(m_worldMutex);
        for (auto &order : m_world.ranking) {
            if (order.size() > static_cast<std::size_t>(number))
                order.resize(static_cast<std::size_t>(number));
        }
        ok(response);
    } else if (command == "inbox-pages") {
        if (!intArgument(request, "count", 0, 100, number, response))
            return;
        std::unique_lock lock(m_worldMutex);
        setInboxPages(m_world, number);
        ok(response);
    } else if (command == "post-replies") {
        const std::string keyword = request.get_param_value("keyword");
        int every = 0;
        if (keyword.empty()) {
            fail(response, 400, "missing or bad parameter: keyword");
            return;
        }
        if (!intArgument(request, "every", 1, 1000, every, response) ||
            !intArgument(request, "offset", 0, 1000, number, response))
            return;
        std::unique_lock lock(m_worldMutex);
        std::string ids;
        for (const int id : postReplies(m_world, keyword, every, number))
            ids += (ids.empty() ? "" : ",") + std::to_string(id);
        ok(response, ",\"senders\":[" + ids + "]");
    } else if (command == "set-score") {
        static const char *const kCategories[] = {"merit", "attack", "defense", "total"};
        const std::string name = request.get_param_value("category");
        int category = 0;
        while (category < kRankingCategories && name != kCategories[category])
            ++category;
        int userId = 0;
        if (category == kRankingCategories) {
            fail(response, 400, "missing or bad parameter: category");
            return;
        }
        if (!intArgument(request, "user_id", 1, 2000000000, userId, response) ||
            !intArgument(request, "score", 0, 1000000000, number, response))
            return;
        std::unique_lock lock(m_worldMutex);
        if (setRankingScore(m_world, userId, static_cast<RankingCategory>(category), number))
            ok(response);
        else
            fail(response, 404, "unknown user_id");
    } else if (command == "advance-day") {
        std::unique_lock lock(m_worldMutex);
        int joined = 0;
        int left = 0;
        advanceDay(m_world, joined, left);
        ok(response, ",\"day\":" + std::to_string(m_world.day) + ",\"joined\":" + std::to_string(joined) +
                         ",\"left\":" + std::to_string(left));
    } else if (command == "dump") {
        std::shared_lock lock(m_worldMutex);
        sendJson(response, dumpWorld(m_world));
    } else {
        fail(response, 404, "unknown control endpoint");
    }
}
