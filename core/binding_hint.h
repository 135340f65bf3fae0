#pragma once
/// \file
/// The binding hint of a main-window control: "offset,bit,width,kind[,...]"
/// names the image bit field a check box or combo box shows, and how its
/// state maps onto the field. These are the rules without any widget, so the
/// refresh, the generic write-back and the tests share one piece of code.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/field.h"
#include "core/image.h"

namespace zrv {

/// The generic binding kinds; Other covers kinds read by their own editors
/// ("chkSource", "Lng", ...).
enum class BindingKind { Chk, ChkN, Cbo, CboBaud, Other };

/// A parsed hint with at least four items.
struct BindingHint {
    std::size_t offset = 0;
    int bit = 0;
    int width = 1;
    std::string kindText;  ///< item 3 as written ("chk", "chkN", "Lng", ...)
    BindingKind kind = BindingKind::Other;

    /// The image field the hint names.
    Field field() const { return Field{offset, bit, width}; }

    /// True for the four kinds the refresh and the generic write-back handle.
    bool isGeneric() const { return kind != BindingKind::Other; }
};

/// Splits a hint at its commas; leading (and trailing) spaces of each item
/// are dropped.
std::vector<std::string> SplitHint(std::string_view hint);

/// The binding of \p hint, or nothing when it has three or fewer items, when
/// an item is not a number, or when the field does not fit the image or a
/// byte (a design error that must never reach the image accessors).
std::optional<BindingHint> ParseBindingHint(std::string_view hint);

/// True when the hint carries the NULL marker (the control keeps its
/// designed caption in every language).
bool HintHasNullMarker(std::string_view hint);

/// Menu-lock bytes whose "chkN" boxes store 0x00 / 0xFF instead of one bit.
bool IsMenuLockByte(std::size_t offset);

/// Whether a "chk"/"chkN" box shows checked for the field's current value.
bool BoundCheckState(const ConfigImage& image, const BindingHint& hint);
/// The item a "cbo"/"cboBaud" combo shows for the field's current value.
/// The baud kind always means the receiver's baud rate and reads it by the
/// frequency module's rule (core/frequency.h), whatever field its hint names.
int BoundComboIndex(const ConfigImage& image, const BindingHint& hint);

/// Stores a check box state by the hint's rule ("chk" or "chkN").
void StoreBoundCheckState(ConfigImage& image, const BindingHint& hint, bool checked);
/// Stores a combo selection by the hint's rule ("cbo" or "cboBaud"; the
/// baud kind stores the rate by the frequency module's rule, code and the two
/// receiver timing bytes, an item beyond the last taken as the last).
void StoreBoundComboIndex(ConfigImage& image, const BindingHint& hint, int index);

}  // namespace zrv
