#pragma once
/// \file
/// What the transfer commands of zrv41k-cli share: the --port and --trace
/// options, the link over the real serial line, status lines on stdout and
/// messages on stderr, and the release of the board at the end.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_notifier.h"
#include "cli/command.h"
#include "cli/log_cli.h"
#include "link/frame_trace.h"
#include "link/programmer_link.h"
#include "link/qt_serial_line.h"

namespace zrv::cli {

/// Options every transfer command takes.
struct LinkOptions {
    std::vector<std::string> ports;  ///< --port PATH, repeatable, in order
    std::string trace;               ///< --trace FILE
    LogOptions log;                  ///< --log-db, --no-log
};

/// Takes --port, --trace and the log's options out of \p args (the rest stays in \p args, in
/// order); false with \p error set when one lacks its value.
bool TakeLinkOptions(std::vector<std::string>& args, LinkOptions& options, std::string& error);

/// The preamble of a transfer command on one table file: TakeLinkOptions,
/// then exactly one word left, which names the file (a word starting with
/// '-' does not). Returns the usage error's text, \p missing when no word is
/// left or "unexpected argument 'LAST'", or nothing with \p file set.
std::optional<std::string> TakeLinkArguments(const std::vector<std::string>& args, LinkOptions& options,
                                             const std::string& missing, std::string& file);

/// Help text lines for the shared options.
extern const char* const kLinkOptionsHelp;

/// Prints result texts ("Write Success!") on stdout, nothing while busy.
class ConsoleSink : public link::LinkSink {
public:
    void status(const Message& text, bool busy) override;
    void verifyDifferences(const std::string& text) override { differences = text; }
    /// Records the operation in the programming log.
    void operationEnded(const OperationFacts& facts) override;
    std::string differences;
    OperationLogger* logger = nullptr;
};

/// The link as a command uses it. The board is released when it goes.
class LinkSession {
public:
    /// \p answerYes answers the questions of a transfer (Msg10).
    LinkSession(const LinkOptions& options, bool answerYes);
    ~LinkSession();

    /// False (after telling stderr) when the trace file cannot be opened.
    bool ready() const { return ready_; }
    /// Finds the board; when there is none, tells why (TellNoBoard).
    bool findBoard();

    link::ProgrammerLink& link() { return *link_; }
    ConsoleSink& sink() { return sink_; }
    StderrNotifier& notifier() { return notifier_; }
    /// The table file the command reads or writes, for the log's records.
    void setTableFile(const std::string& path) { logger_.setTableFile(path); }
    /// The customer and the note the log keeps with the next records.
    void setLogCustomerAndNote(std::string customer, std::string note) {
        logger_.setCustomerAndNote(std::move(customer), std::move(note));
    }
    /// The serial line the link uses (the connection check probes over it).
    link::QtSerialLine& line() { return line_; }

private:
    link::QtSerialLine line_;
    StderrNotifier notifier_;
    OperationLogger logger_;
    ConsoleSink sink_;
    std::unique_ptr<link::FrameTrace> trace_;
    std::unique_ptr<link::ProgrammerLink> link_;
    bool ready_ = true;
};

/// Tells why the last probe of \p link found no board: Msg7 when a port
/// opened and did not answer (or there was no port), and for the ports
/// that could not be opened, why ("no such device: /dev/ttyUSB9").
void TellNoBoard(const link::ProgrammerLink* link, Notifier& notifier);

/// Opens \p path for a write or a verify as File > Open does in a program
/// that has just started (a short file is completed from the start-up
/// image), with the values the window's refresh forces. False, after
/// telling \p notifier why, when the file is refused.
bool OpenTableForTransfer(const std::string& path, ConfigImage& image, Notifier& notifier);

/// Prints what a failed verify of \p link found, when it found anything:
/// the differing addresses (":3E1:1246"), then one line per differing
/// field and per run of bytes no field shows, as `diff --fields` prints
/// them (the image's value first, the pager's second).
void PrintDifferences(const link::ProgrammerLink& link);

}  // namespace zrv::cli
