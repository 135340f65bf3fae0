#include "core/pager_normalisation.h"

#include <cstdint>
#include <span>
#include <string_view>

#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/option_fields.h"

namespace zrv {

namespace L = zrv::layout;

namespace {
// The serial number a pager gets when its own is blank or broken.
constexpr std::string_view kReplacementSerial = "Qant0000000 ";
}  // namespace

void ClearTransferStatus(ConfigImage& image) {
    image.fill(L::kTransferStatus.offset, L::kTransferStatus.length, 0);
}

void NormaliseAfterRead(ConfigImage& image, int& capcodeCount) {
    fields::kOneLineLogo.Set(image, 1);
    fields::kLogoFactoryFlags.Set(image, 0);
    fields::kLogoPinFactoryFlag.Set(image, 1);
    fields::kCapcodeMusicTypeOff.Set(image, 0);
    fields::kRdKeyFactoryFlag.Set(image, 1);
    fields::kMenuListFactoryFlag.Set(image, 0);
    image.setByte(L::kFixedByte520, L::kFixedByte520Value);
    image.setByte(L::kCapcodeCount, static_cast<std::uint8_t>(kDefaultCapcodeCount));
    capcodeCount = kDefaultCapcodeCount;
}

void PrepareForWrite(ConfigImage& image) {
    ClearTransferStatus(image);
    fields::kOneLineLogo.Set(image, 1);
}

void TakeSerialFromPager(ConfigImage& image, const ConfigImage& pager) {
    const auto serial = L::kPagerSerialWithSum;
    if (SerialNumberValidForKeep(pager)) {
        image.write(serial.offset, pager.range(serial.offset, serial.length));
        return;
    }
    const auto* replacement = reinterpret_cast<const std::uint8_t*>(kReplacementSerial.data());
    image.write(L::kPagerSerial.offset, std::span(replacement, kReplacementSerial.size()));
    StoreSerialNumberSum(image);
}

void SealForWrite(ConfigImage& image) {
    image.setByte(L::kWriteMarker, 1);
    StoreImageChecksum(image);
}

}  // namespace zrv
