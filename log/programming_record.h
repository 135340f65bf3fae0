#pragma once
/// \file
/// One record of the programming log: what an operation on a pager was,
/// where and by whom it ran, which pager it met (serial numbers, firmware,
/// capcodes, frequency), how it ended, and the pager's memory itself, so
/// that every past state can be restored.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/pager_operation.h"

namespace zrv::proglog {

/// How many capcodes a record keeps: capcodes 1-16, the ones a pager uses.
inline constexpr int kRecordedCapcodes = 16;

/// One capcode of a record: its number 1-16, its value and its ON flag.
struct RecordedCapcode {
    int slot = 0;
    std::uint32_t capcode = 0;
    bool on = false;
    friend bool operator==(const RecordedCapcode&, const RecordedCapcode&) = default;
};

/// The result word of an operation that succeeded.
inline constexpr const char* kResultOk = "ok";

struct ProgrammingRecord {
    long long id = 0;         ///< given by the log when the record is stored
    std::string timeUtc;      ///< "2024-05-01T12:34:56.789Z"
    PagerOperation operation = PagerOperation::Read;
    std::string workstation;  ///< the computer's host name
    std::string userName;     ///< the user logged in
    std::string port;
    std::string boardFirmware;
    std::string serial;  ///< the pager's serial number (trailing blanks removed); "" when its sum is wrong
    std::string ssn;     ///< secret serial number, hexadecimal
    std::string psn;     ///< public serial number, hexadecimal
    std::optional<int> firmware;  ///< the pager's firmware byte
    std::vector<RecordedCapcode> capcodes;  ///< capcodes 1-16 in order
    std::optional<int> band;                ///< band selector entry 0-2
    std::optional<std::uint32_t> frequency; ///< channel frequency, 100 Hz units
    std::string sha256;    ///< of the image, lower-case hexadecimal; "" without image
    std::string tableFile;
    std::string result;    ///< kResultOk or the result and message shown
    std::optional<ConfigImage> image;
    std::string customer;
    std::string note;

    bool ok() const { return result == kResultOk; }
    /// The first capcode, when the record has capcodes.
    std::optional<std::uint32_t> firstCapcode() const;
};

/// A record of \p facts, stamped with the time (UTC), this computer's name
/// and the user's name. The pager's facts are taken from the image: serial
/// numbers, firmware byte, capcodes 1-16 with their ON flags, band, channel
/// frequency and its SHA-256. An OTA send's addressed serial number stands
/// for the public one.
ProgrammingRecord MakeRecord(const OperationFacts& facts);

/// The SHA-256 of \p image, lower-case hexadecimal.
std::string ImageSha256(const ConfigImage& image);

/// The time now in the form records keep it.
std::string UtcTimestampNow();

}  // namespace zrv::proglog
