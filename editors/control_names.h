#pragma once
/// \file
/// The names of the main window's controls as typed constants: an editor
/// asks for `form.require(ctl::cboFreq)` (or `ctl::dateFormat` for the
/// numbered `cboCtl7`) and gets a QComboBox&, and for
/// `form.require(ctl::family::edtCap, tag)` and gets a QLineEdit&, so a
/// misspelt name or a wrong class is a compile error. The list itself,
/// editors/control_list.inc, is written by app/pages/generate_pages.py from
/// the page tables and app/main_window.ui.

#include <string_view>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;

namespace zrv::ctl {

/// A control of class \p T, by its objectName.
template <class T>
struct Name {
    const char* text;
};

/// A registry family of controls of class \p T, by its prefix.
template <class T>
struct Family {
    const char* prefix;
};

/// One control as the designs declare it (for the resolution test).
struct Declared {
    std::string_view name;
    std::string_view qtClass;
};

#define ZRV_CONTROL(cls, name) inline constexpr Name<cls> name{#name};
#define ZRV_FAMILY(cls, prefix)
#include "editors/control_list.inc"
#undef ZRV_CONTROL
#undef ZRV_FAMILY

/// Controls whose objectName is only a number ("chkCtl12") under the name of
/// the field they show (`ctl::lowcellAlert`), from editors/control_meanings.inc,
/// which app/pages/generate_pages.py writes from the field catalogue. The
/// objectName stays: it is the control's key in the language files.
#define ZRV_MEANING(cls, meaning, name) inline constexpr Name<cls> meaning{#name};
#include "editors/control_meanings.inc"
#undef ZRV_MEANING

namespace family {
#define ZRV_CONTROL(cls, name)
#define ZRV_FAMILY(cls, prefix) inline constexpr Family<cls> prefix{#prefix};
#include "editors/control_list.inc"
#undef ZRV_CONTROL
#undef ZRV_FAMILY
}  // namespace family

/// The family prefixes in matching order (the first match wins).
inline constexpr std::string_view kFamilyPrefixes[] = {
#define ZRV_CONTROL(cls, name)
#define ZRV_FAMILY(cls, prefix) #prefix,
#include "editors/control_list.inc"
#undef ZRV_CONTROL
#undef ZRV_FAMILY
};

/// Every control of the designs, in creation order.
inline constexpr Declared kDeclared[] = {
#define ZRV_CONTROL(cls, name) {#name, #cls},
#define ZRV_FAMILY(cls, prefix)
#include "editors/control_list.inc"
#undef ZRV_CONTROL
#undef ZRV_FAMILY
};

}  // namespace zrv::ctl
