#pragma once
/// \file
/// How the main window takes keyboard and wheel input where the toolkit's
/// defaults would surprise a user:
/// - The menu shortcuts (Ctrl+O Open, Ctrl+S Save, Ctrl+E Exit, F3 Read,
///   F4 Write, F9 Verfy, ...) win over the key bindings of the control that
///   has the focus. A line edit claims Ctrl+E (end of line) and other keys
///   for itself, and the focus sink `Edit1` is a line edit, so without this
///   File > Exit would mostly not answer its shortcut.
/// - A combo box or a slider (the contrast track bar) takes the mouse wheel
///   only while it has the keyboard focus, and the wheel no longer gives it
///   the focus. Scrolling over a page therefore never changes a setting,
///   and the image bytes behind it, that the pointer merely passes over.

#include <QObject>

class QKeyEvent;
class QMainWindow;

namespace zrv::app {

class InputPolicy : public QObject {
public:
    /// Applies the policy to \p window's controls and watches the
    /// application's events for them; owned by (and ends with) \p window.
    explicit InputPolicy(QMainWindow* window);
    ~InputPolicy() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// True when \p watched is a control of the window, not of a dialog or popup.
    bool inWindow(const QObject* watched) const;
    /// True when \p key is the shortcut of an enabled action of the window.
    bool isMenuShortcut(const QKeyEvent* key) const;

    QMainWindow* window_;
};

/// Installs the input policy on \p window (see InputPolicy).
void InstallInputPolicy(QMainWindow* window);

}  // namespace zrv::app
