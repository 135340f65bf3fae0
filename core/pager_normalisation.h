#pragma once
/// \file
/// What the program puts right in an image on its way between the pager and
/// the PC: after a read it brings the factory flags back and starts again
/// from sixteen capcodes, and before a write it clears the transfer status
/// and selects the one-line logo. The link calls these rules around its
/// transfers; a verify applies them to both sides, so that a value a read
/// forces is never a difference.

#include "core/image.h"

namespace zrv {

/// Clears the pager's transfer status bytes (0x530, 0x531).
void ClearTransferStatus(ConfigImage& image);

/// What a successful read forces before anything else looks at the image:
/// the one-line logo, the factory flags, "Capcode Music Type Enable" on,
/// the fixed byte, and sixteen capcodes in use (image and \p capcodeCount).
void NormaliseAfterRead(ConfigImage& image, int& capcodeCount);

/// What every write sets before it starts: the transfer status cleared and
/// the one-line logo selected.
void PrepareForWrite(ConfigImage& image);

/// The serial number a write keeps from the pager: \p pager's serial number
/// with its sum when SerialNumberValidForKeep holds for it, else the
/// replacement serial "Qant0000000 " with its sum computed.
void TakeSerialFromPager(ConfigImage& image, const ConfigImage& pager);

/// The last change before the bytes go to the pager: the write marker set
/// and the image checksum stored over everything else.
void SealForWrite(ConfigImage& image);

}  // namespace zrv
