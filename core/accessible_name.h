#pragma once
/// \file
/// The name a screen reader speaks for a control, made from the caption that
/// names it on screen: its own (a button, a check box) or the label beside it.
/// A caption is laid out for the eye: an "&" marks the access key, a trailing
/// colon or an arrow of dashes ("NO PAGES ------->") points at the control.
/// None of that is worth hearing, so the name keeps only the words.

#include <string>
#include <string_view>

namespace zrv {

/// \p caption (UTF-8) as a spoken name: mnemonic "&" removed ("&&" stays one
/// "&"), line breaks and runs of blanks made one space, and trailing colons,
/// blanks and dash arrows ("--->", "->", ">") removed. Empty when nothing is
/// left.
std::string AccessibleNameFromCaption(std::string_view caption);

}  // namespace zrv
