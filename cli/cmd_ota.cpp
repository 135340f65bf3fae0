// zrv41k-cli ota: builds OTA commands and sends them to a paging encoder.
// Raw memory data 254, the last command 255 and the time message take only
// OTA-window fields; the other types take the main window's values from a
// table file, as the OTA window reads them after the file is opened.
#include <algorithm>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "cli/command.h"
#include "cli/log_cli.h"
#include "cli/table_cli.h"
#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/image.h"
#include "core/image_rules.h"
#include "core/table_file.h"
#include "ota/comm_port.h"
#include "ota/encoder_link.h"
#include "ota/ota_command.h"
#include "ota/ota_image_inputs.h"
#include "ota/ota_send.h"
#include "ota/ota_types.h"
#include "ota/ota_window_rules.h"

namespace {

using namespace zrv;
using namespace zrv::ota;

const char* const kUsageHead =
    "Usage: zrv41k-cli ota build [OPTIONS]\n"
    "       zrv41k-cli ota send --port PATH [OPTIONS]\n\n"
    "Builds OTA commands as the OTA window does. 'build' is the window's View:\n"
    "it prints the log lines and opens no port. 'send' transmits them to the\n"
    "paging encoder and ends with \"Transmit Success !\" (exit 0) or\n"
    "\"Transmit Error !\" (exit 1). Only what the options name is sent.\n\n"
    "What to send (each --type checks one command box; give it again for more):\n"
    "  --type 1|2|3-5|10-12|17 a command built from the table file's settings\n"
    "                          (needs --table); the types are listed below\n"
    "  --type 254              raw memory data (--start, --data)\n"
    "  --last                  the last command 255 (--success, --failed, --packages)\n"
    "  --time                  the time message (needs --time-id or --table)\n\n"
    "The pager's settings:\n"
    "  --table FILE.tbl        the configuration the commands read, as the program\n"
    "                          shows it after File > Open; it also gives the defaults of\n"
    "                          --psn (its serial number), --time-id (capcode 8 + N11)\n"
    "                          and the key of --encrypt\n"
    "  --update-table          store what the commands write back (type 1: display\n"
    "                          codes of switched-off capcodes; types 3-17: the prompts\n"
    "                          as sent) into the table file, only after\n"
    "                          'Transmit Success !'\n"
    "  --alert-type N          type 2's alert type: 0 Normal (default), 1 Vibrator,\n"
    "                          2 Tone+Vibrator, 3 Silent+Flash\n"
    "  --encrypt               Blowfish encryption with the table file's secret serial number\n\n"
    "Header and fields (each taken as if typed into the window):\n"
    "  --psn HEX               public serial number, up to 5 digits (default 00000)\n"
    "  --date YYMMDDhhmm       manual header date (default: the system date)\n"
    "  --batch N               manual batch number (default: the running one)\n"
    "  --pkg-no N              manual package number (default: the system one)\n"
    "  --packages N            manual amount of packages (default: the system count)\n"
    "  --success TEXT          success prompt, up to 18 characters\n"
    "  --failed TEXT           failure prompt, up to 18 characters\n"
    "  --ssn HEX16             turns Blowfish encryption on with this secret serial number\n"
    "  --control-id ID         control PIN/ID, left-padded with '0' to 10 characters\n"
    "  --time-id ID            time PIN/ID\n"
    "  --time-date DDMMYYYYHHMMSS  content of the time message (default: now)\n"
    "  --start HEX3            start address of the raw data\n"
    "  --data HEX              raw data, an even number of digits, up to 64\n"
    "  --repeat N              repetitions (default 1)\n"
    "  --auto-increase-psn     increment the serial number between repetitions\n"
    "  --port PATH             the encoder's serial port (default /dev/ttyS0)\n\n"
    "A send is recorded in the programming log (see 'zrv41k-cli log --help'):\n"
    "  --log-db FILE|URL       the log's database\n"
    "  --no-log                do not record the send\n";

/// The options, then what each command type carries (the OTA window's type
/// boxes show the same names and tool tips).
std::string UsageText() { return std::string(kUsageHead) + "\nCommand types:\n" + OtaTypeHelp(); }

/// Messages of the OTA window have no catalogue key: they print as their text.
class OtaCliNotifier : public Notifier {
public:
    void show(const Message& m) override {
        if (m.key.empty())
            std::cerr << m.english << std::endl;
        else
            std::cerr << m.key << ": " << m.english << std::endl;
    }
    bool ask(const Message& m) override {
        show(m);
        return false;
    }
};

struct Parsed {
    OtaWindowFields window;
    std::string table;
    bool updateTable = false;
    bool encrypt = false;
    bool psnGiven = false;
    /// Types that take the main window's settings and so need --table.
    std::vector<int> tableTypes;
    std::string port = TCommPort::kDefaultPortName;
    bool timeIdGiven = false;
    bool timeDateGiven = false;
    /// Typing into (and leaving) any of these fields pads the control ID:
    /// edtID, edtTMID, edtBat, edtPkgStr, edtPkg, edtDate, edtDateField.
    bool controlIdPadded = false;
    zrv::cli::LogOptions log;
};

int Run(const std::vector<std::string>& args);

const zrv::cli::CommandRegistration kRegistration{zrv::cli::Command{
    "ota", "build and send OTA commands to a paging encoder", UsageText(), Run}};

const zrv::cli::Command& Self() { return zrv::cli::CommandByName("ota"); }

using Value = const std::string&;

/// One option of 'ota build' and 'ota send'.
struct OtaOption {
    const char* name;
    /// What the value is, for "--name needs ..."; null for an option without one.
    const char* value;
    /// A field's value is taken as typed into the window: in the PC code
    /// page, at most this many characters. kAsGiven: a file name or path.
    std::size_t maxChars;
    /// The option's field is one whose leaving pads the control ID
    /// (Parsed::controlIdPadded).
    bool padsControlId;
    /// Stores the (accepted) value into the parsed fields.
    void (*store)(Parsed& p, Value value);
    /// The usage error's text for a value the option cannot take, else empty.
    std::string (*refusal)(Value value) = nullptr;
};

constexpr const char* kField = "a value";
constexpr std::size_t kAsGiven = 0;

/// --type takes 1-17 but the types not offered, 254 and 255.
std::string TypeRefusal(Value t) {
    unsigned long long type = 0;
    if (!zrv::cli::ParseNumber(t, type, 255)) return "--type takes a number";
    if (type == kTypeRawData || type == kTypeLast) return {};
    if (IsUnofferedType(static_cast<int>(type)))
        return "OTA command types 6-9 and 13-16 are not offered: they would need prompt "
               "fields 44 to 59, which the main window does not have";
    if (type < 1 || type > 17) return "there is no OTA command type " + t + " (types 1-17, 254 and 255)";
    return {};
}

/// --type checks the box of one command type; types 1-17 read the table file.
void SelectType(Parsed& p, Value t) {
    unsigned long long type = 0;
    zrv::cli::ParseNumber(t, type, 255);
    if (type == kTypeRawData) {
        p.window.chkCmd[kRawDataBoxTag] = true;
    } else if (type == kTypeLast) {
        p.window.chkLast = true;
    } else {
        p.window.chkCmd[static_cast<std::size_t>(type - 1)] = true;
        p.tableTypes.push_back(static_cast<int>(type));
    }
}

std::string AlertTypeRefusal(Value t) {
    return t.size() == 1 && t[0] >= '0' && t[0] <= '3' ? "" : "--alert-type takes 0, 1, 2 or 3";
}

const OtaOption kOptions[] = {
    {"--type", kField, 3, false, SelectType, TypeRefusal},
    {"--last", nullptr, 0, false, [](Parsed& p, Value) { p.window.chkLast = true; }},
    {"--time", nullptr, 0, false, [](Parsed& p, Value) { p.window.chkSysDate = true; }},
    {"--psn", kField, 5, false, [](Parsed& p, Value v) { p.psnGiven = true; p.window.edtPSN = v; }},
    {"--table", "a file name", kAsGiven, false, [](Parsed& p, Value v) { p.table = v; }},
    {"--update-table", nullptr, 0, false, [](Parsed& p, Value) { p.updateTable = true; }},
    {"--encrypt", nullptr, 0, false, [](Parsed& p, Value) { p.encrypt = true; }},
    {"--alert-type", kField, 1, false, [](Parsed& p, Value v) { p.window.cboAlertType = v[0] - '0'; },
     AlertTypeRefusal},
    {"--date", kField, 10, true, [](Parsed& p, Value v) { p.window.chkDateField = false; p.window.edtDateField = v; }},
    {"--batch", kField, 2, true, [](Parsed& p, Value v) { p.window.chkBat = false; p.window.edtBat = v; }},
    {"--pkg-no", kField, 2, true, [](Parsed& p, Value v) { p.window.chkPkgStr = false; p.window.edtPkgStr = v; }},
    {"--packages", kField, 2, true, [](Parsed& p, Value v) { p.window.chkPkg = false; p.window.edtPkg = v; }},
    {"--success", kField, 18, false, [](Parsed& p, Value v) { p.window.Edit1 = v; }},
    {"--failed", kField, 18, false, [](Parsed& p, Value v) { p.window.Edit2 = v; }},
    {"--ssn", kField, 16, false, [](Parsed& p, Value v) { p.window.chkEncypt = true; p.window.edtSSN = v; }},
    {"--control-id", kField, 10, true, [](Parsed& p, Value v) { p.window.edtID = v; }},
    {"--time-id", kField, 10, true, [](Parsed& p, Value v) { p.timeIdGiven = true; p.window.edtTMID = v; }},
    {"--time-date", kField, 14, true, [](Parsed& p, Value v) { p.timeDateGiven = true; p.window.edtDate = v; }},
    {"--start", kField, 3, false, [](Parsed& p, Value v) { p.window.edtStart = v; }},
    {"--data", kField, 64, false, [](Parsed& p, Value v) { p.window.edtData = v; }},
    {"--repeat", kField, 9, false, [](Parsed& p, Value v) { p.window.edtRepeat = v; }},
    {"--auto-increase-psn", nullptr, 0, false, [](Parsed& p, Value) { p.window.chkIncPSN = true; }},
    {"--port", "a path", kAsGiven, false, [](Parsed& p, Value v) { p.port = v; }},
    {"--log-db", "a file name or URL", kAsGiven, false, [](Parsed& p, Value v) { p.log.database = v; }},
    {"--no-log", nullptr, 0, false, [](Parsed& p, Value) { p.log.off = true; }},
};

/// Fills the window's fields from the options; nothing is on unless named.
/// Returns an exit status when the options cannot be used.
std::optional<int> ParseOptions(const std::vector<std::string>& args, Parsed& p, Notifier& notifier) {
    OtaWindowFields& w = p.window;
    w.chkCmd.fill(false);
    w.chkLast = false;
    w.chkSysDate = false;
    w.edtID = "N12";
    w.edtTMID = "";

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                         [&](const OtaOption& o) { return a == o.name; });
        if (option == std::end(kOptions)) return zrv::cli::UsageError(Self(), "unknown option '" + a + "'");
        if (option->padsControlId) p.controlIdPadded = true;
        std::string value;
        if (option->value) {
            if (i + 1 >= args.size()) return zrv::cli::UsageError(Self(), a + " needs " + option->value);
            value = args[++i];
            if (option->maxChars != kAsGiven) {
                value = Utf8ToCp1252(value);
                if (value.size() > option->maxChars)
                    return zrv::cli::UsageError(Self(), a + " takes at most " + std::to_string(option->maxChars) +
                                                            " characters");
            }
        }
        if (option->refusal) {
            if (const std::string error = option->refusal(value); !error.empty())
                return zrv::cli::UsageError(Self(), error);
        }
        option->store(p, value);
    }

    if (w.chkSysDate && !p.timeIdGiven && p.table.empty())
        return zrv::cli::UsageError(Self(), "--time needs --time-id (or --table, whose capcode 8 it then takes)");
    if (p.table.empty()) {
        if (!p.tableTypes.empty())
            return zrv::cli::UsageError(Self(), "type " + std::to_string(p.tableTypes.front()) +
                                                    " takes the pager's settings: give --table FILE.tbl");
        if (p.updateTable) return zrv::cli::UsageError(Self(), "--update-table needs --table");
        if (p.encrypt) return zrv::cli::UsageError(Self(), "--encrypt needs --table (or give the key with --ssn)");
    }

    // The window's field rules, as when each field is typed in and left.
    for (const std::string* hex : {&w.edtStart, &w.edtData}) {
        for (char c : *hex) {
            if (!AcceptsHexKey(c)) {
                notifier.show(HexOnlyMessage());
                return zrv::cli::kExitUsage;
            }
        }
    }
    if (w.edtData.size() % 2 != 0) {
        notifier.show(EvenDigitsMessage());
        return zrv::cli::kExitUsage;
    }
    w.edtLength = std::to_string(w.edtData.size());
    const auto start = FormatStartAddress(w.edtStart);
    if (!start) {
        notifier.show(ConversionErrorMessage(w.edtStart));
        return zrv::cli::kExitFailed;
    }
    w.edtStart = *start;
    // Leaving the ID, batch, package or date fields pads the control ID;
    // when none of them was touched it keeps the window's "N12".
    if (p.controlIdPadded) w.edtID = PadControlId(w.edtID);
    if (!p.timeDateGiven) w.edtDate = FormatTimeDate(LocalNow());
    return std::nullopt;
}

