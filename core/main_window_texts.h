#pragma once
/// \file
/// Small rules of the main window's own dialogs: the advance password and
/// the About window's channel-spacing text.

#include <string>
#include <string_view>

namespace zrv {

/// The application's title (task bar): the first six characters of the
/// product text, then " (USB)".
std::string ApplicationTitle();

/// True for the built-in advance password as written or in lower case; any
/// other spelling (mixed case, blanks) is refused.
bool AdvancePasswordAccepted(std::string_view typed);

/// The About window's channel-spacing pattern of mode 0 (5 kHz), 1 (6.25 kHz)
/// or 2 (Auto); the band text is the first %s, the label the second. Any
/// other mode is shown as mode 0.
std::string_view ChannelSpacingPattern(int mode);

}  // namespace zrv
