#pragma once
/// \file
/// What the table-file commands of zrv41k-cli share: option parsing, reading
/// a table file's stored bytes, and hexadecimal and JSON text.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "core/atomic_file.h"
#include "core/notifier.h"
#include "core/table_file.h"

namespace zrv::cli {

/// The words of a command line split into file arguments and options.
struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  ///< "--from" -> "0x100"
    std::set<std::string> flags;                ///< "--json"
};

/// Splits \p args: options named in \p valueOptions take the next word (or
/// "--name=value"), those in \p flagOptions take none; "--" ends the options.
/// False with \p error set for an unknown option or a missing value.
bool ParseArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flagOptions, ParsedArgs& parsed, std::string& error);

/// What a command takes: its options, and how many other words (file names,
/// fields) with the usage error for too few or too many.
struct ArgumentRules {
    std::set<std::string> valueOptions;
    std::set<std::string> flagOptions;
    /// The usage error when only k words are given, for each k below the
    /// number the command needs: {"FILE.tbl is missing"} needs one word.
    std::vector<std::string> missing;
    /// The most words the command takes (none: no limit), and the usage
    /// error for more.
    std::optional<std::size_t> most = std::nullopt;
    std::string surplus = {};
};

/// The preamble every table-file command shares: ParseArgs with the
/// command's options, then the count of the remaining words. Returns the
/// usage error's text, or nothing when \p parsed holds usable arguments.
std::optional<std::string> TakeArguments(const std::vector<std::string>& args, const ArgumentRules& rules,
                                         ParsedArgs& parsed);

/// The preamble of a command that takes one file name and no option: the
/// usage error's text (\p missing when there is no word, "expected one
/// file name" for more, "unknown option '-x'" for a word starting with
/// '-'), or nothing.
std::optional<std::string> TakeFileName(const std::vector<std::string>& args, const std::string& missing);

/// The bytes of a table file as stored, after the size and open checks only
/// (the bytes of a file that fails its identity or checksum can still be
/// looked at). Tells \p notifier Msg61 or Msg62 and returns nothing when the
/// file is not a table file of either size or cannot be read.
std::optional<std::vector<std::uint8_t>> ReadStoredTable(const std::filesystem::path& path,
                                                         Notifier& notifier);

/// Shows the message of a table file that \p result refused; a file that
/// could not be opened is named there with the reason ("Msg62: Open
/// Error ! [a.tbl]: No such file or directory").
void ShowTableRefusal(const TableFileResult& result, Notifier& notifier);

/// Locks the table file \p path that a command is going to save (and may
/// read and change first) until \p lock goes, so that two commands changing
/// one file at the same time both keep their change. Tells \p notifier
/// MsgFileInUse or MsgNotRegularFile and returns false when the lock cannot
/// be had.
bool LockTable(const std::filesystem::path& path, FileLock& lock, Notifier& notifier);

/// \p value in upper-case hexadecimal with "0x" and at least \p digits digits.
std::string Hex(std::uint64_t value, int digits);

/// Windows-1252 bytes from a table file as UTF-8 text for a terminal: a
/// control character (0x00-0x1F, 0x7F and the C1 controls) is shown as
/// "\xNN", so a file cannot send escape sequences to the terminal.
std::string ReadableText(std::string_view cp1252);

/// \p text as a JSON string literal (quotes included; UTF-8 kept, control
/// characters escaped).
std::string JsonString(std::string_view text);

}  // namespace zrv::cli
