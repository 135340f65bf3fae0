#pragma once
/// \file
/// Which database the programming log goes to. The first of these that is
/// given wins: the command line's --log-db, the window's setting, the
/// environment variable ZRV41K_LOG_DB, and else the file
/// programming-log.sqlite in the program folder. A postgresql:// URL names a
/// PostgreSQL server (a shop whose workstations share one log); anything
/// else is the path of an SQLite file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zrv::proglog {

/// The default log's file name in the program folder.
inline constexpr const char* kLogFileName = "programming-log.sqlite";
/// The environment variable both programs read.
inline constexpr const char* kLogDatabaseVariable = "ZRV41K_LOG_DB";
/// The window's setting (in its settings file).
inline constexpr const char* kLogDatabaseSetting = "log/database";

struct LogTarget {
    enum class Kind { SQLite, PostgreSQL };
    Kind kind = Kind::SQLite;
    std::string location;  ///< the file's path, or the URL as given
    std::string chosenBy;  ///< "--log-db", "the window's setting", "ZRV41K_LOG_DB" or "the default"
    /// The default file's folder is made when it is missing (an installed
    /// program's data folder before the window first ran); a folder the
    /// user named must exist.
    bool makeFolder = false;
};

/// The target's location as messages show it: a password in a URL is
/// replaced by "***".
std::string ShownLocation(const LogTarget& target);

/// The kind of database \p location names: a postgresql:// (or postgres://)
/// URL or an SQLite file.
LogTarget::Kind KindOf(std::string_view location);

/// The log as chosen from the command line's \p option, the window's
/// \p setting, the environment's \p variable (null when unset) and, when
/// none of them holds text, the default file in \p programFolder.
LogTarget ChooseLogTarget(const std::optional<std::string>& option, const std::optional<std::string>& setting,
                          const char* variable, const std::filesystem::path& programFolder);

/// A PostgreSQL server as a URL names it:
/// postgresql://[USER[:PASSWORD]@][HOST][:PORT][/DATABASE][?KEY=VALUE&...].
/// The parts are percent-decoded, so a socket folder is a host:
/// postgresql://shop@%2Fvar%2Frun%2Fpostgresql/log. The query keys host,
/// port, user, password and dbname replace those parts; any other key is a
/// connection option of the client library (sslmode, connect_timeout, ...).
struct PostgresAddress {
    std::string user;
    std::string password;
    std::string host;
    int port = 0;  ///< 0: the client library's default
    std::string database;
    std::string options;  ///< "key=value;key=value"
};

/// The server \p url names, or nothing with \p error saying what is wrong.
std::optional<PostgresAddress> ParsePostgresUrl(std::string_view url, std::string& error);

}  // namespace zrv::proglog
