#include "core/field.h"

#include <cstdio>
#include <stdexcept>

namespace zrv {

std::uint32_t Field::Get(const ConfigImage& image) const {
    return image.GetImageBits(offset, bit, width);
}

void Field::Set(ConfigImage& image, std::uint32_t value) const {
    if (width < 1 || width > 8 || value > Max()) {
        char text[96];
        std::snprintf(text, sizeof text, "value %u does not fit the %d-bit field at 0x%zX bit %d",
                      static_cast<unsigned>(value), width, offset, bit);
        throw std::out_of_range(text);
    }
    image.SetImageBits(offset, bit, value, width);
}

}  // namespace zrv
