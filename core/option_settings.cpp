#include "core/option_settings.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/image_layout.h"
#include "core/index_check.h"
#include "core/music.h"
#include "core/option_fields.h"

namespace zrv {
namespace F = fields;
namespace L = layout;

namespace {
constexpr int kLongestItem = 5;  ///< "240 seconds" / "15 min"
constexpr std::uint32_t kLongestOutOfRangeMinutes = 15;

Message MenuListFullMessage() { return Message{"Msg42", "You must disable one option !"}; }

/// The fields of a selector of "Disable", four time steps and the longest
/// time, and the value of the longest-time bit that chooses the longest.
struct TimeSelector {
    Field longest;
    std::uint32_t longestChosen;
    Field on;
    Field step;
};
constexpr TimeSelector kLockout{F::kLockoutLongest, 1, F::kLockoutOn, F::kLockoutStep};
constexpr TimeSelector kOutOfRange{F::kOutOfRangeLongestOff, 0, F::kOutOfRangeTimerOn, F::kOutOfRangeStep};

int ShownItem(const ConfigImage& image, const TimeSelector& s) {
    if (s.longest.Get(image) == s.longestChosen) return kLongestItem;
    if (!s.on.Get(image)) return 0;
    return static_cast<int>(s.step.Get(image)) + 1;
}
}  // namespace

int LockoutItem(const ConfigImage& image) { return ShownItem(image, kLockout); }

void StoreLockoutItem(ConfigImage& image, int item) {
    CheckIndex(item, kLockoutItemCount, "sequential lockout item");
    if (item == kLongestItem) {
        F::kLockoutLongest.Set(image, 1);
        F::kLockoutOn.Set(image, 1);
        return;
    }
    F::kLockoutLongest.Set(image, 0);
    F::kLockoutOn.Set(image, item == 0 ? 0 : 1);
    F::kLockoutStep.Set(image, item == 0 ? 0 : static_cast<std::uint32_t>(item - 1));
}

int OutOfRangeItem(const ConfigImage& image) { return ShownItem(image, kOutOfRange); }

void StoreOutOfRangeItem(ConfigImage& image, int item) {
    CheckIndex(item, kOutOfRangeItemCount, "out-of-range timer item");
    if (item == kLongestItem) {
        F::kOutOfRangeLongestOff.Set(image, 0);
        F::kOutOfRangeLongestMinutes.Set(image, kLongestOutOfRangeMinutes);
        return;
    }
    F::kOutOfRangeTimerOn.Set(image, item == 0 ? 0 : 1);
    if (item != 0) F::kOutOfRangeStep.Set(image, static_cast<std::uint32_t>(item - 1));
    F::kOutOfRangeLongestOff.Set(image, 1);
}

TransferOptions TransferOptionsFromImage(const ConfigImage& image) {
    return TransferOptions{
        .manualWrite = F::kManualWriteOff.Get(image) == 0,
        .frequencyModification = F::kFrequencyModificationOff.Get(image) == 0,
        .passwordRequired = F::kPasswordRequired.Get(image) == 1,
        .passwordModification = F::kPasswordModification.Get(image) == 1,
    };
}

void StoreTransferOptions(ConfigImage& image, const TransferOptions& options) {
    StoreTransferOption(image, TransferOption::ManualWrite, options.manualWrite);
    StoreTransferOption(image, TransferOption::FrequencyModification, options.frequencyModification);
    StoreTransferOption(image, TransferOption::PasswordRequired, options.passwordRequired);
    StoreTransferOption(image, TransferOption::PasswordModification, options.passwordModification);
}

void StoreTransferOption(ConfigImage& image, TransferOption option, bool checked) {
    // Manual write and frequency modification are stored inverted.
    switch (option) {
        case TransferOption::ManualWrite: F::kManualWriteOff.Set(image, checked ? 0 : 1); break;
        case TransferOption::FrequencyModification: F::kFrequencyModificationOff.Set(image, checked ? 0 : 1); break;
        case TransferOption::PasswordRequired: F::kPasswordRequired.Set(image, checked ? 1 : 0); break;
        case TransferOption::PasswordModification: F::kPasswordModification.Set(image, checked ? 1 : 0); break;
    }
}

MenuItemsOff MenuItemsOffFromImage(const ConfigImage& image) {
    MenuItemsOff off;
    off.fill(true);
    for (const std::uint8_t code : image.range(L::kMenuCodes.offset, L::kMenuCodes.length)) {
        if (code == L::kMenuCodeSpace) continue;
        const int k = int(code) - L::kFirstMenuCode;
        if (k >= 0 && k < kMenuItemCount) off[static_cast<std::size_t>(k)] = false;
    }
    return off;
}

Outcome StoreMenuItemsOff(ConfigImage& image, const MenuItemsOff& off) {
    if (std::none_of(off.begin(), off.end(), [](bool b) { return b; }))
        return Outcome::Refused(MenuListFullMessage());
    // Codes of the items that are on, from the end of the list backwards.
    std::size_t place = L::kMenuCodes.end();
    for (int k = kMenuItemCount - 1; k >= 0; --k)
        if (!off[static_cast<std::size_t>(k)])
            image.setByte(--place, static_cast<std::uint8_t>(L::kFirstMenuCode + k));
    F::kMenuListChanged.Set(image, 1);
    image.fill(L::kMenuCodes.offset, place - L::kMenuCodes.offset, L::kMenuCodeSpace);
    if (!off[kSetAlertMenuItem]) StoreAlertTone(image, kFirstAlertToneItem);
    return Outcome::Ok();
}

void StoreContrast(ConfigImage& image, int position) {
    if (position < kContrastMin || position > kContrastMax)
        throw std::out_of_range("contrast position " + std::to_string(position) + " outside 1..8");
    image.setByte(L::kContrast, static_cast<std::uint8_t>(position));
}

bool ContrastByteInRange(std::uint8_t byte) { return byte >= kContrastMin && byte <= kContrastMax; }

int ContrastSliderPosition(std::uint8_t byte) { return std::clamp<int>(byte, kContrastMin, kContrastMax); }

}  // namespace zrv
