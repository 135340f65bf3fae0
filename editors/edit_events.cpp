#include "editors/edit_events.h"

#include <QEvent>

namespace zrv {

namespace {
/// Watches one focus event of its parent widget.
class FocusWatch : public QObject {
public:
    FocusWatch(QWidget* edit, QEvent::Type type, std::function<void()> handler)
        : QObject(edit), type_(type), handler_(std::move(handler)) {
        edit->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == type_ && handler_) handler_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> handler_;
};
}  // namespace

void OnExit(QWidget* edit, std::function<void()> handler) {
    if (edit) new FocusWatch(edit, QEvent::FocusOut, std::move(handler));
}

void OnEnter(QWidget* edit, std::function<void()> handler) {
    if (edit) new FocusWatch(edit, QEvent::FocusIn, std::move(handler));
}

}  // namespace zrv
