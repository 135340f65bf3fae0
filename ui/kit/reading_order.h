#pragma once
/// \file
/// The order in which a reader's eye meets controls laid out on a surface:
/// rows from top to bottom, left to right within a row. Two controls share a
/// row when the vertical middle of one lies within the height of the other,
/// so a 17-pixel check box beside a 22-pixel combo box, or a label set two
/// pixels lower than its edit, count as one row at any scale.

#include <QRect>
#include <vector>

namespace zrv::kit {

/// True when \p a and \p b stand on one row (see the file comment).
bool OnOneRow(const QRect& a, const QRect& b);

/// The indices of \p rects in reading order. Rows are formed from the top:
/// the highest rectangle not yet placed opens a row, and every rectangle on
/// one row with it joins it; within a row the order is by left edge, then by
/// top edge. Equal rectangles keep their given order.
std::vector<int> ReadingOrder(const std::vector<QRect>& rects);

}  // namespace zrv::kit
