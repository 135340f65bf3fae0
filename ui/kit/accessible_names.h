#pragma once
/// \file
/// Spoken names of a window's controls. Every control that takes the keyboard
/// focus is named by what names it on screen, in the language shown:
///  - a name its design gives it (`accessibleName` in the design, English),
///    looked up in the language file under "acc" + its objectName without
///    trailing digits (one text for a numbered family), for the few controls
///    that have no caption and no label (a search box, a list);
///  - else the label whose buddy it is (the label standing beside it);
///  - else the caption of the control its design names in the dynamic
///    property `NamedBy` (a column heading that names every control of its
///    column, the check box that switches a list on);
///  - else its own caption (buttons, check boxes, radio buttons).
/// A control whose design names another in `DescribedBy` (the label of its
/// row, such as "Cap #3", or its group box) takes that one's caption as its
/// description.
/// Names and descriptions go through AccessibleNameFromCaption. Windows run
/// NameControls wherever they put captions on their controls, so the names
/// follow the language and the texts of the rows in view.

#include <functional>
#include <string>

class QWidget;

namespace zrv::kit {

/// The dynamic property naming the control whose caption names a control.
inline constexpr const char* kNamedByProperty = "NamedBy";
/// The dynamic property naming the control whose caption describes a control.
inline constexpr const char* kDescribedByProperty = "DescribedBy";
/// The language-file key of a designed name is this prefix + objectName
/// without its trailing digits.
inline constexpr const char* kAccessibleNameKeyPrefix = "acc";

/// The text in the current language under \p key, \p english when the
/// language file has none.
using TextLookup = std::function<std::string(const std::string& key, const std::string& english)>;

/// True for a control that takes the keyboard focus (not the toolkit's own
/// inner parts such as a combo box's edit).
bool TakesFocus(const QWidget* w);

/// Names (and describes) every focusable control of \p window as above;
/// without \p lookup a designed name stays in English. Running it again
/// after captions changed renames the controls; nothing changes otherwise.
void NameControls(QWidget* window, const TextLookup& lookup = {});

}  // namespace zrv::kit
