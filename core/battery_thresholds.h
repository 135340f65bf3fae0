#pragma once
/// \file
/// The three battery gauge thresholds (Low, Med, High at 0x8D..0x8F) and the
/// battery type they belong to. The window offers two trios of threshold
/// lists, one per battery type; each list item stands for one gauge value of
/// the battery gauge table row of its type. A higher voltage is a higher
/// gauge value, and the pager needs Low < Med < High.

#include <array>
#include <cstdint>
#include <span>

#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

/// The battery type of 0x4FC bit 2, which is also the row of the gauge table.
enum class BatteryType {
    Rechargeable = 0,  ///< 2.4 V cell, items "2.68V" .. "2.35V"
    Standard = 1,      ///< 1.5 V cell, items "1.58V" .. "1.00V"
};

/// Low, Med, High: the place of a threshold in its trio.
inline constexpr int kThresholdCount = 3;
/// Six threshold lists: Tags 0..2 the rechargeable trio, 3..5 the standard one.
inline constexpr int kThresholdListCount = 6;

/// The battery type in force (0x4FC bit 2: 1 = rechargeable).
BatteryType BatteryTypeOf(const ConfigImage& image);
/// The gauge values of one battery type, in list-item order (11 for the
/// rechargeable cell, 13 for the standard cell).
std::span<const std::uint8_t> GaugeValues(BatteryType type);
/// The battery type whose trio holds the list with Tag \p tag (0..5).
BatteryType TrioOf(int tag);
/// The first Tag of the trio of \p type: 0 or 3.
int FirstTagOf(BatteryType type);

/// The list items the trio in force shows for Low, Med and High: the first
/// item of its row whose gauge value equals the stored threshold, or -1 when
/// the stored value is not in the row (the list then shows no item).
std::array<int, kThresholdCount> ThresholdItems(const ConfigImage& image);

/// Stores item \p item of the list with Tag \p tag (0..5; the item within
/// the list's row; std::out_of_range otherwise) as the gauge value of its
/// place. The value is kept in any case; when the three thresholds are then
/// not in the order Low < Med < High the outcome carries Msg41, for the user
/// to correct with the other lists.
Outcome StoreThreshold(ConfigImage& image, int tag, int item);

/// The user changed the battery type (already stored in 0x4FC bit 2): the
/// thresholds become the defaults of the new type (rechargeable "2.40V",
/// "2.55V", "2.65V"; standard "1.19V", "1.29V", "1.39V") and the status
/// bytes 0x530 and 0x531 are cleared.
void ApplyBatteryTypeDefaults(ConfigImage& image);

}  // namespace zrv
