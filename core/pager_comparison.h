#pragma once
/// \file
/// What a write would change on the pager in the board: the configuration
/// as a write puts it there, against the pager as a read gave it. A write
/// keeps the pager's serial number (unless a scanned one replaces it) and
/// firmware byte and computes the synthesizer words for that firmware, so
/// those are no change; the values a read forces and the write marker are
/// no change either, as in a verify.

#include "core/field_compare.h"
#include "core/image.h"

namespace zrv {

/// Compares \p image (the configuration, texts in the PC character set)
/// as a write of it would leave a pager that holds \p pager (a read's
/// image: normalised, texts in the PC character set) with \p pager.
/// \p band is the band the write checks the frequency on; \p keepPagerSerial
/// is false for a write that puts the image's own serial number in.
ImageComparison CompareWriteWithPager(const ConfigImage& image, const ConfigImage& pager, int band,
                                      bool keepPagerSerial);

}  // namespace zrv
