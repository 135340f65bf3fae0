#pragma once
/// \file
/// Enter and exit handlers of the main window's edits: an edit's exit
/// handler runs when it loses the keyboard focus (to Edit1 as well as to any
/// other control), which is how a typed value is validated and stored.

#include <QWidget>
#include <functional>

namespace zrv {

/// Runs \p handler each time \p edit loses the focus.
void OnExit(QWidget* edit, std::function<void()> handler);
/// Runs \p handler each time \p edit gets the focus.
void OnEnter(QWidget* edit, std::function<void()> handler);

}  // namespace zrv
