#pragma once
/// \file
/// The OTA command builder: header, type byte, every payload, CRC, fills,
/// encipherment and data string, and the separate time message.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "core/image.h"
#include "core/notifier.h"
#include "ota/bit_stream.h"
#include "ota/ota_inputs.h"

namespace zrv::ota {

/// Command types that are not the plain Tag + 1 of their check box.
inline constexpr int kTypeRawData = 254;
inline constexpr int kTypeLast = 255;

/// True for the types 6-9 and 13-16: they would need prompt fields 44..59,
/// which the main window does not have, so they are never built.
bool IsUnofferedType(int type);
/// The command type of the check box with \p tag (Tag + 1; Tag 17 is 254).
int TypeOfTag(int tag);

/// The current local time: the builder's clock, the window's time field and
/// the command line's default time message.
std::tm LocalNow();

/// The message of a text that does not convert to a number.
Message ConversionErrorMessage(const std::string& text);

/// Builds OTA commands into one bit stream. Keeps the numbers that live
/// between commands for the whole process: the package number, the batch
/// number and the current OTA type, and the transmit flag (cleared while
/// the user only views commands, which leaves out the second fill).
class OtaBuilder {
public:
    /// The current local time; replaceable so tests can fix the clock.
    using Clock = std::function<std::tm()>;

    explicit OtaBuilder(Notifier& notifier);

    /// Builds one command of \p type: BuildHeader, the type byte, the
    /// payload, FinishCommand. Types 1 and 3..17 write their display codes or
    /// prompts back into \p image. On a conversion error (or a type that is
    /// not offered) the message is shown, \p image is left as it was and the
    /// result is false.
    bool BuildCommand(int type, const OtaWindowFields& window, const OtaMainFields& main,
                      const OtaAlertFields& alert, ConfigImage& image);
    /// Builds the time message from edtDate; it has no header, CRC or fill.
    void BuildTimeMessage(const OtaWindowFields& window);
    /// The line the window prints for the time message.
    std::string TimeMessageLine(const OtaWindowFields& window) const;

    std::uint8_t packageNumber = 0;  ///< written by every header, then incremented
    std::uint8_t batchNumber = 0;    ///< written by every header; steps after type 255
    int currentType = 0;             ///< the type being built, for the header text
    bool transmitFlag = true;        ///< cleared while View runs
    std::string headerText;          ///< cleared by the send sequence before each command

    const BitStream& stream() const { return stream_; }
    /// The data string of the last command or time message.
    const std::string& dataString() const { return dataString_; }
    void setClock(Clock clock) { clock_ = std::move(clock); }

private:
    void BuildHeader(const OtaWindowFields& window);
    void FinishCommand(const OtaWindowFields& window);
    void AppendSerialNumber(std::uint32_t psn);
    void BuildCapcodes(const OtaMainFields& main, ConfigImage& image);
    void BuildOptionSet(const OtaWindowFields& window, const OtaMainFields& main,
                        const OtaAlertFields& alert);
    void BuildSourcePrompts(int type, const OtaMainFields& main, ConfigImage& image);
    void BuildLogoPrompt(const OtaMainFields& main, ConfigImage& image);
    void AppendPrompt(const PromptField& field, ConfigImage& image);
    void BuildRawData(const OtaWindowFields& window);
    void BuildLastCommand(const OtaWindowFields& window);

    Notifier& notifier_;
    Clock clock_;
    BitStream stream_;
    std::string dataString_;
};

}  // namespace zrv::ota
