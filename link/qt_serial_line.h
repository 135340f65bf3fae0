#pragma once
/// \file
/// The serial line on QSerialPort: the USB-serial adapter of the programmer
/// board (or a pseudo-terminal of the board simulator).

#include <memory>

#include "link/serial_line.h"

class QSerialPort;

namespace zrv::link {

class QtSerialLine : public SerialLine {
public:
    QtSerialLine();
    ~QtSerialLine() override;

    int open(const std::string& port) override;
    int setLineParameters() override;
    int close() override;
    int status() override;
    int flush() override;
    int send(const std::uint8_t* data, std::size_t length) override;
    int receivedCount() override;
    int read(std::uint8_t* data, std::size_t length) override;
    int readByte() override;
    bool waitForBytes(int milliseconds) override;
    std::string openRefusal() const override { return refusal_; }

private:
    /// Moves what the driver holds into the port's buffer; false when the
    /// line has failed (the adapter is gone).
    bool collect();
    bool failed() const;

    std::unique_ptr<QSerialPort> port_;
    std::string refusal_;
};

}  // namespace zrv::link
