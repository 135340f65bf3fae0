#include "ota/ota_send.h"

#include <optional>

#include "ota/number_text.h"

namespace zrv::ota {

namespace {
constexpr std::size_t kPsnDigits = 5;
constexpr const char* kTransmitError = "Transmit Error !";

Message Plain(const char* text) { return Message{"", text, MsgIcon::Exclamation, {}}; }

/// edtPSN plus \p add, as five upper-case hexadecimal digits (more when it grows).
std::optional<std::string> NextPsn(const std::string& psn, unsigned add) {
    const auto value = HexNumber(psn);
    if (!value) return std::nullopt;
    unsigned long long v = *value + static_cast<unsigned long long>(add);
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (; v != 0; v >>= 4) out.insert(out.begin(), digits[v & 0xF]);
    if (out.size() < kPsnDigits) out.insert(0, kPsnDigits - out.size(), '0');
    return out;
}

/// Sets the transmit flags again however a View ends.
class TransmitGuard {
public:
    TransmitGuard(OtaBuilder& builder, EncoderLink& link, bool on) : builder_(builder), link_(link) {
        builder_.transmitFlag = on;
        link_.transmitFlag = on;
    }
    ~TransmitGuard() {
        builder_.transmitFlag = true;
        link_.transmitFlag = true;
    }

private:
    OtaBuilder& builder_;
    EncoderLink& link_;
};

/// Clears the busy flag however a send ends.
class BusyGuard {
public:
    explicit BusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyGuard() { busy_ = false; }

private:
    bool& busy_;
};
}  // namespace

OtaSender::OtaSender(OtaBuilder& builder, EncoderLink& link, Notifier& notifier)
    : builder_(builder), link_(link), notifier_(notifier) {}

SendResult OtaSender::Send(OtaWindowFields& window, const OtaMainFields& main, const OtaAlertFields& alert,
                           ConfigImage& image, const LogLine& log, const AfterCommand& after) {
    if (busy_) return SendResult::Stopped;
    TransmitGuard transmit(builder_, link_, true);
    return run(window, main, alert, image, log, after);
}

SendResult OtaSender::View(OtaWindowFields& window, const OtaMainFields& main, const OtaAlertFields& alert,
                           ConfigImage& image, const LogLine& log, const AfterCommand& after) {
    if (busy_) return SendResult::Stopped;
    TransmitGuard transmit(builder_, link_, false);
    return run(window, main, alert, image, log, after);
}

bool OtaSender::sendCommand(int type, bool last, OtaWindowFields& window, const OtaMainFields& main,
                            const OtaAlertFields& alert, ConfigImage& image, const LogLine& log,
                            const AfterCommand& after, bool& built) {
    builder_.currentType = type;
    builder_.headerText.clear();
    built = builder_.BuildCommand(type, window, main, alert, image);
    if (!built) return false;
    if (after) after(type);
    const std::string& data = builder_.dataString();
    log(builder_.headerText + "  Len=" + std::to_string(data.size()));
    log("Content of the data field:");
    log(data);
    if (!last) log("");
    return link_.TransmitToEncoder(window.edtID, data);
}

bool OtaSender::stopRequested() const { return cancelled && cancelled(); }

SendResult OtaSender::run(OtaWindowFields& window, const OtaMainFields& main, const OtaAlertFields& alert,
                          ConfigImage& image, const LogLine& log, const AfterCommand& after) {
    BusyGuard busy(busy_);
    const long long repeat = DecimalNumber(window.edtRepeat).value_or(-1);
    if (repeat < 1) {
        notifier_.show(Plain("Repeat times can not less than 1!"));
        return SendResult::Stopped;
    }
    if (started) started();
    bool error = false;
    try {
        for (long long r = 0; r < repeat && !error; ++r) {
            if (window.chkSysDate) {
                builder_.BuildTimeMessage(window);
                log(builder_.TimeMessageLine(window));
                if (!link_.TransmitToEncoder(window.edtTMID, builder_.dataString()) || stopRequested()) {
                    notifier_.show(Plain(kTransmitError));
                    return SendResult::TransmitError;
                }
            }
            if (!link_.ValidateControlId(window.edtID)) return SendResult::Stopped;

            builder_.packageNumber =
                window.chkPkgStr ? 1 : static_cast<std::uint8_t>(DecimalNumber(window.edtPkgStr).value_or(1));
            if (!window.chkBat)
                builder_.batchNumber = static_cast<std::uint8_t>(DecimalNumber(window.edtBat).value_or(0));

            bool built = true;
            for (int tag = 0; tag < kCommandTypeBoxes && !error; ++tag) {
                if (!window.chkCmd[static_cast<std::size_t>(tag)]) continue;
                if (!sendCommand(TypeOfTag(tag), false, window, main, alert, image, log, after, built)) {
                    if (!built) return SendResult::Stopped;
                    error = true;
                } else if (stopRequested()) {
                    error = true;
                }
            }
            if (!error && window.chkLast) {
                if (!sendCommand(kTypeLast, true, window, main, alert, image, log, after, built)) {
                    if (!built) return SendResult::Stopped;
                    error = true;
                } else if (stopRequested()) {
                    error = true;
                }
            }
            if (!error) {
                const unsigned add = window.chkIncPSN && r + 1 < repeat ? 1 : 0;
                if (auto next = NextPsn(window.edtPSN, add)) window.edtPSN = *next;
            }
        }
    } catch (const ECommError&) {
        // The port failed after it opened; the link has closed it again.
        error = true;
    }
    notifier_.show(Plain(error ? kTransmitError : "Transmit Success !"));
    return error ? SendResult::TransmitError : SendResult::Success;
}

OperationFacts SendFacts(SendResult result, const std::string& port, const std::string& psn,
                         const ConfigImage* image) {
    OperationFacts facts;
    facts.operation = PagerOperation::OtaSend;
    facts.ok = result == SendResult::Success;
    if (!facts.ok) facts.result = kTransmitError;
    if (image) facts.image = *image;
    facts.port = port;
    facts.addressedPsn = psn;
    return facts;
}

}  // namespace zrv::ota
