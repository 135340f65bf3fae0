#include "cli/table_cli.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "core/cp1252.h"
#include "core/table_file.h"

namespace zrv::cli {
namespace fs = std::filesystem;

bool ParseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flagOptions, ParsedArgs& parsed, std::string& error) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            parsed.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        const auto eq = a.find('=');
        const std::string name = a.substr(0, eq);
        if (valueOptions.count(name)) {
            if (eq != std::string::npos) {
                parsed.values[name] = a.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                parsed.values[name] = args[++i];
            } else {
                error = name + " needs a value";
                return false;
            }
        } else if (flagOptions.count(a)) {
            parsed.flags.insert(a);
        } else {
            error = "unknown option '" + a + "'";
            return false;
        }
    }
    return true;
}

std::optional<std::string> TakeArguments(const std::vector<std::string>& args, const ArgumentRules& rules,
                                         ParsedArgs& parsed) {
    std::string error;
    if (!ParseArgs(args, rules.valueOptions, rules.flagOptions, parsed, error)) return error;
    const std::size_t given = parsed.positional.size();
    if (given < rules.missing.size()) return rules.missing[given];
    if (rules.most && given > *rules.most) return rules.surplus;
    return std::nullopt;
}

std::optional<std::string> TakeFileName(const std::vector<std::string>& args, const std::string& missing) {
    if (args.size() != 1) return args.empty() ? missing : "expected one file name";
    if (!args[0].empty() && args[0][0] == '-') return "unknown option '" + args[0] + "'";
    return std::nullopt;
}

void ShowTableRefusal(const TableFileResult& result, Notifier& notifier) {
    if (result.message) notifier.show(*result.message);
}

std::optional<std::vector<std::uint8_t>> ReadStoredTable(const fs::path& path, Notifier& notifier) {
    std::vector<std::uint8_t> bytes;
    const TableFileResult result = ReadStoredTableBytes(path, bytes);
    if (!result.ok) {
        ShowTableRefusal(result, notifier);
        return std::nullopt;
    }
    return bytes;
}

bool LockTable(const fs::path& path, FileLock& lock, Notifier& notifier) {
    if (const auto refused = LockTableFile(path, lock)) {
        notifier.show(*refused);
        return false;
    }
    return true;
}

std::string Hex(std::uint64_t value, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return buf;
}

std::string ReadableText(std::string_view cp1252) {
    std::string out;
    for (char c : cp1252) {
        const auto byte = static_cast<std::uint8_t>(c);
        const char32_t ch = Cp1252ToUnicode(byte);
        if (IsControlCharacter(ch)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", byte);
            out += buf;
        } else {
            out += Cp1252ToUtf8(std::string_view(&c, 1));
        }
    }
    return out;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04X", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

}  // namespace zrv::cli
