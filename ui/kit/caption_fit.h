#pragma once
/// @file caption_fit.h
/// Auto-size labels. A page label whose design sets the dynamic property
/// `AutoSize` takes the width its caption needs in its present font, keeping
/// its left edge and its height, whenever a language puts a new caption on it
/// and whenever the window rescales its font. Labels that show image values
/// (NULL marker) and labels designed as fixed cells (centred column headings)
/// are not marked and keep their designed width.

class QWidget;

namespace zrv::kit {

/// The dynamic property that marks an auto-size label in the page designs.
inline constexpr const char* kAutoSizeProperty = "AutoSize";

/// True for a QLabel whose design marks it as auto-size.
bool AutoSizes(const QWidget* w);

/// Gives an auto-size label the width of its caption (left-anchored); any
/// other widget is left as it is.
void FitToCaption(QWidget* w);

}  // namespace zrv::kit
