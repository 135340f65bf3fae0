#include "core/alert_lengths.h"

#include <stdexcept>

#include "core/field.h"
#include "core/image_layout.h"
#include "core/index_check.h"

namespace zrv {
namespace L = layout;

namespace {
/// One row of an alert-length combo: the byte it stores and its strip code.
struct LengthChoice {
    std::uint8_t byte;
    const char* code;
};

// In combo item order.
constexpr std::array<LengthChoice, kPersonalAlertItemCount> kPersonalChoices{{
    {2, "02"}, {8, "08"}, {16, "16"}, {32, "32"}, {0, "CT"}}};
// Items 1..3 of a mail drop combo ("Disable" has no length).
constexpr std::array<LengthChoice, kMailDropItemCount - 1> kMailDropChoices{{
    {0, "BP"}, {1, "01"}, {16, "16"}}};
constexpr const char* kMailDropOffCode = "--";

void CheckMailDrop(int i) { CheckIndex(i, kMailDropCount, "mail drop"); }

/// Alert-on bit of mail drop i: bit i mod 8 of byte 0x37 + i div 8.
Field MailDropOnField(int i) {
    CheckMailDrop(i);
    return Field{L::kMailDropAlertOn + static_cast<std::size_t>(i / 8), i % 8, 1};
}

std::size_t MailDropLengthOffset(int i) {
    CheckMailDrop(i);
    return L::kMailDropAlertLength + static_cast<std::size_t>(i);
}

/// Index of the choice storing \p byte, or nothing.
template <std::size_t N>
std::optional<int> ChoiceOf(const std::array<LengthChoice, N>& choices, std::uint8_t byte) {
    for (std::size_t k = 0; k < N; ++k)
        if (choices[k].byte == byte) return static_cast<int>(k);
    return std::nullopt;
}
}  // namespace

void StorePersonalAlert(ConfigImage& image, int item) {
    CheckIndex(item, kPersonalAlertItemCount, "personal alert item");
    image.setByte(L::kPersonalAlertLength, kPersonalChoices[static_cast<std::size_t>(item)].byte);
}

std::optional<int> PersonalAlertItem(const ConfigImage& image) {
    return ChoiceOf(kPersonalChoices, image.byte(L::kPersonalAlertLength));
}

bool MailDropAlertOn(const ConfigImage& image, int i) { return MailDropOnField(i).Get(image) == 1; }

void StoreMailDropAlert(ConfigImage& image, int i, int item) {
    const Field on = MailDropOnField(i);
    CheckIndex(item, kMailDropItemCount, "mail drop item");
    if (item == kMailDropDisable) {
        on.Set(image, 0);
        return;
    }
    on.Set(image, 1);
    image.setByte(MailDropLengthOffset(i), kMailDropChoices[static_cast<std::size_t>(item - 1)].byte);
}

std::optional<int> MailDropAlertItem(const ConfigImage& image, int i) {
    if (!MailDropAlertOn(image, i)) return kMailDropDisable;
    const auto choice = ChoiceOf(kMailDropChoices, image.byte(MailDropLengthOffset(i)));
    if (!choice) return std::nullopt;
    return *choice + 1;
}

std::optional<std::string> PersonalAlertCode(const ConfigImage& image) {
    const auto item = PersonalAlertItem(image);
    if (!item) return std::nullopt;
    return kPersonalChoices[static_cast<std::size_t>(*item)].code;
}

std::optional<std::string> MailDropAlertCode(const ConfigImage& image, int i) {
    const auto item = MailDropAlertItem(image, i);
    if (!item) return std::nullopt;
    if (*item == kMailDropDisable) return kMailDropOffCode;
    return kMailDropChoices[static_cast<std::size_t>(*item - 1)].code;
}

std::array<std::optional<std::string>, kAlertStripLabelCount> AlertLengthStrip(const ConfigImage& image) {
    std::array<std::optional<std::string>, kAlertStripLabelCount> strip;
    strip[0] = PersonalAlertCode(image);
    for (int i = 0; i < kMailDropCount; ++i) strip[static_cast<std::size_t>(i + 1)] = MailDropAlertCode(image, i);
    return strip;
}

}  // namespace zrv
