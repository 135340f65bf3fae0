#pragma once
/// \file
/// Two configurations compared by field: the fields whose shown value
/// differs (each with both values as `get` shows them) and the differing
/// bytes that no differing field explains, by region of the image. The
/// command line's `diff --fields`, a failed verify and the Compare window
/// all show this one list.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/field_table.h"
#include "core/image.h"

namespace zrv {

/// One field whose shown value differs.
struct FieldDifference {
    const FieldDef* field = nullptr;
    std::string a;  ///< the value the first image shows
    std::string b;  ///< the value the second image shows
};

/// A run of differing bytes inside one region of the image that no
/// differing field explains (the bits no field shows, the stamps, the
/// checksum, or bytes beyond a field's shown text).
struct ByteDifference {
    std::size_t first = 0;
    std::size_t last = 0;
    std::string_view region;
    std::vector<std::uint8_t> a;  ///< the run's bytes in the first image
    std::vector<std::uint8_t> b;  ///< and in the second
};

struct ImageComparison {
    std::vector<FieldDifference> fields;  ///< in table order
    std::vector<ByteDifference> bytes;    ///< in offset order
    bool equal() const { return fields.empty() && bytes.empty(); }
};

/// The bits of the image one field shows, as (offset, mask) pairs in
/// offset order: the bits its binding names, its own bytes, and the
/// offsets its location names ("0x1403 bit 4-5", "0x1280..0x1282").
using Footprint = std::vector<std::pair<std::size_t, std::uint8_t>>;
const Footprint& FootprintOf(const FieldDef& field);

/// Compares \p a with \p b by field (each image read in the context an
/// open gives it). Two differing fields whose footprints overlap are one
/// difference, shown by the one with the smaller footprint (the first in
/// table order when they are the same size): a field the window shows
/// twice is reported once. The differing bits outside the footprints of
/// the differing fields are reported as byte runs by region.
ImageComparison CompareImages(const ConfigImage& a, const ConfigImage& b);

/// "capcode.1: 1200 -> 1300", values escaped by \p shown (a terminal's or
/// a list's rendering of the text).
std::string DifferenceLine(const FieldDifference& d, std::string (*shown)(const std::string&) = nullptr);
/// "0x0037-0x0038  general parameter block: 12 34 -> 12 35".
std::string DifferenceLine(const ByteDifference& d);

}  // namespace zrv
