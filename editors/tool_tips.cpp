#include "editors/tool_tips.h"

#include <QEvent>

namespace zrv {

namespace {

/// Sets its parent's tool tip just before the parent shows it.
class ToolTipText : public QObject {
public:
    ToolTipText(QWidget* control, std::function<QString()> text) : QObject(control), text_(std::move(text)) {
        control->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::ToolTip && text_)
            static_cast<QWidget*>(watched)->setToolTip(text_());
        return false;  // the control shows its tool tip as usual
    }

private:
    std::function<QString()> text_;
};

}  // namespace

void ToolTipFrom(QWidget* control, std::function<QString()> text) {
    if (control) new ToolTipText(control, std::move(text));
}

}  // namespace zrv
