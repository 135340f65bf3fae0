#include "core/binding_hint.h"

#include <algorithm>
#include <charconv>

#include "core/frequency.h"
#include "core/image_layout.h"

namespace zrv {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

/// Decimal or 0x hexadecimal, nothing else.
std::optional<unsigned long> ParseHintNumber(std::string_view s) {
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    unsigned long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

BindingKind KindOf(std::string_view kind) {
    if (kind == "chk") return BindingKind::Chk;
    if (kind == "chkN") return BindingKind::ChkN;
    if (kind == "cbo") return BindingKind::Cbo;
    if (kind == "cboBaud") return BindingKind::CboBaud;
    return BindingKind::Other;
}

}  // namespace

std::vector<std::string> SplitHint(std::string_view hint) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = hint.find(',', start);
        const std::string_view item =
            hint.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        items.emplace_back(Trim(item));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return items;
}

std::optional<BindingHint> ParseBindingHint(std::string_view hint) {
    const auto items = SplitHint(hint);
    if (items.size() <= 3) return std::nullopt;
    const auto offset = ParseHintNumber(items[0]);
    const auto bit = ParseHintNumber(items[1]);
    const auto width = ParseHintNumber(items[2]);
    if (!offset || !bit || !width) return std::nullopt;
    if (*offset >= kImageSize || *bit > 7 || *width < 1 || *bit + *width > 8) return std::nullopt;
    BindingHint b;
    b.offset = *offset;
    b.bit = static_cast<int>(*bit);
    b.width = static_cast<int>(*width);
    b.kindText = items[3];
    b.kind = KindOf(items[3]);
    return b;
}

bool HintHasNullMarker(std::string_view hint) { return hint.find("NULL") != std::string_view::npos; }

bool IsMenuLockByte(std::size_t offset) {
    return offset >= layout::kMenuLocks.offset && offset <= layout::kMenuLocks.last();
}

bool BoundCheckState(const ConfigImage& image, const BindingHint& hint) {
    const std::uint32_t value = hint.field().Get(image);
    return hint.kind == BindingKind::ChkN ? value == 0 : value != 0;
}

int BoundComboIndex(const ConfigImage& image, const BindingHint& hint) {
    if (hint.kind == BindingKind::CboBaud) return BaudItemFromImage(image);
    return static_cast<int>(hint.field().Get(image));
}

void StoreBoundCheckState(ConfigImage& image, const BindingHint& hint, bool checked) {
    const std::uint32_t state = checked ? 1u : 0u;
    if (hint.kind == BindingKind::Chk) {
        hint.field().Set(image, state);
    } else if (hint.kind == BindingKind::ChkN) {
        // A menu-lock byte is 0xFF (all ones) when the item is on, not 1.
        const Field field = hint.field();
        field.Set(image, (1u - state) * (IsMenuLockByte(hint.offset) ? field.Max() : 1u));
    }
}

void StoreBoundComboIndex(ConfigImage& image, const BindingHint& hint, int index) {
    if (index < 0) return;  // a combo without a selection stores nothing
    if (hint.kind == BindingKind::Cbo) {
        // The item index fits the field for every designed combo; clamp so
        // that a longer item list can never spill into the bits above.
        const Field field = hint.field();
        field.Set(image, std::min(static_cast<std::uint32_t>(index), field.Max()));
    } else if (hint.kind == BindingKind::CboBaud) {
        ApplyBaudItem(image, std::min(index, static_cast<int>(kBaudRates.size()) - 1));
    }
}

}  // namespace zrv
