// zrv41k-cli ota: builds OTA commands and sends them to a paging encoder,
// for the command types whose inputs are all OTA-window fields (raw memory
// data 254, the last command 255 and the time message).
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "cli/command.h"
#include "core/cp1252.h"
#include "core/image.h"
#include "ota/comm_port.h"
#include "ota/encoder_link.h"
#include "ota/ota_command.h"
#include "ota/ota_send.h"
#include "ota/ota_window_rules.h"

namespace {

using namespace zrv;
using namespace zrv::ota;

const char* const kUsage =
    "Usage: zrv41k-cli ota build [OPTIONS]\n"
    "       zrv41k-cli ota send --port PATH [OPTIONS]\n\n"
    "Builds OTA commands as the OTA window does. 'build' is the window's View:\n"
    "it prints the log lines and opens no port. 'send' transmits them to the\n"
    "paging encoder and ends with \"Transmit Success !\" (exit 0) or\n"
    "\"Transmit Error !\" (exit 1). Only what the options name is sent.\n\n"
    "What to send:\n"
    "  --type 254              raw memory data (--start, --data)\n"
    "  --last                  the last command 255 (--success, --failed, --packages)\n"
    "  --time                  the time message (needs --time-id)\n\n"
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
    "  --port PATH             the encoder's serial port (default /dev/ttyS0)\n";

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

std::string NowAsTimeDate() {
    const std::time_t t = std::time(nullptr);
    std::tm now{};
    localtime_r(&t, &now);
    return FormatTimeDate(now);
}

struct Parsed {
    OtaWindowFields window;
    std::string port = TCommPort::kDefaultPortName;
    bool timeIdGiven = false;
    bool timeDateGiven = false;
    /// Typing into (and leaving) any of these fields pads the control ID:
    /// edtID, edtTMID, edtBat, edtPkgStr, edtPkg, edtDate, edtDateField.
    bool controlIdPadded = false;
};

int Run(const std::vector<std::string>& args);

const zrv::cli::CommandRegistration kRegistration{zrv::cli::Command{
    "ota", "build and send OTA commands to a paging encoder", kUsage, Run}};

const zrv::cli::Command& Self() {
    for (const auto& c : zrv::cli::Commands())
        if (c.name == "ota") return c;
    return zrv::cli::Commands().front();
}

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
        auto takeValue = [&](std::size_t maxChars, std::string& out) -> std::optional<int> {
            if (i + 1 >= args.size()) return zrv::cli::UsageError(Self(), a + " needs a value");
            const std::string value = Utf8ToCp1252(args[++i]);
            if (value.size() > maxChars)
                return zrv::cli::UsageError(Self(), a + " takes at most " + std::to_string(maxChars) +
                                                        " characters");
            out = value;
            return std::nullopt;
        };
        std::optional<int> bad;
        static const char* const kPaddingFields[] = {"--control-id", "--time-id", "--batch",  "--pkg-no",
                                                     "--packages",   "--time-date", "--date"};
        for (const char* f : kPaddingFields)
            if (a == f) p.controlIdPadded = true;
        if (a == "--type") {
            std::string t;
            if ((bad = takeValue(3, t))) return bad;
            unsigned long long type = 0;
            if (!zrv::cli::ParseNumber(t, type, 255)) return zrv::cli::UsageError(Self(), "--type takes a number");
            if (type == kTypeRawData) {
                w.chkCmd[kRawDataBoxTag] = true;
            } else if (type == kTypeLast) {
                w.chkLast = true;
            } else if (IsUnofferedType(static_cast<int>(type))) {
                return zrv::cli::UsageError(
                    Self(), "OTA command types 6-9 and 13-16 are not offered: they would need prompt "
                            "fields 44 to 59, which the main window does not have");
            } else if (type < 1 || type > 17) {
                return zrv::cli::UsageError(Self(), "there is no OTA command type " + t +
                                                        " (types 1-17, 254 and 255)");
            } else {
                return zrv::cli::UsageError(Self(), "type " + t +
                                                        " takes its settings from the main window; build it "
                                                        "in the OTA window (here: --type 254, --last, --time)");
            }
        } else if (a == "--last") {
            w.chkLast = true;
        } else if (a == "--time") {
            w.chkSysDate = true;
        } else if (a == "--psn") {
            bad = takeValue(5, w.edtPSN);
        } else if (a == "--date") {
            w.chkDateField = false;
            bad = takeValue(10, w.edtDateField);
        } else if (a == "--batch") {
            w.chkBat = false;
            bad = takeValue(2, w.edtBat);
        } else if (a == "--pkg-no") {
            w.chkPkgStr = false;
            bad = takeValue(2, w.edtPkgStr);
        } else if (a == "--packages") {
            w.chkPkg = false;
            bad = takeValue(2, w.edtPkg);
        } else if (a == "--success") {
            bad = takeValue(18, w.Edit1);
        } else if (a == "--failed") {
            bad = takeValue(18, w.Edit2);
        } else if (a == "--ssn") {
            w.chkEncypt = true;
            bad = takeValue(16, w.edtSSN);
        } else if (a == "--control-id") {
            bad = takeValue(10, w.edtID);
        } else if (a == "--time-id") {
            p.timeIdGiven = true;
            bad = takeValue(10, w.edtTMID);
        } else if (a == "--time-date") {
            p.timeDateGiven = true;
            bad = takeValue(14, w.edtDate);
        } else if (a == "--start") {
            bad = takeValue(3, w.edtStart);
        } else if (a == "--data") {
            bad = takeValue(64, w.edtData);
        } else if (a == "--repeat") {
            bad = takeValue(9, w.edtRepeat);
        } else if (a == "--auto-increase-psn") {
            w.chkIncPSN = true;
        } else if (a == "--port") {
            if (i + 1 >= args.size()) return zrv::cli::UsageError(Self(), "--port needs a path");
            p.port = args[++i];
        } else {
            return zrv::cli::UsageError(Self(), "unknown option '" + a + "'");
        }
        if (bad) return bad;
    }

    if (w.chkSysDate && !p.timeIdGiven) return zrv::cli::UsageError(Self(), "--time needs --time-id");

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
    if (!p.timeDateGiven) w.edtDate = NowAsTimeDate();
    return std::nullopt;
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

    TCommPort port;
    EncoderLink link(port, notifier);
    link.setPortName(parsed.port);
    OtaBuilder builder(notifier);
    OtaSender sender(builder, link, notifier);
    ConfigImage image;
    OtaMainFields main;
    OtaAlertFields alert;
    auto log = [](const std::string& line) { std::cout << Cp1252ToUtf8(line) << '\n'; };

    // A port failure during the send ends in "Transmit Error !" inside the
    // send sequence, so nothing of the serial port class reaches here.
    const SendResult result = send ? sender.Send(parsed.window, main, alert, image, log)
                                   : sender.View(parsed.window, main, alert, image, log);
    std::cout.flush();
    return result == SendResult::Success ? zrv::cli::kExitOk : zrv::cli::kExitFailed;
}

}  // namespace
