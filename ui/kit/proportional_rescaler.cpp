#include "ui/kit/proportional_rescaler.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>

#include "ui/kit/caption_fit.h"

namespace zrv::kit {

namespace {

/// The scale a check box or radio button's indicator is drawn at (<= 1).
constexpr const char* kIndicatorScale = "indicatorScale";
/// Below this many pixels an indicator would no longer read as a box.
constexpr int kMinimumIndicator = 8;

/// The application's style, with the indicator of a check box or radio
/// button and the gap to its caption shrunk by the widget's indicator scale
/// (never below kMinimumIndicator): below the design size the indicator
/// shrinks with the box instead of pushing the caption out of it.
class ScaledIndicatorStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        const double scale = Scale(widget);
        if (scale >= 1.0) return base;
        switch (metric) {
            case PM_IndicatorWidth:
            case PM_IndicatorHeight:
            case PM_ExclusiveIndicatorWidth:
            case PM_ExclusiveIndicatorHeight: return ScaledIndicator(base, scale);
            case PM_CheckBoxLabelSpacing:
            case PM_RadioButtonLabelSpacing: return std::max(1, int(base * scale));
            default: return base;
        }
    }

    /// A titled group box's frame starts below the taller of its title and a
    /// full-size indicator; with a scaled indicator it moves up to match, so
    /// it does not run through the first row of controls.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        const auto* group = qobject_cast<const QGroupBox*>(widget);
        const double scale = Scale(widget);
        if (element != PE_FrameGroupBox || !frame || !group || scale >= 1.0 ||
            (group->title().isEmpty() && !group->isCheckable())) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const int full = QProxyStyle::pixelMetric(PM_ExclusiveIndicatorHeight, option, nullptr);
        const int title = option->fontMetrics.height();
        const int lift = std::max(full, title) - std::max(ScaledIndicator(full, scale), title);
        QStyleOptionFrame moved(*frame);
        moved.rect.adjust(0, -lift, 0, 0);
        QProxyStyle::drawPrimitive(element, &moved, painter, widget);
    }

private:
    static double Scale(const QWidget* widget) {
        const double scale = widget ? widget->property(kIndicatorScale).toDouble() : 0.0;
        return scale > 0.0 ? scale : 1.0;
    }
    static int ScaledIndicator(int full, double scale) {
        return std::min(full, std::max(kMinimumIndicator, int(full * scale)));
    }
};

/// One instance for every rescaled window; it lives as long as the program,
/// since widgets keep a plain pointer to their style.
QStyle* IndicatorStyle() {
    static QStyle* style = new ScaledIndicatorStyle;
    return style;
}

bool HasIndicator(const QWidget* w) { return qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w); }

/// Widgets whose metrics include an indicator: the boxes, and group boxes,
/// which leave room for a check indicator above their frame whether they
/// have one or not (a full-size one would push the frame onto the first row).
bool MeasuresIndicator(const QWidget* w) { return HasIndicator(w) || qobject_cast<const QGroupBox*>(w); }

}  // namespace

int ProportionalRescaler::Scaled(int v0, double ratio) {
    return static_cast<int>(std::trunc(v0 * ratio));
}

void ProportionalRescaler::remember(QWidget* container) { remember(container, container->size()); }

void ProportionalRescaler::remember(QWidget* container, QSize designSize) {
    designSize_ = designSize;
    items_.clear();
    for (QWidget* w : container->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        // Qt's own parts of composite controls (a combo's popup, a scroll
        // area's viewport) follow their owner and are not form components.
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || w->isWindow()) continue;
        items_.push_back({w, w->geometry(), w->font().pointSizeF()});
        if (MeasuresIndicator(w)) w->setStyle(IndicatorStyle());
    }
}

void ProportionalRescaler::apply(QSize current) const {
    if (designSize_.width() <= 0 || designSize_.height() <= 0) return;
    const double sx = double(current.width()) / designSize_.width();
    const double sy = double(current.height()) / designSize_.height();
    const double sf = std::min(sx, sy);
    for (const Item& item : items_) {
        QWidget* w = item.widget;
        if (!w) continue;
        const QRect& g = item.geometry;
        w->setGeometry(Scaled(g.x(), sx), Scaled(g.y(), sy), Scaled(g.width(), sx),
                       Scaled(g.height(), sy));
        if (MeasuresIndicator(w) && w->property(kIndicatorScale).toDouble() != std::min(sf, 1.0)) {
            w->setProperty(kIndicatorScale, std::min(sf, 1.0));
            QEvent changed(QEvent::StyleChange);  // the box measures itself again
            QCoreApplication::sendEvent(w, &changed);
        }
        if (item.pointSize > 0) {
            const int size = static_cast<int>(std::trunc(item.pointSize * sf));
            if (size < 1) continue;  // a font below one point is refused
            QFont f = w->font();
            f.setPointSize(size);
            w->setFont(f);
        }
        FitToCaption(w);  // an auto-size label takes its caption's width in the new font
    }
    // A check box or radio button that the scaling left too narrow for its
    // caption takes the room beside it, up to the next control on its row.
    for (const Item& item : items_)
        if (item.widget && HasIndicator(item.widget)) WidenIntoFreeRoom(item.widget);
}

int ProportionalRescaler::FreeRoomRight(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    if (!parent) return w->width();
    int limit = parent->width();
    const QRect g = w->geometry();
    for (const QObject* child : parent->children()) {
        const auto* sibling = qobject_cast<const QWidget*>(child);
        if (!sibling || sibling == w || sibling->isHidden() || sibling->isWindow()) continue;
        const QRect s = sibling->geometry();
        const bool sameRow = s.top() <= g.bottom() && s.bottom() >= g.top();
        if (sameRow && s.left() > g.left()) limit = std::min(limit, s.left());
    }
    return limit - g.left();
}

void ProportionalRescaler::WidenIntoFreeRoom(QWidget* w) {
    const int need = w->sizeHint().width();
    if (need <= w->width()) return;
    const int width = std::max(w->width(), std::min(need, FreeRoomRight(w)));
    if (width != w->width()) w->resize(width, w->height());
}

}  // namespace zrv::kit
