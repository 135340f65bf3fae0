#pragma once
/// \file
/// The programmer board as the windows share it: the serial line and the
/// link over it, the board polling `Timer1`, the lock that keeps one user
/// on the port at a time (a close of the window waits for it), the start-up
/// probe, what is known of the pager last seen, the auto-increase of the
/// next write, and the transfers the programming window runs. It tells the
/// windows what happens by signals; nothing outside the link reaches the
/// ProgrammerLink itself.

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/board_facts.h"
#include "core/image.h"
#include "core/notifier.h"
#include "link/connection_check.h"
#include "link/programmer_link.h"

class QTimer;

namespace zrv::link {

class QtSerialLine;
class RepeatedWrite;

class BoardSession : public QObject, public BoardFacts {
    Q_OBJECT
public:
    /// Messages go to \p notifier; every wait of the link keeps the
    /// application's events running.
    explicit BoardSession(Notifier& notifier, QObject* parent = nullptr);
    ~BoardSession() override;

    // --- Configuration -----------------------------------------------------
    /// Ports given by the user (--port); when not empty they replace discovery.
    void setPortOverride(std::vector<std::string> ports);
    /// The frequency check a write runs once it knows the pager's firmware.
    void setFrequencyRecheck(FrequencyRecheck recheck);
    FrequencyRecheck frequencyRecheck() const;
    /// Who asks and where the system's files are, for the reasons a probe
    /// finds no board (default: this process and the real system).
    void setSystemView(SystemView view) { view_ = std::move(view); }

    // --- The board and its polling -------------------------------------------
    /// The board's port, or none.
    const std::optional<std::string>& boardPort() const;
    /// True while the start-up probe runs (then a missing board is told).
    bool probingAtStartUp() const;
    /// Probes once for the board, tells its state and starts the polling.
    void probeAtStartUp();
    /// One tick of `Timer1`: the board's state is told again. A tick that
    /// comes while the port is in use waits for the next one.
    void Timer1Timer();
    /// A poll while the port is held for a transfer that waits for the user.
    void pollWhileHeld();
    /// The board polling timer `Timer1` (3000 ms; runs from the start-up probe on).
    QTimer* pollTimer() const { return timer1_; }
    /// Why the last probe found no board (the first problem the connection
    /// check sees); none after a probe that found one, and none when a known
    /// board's port went away.
    const std::optional<Finding>& noBoardReason() const { return reason_; }
    /// The connection check with the port held: facts, probe, pager; the
    /// board's state is told again afterwards.
    std::vector<Finding> checkConnection();

    // --- Practice ----------------------------------------------------------------
    /// From now on the board is the board simulator on \p port; a board
    /// known before is released and the simulator probed (at once when the
    /// polling runs, else by the start-up probe).
    void usePracticeBoard(const std::string& port);
    /// True once the board is the simulator: nothing reaches a real pager,
    /// and records of this run are practice.
    bool practice() const { return practice_; }

    // --- The port lock -------------------------------------------------------
    /// True while a poll or a transfer uses the serial port.
    bool portInUse() const { return portInUse_; }
    /// Holds the port: the polling stops until endPortUse().
    void beginPortUse();
    /// Frees the port: the polling goes on, and a close that waited for the
    /// port is asked for again (closeMayProceed).
    void endPortUse();
    /// True when a close must wait for the port; it is then remembered.
    bool closeWaitsForPort();
    /// The window closes: the polling ends and a known board is released.
    void release();

    // --- The pager last seen and the next write --------------------------------
    bool firmwareUnknown() const override;
    CapcodeAutoIncrease autoIncrease() const override { return autoIncrease_; }
    void setAutoIncrease(CapcodeAutoIncrease increase) override { autoIncrease_ = increase; }
    /// False for a write that puts the image's own serial number into the
    /// pager (a scanned serial number) instead of the pager's.
    bool keepsPagerSerial() const;
    void setKeepPagerSerial(bool keep);

    // --- Transfers -------------------------------------------------------------
    /// Status lines and progress of the transfers go to \p sink (nullptr: nowhere).
    void setProgressSink(LinkSink* sink) { forwarder_.target = sink; }
    /// Clears the firmware text (a transfer starts).
    void clearFirmwareText() { emit firmwareTextChanged(QString()); }
    /// Read: the pager into \p image (see ProgramRead).
    bool read(ConfigImage& image, int& capcodeCount);
    /// Single-shot write of \p image with its verify (see ProgramWrite).
    WriteOutcome write(ConfigImage& image);
    /// Verify of \p image as a write of it would leave the pager (see ProgramVerify).
    bool verify(const ConfigImage& image);
    /// The user's Cancel: the read, write or verify under way stops before
    /// its next block and closes the port (see ProgrammerLink::RequestCancel).
    void cancelTransfer();
    /// The last verify's differences by field (also a write's own verify).
    ImageComparison verifyComparison() const;
    /// The repeated write of \p image with the auto-increase of now, raising
    /// the capcodes of capcode page \p page.
    std::unique_ptr<RepeatedWrite> repeatedWrite(ConfigImage& image, int page);

signals:
    /// The board's state after a probe or a poll; \p portRefusal says why
    /// ports could not be opened (empty when every candidate opened).
    void boardStateChanged(bool connected, const QString& portRefusal);
    /// The board was lost during a transfer.
    void boardLost();
    /// The start-up probe found no board for a reason the connection check
    /// explains (noBoardReason): the check is to be offered.
    void connectionCheckOffered();
    /// The pager's firmware ("FirmVer : 1.2"; empty clears it).
    void firmwareTextChanged(const QString& text);
    /// The differing addresses of a verify (":3E1:1246"; empty when all agreed).
    void verifyDifferencesFound(const QString& text);
    /// The port is free again after a close had to wait for it.
    void closeMayProceed();
    /// A transfer (a read, write, verify or one repeated-write cycle) has
    /// ended: what the programming log records of it.
    void operationEnded(const zrv::OperationFacts& facts);

private:
    /// Passes the link's reports on: progress and status to the transfer's
    /// view, the rest as the session's signals.
    struct Forwarder : LinkSink {
        explicit Forwarder(BoardSession& session) : session(session) {}
        void status(const Message& text, bool busy) override;
        void progressRange(int first, int last) override;
        void progress(int position) override;
        void boardDisconnected() override;
        void firmwareText(const std::string& text) override;
        void verifyDifferences(const std::string& text) override;
        void operationEnded(const OperationFacts& facts) override;
        BoardSession& session;
        LinkSink* target = nullptr;
    };

    /// Tells the board's state; with \p explain (a probe was made) a
    /// missing board's reason is looked for first.
    void tellBoardState(bool connected, bool explain);

    Notifier& notifier_;
    std::unique_ptr<QtSerialLine> line_;
    Forwarder forwarder_;
    std::unique_ptr<ProgrammerLink> link_;
    QTimer* timer1_ = nullptr;
    bool polling_ = false;       ///< Timer1 runs: the start-up probe has been made
    bool portInUse_ = false;     ///< a poll or a transfer holds the port
    bool closePending_ = false;  ///< a close came while the port was in use
    bool probingAtStartUp_ = false;
    bool practice_ = false;
    std::vector<std::string> portOverride_;
    SystemView view_;
    std::optional<Finding> reason_;
    CapcodeAutoIncrease autoIncrease_;
};

}  // namespace zrv::link
