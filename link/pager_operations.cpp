// Reading, writing and verifying the whole pager.
#include <algorithm>
#include <cstdio>

#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/pager_charset.h"
#include "core/pager_normalisation.h"
#include "link/link_messages.h"
#include "link/programmer_link.h"

namespace zrv::link {
namespace {

namespace L = zrv::layout;

constexpr std::uint8_t kNoFirmware = 0xFF;

}  // namespace

// Reads the identity bytes and compares the model name; false only when the
// read itself failed (it has told the user).
bool ProgrammerLink::modelIdentityMatches(bool& matches) {
    if (!ReadRange(L::kPagerIdentity.offset, L::kPagerIdentity.last(), kMaxBlock)) return false;
    std::string model;
    for (std::size_t a = L::kPagerIdentity.offset; a <= L::kPagerIdentity.last(); ++a) {
        const auto c = pagerBuffer_.byte(a);
        if (c < 0x20 || c > 0x7F) break;
        model.push_back(static_cast<char>(c));
    }
    matches = model.size() >= kModelName.size() && model.compare(0, kModelName.size(), kModelName) == 0;
    return true;
}

void ProgrammerLink::showFirmware() {
    char text[32];
    std::snprintf(text, sizeof text, "FirmVer : %0.1f", FirmwareVersion * 0.1);
    sink_->firmwareText(text);
}

bool ProgrammerLink::ReadPager(ConfigImage& destination, std::size_t first, std::size_t last) {
    last = std::min(last, kImageSize - 1);
    // A range that holds no image address reads nothing: the board is not
    // asked and the destination stays as it was.
    if (first > last) {
        notifier_.show(msg::ReadError());
        return false;
    }
    status(msg::kReadingKey, msg::kReading, true);
    sink_->progressRange(static_cast<int>(first), static_cast<int>(last));
    bool matches = false;
    if (!modelIdentityMatches(matches)) return false;
    if (!matches) {
        notifier_.show(msg::NotThisModel());
        return false;
    }
    if (!ReadRange(first, last, kMaxBlock)) return false;
    if (pagerBuffer_.word(L::kChecksum) != ImageChecksum(pagerBuffer_)) {
        notifier_.show(msg::ChecksumError());
        return false;
    }
    std::copy(pagerBuffer_.bytes().begin() + first, pagerBuffer_.bytes().begin() + last + 1,
              destination.bytes().begin() + first);
    const auto firmware = pagerBuffer_.byte(L::kFirmwareVersion);
    FirmwareUnknown = firmware == kNoFirmware;
    FirmwareVersion = firmware;
    showFirmware();
    return true;
}

bool ProgrammerLink::keepOrRepairSerial(ConfigImage& image) {
    if (!KeepPagerSerial) {
        StoreSerialNumberSum(image);
        return true;
    }
    if (!ReadRange(L::kPagerSerialWithSum.offset, L::kPagerSerialWithSum.last(), kMaxBlock)) return false;
    TakeSerialFromPager(image, pagerBuffer_);
    return true;
}

bool ProgrammerLink::takeFirmware(ConfigImage& image) {
    if (!ReadRange(L::kFirmwareVersion, L::kFirmwareVersion, kMaxBlock)) return false;
    const auto firmware = pagerBuffer_.byte(L::kFirmwareVersion);
    FirmwareUnknown = firmware == kNoFirmware;
    FirmwareVersion = firmware;
    image.setByte(L::kFirmwareVersion, firmware);
    // The synthesizer words depend on the firmware's raster plan. A frequency
    // that does not fit the plan would give a pager that cannot receive, so
    // the write stops there instead of sending words that do not suit it.
    const bool frequencyFits = !recheck_ || recheck_(image, FirmwareUnknown);
    showFirmware();
    return frequencyFits;
}

bool ProgrammerLink::AdaptToPager(ConfigImage& image) {
    // The pager's serial number, firmware byte and the words computed from
    // it go into a copy: a read or check that fails leaves the image as it was.
    ConfigImage work = image;
    if (!keepOrRepairSerial(work)) return false;
    if (!takeFirmware(work)) return false;
    SealForWrite(work);
    image = work;
    return true;
}

bool ProgrammerLink::WritePager(ConfigImage& image, std::size_t first, std::size_t last) {
    bool matches = false;
    if (!modelIdentityMatches(matches)) return false;
    if (!matches && !notifier_.ask(msg::ModelUnsure())) return false;
    // From the first block on, the image is what the pager (partly) holds.
    return AdaptToPager(image) && WriteRange(image, first, last, kMaxBlock);
}

bool ProgrammerLink::VerifyPager(const ConfigImage& image, std::size_t first, std::size_t last,
                                 const ImageNormaliser& asRead) {
    last = std::min(last, kImageSize - 1);
    status(msg::kVerifyingKey, msg::kVerifying, true);
    sink_->progressRange(static_cast<int>(first), static_cast<int>(last));
    // A verify whose read fails has compared nothing: it names no address.
    differences_.clear();
    verifiedSides_.reset();
    if (!ReadRange(first, last, kMaxBlock)) return false;
    ConfigImage expected = image;
    ConfigImage pager = pagerBuffer_;
    if (asRead) {
        for (ConfigImage* side : {&expected, &pager}) {
            const bool checksumHeld = side->word(L::kChecksum) == ImageChecksum(*side);
            asRead(*side);
            if (checksumHeld) StoreImageChecksum(*side);
        }
    }
    char address[16];
    for (std::size_t a = first; a <= last; ++a) {
        if (a == L::kWriteMarker || expected.byte(a) == pager.byte(a)) continue;
        std::snprintf(address, sizeof address, ":%03zX", a);
        differences_ += address;
    }
    if (!differences_.empty()) {
        // For the comparison by field the pager side is the expected image
        // outside the compared range and at the write marker: no field
        // shows a difference there.
        ConfigImage shown = expected;
        shown.write(first, pager.range(first, last - first + 1));
        shown.setByte(L::kWriteMarker, expected.byte(L::kWriteMarker));
        verifiedSides_.emplace(expected, shown);
    }
    sink_->verifyDifferences(differences_);
    return differences_.empty();
}

ImageComparison ProgrammerLink::VerifyComparison() const {
    if (!verifiedSides_) return {};
    // Both sides were compared as sent, texts in the pager's character set;
    // their values are shown as the window shows them, in the PC's.
    ConfigImage expected = verifiedSides_->first;
    ConfigImage pager = verifiedSides_->second;
    ConvertTextsFromPager(expected);
    ConvertTextsFromPager(pager);
    return CompareImages(expected, pager);
}

bool ProgrammerLink::VerifyWriteOf(const ConfigImage& image, const ImageNormaliser& asRead) {
    // A verify that compared nothing names no address.
    differences_.clear();
    verifiedSides_.reset();
    ConfigImage expected = image;
    if (!AdaptToPager(expected)) {
        sink_->verifyDifferences(differences_);
        return false;
    }
    return VerifyPager(expected, 0, kImageSize - 1, asRead);
}

}  // namespace zrv::link
