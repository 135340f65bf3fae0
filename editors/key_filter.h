#pragma once
/// \file
/// The keystroke filter of the numeric boxes (frequency, capcodes): Enter
/// commits the box (the focus goes to the focus sink, so the box's exit
/// handler runs); the editing keys pass untouched (Backspace, Delete, the
/// arrows, Home/End, the clipboard and undo shortcuts: keys that type no
/// character); every character typed is judged by a rule from core/, and a
/// refused character is not typed: the rule's message is shown and the
/// box's own refusal step runs.

#include <QLineEdit>
#include <functional>

#include "core/outcome.h"

namespace zrv {

class MainForm;

/// Filters what is typed into \p box through \p rule; \p refused runs after
/// a refused character's message (e.g. to show the stored value again).
void FilterTypedCharacters(QLineEdit& box, MainForm& form, std::function<Outcome(char32_t)> rule,
                           std::function<void()> refused = {});

}  // namespace zrv
