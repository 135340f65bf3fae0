#pragma once
/// \file
/// What every companion window of the program is at start-up: a modal dialog
/// with its designed name (the key of its caption in the language file), its
/// designed caption and its designed class for the caption export.

#include <QDialog>

#include "i18n/captions.h"

namespace zrv::kit {

/// Names and titles \p window as \p caption designs it and makes it modal.
void SetUpWindow(QDialog& window, const i18n::WindowCaption& caption);

}  // namespace zrv::kit