/// What the window's Show fills from the main window, for the fields the
/// options left alone: the time ID (capcode 8), the public serial number and
/// the key of --encrypt.
void ApplyTableDefaults(Parsed& p, const OtaShowSources& show) {
    OtaWindowFields filled = p.window;
    const std::tm unused{};
    const bool systemDate = filled.chkDateField;
    filled.chkDateField = false;  // edtDate is the option's or now, never Show's
    FillOnShow(filled, show, unused);
    if (!p.timeIdGiven) p.window.edtTMID = filled.edtTMID;
    if (!p.psnGiven) p.window.edtPSN = filled.edtPSN;
    if (p.encrypt && p.window.edtSSN.empty()) {
        p.window.chkEncypt = true;
        p.window.edtSSN = filled.edtSSN;
    }
    p.window.chkDateField = systemDate;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty() || (args[0] != "build" && args[0] != "send"))
        return zrv::cli::UsageError(Self(), "expected 'build' or 'send'");
    const bool send = args[0] == "send";

    OtaCliNotifier notifier;
    Parsed parsed;
    if (auto status = ParseOptions(args, parsed, notifier)) return *status;

    // The serial port object needs Qt's core application for its device notifiers.
    static int qtArgc = 1;
    static char qtName[] = "zrv41k-cli";
    static char* qtArgv[] = {qtName, nullptr};
    QCoreApplication app(qtArgc, qtArgv);

    ConfigImage image;
    OtaImageInputs inputs;
    int capcodeCount = kDefaultCapcodeCount;
    // A table the send updates is held from before it is read until it is saved.
    FileLock lock;
    if (parsed.updateTable && !zrv::cli::LockTable(parsed.table, lock, notifier)) return zrv::cli::kExitFailed;
    if (!parsed.table.empty()) {
        image = StartupImage();
        const auto loaded = LoadTableFile(parsed.table, image, capcodeCount);
        if (!loaded.ok) {
            zrv::cli::ShowTableRefusal(loaded, notifier);
            return zrv::cli::kExitFailed;
        }
        inputs = OtaInputsFromImage(image);
        ApplyTableDefaults(parsed, inputs.show);
    }
    const ConfigImage loadedImage = image;

    TCommPort port;
    EncoderLink link(port, notifier);
    link.setPortName(parsed.port);
    OtaBuilder builder(notifier);
    OtaSender sender(builder, link, notifier);
    auto log = [](const std::string& line) { std::cout << Cp1252ToUtf8(line) << '\n'; };

    // A port failure during the send ends in "Transmit Error !" inside the
    // send sequence, so nothing of the serial port class reaches here.
    const std::string sentPsn = parsed.window.edtPSN;
    const SendResult result = send ? sender.Send(parsed.window, inputs.main, inputs.alert, image, log)
                                   : sender.View(parsed.window, inputs.main, inputs.alert, image, log);
    std::cout.flush();
    // A send that went on the air is recorded; a View sends nothing, and a
    // send stopped by its own checks sent nothing.
    if (send && SendIsRecorded(result)) {
        zrv::cli::OperationLogger logger(parsed.log, false);
        if (!parsed.table.empty()) logger.setTableFile(parsed.table);
        logger.record(SendFacts(result, parsed.port, sentPsn, parsed.table.empty() ? nullptr : &image));
    }
    // The table takes what the commands wrote back only when every frame was
    // acknowledged: after a failed send the pager has not got them.
    if (parsed.updateTable && result == SendResult::Success && image != loadedImage) {
        if (auto failure = SaveTableFile(parsed.table, image, capcodeCount)) {
            notifier.show(*failure);
            return zrv::cli::kExitFailed;
        }
    }
    return result == SendResult::Success ? zrv::cli::kExitOk : zrv::cli::kExitFailed;
}

}  // namespace
