#include "app/proportional_rescaler.h"

#include <algorithm>
#include <cmath>

namespace zrv::app {

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
        if (item.pointSize > 0) {
            const int size = static_cast<int>(std::trunc(item.pointSize * sf));
            if (size < 1) continue;  // a font below one point is refused
            QFont f = w->font();
            f.setPointSize(size);
            w->setFont(f);
        }
    }
}

}  // namespace zrv::app
