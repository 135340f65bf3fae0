#include "ota/comm_port.h"

#include <poll.h>

#include <cerrno>

#include <QSerialPort>

namespace zrv::ota {

namespace {
/// Driver queue sizes the encoder link asks for.
constexpr qint64 kInputQueueBytes = 32768;
/// The longest a single blocking read or write may take before it counts
/// as failed; the encoder answers within milliseconds.
constexpr int kBlockingCallMs = 5000;
}  // namespace

ECommError::ECommError(std::uint8_t code) : code(code), systemError(errno) {}

TCommPort::TCommPort() = default;

TCommPort::~TCommPort() {
    if (open_ && port_) port_->close();
}

void TCommPort::Setup(std::uint32_t baudRate, const std::string& portName, int mode) {
    switch (mode) {
    case 0:
        dataBits_ = 7;
        parity_ = CommParity::Even;
        stopBits_ = 2;
        break;
    case 1:
        dataBits_ = 8;
        parity_ = CommParity::None;
        stopBits_ = 1;
        break;
    default:
        dataBits_ = 8;
        parity_ = CommParity::None;
        stopBits_ = 2;
        break;
    }
    Close();
    SetBaudRate(baudRate);
    SetPortName(portName);
    Open();
}

bool TCommPort::applyLineSettings() {
    bool ok = port_->setBaudRate(static_cast<qint32>(baudRate_));
    ok = port_->setDataBits(dataBits_ == 7 ? QSerialPort::Data7 : QSerialPort::Data8) && ok;
    ok = port_->setParity(parity_ == CommParity::Even ? QSerialPort::EvenParity : QSerialPort::NoParity) && ok;
    ok = port_->setStopBits(stopBits_ == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) && ok;
    ok = port_->setFlowControl(QSerialPort::NoFlowControl) && ok;
    return ok;
}

void TCommPort::Open() {
    if (open_) return;
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(QString::fromStdString(portName_));
    errno = 0;
    if (!port_->open(QIODevice::ReadWrite)) {
        const int err = errno;
        port_.reset();
        throw ECommError(kCommOpenFailed, err);
    }
    if (!applyLineSettings()) {
        const int err = errno;
        port_->close();
        port_.reset();
        throw ECommError(kCommSetStateFailed, err);
    }
    // DTR and RTS on, as the encoder expects; a line without modem control
    // (a pseudo-terminal) has nothing to switch, which is not a failure.
    port_->setDataTerminalReady(true);
    port_->setRequestToSend(true);
    port_->clearError();
    port_->setReadBufferSize(kInputQueueBytes);
    open_ = true;
}

void TCommPort::Close() {
    if (!open_) return;
    port_->close();
    if (port_->isOpen()) throw ECommError(kCommCloseFailed);
    port_.reset();
    open_ = false;
}

void TCommPort::SetBaudRate(std::uint32_t rate) {
    const std::uint32_t previous = baudRate_;
    baudRate_ = rate;
    if (!open_) return;
    if (!port_->setBaudRate(static_cast<qint32>(rate))) {
        const int err = errno;
        baudRate_ = previous;
        port_->setBaudRate(static_cast<qint32>(previous));
        port_->clearError();
        throw ECommError(kCommBadBaudRate, err);
    }
}

void TCommPort::SetPortName(const std::string& name) {
    if (open_) throw ECommError(kCommPortOpen, 0);
    portName_ = name;
}

void TCommPort::Write(const std::uint8_t* buffer, std::size_t count) {
    if (!open_) throw ECommError(kCommNotOpen, 0);
    if (count == 0 || buffer == nullptr) return;
    const qint64 written = port_->write(reinterpret_cast<const char*>(buffer), static_cast<qint64>(count));
    if (written < 0) throw ECommError(kCommWriteFailed);
    // One blocking call: return only once the bytes have left for the driver.
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(kBlockingCallMs)) throw ECommError(kCommWriteFailed);
    }
}

std::uint8_t TCommPort::ReadByte() {
    if (!open_) throw ECommError(kCommNotOpen, 0);
    if (port_->bytesAvailable() == 0 && !port_->waitForReadyRead(kBlockingCallMs))
        throw ECommError(kCommReadFailed);
    char c = 0;
    if (port_->read(&c, 1) != 1) throw ECommError(kCommReadFailed);
    return static_cast<std::uint8_t>(c);
}

std::size_t TCommPort::BytesWaiting() {
    if (!open_) throw ECommError(kCommNotOpen, 0);
    if (port_->bytesAvailable() == 0) port_->waitForReadyRead(0);
    if (port_->error() == QSerialPort::ResourceError) throw ECommError(kCommStatusFailed);
    // Any pending line error is cleared along with reading the status.
    port_->clearError();
    return static_cast<std::size_t>(port_->bytesAvailable());
}

bool TCommPort::WaitForBytes(int ms) {
    if (!open_) throw ECommError(kCommNotOpen, 0);
    if (port_->bytesAvailable() > 0) return true;
    // Sleep in poll() on the device itself, so that a line that hangs up
    // while we wait (a cable pulled, the far end gone) is seen at once.
    pollfd p{static_cast<int>(port_->handle()), POLLIN, 0};
    const int r = ::poll(&p, 1, ms);
    if (r < 0 && errno != EINTR) throw ECommError(kCommStatusFailed);
    if (r > 0 && (p.revents & POLLIN)) port_->waitForReadyRead(0);
    // Bytes that arrived before a hang-up are still read; after them it fails.
    const bool hungUp = r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
    if ((hungUp && port_->bytesAvailable() == 0) || port_->error() == QSerialPort::ResourceError)
        throw ECommError(kCommStatusFailed, EIO);
    port_->clearError();
    return port_->bytesAvailable() > 0;
}

void TCommPort::Purge() {
    if (!open_) throw ECommError(kCommNotOpen, 0);
    const bool rx = port_->clear(QSerialPort::Input);
    const bool tx = port_->clear(QSerialPort::Output);
    if (!rx || !tx) throw ECommError(kCommPurgeFailed);
}

int TCommPort::NativeHandle() const {
    return open_ ? static_cast<int>(port_->handle()) : -1;
}

}  // namespace zrv::ota
