#include "ota/encoder_link.h"

#include <thread>

#include "core/capcodes.h"

namespace zrv::ota {

namespace {
constexpr std::size_t kIdMinLength = 4;
constexpr std::size_t kIdLength = 10;
/// A control ID's capcode: 8 and above (not the capcode box's 7), up to the
/// largest capcode.
constexpr long long kCapcodeMin = 8;
constexpr long long kCapcodeMax = kMaxCapcode;
constexpr std::size_t kAckLength = 5;
/// The most bytes an attempt reads while it looks for the acknowledgement:
/// an acknowledgement behind a few stray bytes, never an endless stream.
constexpr std::size_t kAckSearchLimit = 4 * kAckLength;

bool IsChecksumCharacter(char c) { return c >= 0x30 && c <= 0x3F; }

/// Five bytes that have the form of an acknowledgement: four checksum
/// characters and a closing byte that is not one.
bool IsAcknowledgement(const std::string& window) {
    if (window.size() != kAckLength) return false;
    for (std::size_t i = 0; i + 1 < kAckLength; ++i)
        if (!IsChecksumCharacter(window[i])) return false;
    return !IsChecksumCharacter(window.back());
}

Message IdMessage(const char* text) {
    return Message{"", text, MsgIcon::Exclamation, {}, kIdPinErrorCaption};
}

bool OneOf(char c, const char* set) {
    for (; *set; ++set)
        if (*set == c) return true;
    return false;
}
}  // namespace

std::uint16_t FrameSum(const std::string& id, const std::string& data) {
    std::uint16_t sum = kStx;
    for (char c : id) sum = static_cast<std::uint16_t>(sum + static_cast<std::uint8_t>(c));
    for (char c : data) sum = static_cast<std::uint16_t>(sum + static_cast<std::uint8_t>(c));
    return sum;
}

std::string ChecksumCharacters(std::uint16_t sum) {
    std::string out;
    for (int shift = 12; shift >= 0; shift -= 4) out += static_cast<char>(0x30 + ((sum >> shift) & 0xF));
    return out;
}

std::string BuildFrame(const std::string& id, const std::string& data) {
    std::string frame(1, static_cast<char>(kStx));
    frame += id;
    frame += data;
    frame += ChecksumCharacters(FrameSum(id, data));
    frame += static_cast<char>(kEot);
    return frame;
}

std::optional<Message> ControlIdError(const std::string& id) {
    if (id.size() < kIdMinLength) return IdMessage("PIN/ID fields is 4 - 10 digits Only!");
    const std::string capcode = id.substr(0, id.size() - 3);
    long long value = 0;
    bool number = !capcode.empty();
    for (char c : capcode) {
        if (c < '0' || c > '9' || value > kCapcodeMax) {
            number = false;
            break;
        }
        value = value * 10 + (c - '0');
    }
    if (!number || value < kCapcodeMin || value > kCapcodeMax)
        return IdMessage("Please insert capecode between 8 to 2097151");
    const std::size_t n = id.size();
    if (!OneOf(id[n - 3], "0nN1aA")) return IdMessage("Message encoding type error!");
    if (!OneOf(id[n - 2], "512")) return IdMessage("RF data rate error!");
    if (!OneOf(id[n - 1], "01234")) return IdMessage("Function code error!");
    return std::nullopt;
}

std::string PadControlId(const std::string& id) {
    return id.size() >= kIdLength ? id : std::string(kIdLength - id.size(), '0') + id;
}

EncoderLink::EncoderLink(TCommPort& port, Notifier& notifier, Pump pump)
    : port_(port), notifier_(notifier), pump_(std::move(pump)) {}

bool EncoderLink::ValidateControlId(const std::string& id) {
    if (auto error = ControlIdError(id)) {
        notifier_.show(*error);
        return false;
    }
    return true;
}

bool EncoderLink::readAckByte(std::uint8_t& byte) {
    int emptyPolls = 0;
    while (port_.BytesWaiting() == 0) {
        if (pump_) pump_();
        // The wait ends early when a byte arrives; an empty one is a poll.
        if (port_.WaitForBytes(kPollMs)) break;
        if (++emptyPolls >= kEmptyPollsPerByte) {
            port_.Purge();
            return false;
        }
    }
    byte = port_.ReadByte();
    return true;
}

bool EncoderLink::attempt(const std::string& frame, const std::string& check) {
    // What waits now cannot answer this frame (noise, or a late answer to
    // an earlier attempt): it is discarded before the frame goes out.
    port_.Purge();
    port_.Write(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
    // The answer is found by its pattern, four checksum characters and a
    // byte that is none, so a stray byte before it is passed over instead
    // of putting every later answer out of step.
    std::string window;
    for (std::size_t got = 0; got < kAckSearchLimit; ++got) {
        std::uint8_t byte = 0;
        if (!readAckByte(byte)) return false;
        window += static_cast<char>(byte);
        if (window.size() > kAckLength) window.erase(0, 1);
        if (IsAcknowledgement(window)) return window.compare(0, 4, check) == 0 && byte == kAck;
    }
    return false;
}

bool EncoderLink::TransmitToEncoder(const std::string& id, const std::string& data) {
    if (!transmitFlag) return true;
    try {
        port_.Setup(kEncoderBaudRate, portName_, kEncoderLineMode);
    } catch (const ECommError& e) {
        notifier_.show(Message{"",
                               e.code == kCommOpenFailed ? "Error opening comm port. Port already in use?"
                                                         : "Error opening comm port.",
                               MsgIcon::Information,
                               {}});
        return false;
    }
    const std::string frame = BuildFrame(id, data);
    const std::string check = ChecksumCharacters(FrameSum(id, data));
    bool acknowledged = false;
    try {
        for (int n = 0; n < kTransmitAttempts && !acknowledged; ++n) acknowledged = attempt(frame, check);
    } catch (const ECommError&) {
        try {
            port_.Close();
        } catch (const ECommError&) {
        }
        throw;
    }
    port_.Close();
    return acknowledged;
}

}  // namespace zrv::ota
