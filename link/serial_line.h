#pragma once
/// \file
/// The serial line to the programmer board, with the roles and result
/// conventions that the board protocol relies on: 0 or a non-negative count
/// for success, a negative number for a failure of the line itself (an
/// adapter that vanished, a port that is not open).

#include <cstddef>
#include <cstdint>
#include <string>

namespace zrv::link {

/// The message for a port the user may not open: the device and the group.
std::string PortPermissionRefusal(const std::string& port);
/// The message for a port that does not exist.
std::string PortMissingRefusal(const std::string& port);
/// The message for a port that another program holds.
std::string PortBusyRefusal(const std::string& port);

/// One serial port, opened and closed around each exchange with the board.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    /// Opens \p port (a device path such as /dev/ttyUSB0); 0 = opened.
    virtual int open(const std::string& port) = 0;
    /// Sets 9600 baud, 8 data bits, no parity, 1 stop bit; 0 = accepted.
    virtual int setLineParameters() = 0;
    /// Closes the port; negative = failure.
    virtual int close() = 0;
    /// Negative when the port is not open, zero or positive when it is.
    virtual int status() = 0;
    /// Discards what is waiting in both directions; negative = failure.
    virtual int flush() = 0;
    /// Sends \p length bytes; negative = failure.
    virtual int send(const std::uint8_t* data, std::size_t length) = 0;
    /// Number of received bytes waiting; negative = failure.
    virtual int receivedCount() = 0;
    /// Copies \p length waiting bytes into \p data; negative = failure.
    virtual int read(std::uint8_t* data, std::size_t length) = 0;
    /// The next received byte (0..255), or a negative number when none waits.
    virtual int readByte() = 0;
    /// Sleeps until more bytes arrive or \p milliseconds pass; true when bytes
    /// arrived. Lets the protocol wait without spinning.
    virtual bool waitForBytes(int milliseconds) = 0;
    /// Why the last open was refused, for the user: no such device, another
    /// program holds it, no permission on the device (and what to do).
    virtual std::string openRefusal() const { return {}; }
};

}  // namespace zrv::link
