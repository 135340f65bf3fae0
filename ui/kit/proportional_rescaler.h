#pragma once
/// \file
/// Proportional rescaling of a window: the design geometry and font size of
/// every control are remembered once; on every resize each control gets
/// left, top, width and height scaled by the window's width and height
/// ratios and its font scaled by the smaller ratio, each truncated toward
/// zero. Any window that rescales uses this one class. Three adjustments
/// keep captions readable: an auto-size label takes its caption's width in
/// its scaled font; below the design size the indicator of a check box or
/// radio button shrinks with the font (to no less than 8 pixels) instead of
/// keeping its full size inside the shrunken box; and a box that is still
/// too narrow for its caption widens into the free room beside it.

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace zrv::kit {

class ProportionalRescaler {
public:
    /// Remembers \p container's size as the design size and the geometry and
    /// font size of every named descendant widget (the non-visual
    /// components, menus and timers, are not widgets and are not touched).
    void remember(QWidget* container);
    /// Remembers with an explicit design size (for a container not yet at
    /// its design size, such as a maximised window's client area).
    void remember(QWidget* container, QSize designSize);

    /// Scales every remembered control for \p current (the container's new
    /// size). A value a control cannot take (a font size below 1 point) is
    /// skipped together with the values after it.
    void apply(QSize current) const;

    QSize designSize() const { return designSize_; }
    bool remembered() const { return !items_.empty(); }

    /// v0 * ratio truncated toward zero.
    static int Scaled(int v0, double ratio);

    /// The width from \p w's left edge to the nearest shown sibling that
    /// starts to its right on the same row, or to its parent's right edge.
    static int FreeRoomRight(const QWidget* w);
    /// Widens \p w towards its size hint, as far as the free room allows;
    /// never narrows it.
    static void WidenIntoFreeRoom(QWidget* w);

private:
    struct Item {
        QPointer<QWidget> widget;
        QRect geometry;
        qreal pointSize;  ///< -1 when the font is sized in pixels
    };
    QSize designSize_;
    std::vector<Item> items_;
};

}  // namespace zrv::kit
