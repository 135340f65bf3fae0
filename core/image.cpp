#include "core/image.h"

#include <algorithm>
#include <stdexcept>
#include <cstdio>
#include <string>

namespace zrv {

void ConfigImage::checkRange(std::size_t offset, std::size_t length) {
    if (offset > kImageSize || length > kImageSize - offset) {
        throw std::out_of_range("image range 0x" + [&] {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%zX+%zu", offset, length);
            return std::string(buf);
        }() + " leaves the 22016-byte image");
    }
}

std::uint8_t ConfigImage::byte(std::size_t offset) const {
    checkRange(offset, 1);
    return bytes_[offset];
}

void ConfigImage::setByte(std::size_t offset, std::uint8_t value) {
    checkRange(offset, 1);
    bytes_[offset] = value;
}

static void checkField(int bit, int width) {
    if (bit < 0 || bit > 7 || width < 1 || width > 8 || bit + width > 8)
        throw std::out_of_range("bit field (" + std::to_string(bit) + ", " + std::to_string(width) +
                                ") does not fit a byte");
}

std::uint8_t ConfigImage::GetImageBits(std::size_t offset, int bit, int width) const {
    checkField(bit, width);
    const unsigned mask = (1u << width) - 1u;
    return static_cast<std::uint8_t>((byte(offset) >> bit) & mask);
}

void ConfigImage::SetImageBits(std::size_t offset, int bit, unsigned value, int width) {
    checkField(bit, width);
    const unsigned mask = ((1u << width) - 1u) << bit;
    const unsigned cleared = byte(offset) & ~mask;
    setByte(offset, static_cast<std::uint8_t>((cleared | (value << bit)) & 0xFFu));
}

std::uint16_t ConfigImage::word(std::size_t offset) const {
    checkRange(offset, 2);
    return static_cast<std::uint16_t>((bytes_[offset] << 8) | bytes_[offset + 1]);
}

void ConfigImage::setWord(std::size_t offset, std::uint16_t value) {
    checkRange(offset, 2);
    bytes_[offset] = static_cast<std::uint8_t>(value >> 8);
    bytes_[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

std::span<const std::uint8_t> ConfigImage::range(std::size_t offset, std::size_t length) const {
    checkRange(offset, length);
    return {bytes_.data() + offset, length};
}

std::span<std::uint8_t> ConfigImage::range(std::size_t offset, std::size_t length) {
    checkRange(offset, length);
    return {bytes_.data() + offset, length};
}

void ConfigImage::fill(std::size_t offset, std::size_t length, std::uint8_t value) {
    auto r = range(offset, length);
    std::fill(r.begin(), r.end(), value);
}

void ConfigImage::write(std::size_t offset, std::span<const std::uint8_t> data) {
    auto r = range(offset, data.size());
    std::copy(data.begin(), data.end(), r.begin());
}

}  // namespace zrv
