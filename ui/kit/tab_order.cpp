#include "ui/kit/tab_order.h"

#include <QGroupBox>

#include "ui/kit/reading_order.h"

namespace zrv::kit {

namespace {

void Collect(QWidget* container, std::vector<QWidget*>& stops) {
    std::vector<QWidget*> children;
    std::vector<QRect> rects;
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) continue;
        children.push_back(w);
        rects.push_back(w->geometry());
    }
    for (const int i : ReadingOrder(rects)) {
        QWidget* w = children[i];
        const bool stop = IsTabStop(w);
        if (stop) stops.push_back(w);
        if (!stop || qobject_cast<QGroupBox*>(w)) Collect(w, stops);
    }
}

}  // namespace

bool IsTabStop(const QWidget* w) { return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy(); }

std::vector<QWidget*> TabStopsInReadingOrder(QWidget* root) {
    std::vector<QWidget*> stops;
    if (root) Collect(root, stops);
    return stops;
}

void ChainTabOrder(const std::vector<QWidget*>& stops) {
    for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1], stops[i]);
}

}  // namespace zrv::kit
