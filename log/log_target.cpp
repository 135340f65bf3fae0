#include "log/log_target.h"

#include <cctype>
#include <charconv>

namespace zrv::proglog {

namespace {

constexpr std::string_view kSchemes[] = {"postgresql://", "postgres://"};

bool Given(const std::optional<std::string>& text) { return text && !text->empty(); }

/// \p text with every %XX replaced by its byte; nothing when a % is not
/// followed by two hexadecimal digits.
std::optional<std::string> PercentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size()) return std::nullopt;
        const auto [end, ec] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (ec != std::errc() || end != text.data() + i + 3) return std::nullopt;
        out.push_back(static_cast<char>(value));
        i += 2;
    }
    return out;
}

bool ParsePort(std::string_view text, int& port) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    return ec == std::errc() && end == text.data() + text.size() && port > 0 && port < 65536;
}

}  // namespace

std::string ShownLocation(const LogTarget& target) {
    std::string text = target.location;
    if (target.kind != LogTarget::Kind::PostgreSQL) return text;
    const auto start = text.find("://") + 3;
    const auto at = text.find('@', start);
    const auto colon = text.find(':', start);
    if (at != std::string::npos && colon < at) text.replace(colon + 1, at - colon - 1, "***");
    return text;
}

LogTarget::Kind KindOf(std::string_view location) {
    for (std::string_view scheme : kSchemes)
        if (location.substr(0, scheme.size()) == scheme) return LogTarget::Kind::PostgreSQL;
    return LogTarget::Kind::SQLite;
}

LogTarget ChooseLogTarget(const std::optional<std::string>& option, const std::optional<std::string>& setting,
                          const char* variable, const std::filesystem::path& programFolder) {
    const std::optional<std::string> environment =
        variable ? std::optional<std::string>(variable) : std::nullopt;
    const std::pair<const std::optional<std::string>*, const char*> choices[] = {
        {&option, "--log-db"}, {&setting, "the window's setting"}, {&environment, kLogDatabaseVariable}};
    for (const auto& [text, source] : choices)
        if (Given(*text)) return {KindOf(**text), **text, source};
    return {LogTarget::Kind::SQLite, (programFolder / kLogFileName).string(), "the default", true};
}

std::optional<PostgresAddress> ParsePostgresUrl(std::string_view url, std::string& error) {
    std::string_view rest;
    for (std::string_view scheme : kSchemes)
        if (url.substr(0, scheme.size()) == scheme) rest = url.substr(scheme.size());
    if (rest.data() == nullptr) {
        error = "not a postgresql:// URL";
        return std::nullopt;
    }
    PostgresAddress address;
    std::string_view query;
    if (const auto q = rest.find('?'); q != std::string_view::npos) {
        query = rest.substr(q + 1);
        rest = rest.substr(0, q);
    }
    std::string_view path;
    if (const auto slash = rest.find('/'); slash != std::string_view::npos) {
        path = rest.substr(slash + 1);
        rest = rest.substr(0, slash);
    }
    std::string_view user, host = rest;
    if (const auto at = rest.rfind('@'); at != std::string_view::npos) {
        user = rest.substr(0, at);
        host = rest.substr(at + 1);
    }
    std::string_view password;
    if (const auto colon = user.find(':'); colon != std::string_view::npos) {
        password = user.substr(colon + 1);
        user = user.substr(0, colon);
    }
    if (const auto colon = host.rfind(':'); colon != std::string_view::npos) {
        if (!ParsePort(host.substr(colon + 1), address.port)) {
            error = "the port '" + std::string(host.substr(colon + 1)) + "' is not a number from 1 to 65535";
            return std::nullopt;
        }
        host = host.substr(0, colon);
    }
    const std::pair<std::string_view, std::string*> parts[] = {
        {user, &address.user}, {password, &address.password}, {host, &address.host}, {path, &address.database}};
    for (const auto& [text, field] : parts) {
        const auto decoded = PercentDecoded(text);
        if (!decoded) {
            error = "a '%' in the URL is not followed by two hexadecimal digits";
            return std::nullopt;
        }
        *field = *decoded;
    }
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (pair.empty()) continue;
        const auto eq = pair.find('=');
        const auto key = PercentDecoded(pair.substr(0, eq));
        const auto value = PercentDecoded(eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1));
        if (!key || !value || eq == std::string_view::npos) {
            error = "the URL's parameter '" + std::string(pair) + "' is not KEY=VALUE";
            return std::nullopt;
        }
        if (*key == "host") {
            address.host = *value;
        } else if (*key == "port") {
            if (!ParsePort(*value, address.port)) {
                error = "the port '" + *value + "' is not a number from 1 to 65535";
                return std::nullopt;
            }
        } else if (*key == "user") {
            address.user = *value;
        } else if (*key == "password") {
            address.password = *value;
        } else if (*key == "dbname") {
            address.database = *value;
        } else {
            address.options += (address.options.empty() ? "" : ";") + *key + "=" + *value;
        }
    }
    if (address.database.empty()) {
        error = "the URL names no database (postgresql://USER@HOST/DATABASE)";
        return std::nullopt;
    }
    return address;
}

}  // namespace zrv::proglog
