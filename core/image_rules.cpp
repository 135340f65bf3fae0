#include "core/image_rules.h"

#include <algorithm>

#include "core/image_layout.h"
#include "core/option_fields.h"

namespace zrv {
namespace L = layout;

namespace {
std::uint16_t sumRange(std::span<const std::uint8_t> bytes, std::size_t first, std::size_t end,
                       std::size_t skip = static_cast<std::size_t>(-1)) {
    unsigned sum = 0;
    end = std::min(end, bytes.size());
    for (std::size_t i = first; i < end; ++i)
        if (i != skip) sum += bytes[i];
    return static_cast<std::uint16_t>(sum & 0xFFFFu);
}
std::span<const std::uint8_t> all(const ConfigImage& image) { return image.bytes(); }
}  // namespace

std::uint16_t TableChecksum(std::span<const std::uint8_t> bytes) {
    return sumRange(bytes, L::kTableChecksumRange.offset, L::kTableChecksumRange.end());
}
std::uint16_t TableChecksum(const ConfigImage& image) { return TableChecksum(all(image)); }
void StoreTableChecksum(ConfigImage& image) { image.setWord(L::kChecksum, TableChecksum(image)); }

std::uint16_t ImageChecksum(std::span<const std::uint8_t> bytes) {
    return sumRange(bytes, L::kImageChecksumRange.offset, L::kImageChecksumRange.end(),
                    L::kWriteMarker);
}
std::uint16_t ImageChecksum(const ConfigImage& image) { return ImageChecksum(all(image)); }
void StoreImageChecksum(ConfigImage& image) { image.setWord(L::kChecksum, ImageChecksum(image)); }

bool HasModelIdentity(std::span<const std::uint8_t> bytes) {
    const auto f = L::kModelNameField;
    if (bytes.size() < f.end()) return false;
    return std::equal(kModelName.begin(), kModelName.end(), bytes.begin() + f.offset,
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

static void writeText(ConfigImage& image, std::size_t offset, std::string_view text) {
    for (std::size_t k = 0; k < text.size(); ++k)
        image.setByte(offset + k, static_cast<std::uint8_t>(text[k]));
}

void StampIdentityForSave(ConfigImage& image) {
    static_assert(kSaveIdentityText.size() == L::kIdentityForSave.length);
    writeText(image, L::kIdentityForSave.offset, kSaveIdentityText);
}
void StampDefaultIdentity(ConfigImage& image) {
    static_assert(kDefaultIdentityText.size() == L::kIdentity.length);
    writeText(image, L::kIdentity.offset, kDefaultIdentityText);
}

std::uint16_t SerialNumberSum(const ConfigImage& image) {
    return sumRange(all(image), L::kPagerSerial.offset, L::kPagerSerial.end());
}
bool SerialNumberValid(const ConfigImage& image) {
    return image.word(L::kPagerSerialSum) == SerialNumberSum(image);
}
bool SerialNumberValidForKeep(const ConfigImage& image) {
    return SerialNumberValid(image) && SerialNumberSum(image) != 0;
}
std::string PagerSerialNumber(const ConfigImage& image) {
    auto r = image.range(L::kPagerSerial.offset, L::kPagerSerial.length);
    return std::string(r.begin(), r.end());
}
bool StorePagerSerialNumber(ConfigImage& image, std::string_view serial) {
    if (serial.size() != L::kPagerSerial.length) return false;
    writeText(image, L::kPagerSerial.offset, serial);
    return true;
}
void StoreSerialNumberSum(ConfigImage& image) {
    image.setWord(L::kPagerSerialSum, SerialNumberSum(image));
}

void ClearUnusedCapcodes(ConfigImage& image, int capcodeCount) {
    const int n = std::clamp(capcodeCount, 0, L::kMaxCapcodes) / 8 * 8;
    if (n == L::kMaxCapcodes) return;
    const auto lastKept = static_cast<std::size_t>(L::kMaxCapcodes - 1);  // slot 47 stays
    const auto first = static_cast<std::size_t>(n);
    image.fill(L::kCapcodeSlots + L::kCapcodeSlotSize * first,
               L::kCapcodeSlotSize * (lastKept - first), 0);
    const std::size_t page = first / 8;
    image.fill(L::kManualBitmap + page, L::kBitmapLength - page, 0);
    image.fill(L::kCapcodeOnBitmap + page, L::kBitmapLength - page, 0);
}

void NormaliseAfterLoad(ConfigImage& image, int& capcodeCount) {
    image.setByte(L::kFixedByte520, L::kFixedByte520Value);
    fields::kCapcodeUserMusicOff.Set(image, 1);
    fields::kRdKeyFactoryFlag.Set(image, 1);
    fields::kPinFactoryFlagHigh.Set(image, 0);
    fields::kLogoFactoryFlagLow.Set(image, 0);
    fields::kOneLineLogo.Set(image, 1);
    image.setByte(L::kStatus52E, 0);
    image.setByte(L::kStatus52F, 0);
    image.setByte(L::kOption4A2, 0x29);
    fields::kLogoPinFactoryFlag.Set(image, 1);
    fields::kMenuListFactoryFlag.Set(image, 0);
    image.setByte(L::kCapcodeCount, kDefaultCapcodeCount);
    capcodeCount = kDefaultCapcodeCount;
}

void ApplyRefreshForcedValues(ConfigImage& image) {
    fields::kRefreshClearedFlag.Set(image, 0);
    image.setByte(L::kOption4F8, 0x29);
}

}  // namespace zrv
