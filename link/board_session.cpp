#include "link/board_session.h"

#include <QCoreApplication>
#include <QTimer>

#include "link/link_messages.h"
#include "link/programming_session.h"
#include "link/qt_serial_line.h"

namespace zrv::link {

namespace {
constexpr int kPollInterval = 3000;
}

BoardSession::BoardSession(Notifier& notifier, QObject* parent)
    : QObject(parent), notifier_(notifier), line_(std::make_unique<QtSerialLine>()), forwarder_(*this),
      view_(SystemView::ThisProcess()) {
    link_ = std::make_unique<ProgrammerLink>(*line_, notifier_, [] { QCoreApplication::processEvents(); },
                                             &forwarder_);
    link_->setTiming(LinkTimingFromEnvironment());
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kPollInterval);
    connect(timer1_, &QTimer::timeout, this, &BoardSession::Timer1Timer);
}

BoardSession::~BoardSession() = default;

void BoardSession::setPortOverride(std::vector<std::string> ports) {
    if (ports.empty()) return;
    portOverride_ = ports;
    link_->setPortOverride(std::move(ports));
}

void BoardSession::setFrequencyRecheck(FrequencyRecheck recheck) { link_->setFrequencyRecheck(std::move(recheck)); }

FrequencyRecheck BoardSession::frequencyRecheck() const { return link_->frequencyRecheck(); }

const std::optional<std::string>& BoardSession::boardPort() const { return link_->BoardPort; }

bool BoardSession::probingAtStartUp() const { return probingAtStartUp_; }

// Probe and polling -------------------------------------------------------------------------

void BoardSession::probeAtStartUp() {
    beginPortUse();
    probingAtStartUp_ = true;
    const bool found = link_->ProbeBoard();
    tellBoardState(found, true);
    probingAtStartUp_ = false;
    // A board that was looked for and stayed silent is told as it always
    // was; a port that is missing, busy or not allowed is told in the status
    // line, with the connection check offered instead of that message.
    if (!found) {
        if (reason_ && CallsForConnectionCheck(*reason_))
            emit connectionCheckOffered();
        else
            notifier_.show(msg::BoardNotResponding());
    }
    polling_ = true;
    endPortUse();
}

void BoardSession::Timer1Timer() {
    if (portInUse_) return;  // the timer is off while the port is in use; a late tick waits
    beginPortUse();
    pollWhileHeld();
    endPortUse();
}

void BoardSession::pollWhileHeld() {
    const bool probes = !link_->BoardPort;  // with a board known, a poll only looks for its port
    tellBoardState(link_->PollBoard(), probes);
}

void BoardSession::tellBoardState(bool connected, bool explain) {
    reason_.reset();
    if (!connected && explain) reason_ = WhyNoBoard(view_, *link_, !portOverride_.empty());
    emit boardStateChanged(connected, connected ? QString() : QString::fromStdString(link_->PortRefusal));
}

std::vector<Finding> BoardSession::checkConnection() {
    beginPortUse();
    ConnectionFacts facts = GatherConnectionFacts(view_, CandidatePorts(view_, portOverride_), !portOverride_.empty());
    ProbeForCheck(*line_, view_, LinkTimingFromEnvironment(), [] { QCoreApplication::processEvents(); }, false, facts);
    pollWhileHeld();
    endPortUse();
    return AssessConnection(facts);
}

// Practice ------------------------------------------------------------------------------------

void BoardSession::usePracticeBoard(const std::string& port) {
    practice_ = true;
    setPortOverride({port});
    if (!polling_) return;  // the start-up probe finds it
    beginPortUse();
    if (link_->BoardPort) link_->BoardControl(BoardCommand::Release);
    link_->BoardPort.reset();
    tellBoardState(link_->ProbeBoard(), true);
    endPortUse();
}

// The port lock -----------------------------------------------------------------------------

void BoardSession::beginPortUse() {
    portInUse_ = true;
    timer1_->stop();
}

void BoardSession::endPortUse() {
    if (polling_) timer1_->start();
    portInUse_ = false;
    if (closePending_) {
        closePending_ = false;
        emit closeMayProceed();
    }
}

bool BoardSession::closeWaitsForPort() {
    // The window closes (and releases the board) once the exchange on the
    // port has ended, never in the middle of it.
    if (!portInUse_) return false;
    closePending_ = true;
    return true;
}

void BoardSession::release() {
    timer1_->stop();
    if (link_->BoardPort) link_->BoardControl(BoardCommand::Release);
}

// The pager last seen -----------------------------------------------------------------------

bool BoardSession::firmwareUnknown() const { return link_->FirmwareUnknown; }

bool BoardSession::keepsPagerSerial() const { return link_->KeepPagerSerial; }

void BoardSession::setKeepPagerSerial(bool keep) { link_->KeepPagerSerial = keep; }

// Transfers ---------------------------------------------------------------------------------

bool BoardSession::read(ConfigImage& image, int& capcodeCount) {
    return ProgramRead(*link_, forwarder_, image, capcodeCount);
}

WriteOutcome BoardSession::write(ConfigImage& image) { return ProgramWrite(*link_, forwarder_, image); }

bool BoardSession::verify(const ConfigImage& image) { return ProgramVerify(*link_, forwarder_, image); }

void BoardSession::cancelTransfer() { link_->RequestCancel(); }

std::unique_ptr<RepeatedWrite> BoardSession::repeatedWrite(ConfigImage& image, int page) {
    return std::make_unique<RepeatedWrite>(*link_, forwarder_, notifier_, image, autoIncrease_.first,
                                           autoIncrease_.second, page);
}

// What the link reports -----------------------------------------------------------------------

void BoardSession::Forwarder::status(const Message& text, bool busy) {
    if (target) target->status(text, busy);
}

void BoardSession::Forwarder::progressRange(int first, int last) {
    if (target) target->progressRange(first, last);
}

void BoardSession::Forwarder::progress(int position) {
    if (target) target->progress(position);
}

void BoardSession::Forwarder::boardDisconnected() { emit session.boardLost(); }

void BoardSession::Forwarder::firmwareText(const std::string& text) {
    emit session.firmwareTextChanged(QString::fromStdString(text));
}

void BoardSession::Forwarder::verifyDifferences(const std::string& text) {
    emit session.verifyDifferencesFound(QString::fromStdString(text));
}

void BoardSession::Forwarder::operationEnded(const OperationFacts& facts) { emit session.operationEnded(facts); }

ImageComparison BoardSession::verifyComparison() const { return link_->VerifyComparison(); }

}  // namespace zrv::link
