#pragma once
/// \file
/// The configuration image: a byte-for-byte copy of the pager's 22016-byte
/// programmable memory, addressed by absolute offset 0x0000..0x55FF.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zrv {

/// Size of the pager's programmable memory and of a full table file.
inline constexpr std::size_t kImageSize = 0x5600;  // 22016

/// One image. Offsets outside 0..kImageSize-1 throw std::out_of_range: an
/// offset that leaves the image is a programming error, never a silent write.
class ConfigImage {
public:
    using Bytes = std::array<std::uint8_t, kImageSize>;

    /// A zero-filled image, as the program holds it before the defaults.
    ConfigImage() { bytes_.fill(0); }

    /// The byte at \p offset.
    std::uint8_t byte(std::size_t offset) const;
    /// Stores \p value at \p offset.
    void setByte(std::size_t offset, std::uint8_t value);

    /// The byte at \p offset shifted right by \p bit, masked to its low
    /// \p width bits (bit 0..7, width 1..8; bit + width may not exceed 8).
    std::uint8_t GetImageBits(std::size_t offset, int bit, int width) const;
    /// Clears the \p width bits at \p bit, then ORs in \p value << \p bit
    /// truncated to 8 bits. The value is deliberately not masked to the
    /// field width: a wider value also sets the bits above the field.
    void SetImageBits(std::size_t offset, int bit, unsigned value, int width);

    /// Big-endian 16-bit number at \p offset (high byte first).
    std::uint16_t word(std::size_t offset) const;
    void setWord(std::size_t offset, std::uint16_t value);

    /// \p length bytes from \p offset; throws when the range leaves the image.
    std::span<const std::uint8_t> range(std::size_t offset, std::size_t length) const;
    std::span<std::uint8_t> range(std::size_t offset, std::size_t length);
    /// Fills \p length bytes from \p offset with \p value.
    void fill(std::size_t offset, std::size_t length, std::uint8_t value);
    /// Copies \p data to \p offset.
    void write(std::size_t offset, std::span<const std::uint8_t> data);

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

    friend bool operator==(const ConfigImage&, const ConfigImage&) = default;

private:
    static void checkRange(std::size_t offset, std::size_t length);
    Bytes bytes_;
};

}  // namespace zrv
