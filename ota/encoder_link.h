#pragma once
/// \file
/// The paging encoder link: the control ID check and the transmission of one
/// paging request (an OTA command or the time message) to the encoder.

#include <cstdint>
#include <optional>
#include <string>

#include "core/notifier.h"
#include "ota/comm_port.h"

namespace zrv::ota {

/// Frame bytes and the acknowledgement.
inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEot = 0x04;
inline constexpr std::uint8_t kAck = 0x06;
/// Line settings of the encoder port: 9600 baud, 8-N-1 (Setup mode 1).
inline constexpr std::uint32_t kEncoderBaudRate = 9600;
inline constexpr int kEncoderLineMode = 1;
/// Attempts per frame, and the empty 10 ms polls that end an attempt.
inline constexpr int kTransmitAttempts = 10;
inline constexpr int kEmptyPollsPerByte = 31;
inline constexpr int kPollMs = 10;
/// The caption of the control ID check's messages.
inline constexpr const char* kIdPinErrorCaption = "ID/PIN Error";

/// 16-bit sum of STX, the ID string and the data string.
std::uint16_t FrameSum(const std::string& id, const std::string& data);
/// The four checksum characters of \p sum: each nibble v, most significant
/// first, as the byte 0x30 + v (so 10..15 become ':' ';' '<' '=' '>' '?').
std::string ChecksumCharacters(std::uint16_t sum);
/// The whole frame: STX, ID, data, checksum characters, EOT.
std::string BuildFrame(const std::string& id, const std::string& data);

/// The control ID rules: returns the message of the first rule \p id
/// breaks, or nothing when it is a valid ID string.
std::optional<Message> ControlIdError(const std::string& id);

/// Left-pads \p id with '0' to 10 characters, as leaving the field does.
std::string PadControlId(const std::string& id);

/// Sends paging requests to the encoder, one frame per call, through the
/// process's one serial port object.
class EncoderLink {
public:
    EncoderLink(TCommPort& port, Notifier& notifier, Pump pump = {});

    /// The encoder's port (Linux counterpart of COM1 by default).
    void setPortName(const std::string& name) { portName_ = name; }
    const std::string& portName() const { return portName_; }

    /// Cleared while the user only views commands: nothing is sent.
    bool transmitFlag = true;

    /// Checks the control ID; on failure shows the rule's message (caption
    /// kIdPinErrorCaption) and returns false.
    bool ValidateControlId(const std::string& id);

    /// Sends one frame and waits for the acknowledgement, up to ten
    /// attempts. Each attempt first discards what waits on the line and
    /// finds the acknowledgement by its form, so a stray byte on the line
    /// costs at most one attempt. True when acknowledged, or at once while the transmit flag
    /// is cleared; false when the port could not be opened (after showing
    /// why) or every attempt failed. A serial port failure after the port
    /// opened closes the port and is thrown on as ECommError.
    bool TransmitToEncoder(const std::string& id, const std::string& data);

private:
    bool attempt(const std::string& frame, const std::string& check);
    bool readAckByte(std::uint8_t& byte);

    TCommPort& port_;
    Notifier& notifier_;
    Pump pump_;
    std::string portName_ = TCommPort::kDefaultPortName;
};

}  // namespace zrv::ota
