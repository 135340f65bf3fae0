#pragma once
/// \file
/// The link to the programmer board: finding the board among the serial
/// ports, the block transfers over its frame protocol, and the pager read,
/// write and verify built on them. The window, the command line and the
/// tests drive the same object; messages go through a Notifier, the window
/// is kept alive through a Pump, and progress and status go to a LinkSink.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/field_compare.h"
#include "core/image.h"
#include "core/notifier.h"
#include "core/pager_operation.h"
#include "link/board_protocol.h"
#include "link/serial_line.h"

namespace zrv::link {

/// Where the link reports what a window shows while it works. Every method
/// has an empty default, so a caller overrides only what it displays.
class LinkSink {
public:
    virtual ~LinkSink() = default;
    /// The status line: \p busy shows "  %s ......" (a transfer runs),
    /// otherwise "  %s" (a result). \p text carries key and English default.
    virtual void status(const Message& text, bool busy) { (void)text, (void)busy; }
    virtual void progressRange(int first, int last) { (void)first, (void)last; }
    virtual void progress(int position) { (void)position; }
    /// The board was lost during a transfer: the main window's status bar
    /// shows Msg53 in red and the Pager menu is disabled.
    virtual void boardDisconnected() {}
    /// The firmware label ("FirmVer : 1.2"; empty clears it).
    virtual void firmwareText(const std::string& text) { (void)text; }
    /// The differing addresses of the last verify (":3E1:1246"; empty when
    /// all agreed); the window puts them into the OTA window's memo.
    virtual void verifyDifferences(const std::string& text) { (void)text; }
    /// A read, write, verify or repeated-write cycle has ended, with
    /// success or not: what the programming log records of it.
    virtual void operationEnded(const OperationFacts& facts) { (void)facts; }
};

/// Passes messages on and remembers the last one shown (or the last
/// question answered No), so that a transfer can say what ended it.
class RememberingNotifier : public Notifier {
public:
    explicit RememberingNotifier(Notifier& target) : target_(target) {}
    void show(const Message& message) override {
        last = message;
        target_.show(message);
    }
    bool ask(const Message& message) override {
        const bool yes = target_.ask(message);
        if (!yes) last = message;
        return yes;
    }
    SaveChoice askToSave(const Message& message) override { return target_.askToSave(message); }
    std::optional<Message> last;

private:
    Notifier& target_;
};

/// Waits of the protocol. The defaults are the board's; only a simulator
/// that answers at once may be driven with a shorter read pause.
struct LinkTiming {
    std::chrono::milliseconds readPause{300};     ///< after every read request
    std::chrono::milliseconds replyWait{2000};    ///< for a whole block reply
    std::chrono::milliseconds syncWait{500};      ///< for the first reply byte
    std::chrono::milliseconds restWait{500};      ///< for the rest of a short reply
};

/// The name of the setting that shortens the read pause for a simulator.
inline constexpr const char* kReadPauseVariable = "ZRV41K_READ_PAUSE_MS";
/// The board's timing, with the read pause taken from ZRV41K_READ_PAUSE_MS
/// (0..300 ms) when it holds a number; a board simulator answers at once and
/// needs no pause, a real board needs the full 300 ms. The window and the
/// command line both start from this.
LinkTiming LinkTimingFromEnvironment();
/// The same from the setting's text (\p text is null when it is not set).
LinkTiming LinkTimingFromSetting(const char* text);

/// Direction of a traced frame.
enum class TraceDirection { Sent, Received };
/// Receives every frame the link sends and every reply it reads.
using TraceHook = std::function<void(TraceDirection, std::span<const std::uint8_t>)>;

/// Re-checks the channel frequency under the firmware rules before a write
/// (the frequency field's exit check); false when the frequency does not
/// fit the pager's raster plan, after it has told the user why.
using FrequencyRecheck = std::function<bool(ConfigImage& image, bool firmwareUnknown)>;

/// A serial device as the system lists it, for discovery.
struct SerialDevice {
    std::string path;    ///< /dev/ttyUSB0
    std::string name;    ///< ttyUSB0
    std::string driver;  ///< the kernel driver: pl2303, ftdi_sio, serial8250, ...
    bool present = true; ///< false for an on-board UART slot with no hardware
};

/// The serial devices of this machine (sysfs), unfiltered.
std::vector<SerialDevice> SystemSerialDevices();
/// The same from a tty class folder of sysfs (/sys/class/tty on this machine).
std::vector<SerialDevice> SerialDevicesUnder(const std::filesystem::path& ttyClass);
/// The probe order: devices whose driver is a serial driver, present, by the
/// number in their name; when none qualifies, the existing /dev/ttyS0 ..
/// /dev/ttyS15 (\p exists tells which exist).
std::vector<std::string> OrderPortCandidates(const std::vector<SerialDevice>& devices,
                                             const std::function<bool(const std::string&)>& exists);

/// Changes an image as reading it from a pager does (the values a read
/// forces), for a verify that must not count them as differences.
using ImageNormaliser = std::function<void(ConfigImage& image)>;

/// Which result a single-shot write ended with.
enum class WriteOutcome { Success, WriteError, VerifyError, Cancelled };

class ProgrammerLink {
public:
    ProgrammerLink(SerialLine& line, Notifier& notifier, Pump pump = {},
                   LinkSink* sink = nullptr);

