#include "ui/kit/caption_fit.h"

#include <QLabel>

namespace zrv::kit {

bool AutoSizes(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) && w->property(kAutoSizeProperty).toBool();
}

void FitToCaption(QWidget* w) {
    if (!AutoSizes(w)) return;
    // The label's own size hint is its caption's width in its font plus its
    // margins and indent, the same measure the layout checks use.
    const int width = w->sizeHint().width();
    if (width != w->width()) w->resize(width, w->height());
}

}  // namespace zrv::kit
