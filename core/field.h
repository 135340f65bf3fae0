#pragma once
/// \file
/// A bit field of the configuration image named by what it means: the byte,
/// the lowest bit and the width. Option bits, codes and whole option bytes
/// are declared once as constants of this type (core/option_fields.h) and
/// read and written through it, never by a bare offset and bit.

#include <cstddef>
#include <cstdint>

#include "core/image.h"

namespace zrv {

/// \c width bits from bit \c bit of the image byte at \c offset (bit 0..7,
/// width 1..8, bit + width at most 8). The image's GetImageBits and
/// SetImageBits do the work underneath.
struct Field {
    std::size_t offset;
    int bit;
    int width;

    /// The largest value the field holds.
    constexpr std::uint32_t Max() const { return (std::uint32_t{1} << width) - 1u; }

    /// The field's value.
    std::uint32_t Get(const ConfigImage& image) const;
    /// Stores \p value, leaving the other bits of the byte as they are. A
    /// value wider than the field throws std::out_of_range: it is never
    /// masked into the field or spilled into the bits above it.
    void Set(ConfigImage& image, std::uint32_t value) const;

    friend constexpr bool operator==(const Field&, const Field&) = default;
};

}  // namespace zrv
