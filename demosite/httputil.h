#pragma once

#include <charconv>
#include <httplib.h>
#include <string>

// Small answers shared by the two origins and the control endpoints.
namespace httputil {

inline void sendHtml(httplib::Response &response, const std::string &page, int status = 200)
{
    response.status = status;
    response.set_content(page, "text/html; charset=utf-8");
}

inline void sendJson(httplib::Response &response, const std::string &json, int status = 200)
{
    response.status = status;
    response.set_content(json, "application/json; charset=utf-8");
}

inline void redirect(httplib::Response &response, const std::string &location)
{
    response.status = 302;
    response.set_header("Location", location);
}

// A whole decimal integer or nothing: "12x" and "" are refused.
inline bool parseInt(const std::string &text, long long &value)
{
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

inline int intParam(const httplib::Request &request, const char *name, int fallback)
{
    long long value = 0;
    if (!parseInt(request.get_param_value(name), value) || value < -2000000000 || value > 2000000000)
        return fallback;
    return static_cast<int>(value);
}

inline std::string cookie(const httplib::Request &request, const std::string &name)
{
    const std::string header = request.get_header_value("Cookie");
    std::size_t at = 0;
    while (at < header.size()) {
        const std::size_t end = std::min(header.find(';', at), header.size());
        std::string pair = header.substr(at, end - at);
        const std::size_t first = pair.find_first_not_of(' ');
        pair = first == std::string::npos ? std::string() : pair.substr(first);
        if (pair.compare(0, name.size() + 1, name + "=") == 0)
            return pair.substr(name.size() + 1);
        at = end + 1;
    }
    return {};
}

} // namespace httputil
