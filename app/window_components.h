#pragma once
/// \file
/// A Qt window as the caption rules see it: every named control with its
/// designed class (the "designedClass" property), Hint, caption and combo
/// items, in creation order, and the way back onto the controls after
/// ApplyCaptions.

#include <QWidget>

#include "i18n/captions.h"

namespace zrv::app {

/// The components of \p window in creation order: the named widgets, then
/// the menus and menu items (actions). Controls without a designed class are
/// described with an empty class, which no caption rule matches.
i18n::ComponentList DescribeComponents(QWidget* window);

/// Numbers every named descendant of \p root in its present (creation)
/// order. Bringing a page to the front reorders the toolkit's child lists;
/// DescribeComponents lists numbered controls by these numbers instead.
void RecordCreationOrder(QWidget* root);

/// Puts the captions and combo items of \p components back on the controls
/// of \p window (matched by name). Combo selections are restored without
/// running a change handler.
void ApplyComponents(QWidget* window, const i18n::ComponentList& components);

}  // namespace zrv::app
