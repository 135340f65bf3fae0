#include "core/battery_thresholds.h"

#include "core/image_layout.h"
#include "core/index_check.h"
#include "core/option_fields.h"

namespace zrv {
namespace L = layout;

namespace {

constexpr std::uint8_t kRechargeableGauge[] = {228, 225, 223, 220, 218, 214, 212, 209, 206, 204, 200};
constexpr std::uint8_t kStandardGauge[] = {161, 156, 151, 146, 142, 138, 132, 125, 121, 116, 111, 107, 102};

/// Low, Med, High a change of the battery type brings.
constexpr std::array<std::uint8_t, kThresholdCount> kRechargeableDefaults = {204, 218, 225};
constexpr std::array<std::uint8_t, kThresholdCount> kStandardDefaults = {121, 132, 142};

Message ThresholdOrderMessage() {
    return Message{"Msg41", "Waring ! You must let ( Level-High > Level-Med > Level-Low )."};
}

bool ThresholdsInOrder(const ConfigImage& image) {
    const std::uint8_t low = image.byte(L::kBatteryLevelLow);
    const std::uint8_t med = image.byte(L::kBatteryLevelLow + 1);
    const std::uint8_t high = image.byte(L::kBatteryLevelLow + 2);
    return low < med && med < high;
}

}  // namespace

BatteryType BatteryTypeOf(const ConfigImage& image) {
    return fields::kRechargeableBattery.Get(image) == 1 ? BatteryType::Rechargeable : BatteryType::Standard;
}

std::span<const std::uint8_t> GaugeValues(BatteryType type) {
    if (type == BatteryType::Rechargeable) return kRechargeableGauge;
    return kStandardGauge;
}

BatteryType TrioOf(int tag) {
    CheckIndex(tag, kThresholdListCount, "battery threshold list");
    return tag < kThresholdCount ? BatteryType::Rechargeable : BatteryType::Standard;
}

int FirstTagOf(BatteryType type) { return type == BatteryType::Rechargeable ? 0 : kThresholdCount; }

std::array<int, kThresholdCount> ThresholdItems(const ConfigImage& image) {
    const auto row = GaugeValues(BatteryTypeOf(image));
    std::array<int, kThresholdCount> items{};
    for (int place = 0; place < kThresholdCount; ++place) {
        const std::uint8_t stored = image.byte(L::kBatteryLevelLow + static_cast<std::size_t>(place));
        items[static_cast<std::size_t>(place)] = -1;
        for (std::size_t j = 0; j < row.size(); ++j)
            if (row[j] == stored) {
                items[static_cast<std::size_t>(place)] = static_cast<int>(j);
                break;
            }
    }
    return items;
}

Outcome StoreThreshold(ConfigImage& image, int tag, int item) {
    const auto row = GaugeValues(TrioOf(tag));
    CheckIndex(item, static_cast<int>(row.size()), "battery gauge item");
    // The place within the trio: Low, Med or High, whichever trio the list is of.
    const auto place = static_cast<std::size_t>(tag % kThresholdCount);
    image.setByte(L::kBatteryLevelLow + place, row[static_cast<std::size_t>(item)]);
    if (!ThresholdsInOrder(image)) return Outcome::Warned(ThresholdOrderMessage());
    return Outcome::Ok();
}

void ApplyBatteryTypeDefaults(ConfigImage& image) {
    const auto& defaults =
        BatteryTypeOf(image) == BatteryType::Rechargeable ? kRechargeableDefaults : kStandardDefaults;
    image.write(L::kBatteryLevelLow, defaults);
    image.setByte(L::kStatus530, 0);
    image.setByte(L::kStatus531, 0);
}

}  // namespace zrv