    // --- Configuration -----------------------------------------------------
    /// Ports given by the user (--port); when not empty they replace discovery.
    void setPortOverride(std::vector<std::string> ports) { portOverride_ = std::move(ports); }
    void setTiming(const LinkTiming& timing) { timing_ = timing; }
    void setTrace(TraceHook hook) { trace_ = std::move(hook); }
    void setFrequencyRecheck(FrequencyRecheck recheck) { recheck_ = std::move(recheck); }
    const FrequencyRecheck& frequencyRecheck() const { return recheck_; }
    void setSink(LinkSink* sink);

    // --- Port discovery and board detection -----------------------------------
    /// Rebuilds PortCandidates.
    void DiscoverPorts();
    const std::vector<std::string>& PortCandidates() const { return candidates_; }
    /// Finds the board among the candidates, sets BoardPort and sends start.
    /// A silent candidate costs up to a second; like every wait of the link,
    /// the probe processes the window's events meanwhile (through the Pump),
    /// so its caller keeps every other user of the port away until it ends.
    bool ProbeBoard();
    /// One tick of the board polling: with no board known, probes the
    /// candidates; with a board known, only checks that its port is still
    /// there (it is not opened). True while a board is connected; a board
    /// whose port has gone is forgotten.
    bool PollBoard();
    /// Sends the start or release frame to BoardPort and checks its answer
    /// ("Programmer Initial Error!" when it does not come).
    void BoardControl(BoardCommand command);

    /// The board's port, or none.
    std::optional<std::string> BoardPort;
    /// True only while the start-up probe runs: then a missing board is told.
    bool StartupProbe = false;

    // --- Transport -------------------------------------------------------------
    /// Opens \p port at 9600 baud 8N1; closes it again when that fails.
    bool OpenPort(const std::string& port);
    /// Fetches pager addresses first..last into the pager read buffer.
    bool ReadRange(std::size_t first, std::size_t last, std::size_t blockSize);
    /// Sends image bytes first..last.
    bool WriteRange(const ConfigImage& image, std::size_t first, std::size_t last,
                    std::size_t blockSize);

    // --- Pager operations --------------------------------------------------------
    /// Reads the whole pager into \p destination; a failure leaves it as it was.
    bool ReadPager(ConfigImage& destination, std::size_t first = 0,
                   std::size_t last = kImageSize - 1);
    /// Writes \p image into the pager after the model check and AdaptToPager.
    bool WritePager(ConfigImage& image, std::size_t first = 0, std::size_t last = kImageSize - 1);
    /// What a write of \p image puts on the pager in the board now: the
    /// pager's serial number kept (or repaired, or the image's own when
    /// KeepPagerSerial is false), the pager's firmware byte with the
    /// synthesizer words for it, the write marker and the image checksum.
    /// Reads the serial number and firmware byte from the pager; false
    /// (after telling why) when they cannot be read or the frequency does
    /// not fit the firmware, and then \p image is as it was.
    bool AdaptToPager(ConfigImage& image);
    /// Compares the pager with \p image (the write marker excepted). With
    /// \p asRead both sides are first changed as a read changes them, each
    /// keeping its checksum right when it was right before, so that the
    /// values a read forces are never differences but a pager whose own
    /// checksum is wrong still is one.
    bool VerifyPager(const ConfigImage& image, std::size_t first = 0,
                     std::size_t last = kImageSize - 1, const ImageNormaliser& asRead = {});
    /// Verify of a table file: compares the pager with what a write of
    /// \p image would put on it now (AdaptToPager), \p asRead as above.
    bool VerifyWriteOf(const ConfigImage& image, const ImageNormaliser& asRead);

