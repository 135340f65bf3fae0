#pragma once
/// \file
/// Tab order from a window's geometry. The children of every container are
/// put in reading order (see reading_order.h) by their rectangles, and a
/// container that is no Tab stop itself (a page, a frame, a group box) is
/// walked in its place as one block, so two group boxes side by side are
/// walked one after the other, each from its top row down. Computed from the
/// design geometry once; a proportional rescaling keeps the order.

#include <QWidget>
#include <vector>

namespace zrv::kit {

/// True for a control that Tab stops at when it is shown and enabled: it
/// takes the focus from Tab and hands it to no other widget.
bool IsTabStop(const QWidget* w);

/// The Tab stops among the descendants of \p root (its own windows, such as
/// popups, left out), in reading order container by container. A Tab stop is
/// not looked into (a combo box's parts are the combo box's own), except a
/// group box, whose check box title can be a stop of its own.
std::vector<QWidget*> TabStopsInReadingOrder(QWidget* root);

/// Chains \p stops into the window's Tab order, first to last (the last one
/// leads round to the first).
void ChainTabOrder(const std::vector<QWidget*>& stops);

}  // namespace zrv::kit
