// zrv41k-cli log: lists the programming log's records, shows one and
// gives back the pager image it keeps.
#include <iostream>

#include <nlohmann/json.hpp>

#include "cli/command.h"
#include "cli/log_cli.h"
#include "core/atomic_file.h"
#include "log/programming_log.h"
#include "log/record_text.h"

namespace zrv::cli {
namespace {

int runLog(const std::vector<std::string>& args);

const CommandRegistration kLog{Command{
    "log", "list the programming log, show a record and give back its image",
    std::string("Usage: zrv41k-cli log [--since DATE] [--until DATE] [--serial S] [--capcode N]\n"
                "                      [--limit N] [--json|--csv] [--log-db FILE|URL]\n"
                "       zrv41k-cli log show ID [-o OUT.tbl] [--log-db FILE|URL]\n\n"
                "Every read, write, verify, repeated-write cycle and OTA send of the window\n"
                "and of this tool is a record of the programming log. 'log' lists the\n"
                "records, newest first, one a line: id, time (UTC), operation, serial\n"
                "number, first capcode, result, customer. 'log show' prints one record;\n"
                "with -o it writes the pager image the record keeps to OUT.tbl, byte for\n"
                "byte as the pager held it (open it in the window or write it back).\n\n"
                "Options:\n"
                "  --since DATE   records from this day on (YYYY-MM-DD, UTC)\n"
                "  --until DATE   records up to the end of this day\n"
                "  --serial S     the pager's serial number, SSN or PSN\n"
                "  --capcode N    one of the pager's capcodes 1-16\n"
                "  --limit N      the newest N records only\n"
                "  --json, --csv  all of each record as JSON or CSV\n") +
        kLogDatabaseHelp,
    runLog}};

using proglog::LogFilter;
using proglog::ProgrammingLog;
using proglog::ProgrammingRecord;

enum class Format { Lines, Json, Csv };

bool parseListOptions(const std::vector<std::string>& args, LogFilter& filter, Format& format, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json" || a == "--csv") {
            const Format wanted = a == "--json" ? Format::Json : Format::Csv;
            if (format != Format::Lines && format != wanted) {
                error = "--json and --csv exclude each other";
                return false;
            }
            format = wanted;
            continue;
        }
        if (a != "--since" && a != "--until" && a != "--serial" && a != "--capcode" && a != "--limit") {
            error = a.rfind("-", 0) == 0 ? "unknown option '" + a + "'" : "unexpected argument '" + a + "'";
            return false;
        }
        if (i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        unsigned long long number = 0;
        if (a == "--since" || a == "--until") {
            if (!proglog::ValidDate(value)) {
                error = a + " takes a date YYYY-MM-DD";
                return false;
            }
            (a == "--since" ? filter.since : filter.until) = value;
        } else if (a == "--serial") {
            filter.serial = value;
        } else if (a == "--capcode") {
            if (!ParseNumber(value, number, 2097151)) {
                error = "--capcode takes a capcode from 0 to 2097151";
                return false;
            }
            filter.capcode = static_cast<std::uint32_t>(number);
        } else {
            if (!ParseNumber(value, number, 1000000000) || number == 0) {
                error = "--limit takes a number from 1";
                return false;
            }
            filter.limit = static_cast<int>(number);
        }
    }
    return true;
}

nlohmann::json recordJson(const ProgrammingRecord& r) {
    nlohmann::json capcodes = nlohmann::json::array();
    for (const auto& c : r.capcodes) capcodes.push_back({{"slot", c.slot}, {"capcode", c.capcode}, {"on", c.on}});
    const auto orNull = [](const auto& value) { return value ? nlohmann::json(*value) : nlohmann::json(); };
    return {{"id", r.id},
            {"time_utc", r.timeUtc},
            {"operation", std::string(OperationName(r.operation))},
            {"workstation", r.workstation},
            {"user", r.userName},
            {"port", r.port},
            {"board_firmware", r.boardFirmware},
            {"serial", r.serial},
            {"ssn", r.ssn},
            {"psn", r.psn},
            {"firmware", orNull(r.firmware)},
            {"band", orNull(r.band)},
            {"frequency_mhz", r.frequency ? nlohmann::json(proglog::FrequencyText(*r.frequency)) : nlohmann::json()},
            {"capcodes", capcodes},
            {"sha256", r.sha256},
            {"table_file", r.tableFile},
            {"result", r.result},
            {"customer", r.customer},
            {"note", r.note}};
}

std::string summaryLine(const ProgrammingRecord& r) {
    const auto first = r.firstCapcode();
    char capcode[16] = "-";
    if (first) std::snprintf(capcode, sizeof capcode, "%07u", static_cast<unsigned>(*first));
    const auto field = [](const std::string& text) { return text.empty() ? std::string("-") : text; };
    return std::to_string(r.id) + "  " + r.timeUtc + "  " + std::string(OperationName(r.operation)) + "  " +
           field(r.serial) + "  " + capcode + "  " + r.result + (r.customer.empty() ? "" : "  " + r.customer);
}

std::unique_ptr<ProgrammingLog> openLog(const std::optional<std::string>& database) {
    std::string error;
    auto log = ProgrammingLog::open(CommandLineLogTarget(database), error);
    if (!log) std::cerr << "zrv41k-cli: " << error << std::endl;
    return log;
}

int listRecords(const std::vector<std::string>& args, const std::optional<std::string>& database) {
    LogFilter filter;
    Format format = Format::Lines;
    std::string error;
    if (!parseListOptions(args, filter, format, error)) return UsageError(CommandByName("log"), error);
    const auto log = openLog(database);
    if (!log) return kExitFailed;
    const auto records = log->query(filter, error);
    if (!records) {
        std::cerr << "zrv41k-cli: " << error << std::endl;
        return kExitFailed;
    }
    if (format == Format::Csv) {
        std::cout << proglog::RecordsCsv(*records);
    } else if (format == Format::Json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& r : *records) list.push_back(recordJson(r));
        std::cout << list.dump(2) << '\n';
    } else {
        for (const auto& r : *records) std::cout << summaryLine(r) << '\n';
    }
    return kExitOk;
}

