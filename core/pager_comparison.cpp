#include "core/pager_comparison.h"

#include <string>

#include "core/frequency.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/pager_normalisation.h"

namespace zrv {

namespace L = zrv::layout;

namespace {
constexpr std::uint8_t kNoFirmware = 0xFF;
}  // namespace

ImageComparison CompareWriteWithPager(const ConfigImage& image, const ConfigImage& pager, int band,
                                      bool keepPagerSerial) {
    // The image as the write sends it.
    ConfigImage sent = image;
    PrepareForWrite(sent);
    if (keepPagerSerial) TakeSerialFromPager(sent, pager);
    else StoreSerialNumberSum(sent);
    const std::uint8_t firmware = pager.byte(L::kFirmwareVersion);
    sent.setByte(L::kFirmwareVersion, firmware);
    // A frequency that does not fit the firmware's plan keeps its words
    // here; the write itself refuses it and says why.
    StoreChannelFrequency(sent, band, std::to_string(ChannelFrequency(sent)), firmware == kNoFirmware);
    // Texts go out in the pager's character set and come back from it.
    ConvertTextsToPager(sent);
    ConvertTextsFromPager(sent);

    // Both sides as a read gives them back, each with its checksum over
    // what it then holds.
    ConfigImage back = sent;
    int capcodeCount = kDefaultCapcodeCount;
    NormaliseAfterRead(back, capcodeCount);
    ClearTransferStatus(back);
    back.setByte(L::kWriteMarker, pager.byte(L::kWriteMarker));
    ConfigImage held = pager;
    StoreImageChecksum(back);
    StoreImageChecksum(held);
    return CompareImages(back, held);
}

}  // namespace zrv
