#include "core/field_compare.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>
#include <unordered_map>

#include "core/image_layout.h"

namespace zrv {

namespace {

using Bits = std::map<std::size_t, std::uint8_t>;

void Add(Bits& bits, std::size_t first, std::size_t last, std::uint8_t mask) {
    for (std::size_t i = first; i <= last && i < kImageSize; ++i) bits[i] |= mask;
}

/// The offsets a location text names: "0x1280..0x1282", "0x1403 bit 4-5",
/// "0x002F bit 3 (0 = on)"; an offset with "bit" but no number counts whole.
void AddLocation(Bits& bits, const std::string& location) {
    static const std::regex token(R"(0x([0-9A-Fa-f]+)(?:\.\.0x([0-9A-Fa-f]+))?(?: bit (\d)(?:-(\d))?)?)");
    for (auto it = std::sregex_iterator(location.begin(), location.end(), token); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        const std::size_t first = std::stoul(m[1].str(), nullptr, 16);
        const std::size_t last = m[2].matched ? std::stoul(m[2].str(), nullptr, 16) : first;
        std::uint8_t mask = 0xFF;
        if (m[3].matched) {
            const int lo = std::stoi(m[3].str());
            const int hi = m[4].matched ? std::stoi(m[4].str()) : lo;
            mask = 0;
            for (int k = lo; k <= hi && k < 8; ++k) mask = static_cast<std::uint8_t>(mask | (1u << k));
        }
        Add(bits, first, last, mask);
    }
}

/// True when the footprint comes from the field's binding or its own bytes,
/// not only from the words of its location.
bool Exact(const FieldDef& field) { return field.binding.has_value() || !field.bytes.empty(); }

/// True when every bit of \p inner is in \p outer (both in offset order).
bool Contains(const Footprint& outer, const Footprint& inner) {
    auto o = outer.begin();
    for (const auto& [offset, mask] : inner) {
        while (o != outer.end() && o->first < offset) ++o;
        if (o == outer.end() || o->first != offset || (o->second & mask) != mask) return false;
    }
    return true;
}

int BitCount(const Footprint& f) {
    int n = 0;
    for (const auto& [offset, mask] : f) n += __builtin_popcount(mask);
    return n;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char buf[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

}  // namespace

const Footprint& FootprintOf(const FieldDef& field) {
    static const std::unordered_map<const FieldDef*, Footprint> all = [] {
        std::unordered_map<const FieldDef*, Footprint> map;
        for (const FieldDef& f : FieldTable()) {
            Bits bits;
            if (f.binding) {
                const auto& h = *f.binding;
                Add(bits, h.offset, h.offset, static_cast<std::uint8_t>(((1u << h.width) - 1) << h.bit));
            }
            for (const auto& [offset, length] : f.bytes) Add(bits, offset, offset + length - 1, 0xFF);
            AddLocation(bits, f.location);
            map.emplace(&f, Footprint(bits.begin(), bits.end()));
        }
        return map;
    }();
    static const Footprint none;
    const auto it = all.find(&field);
    return it != all.end() ? it->second : none;
}

ImageComparison CompareImages(const ConfigImage& a, const ConfigImage& b) {
    ImageComparison out;
    const FieldContext inA = ContextAfterOpen(a);
    const FieldContext inB = ContextAfterOpen(b);
    for (const FieldDef& f : FieldTable()) {
        std::string va = f.get(a, inA);
        std::string vb = f.get(b, inB);
        if (va != vb) out.fields.push_back({&f, std::move(va), std::move(vb)});
    }
    // A field the window shows twice (two controls bound to one bit) is one
    // difference: the more specific of two nested footprints stays.
    std::vector<FieldDifference> kept;
    for (const FieldDifference& d : out.fields) {
        const bool shownByAnother = Exact(*d.field) && std::any_of(out.fields.begin(), out.fields.end(), [&d](const FieldDifference& e) {
            if (e.field == d.field || !Exact(*e.field)) return false;
            const Footprint& mine = FootprintOf(*d.field);
            const Footprint& theirs = FootprintOf(*e.field);
            if (!Contains(mine, theirs)) return false;
            const int m = BitCount(mine), t = BitCount(theirs);
            return t < m || (t == m && e.field < d.field);  // the table is one vector: earlier is lower
        });
        if (!shownByAnother) kept.push_back(d);
    }
    out.fields = std::move(kept);

    // The differing bits the differing fields do not explain.
    std::vector<std::uint8_t> explained(kImageSize, 0);
    for (const FieldDifference& d : out.fields)
        for (const auto& [offset, mask] : FootprintOf(*d.field)) explained[offset] |= mask;
    const auto unexplained = [&](std::size_t i) { return ((a.byte(i) ^ b.byte(i)) & ~explained[i]) != 0; };
    for (const auto& region : layout::kRegionMap) {
        for (std::size_t i = region.first; i <= region.last && i < kImageSize; ++i) {
            if (!unexplained(i)) continue;
            std::size_t j = i;
            while (j + 1 <= region.last && j + 1 < kImageSize && unexplained(j + 1)) ++j;
            const auto ra = a.range(i, j - i + 1);
            const auto rb = b.range(i, j - i + 1);
            out.bytes.push_back({i, j, region.name, {ra.begin(), ra.end()}, {rb.begin(), rb.end()}});
            i = j;
        }
    }
    return out;
}

std::string DifferenceLine(const FieldDifference& d, std::string (*shown)(const std::string&)) {
    const auto text = [shown](const std::string& v) { return shown ? shown(v) : v; };
    return d.field->name + ": " + text(d.a) + " -> " + text(d.b);
}

std::string DifferenceLine(const ByteDifference& d) {
    char range[32];
    std::snprintf(range, sizeof range, "0x%04zX-0x%04zX", d.first, d.last);
    return std::string(range) + "  " + std::string(d.region) + ": " + HexBytes(d.a) + " -> " + HexBytes(d.b);
}

}  // namespace zrv