int showRecord(const std::vector<std::string>& args, const std::optional<std::string>& database) {
    const Command& self = CommandByName("log");
    std::string idText, out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size()) return UsageError(self, "-o needs a file name");
            out = args[++i];
        } else if (idText.empty() && args[i].rfind("-", 0) != 0) {
            idText = args[i];
        } else {
            return UsageError(self, "unexpected argument '" + args[i] + "'");
        }
    }
    unsigned long long id = 0;
    if (idText.empty()) return UsageError(self, "log show needs a record's ID");
    if (!ParseNumber(idText, id, 1ull << 62) || id == 0) return UsageError(self, "'" + idText + "' is not a record ID");
    const auto log = openLog(database);
    if (!log) return kExitFailed;
    std::string error;
    const auto record = log->record(static_cast<long long>(id), error);
    if (!record) {
        std::cerr << "zrv41k-cli: " << error << std::endl;
        return kExitFailed;
    }
    std::cout << proglog::RecordDetails(*record);
    if (out.empty()) return kExitOk;
    if (!record->image) {
        std::cerr << "zrv41k-cli: record " << id << " keeps no image (the operation read none)" << std::endl;
        return kExitFailed;
    }
    const auto& bytes = record->image->bytes();
    const SaveStatus saved =
        WriteFileAtomically(out, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (saved != SaveStatus::Saved) {
        std::cerr << "zrv41k-cli: cannot write " << out
                  << (saved == SaveStatus::NotARegularFile ? ": it is not a regular file" : "") << std::endl;
        return kExitFailed;
    }
    return kExitOk;
}

int runLog(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    LogOptions options;
    std::string error;
    if (!TakeLogOptions(args, options, error)) return UsageError(CommandByName("log"), error);
    if (options.off) return UsageError(CommandByName("log"), "--no-log belongs to operations on a pager");
    if (!args.empty() && args[0] == "show") return showRecord({args.begin() + 1, args.end()}, options.database);
    return listRecords(args, options.database);
}

}  // namespace
}  // namespace zrv::cli