    /// Every byte a block read has fetched, at its image address.
    const ConfigImage& PagerBuffer() const { return pagerBuffer_; }
    /// The differing addresses of the last verify, ":3E1:1246" style.
    const std::string& VerifyDifferences() const { return differences_; }
    /// The last verify's differences by field (what the image would put on
    /// the pager against what the pager holds, both as compared, texts in
    /// the PC character set); empty when it found none or compared nothing.
    ImageComparison VerifyComparison() const;

    int FirmwareVersion = 0;
    bool FirmwareUnknown = false;
    /// When true a write keeps the serial number stored in the pager.
    bool KeepPagerSerial = true;
    /// Why the last probe could not open candidate ports (no such device,
    /// in use by another program, no permission), "; " between ports;
    /// empty when every candidate opened.
    std::string PortRefusal;
    /// The same port by port: each candidate that could not be opened, with why.
    std::vector<std::pair<std::string, std::string>> PortRefusals;
    /// True when the last probe opened at least one candidate port (which
    /// then did not answer, or was the board).
    bool ProbeOpenedAPort = false;
    /// The two bytes the board sent in its identify reply ("01 00"), which
    /// name its firmware; empty without a board.
    std::string BoardFirmware;

    /// The last message a transfer showed, or the question answered No.
    const std::optional<Message>& LastMessage() const { return notifier_.last; }
    /// Forgets it, and a cancel asked of the last transfer: a transfer starts.
    void ForgetLastMessage() {
        notifier_.last.reset();
        cancelRequested_ = Cancelled = PagerTouched = false;
    }

    /// Shows \p message as the link's own messages are shown.
    void Show(const Message& message) { notifier_.show(message); }
    /// Asks the transfer under way to stop before its next block (the user's
    /// Cancel); the link leaves the pager, closes the port and tells nothing:
    /// the caller says what the pager holds then.
    void RequestCancel() { cancelRequested_ = true; }
    /// The last transfer stopped because it was cancelled.
    bool Cancelled = false;
    /// A block of the transfer under way has gone to the pager.
    bool PagerTouched = false;

private:
    enum class Wait { Done, TimedOut, LineFailed };

    bool modelIdentityMatches(bool& matches);
    bool keepOrRepairSerial(ConfigImage& image);
    bool takeFirmware(ConfigImage& image);
    void showFirmware();

    bool sendFrame(const Bytes& frame);
    Wait waitForCount(std::size_t count, std::chrono::milliseconds limit);
    Wait syncOnReply(std::chrono::milliseconds limit);
    void sleepOnLine(std::chrono::steady_clock::time_point deadline);
    void pause(std::chrono::milliseconds length);
    bool exchangeShortReply(const Bytes& request, std::size_t rest, Bytes& reply);
    bool lineReady();
    bool failTransfer(const Message& message);
    bool disconnect(const Message& message);
    /// Ends a transfer the user cancelled, between two blocks.
    bool stopCancelled();
    void traceFrame(TraceDirection direction, std::span<const std::uint8_t> bytes);
    void status(const char* key, const char* english, bool busy);

    SerialLine& line_;
    RememberingNotifier notifier_;
    Pump pump_;
    LinkSink* sink_;
    LinkSink nullSink_;
    LinkTiming timing_;
    TraceHook trace_;
    FrequencyRecheck recheck_;
    std::vector<std::string> portOverride_;
    std::vector<std::string> candidates_;
    ConfigImage pagerBuffer_;
    std::string differences_;
    /// The two sides of the last verify that found differences: expected, pager.
    std::optional<std::pair<ConfigImage, ConfigImage>> verifiedSides_;
    bool cancelRequested_ = false;
};

}  // namespace zrv::link
