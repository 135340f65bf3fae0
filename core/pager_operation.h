#pragma once
/// \file
/// What one operation on a pager was and how it ended, as the transfers and
/// the OTA send report it for the programming log: the kind of operation,
/// its result, the pager's memory it left or sent, and where it ran.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image.h"

namespace zrv {

/// The operations the programming log records.
enum class PagerOperation { Read, Write, Verify, RepeatedWrite, OtaSend };

/// Every operation with the word the log stores for it.
inline constexpr std::array<std::pair<PagerOperation, std::string_view>, 5> kOperationNames{{
    {PagerOperation::Read, "read"},
    {PagerOperation::Write, "write"},
    {PagerOperation::Verify, "verify"},
    {PagerOperation::RepeatedWrite, "repeated write"},
    {PagerOperation::OtaSend, "OTA send"},
}};

/// "read", "write", "verify", "repeated write" or "OTA send".
constexpr std::string_view OperationName(PagerOperation operation) {
    for (const auto& [op, name] : kOperationNames)
        if (op == operation) return name;
    return "read";
}

/// The operation a stored word names, or nothing.
constexpr std::optional<PagerOperation> OperationFromName(std::string_view name) {
    for (const auto& [op, word] : kOperationNames)
        if (word == name) return op;
    return std::nullopt;
}

/// How one operation ended, reported when it ends, with success or not.
struct OperationFacts {
    PagerOperation operation = PagerOperation::Read;
    bool ok = false;
    /// Empty when ok; otherwise the result line and the message shown, as
    /// the command line prints them ("Read Error! Msg16: This pager is not
    /// ZR-V41K !").
    std::string result;
    /// The pager's memory as the operation left it: the image read, the
    /// image written (or meant to be written, when the write failed), the
    /// pager's memory a verify read back, the image an OTA send was built
    /// from. Nothing when no such image exists (a read that failed).
    std::optional<ConfigImage> image;
    std::string port;           ///< the board's or the encoder's serial port
    std::string boardFirmware;  ///< the two bytes of the board's identify reply, "01 00"
    /// An OTA send: the public serial number its header addressed (the
    /// pager's own is then unknown); empty for the transfers.
    std::string addressedPsn;
    std::string tableFile;  ///< the table file the operation used, if any
    std::string customer;   ///< optional, filled by batch jobs
    std::string note;       ///< optional, filled by batch jobs
};

}  // namespace zrv
