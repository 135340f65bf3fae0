#pragma once
/// \file
/// Enter and exit handlers of the main window's edits: an edit's exit
/// handler runs when the keyboard focus moves from it to another control
/// (to Edit1 as well as to any other), which is how a typed value is
/// validated and stored. The window losing its activation or a menu opening
/// does not leave the field.

#include <QWidget>
#include <functional>

namespace zrv {

/// Runs \p handler each time the focus moves from \p edit to another control.
void OnExit(QWidget* edit, std::function<void()> handler);
/// Runs \p handler each time the focus moves to \p edit from another control.
void OnEnter(QWidget* edit, std::function<void()> handler);
/// Gives the focus back to \p edit after its exit handler refused the value
/// (once the focus change under way has ended). The edit keeps its text: its
/// enter handler does not run for this return.
void GiveFocusBack(QWidget* edit);

}  // namespace zrv
