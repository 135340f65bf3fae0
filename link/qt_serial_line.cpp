#include "link/qt_serial_line.h"

#include <QSerialPort>

#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace zrv::link {

std::string PortPermissionRefusal(const std::string& port) {
    return "no permission to open " + port +
           ": add your user to the dialout group (sudo usermod -aG dialout $USER) and log in again";
}

std::string PortMissingRefusal(const std::string& port) { return "no such device: " + port; }

std::string PortBusyRefusal(const std::string& port) {
    return "another program is using " + port + " (close it, then try again)";
}

namespace {

// Why \p port could not be opened. QSerialPort reports a port that another
// program holds (its lock file, or an exclusive open) as a permission
// error, like a device the user may not open: the device's own access
// rights tell the two apart.
std::string refusalOf(const QSerialPort& serial, const std::string& port) {
    std::error_code ec;
    if (serial.error() == QSerialPort::DeviceNotFoundError || !std::filesystem::exists(port, ec))
        return PortMissingRefusal(port);
    if (serial.error() == QSerialPort::PermissionError) {
        if (::access(port.c_str(), R_OK | W_OK) != 0 && errno == EACCES) return PortPermissionRefusal(port);
        return PortBusyRefusal(port);
    }
    return "cannot open " + port + ": " + serial.errorString().toStdString();
}

}  // namespace

QtSerialLine::QtSerialLine() : port_(std::make_unique<QSerialPort>()) {}

QtSerialLine::~QtSerialLine() {
    if (port_->isOpen()) port_->close();
}

int QtSerialLine::open(const std::string& port) {
    if (port_->isOpen()) port_->close();
    port_->setPortName(QString::fromStdString(port));
    port_->clearError();
    refusal_.clear();
    if (port_->open(QIODevice::ReadWrite)) return 0;
    refusal_ = refusalOf(*port_, port);
    return -1;
}

int QtSerialLine::setLineParameters() {
    if (!port_->isOpen()) return -1;
    const bool ok = port_->setBaudRate(QSerialPort::Baud9600) &&
                    port_->setDataBits(QSerialPort::Data8) &&
                    port_->setParity(QSerialPort::NoParity) &&
                    port_->setStopBits(QSerialPort::OneStop) &&
                    port_->setFlowControl(QSerialPort::NoFlowControl);
    return ok ? 0 : -1;
}

int QtSerialLine::close() {
    if (!port_->isOpen()) return -1;
    const bool wasFailed = failed();
    port_->close();
    port_->clearError();
    return wasFailed ? -1 : 0;
}

int QtSerialLine::status() { return port_->isOpen() ? 0 : -1; }

bool QtSerialLine::failed() const {
    const auto e = port_->error();
    return e != QSerialPort::NoError && e != QSerialPort::TimeoutError;
}

bool QtSerialLine::collect() {
    if (!port_->isOpen() || failed()) return false;
    // A zero wait only polls the descriptor: it never blocks.
    port_->waitForReadyRead(0);
    return !failed();
}

int QtSerialLine::flush() {
    if (!collect()) return -1;
    port_->clear(QSerialPort::AllDirections);
    port_->readAll();
    return failed() ? -1 : 0;
}

int QtSerialLine::send(const std::uint8_t* data, std::size_t length) {
    if (!port_->isOpen() || failed()) return -1;
    const auto written = port_->write(reinterpret_cast<const char*>(data),
                                      static_cast<qint64>(length));
    if (written != static_cast<qint64>(length)) return -1;
    // Hand the frame to the driver now; the board sees it while we wait.
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(2000)) return -1;
    }
    return failed() ? -1 : static_cast<int>(length);
}

int QtSerialLine::receivedCount() {
    if (!collect()) return -1;
    return static_cast<int>(port_->bytesAvailable());
}

int QtSerialLine::read(std::uint8_t* data, std::size_t length) {
    if (!port_->isOpen() || failed()) return -1;
    const auto got = port_->read(reinterpret_cast<char*>(data), static_cast<qint64>(length));
    return got < 0 || failed() ? -1 : static_cast<int>(got);
}

int QtSerialLine::readByte() {
    if (!collect()) return -1;
    char c = 0;
    if (port_->read(&c, 1) != 1) return -1;
    return static_cast<unsigned char>(c);
}

bool QtSerialLine::waitForBytes(int milliseconds) {
    if (!port_->isOpen() || failed()) return false;
    if (port_->bytesAvailable() > 0 && milliseconds <= 0) return true;
    return port_->waitForReadyRead(milliseconds < 0 ? 0 : milliseconds);
}

}  // namespace zrv::link
