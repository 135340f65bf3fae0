#include "editors/edit_events.h"

#include <QFocusEvent>
#include <QPointer>
#include <QTimer>

namespace zrv {

namespace {

/// True when the focus goes to (or comes from) another control of the same
/// window. A window losing or regaining activation (another program, a
/// message box, a dialog) or a menu opening over the field leaves the
/// field's focus where it was: the user has not left the field, so its exit
/// handler must not validate it (a second message box) nor its enter
/// handler run again.
bool MovesBetweenControls(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

/// Marks an edit whose next focus-in is the return after a refusal.
constexpr const char* kFocusGivenBack = "zrvFocusGivenBack";

/// Watches one focus event of its parent widget.
class FocusWatch : public QObject {
public:
    FocusWatch(QWidget* edit, QEvent::Type type, std::function<void()> handler)
        : QObject(edit), type_(type), handler_(std::move(handler)) {
        edit->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != parent() || event->type() != type_ || !handler_) return false;
        if (type_ == QEvent::FocusIn && watched->property(kFocusGivenBack).toBool()) {
            watched->setProperty(kFocusGivenBack, false);
            return false;
        }
        if (MovesBetweenControls(static_cast<QFocusEvent*>(event)->reason())) handler_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> handler_;
};
}  // namespace

void GiveFocusBack(QWidget* edit) {
    if (!edit) return;
    QTimer::singleShot(0, edit, [target = QPointer<QWidget>(edit)] {
        if (!target || target->hasFocus() || !target->isVisible()) return;
        target->setProperty(kFocusGivenBack, true);
        target->setFocus(Qt::OtherFocusReason);
        // The window may not be active (a test, another program in front):
        // no focus-in then, and the mark must not swallow a later one.
        if (!target->hasFocus()) target->setProperty(kFocusGivenBack, false);
    });
}

void OnExit(QWidget* edit, std::function<void()> handler) {
    if (edit) new FocusWatch(edit, QEvent::FocusOut, std::move(handler));
}

void OnEnter(QWidget* edit, std::function<void()> handler) {
    if (edit) new FocusWatch(edit, QEvent::FocusIn, std::move(handler));
}

}  // namespace zrv
