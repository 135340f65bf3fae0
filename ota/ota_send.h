#pragma once
/// \file
/// The send sequence of the OTA window: the time message, the control ID
/// check, every checked command type and the last command, repeated, with
/// the log lines the window prints. The window (and the command line) fill
/// OtaWindowFields, call Send or View and print the lines they get.

#include <functional>
#include <string>

#include "core/image.h"
#include "core/notifier.h"
#include "core/pager_operation.h"
#include "ota/encoder_link.h"
#include "ota/ota_command.h"

namespace zrv::ota {

/// How a send ended.
enum class SendResult {
    Success,        ///< "Transmit Success !" was shown
    TransmitError,  ///< "Transmit Error !" was shown
    Stopped,        ///< stopped before the end with its own message (repeat
                    ///< count, control ID, conversion error); no result message
};

/// True for a send that went on the air, which the programming log records
/// (a View sends nothing; a send its own checks stopped sent nothing).
constexpr bool SendIsRecorded(SendResult result) { return result != SendResult::Stopped; }

/// What the programming log records of a send that ended with \p result on
/// the encoder at \p port: \p psn, the public serial number its header
/// addressed first, and \p image, the configuration it was built from
/// (null when there was none).
OperationFacts SendFacts(SendResult result, const std::string& port, const std::string& psn,
                         const ConfigImage* image);

/// Runs sends over one builder and one encoder link.
class OtaSender {
public:
    /// Receives each log line as the window prints it.
    using LogLine = std::function<void(const std::string&)>;
    /// Called after each command of \p type is built, so the window can
    /// refresh the main window (type 1) or its prompt fields (types 3..17).
    using AfterCommand = std::function<void(int type)>;

    OtaSender(OtaBuilder& builder, EncoderLink& link, Notifier& notifier);

    /// Send: builds and transmits everything the window's fields name.
    /// Writes edtPSN back (incremented between repetitions with "Auto
    /// Increase PSN") and, for types 1 and 3..17, the image.
    SendResult Send(OtaWindowFields& window, const OtaMainFields& main, const OtaAlertFields& alert,
                    ConfigImage& image, const LogLine& log, const AfterCommand& after = {});
    /// View: the same with the transmit flag cleared, so nothing is sent
    /// and the second fill is left out; the flag is set again afterwards.
    SendResult View(OtaWindowFields& window, const OtaMainFields& main, const OtaAlertFields& alert,
                    ConfigImage& image, const LogLine& log, const AfterCommand& after = {});

    /// True while a send runs; a second one is refused meanwhile.
    bool busy() const { return busy_; }

    /// Asked after every frame: when it answers true (the window was closed
    /// meanwhile), the send ends there with "Transmit Error !".
    std::function<bool()> cancelled;
    /// Called once the repetition count is accepted, before anything is
    /// built: the window clears its log then.
    std::function<void()> started;

private:
    SendResult run(OtaWindowFields& window, const OtaMainFields& main, const OtaAlertFields& alert,
                   ConfigImage& image, const LogLine& log, const AfterCommand& after);
    bool sendCommand(int type, bool last, OtaWindowFields& window, const OtaMainFields& main,
                     const OtaAlertFields& alert, ConfigImage& image, const LogLine& log,
                     const AfterCommand& after, bool& built);
    void setTransmitFlag(bool on);
    bool stopRequested() const;

    OtaBuilder& builder_;
    EncoderLink& link_;
    Notifier& notifier_;
    bool busy_ = false;
};

}  // namespace zrv::ota
