#pragma once
/// \file
/// Frames of the programmer board: "Qantelorix", a two-letter command, a
/// payload length, the payload and a big-endian 16-bit sum of everything
/// from the command to the last payload byte. The board answers read and
/// write requests with that sum minus 3, identify and board control with the
/// plain sum.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zrv::link {

using Bytes = std::vector<std::uint8_t>;

/// The word that opens every frame in both directions.
inline constexpr std::string_view kFrameWord = "Qantelorix";
inline constexpr std::size_t kFrameWordSize = 10;
/// Command codes.
inline constexpr std::string_view kCmdRead = "6R";
inline constexpr std::string_view kCmdWrite = "6S";
inline constexpr std::string_view kCmdIdentify = "5R";
inline constexpr std::string_view kCmdBoardControl = "5S";
/// Bytes before the payload: word, command, length.
inline constexpr std::size_t kFrameHeaderSize = 13;
/// Largest number of image bytes in one read or write block.
inline constexpr std::size_t kMaxBlock = 128;
/// What the read and write replies carry below the plain sum.
inline constexpr std::uint16_t kReplyChecksumOffset = 3;

/// Sizes of the fixed frames.
inline constexpr std::size_t kReadRequestSize = 19;
inline constexpr std::size_t kWriteAckSize = 16;
inline constexpr std::size_t kIdentifyReplySize = 17;
inline constexpr std::size_t kBoardControlAckSize = 16;
/// A read reply carries n data bytes in n + 15 bytes.
inline constexpr std::size_t ReadReplySize(std::size_t n) { return n + 15; }
/// A write request carries n data bytes in n + 18 bytes.
inline constexpr std::size_t WriteRequestSize(std::size_t n) { return n + 18; }

/// Board control commands: start ("s", 1) and release ("r", 0).
enum class BoardCommand { Start, Release };

/// 16-bit sum (carry dropped) of \p bytes.
std::uint16_t Sum16(std::span<const std::uint8_t> bytes);

/// A frame: word, \p command, length, \p payload, plain checksum.
Bytes BuildFrame(std::string_view command, std::span<const std::uint8_t> payload);

/// "6R" request for \p count bytes (1..128) from \p address.
Bytes ReadRequest(std::uint16_t address, std::uint8_t count);
/// "6S" request carrying \p data (1..128 bytes) for \p address.
Bytes WriteRequest(std::uint16_t address, std::span<const std::uint8_t> data);
/// The identify request, a constant of 18 bytes.
const Bytes& IdentifyRequest();
/// The 17-byte board control frame for \p command.
Bytes BoardControlFrame(BoardCommand command);
/// The 16-byte acknowledgement of a write block.
const Bytes& WriteAck();
/// The 16-byte acknowledgement of a board control frame.
const Bytes& BoardControlAck();

/// True when a read reply of \p n data bytes has the length byte n and
/// carries the sum minus 3 of its bytes 10 .. n + 12 in its last two bytes.
/// The frame word and command are not examined. The length byte keeps a
/// reply meant for a block of another size from being taken for this one.
bool ReadReplyValid(std::span<const std::uint8_t> reply, std::size_t n);
/// True when a 17-byte identify reply opens with "Qantelorix5R" 02 and its
/// last two bytes hold the plain sum of bytes 10..14.
bool IdentifyReplyValid(std::span<const std::uint8_t> reply);

}  // namespace zrv::link
