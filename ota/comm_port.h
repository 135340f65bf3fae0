#pragma once
/// \file
/// TCommPort: a small blocking wrapper around one serial port, used by the
/// paging encoder link. Every failure throws ECommError; the class itself
/// shows no messages.

#include <cstdint>
#include <memory>
#include <string>

class QSerialPort;

namespace zrv::ota {

/// Error codes carried by ECommError.
enum CommErrorCode : std::uint8_t {
    kCommBadBaudRate = 1,    ///< SetBaudRate: the open port refused the rate
    kCommPortOpen = 6,       ///< SetPortName: the port is open
    kCommNotOpen = 7,        ///< Write, ReadByte, BytesWaiting, Purge on a closed port
    kCommOpenFailed = 8,     ///< Open: the device could not be opened (held elsewhere, missing)
    kCommWriteFailed = 9,    ///< Write failed
    kCommReadFailed = 10,    ///< ReadByte failed
    kCommCloseFailed = 11,   ///< Close failed (the port stays marked open)
    kCommPurgeFailed = 12,   ///< Purge failed
    kCommGetStateFailed = 14,  ///< Open: the device's line settings could not be read
    kCommSetStateFailed = 15,  ///< Open: the line settings could not be applied
    kCommSetupFailed = 16,     ///< Open: the queue sizes could not be set
    kCommStatusFailed = 18,    ///< BytesWaiting: the port status could not be read
};

/// A serial port failure: the code above and the system error number
/// (errno) at the moment the error was made.
struct ECommError {
    explicit ECommError(std::uint8_t code);
    ECommError(std::uint8_t code, std::int32_t systemError) : code(code), systemError(systemError) {}
    std::uint8_t code;
    std::int32_t systemError;
};

/// Parity of the character format.
enum class CommParity { None, Even };

/// One serial port. The line settings live in the object and are applied
/// when the port opens: 9600 baud, 8 data bits, no parity, 1 stop bit, no
/// flow control, DTR and RTS on.
class TCommPort {
public:
    /// The Linux counterpart of the first serial port, COM1.
    static constexpr const char* kDefaultPortName = "/dev/ttyS0";

    TCommPort();
    ~TCommPort();
    TCommPort(const TCommPort&) = delete;
    TCommPort& operator=(const TCommPort&) = delete;

    bool IsOpen() const { return open_; }

    /// Sets the character format by \p mode (0: 7 data bits, even parity, 2
    /// stop bits; 1: 8-N-1; other: 8-N-2), then Close, SetBaudRate,
    /// SetPortName and Open, in that order.
    void Setup(std::uint32_t baudRate, const std::string& portName, int mode);
    /// Opens the device with the object's line settings; nothing when open.
    void Open();
    /// Closes the device when open.
    void Close();
    /// Stores the rate; on an open port applies it at once, restoring the
    /// previous rate and throwing code 1 when the device refuses it.
    void SetBaudRate(std::uint32_t rate);
    /// Code 6 while open, else stores the name.
    void SetPortName(const std::string& name);
    /// Writes \p count bytes in one blocking call; a count of 0 does nothing.
    void Write(const std::uint8_t* buffer, std::size_t count);
    /// Reads one byte (callers first check that one is waiting).
    std::uint8_t ReadByte();
    /// Number of received bytes waiting to be read.
    std::size_t BytesWaiting();
    /// Discards what is waiting in the receive buffer, then the transmit buffer.
    void Purge();
    /// Waits at most \p ms milliseconds for received bytes; true when some wait.
    /// A line that hangs up meanwhile throws code 18, as BytesWaiting does.
    /// (The encoder link's empty polls sleep here instead of spinning.)
    bool WaitForBytes(int ms);

    const std::string& PortName() const { return portName_; }
    std::uint32_t BaudRate() const { return baudRate_; }
    int DataBits() const { return dataBits_; }
    CommParity Parity() const { return parity_; }
    int StopBits() const { return stopBits_; }
    /// The open device's file descriptor (-1 when closed), for diagnostics.
    int NativeHandle() const;

private:
    bool applyLineSettings();

    bool open_ = false;
    std::string portName_ = kDefaultPortName;
    std::uint32_t baudRate_ = 9600;
    int dataBits_ = 8;
    CommParity parity_ = CommParity::None;
    int stopBits_ = 1;
    std::unique_ptr<QSerialPort> port_;
};

}  // namespace zrv::ota
