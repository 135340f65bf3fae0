#pragma once
/// \file
/// Tool tips whose text comes from the message catalogue: looked up each
/// time the tool tip is about to show, so it speaks the language in force
/// then, whatever language was applied since the window was built.

#include <QString>
#include <QWidget>
#include <functional>

namespace zrv {

/// Gives \p control the tool tip \p text returns when the tool tip is asked for.
void ToolTipFrom(QWidget* control, std::function<QString()> text);

}  // namespace zrv
