#include "app/input_policy.h"

#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QWheelEvent>

namespace zrv::app {

namespace {

/// The combo box or slider that \p w is, or is a part of; nullptr otherwise.
QWidget* WheelSetting(QObject* watched) {
    for (auto* w = qobject_cast<QWidget*>(watched); w && !w->isWindow(); w = w->parentWidget())
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSlider*>(w)) return w;
    return nullptr;
}

}  // namespace

InputPolicy::InputPolicy(QMainWindow* window) : QObject(window), window_(window) {
    // A combo box takes the focus from the wheel by default; the wheel must
    // not pick a setting, so only a click or Tab gives it the focus.
    for (QWidget* w : window->findChildren<QWidget*>())
        if ((qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSlider*>(w)) &&
            (w->focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus)
            w->setFocusPolicy(Qt::StrongFocus);
    qApp->installEventFilter(this);
}

InputPolicy::~InputPolicy() { qApp->removeEventFilter(this); }

bool InputPolicy::inWindow(const QObject* watched) const {
    return watched->isWidgetType() && static_cast<const QWidget*>(watched)->window() == window_;
}

bool InputPolicy::isMenuShortcut(const QKeyEvent* key) const {
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* action : window_->findChildren<QAction*>())
        if (action->isEnabled() && action->shortcuts().contains(pressed)) return true;
    return false;
}

/// Undo and Redo belong to a text field while it has typing of its own to
/// take back or do again; then the document's steps.
static bool FieldUndoesItsTyping(QObject* watched, const QKeyEvent* key) {
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) ||
                      key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
    if (!undo && !redo) return false;
    if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && !edit->isReadOnly())
        return undo ? edit->isUndoAvailable() : edit->isRedoAvailable();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(watched); memo && !memo->isReadOnly())
        return undo ? memo->document()->isUndoAvailable() : memo->document()->isRedoAvailable();
    return false;
}

bool InputPolicy::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Left unaccepted, the key is not claimed by the control, and the
            // shortcut of the menu item runs instead.
            if (inWindow(watched) && isMenuShortcut(static_cast<QKeyEvent*>(event)) &&
                !FieldUndoesItsTyping(watched, static_cast<QKeyEvent*>(event))) {
                event->ignore();
                return true;
            }
            break;
        case QEvent::Wheel:
            // Ignored, the wheel goes on to the page under the control.
            if (QWidget* setting = inWindow(watched) ? WheelSetting(watched) : nullptr;
                setting && !setting->hasFocus()) {
                event->ignore();
                return true;
            }
            break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

void InstallInputPolicy(QMainWindow* window) { new InputPolicy(window); }

}  // namespace zrv::app
