#pragma once
/// \file
/// Tool tips of the controls that edit a field of the catalogue: the main
/// window's (given by the "field-tips" module) and those of its companion
/// windows (function bits, alert lengths). The text is made when the tool
/// tip is about to show, so it follows the language in force and, on a
/// control that a page selector shares, the page shown.

#include <functional>

#include "core/field_table.h"

class QWidget;

namespace zrv {

class MainForm;

/// Gives \p control the tool tip of the field \p field returns when the tool
/// tip is asked for (none while it returns null).
void FieldToolTipFrom(QWidget* control, const MainForm& form, std::function<const FieldDef*()> field);

}  // namespace zrv
