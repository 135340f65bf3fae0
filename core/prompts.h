#pragma once
/// \file
/// The pager's own texts as the editors store them: the 20-byte prompt
/// records of the power-up logo (Tag 0) and the menu prompts (Tags 1..43),
/// their alignment, the prompt language that loads a built-in set, the logo
/// font, and the source texts (two 21-character lines and an enable bit for
/// each function bit of each capcode, sixteen to a source page).
///
/// Texts here are Windows-1252 bytes, one byte per character, as the image
/// holds them; the window converts from and to its own text.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

inline constexpr int kPromptBoxCount = 44;  ///< edtPrompt0..43
inline constexpr int kLogoPrompt = 0;

/// Image offset of the record of prompt box \p tag (0..43); throws
/// std::out_of_range for another tag.
std::size_t PromptOffset(int tag);
/// Prompts 3, 4, 21 and 28 keep three more leading spaces than they show.
bool IsSpecialPrompt(int tag);
/// The characters prompt box \p tag takes (21, 18, or 16 for the logo in
/// the large font).
int PromptMaxLength(int tag, bool logoLargeFont);

/// Msg2, a prompt of more than 18 characters after its leading spaces.
Message PromptTooLongMessage();

/// Stores the text of prompt box \p tag (the exit of a prompt box):
/// - more than 18 characters after the leading spaces: refused with Msg2;
/// - the leading spaces (three more for the special prompts) go into the low
///   nibble of the attribute byte, up to 15; spaces beyond 15 stay in front
///   of the text; the high nibble is kept;
/// - the text after its leading spaces is stored with its length, trailing
///   spaces included (the box shows them again, so what was typed is what
///   is stored); the bytes after it stay as they were;
/// - the logo also sets the prompt mode: 0 for a text of one space, else 2.
/// Characters up to 0x20 count as spaces when trimming. A text whose
/// stored form would not fit the record's 18 bytes is refused with Msg2 too.
Outcome StorePromptText(ConfigImage& image, int tag, std::string_view text);

/// MsgPagerText, a prompt or source text with a character the pager cannot
/// hold as typed.
Message PagerTextMessage();
/// The exit of prompt box \p tag with the box's text \p utf8 (the window's
/// text, or a value given on the command line): a text equal to what the box
/// shows stores nothing (looking at a loaded prompt never rewrites it);
/// malformed UTF-8, a character outside Windows-1252 or a control character
/// is refused with PagerTextMessage(); anything else goes to
/// StorePromptText.
Outcome StoreTypedPrompt(ConfigImage& image, int tag, std::string_view utf8);
/// The text prompt box \p tag shows: its leading spaces (three fewer for the
/// special prompts), then its stored characters. A length byte above 18 is
/// read as 18.
std::string ShownPromptText(const ConfigImage& image, int tag);

enum class Alignment { Left, Centre, Right };
/// \p text without its surrounding spaces, preceded by no spaces (Left),
/// half the free room (Centre) or all of it (Right) for \p maxLength.
std::string AlignText(std::string_view text, int maxLength, Alignment alignment);

/// The prompt language selector's item \p item (0..4, std::out_of_range
/// otherwise): prompt mode 2, the language code into 0x3A and 0x3E, and the
/// item's built-in prompt set (0x100..0x36B, and 0x3B8..0x3DF for French and
/// German). The window then sizes the fields, shows the prompts and centres
/// the logo.
void ChangePromptLanguage(ConfigImage& image, int item);
/// Centres the logo in its box as the window does after a prompt language
/// change or a change of "Logo Large Font": the logo text without its
/// surrounding spaces, (M - T) div 2 spaces in front for the box length M of
/// the stored font size (none when the text fills the box), stored through
/// StorePromptText unless it is the text already shown. No character of the
/// logo is lost, whatever the box length.
Outcome CentreLogo(ConfigImage& image);
/// The logo font selector's item \p item (0..4): its code into 0x3F.
void StoreLogoFont(ConfigImage& image, int item);

// Source texts ---------------------------------------------------------------------

inline constexpr int kSourcesPerPage = 16;  ///< four capcodes x four function bits
inline constexpr int kSourceLineLength = 21;
/// Source pages: two per eight capcodes in use, twelve at most.
inline constexpr int kMaxSourcePages = 12;

/// The source-text selector: 1 ("Enable") when bit 6 of 0x3B is set, else 0.
int SourceTextsItem(const ConfigImage& image);
/// Stores the selector's item: bit 6 = 1 for "Enable", bit 5 = 0.
void StoreSourceTextsItem(ConfigImage& image, int item);

/// Source \p k (0..15) of source page \p page belongs to capcode
/// page x 4 + k / 4 + 1 (1-based) and function bit k % 4.
int SourceCapcode(int page, int k);
/// Whether source \p k of \p page is enabled (0x7C0 + 2 page + k / 8, bit 7 - k % 8).
bool SourceEnabled(const ConfigImage& image, int page, int k);
void StoreSourceEnabled(ConfigImage& image, int page, int k, bool on);
/// Offset of line \p line (0 or 1) of source \p k on \p page. Throws
/// std::out_of_range for an index outside its range.
std::size_t SourceLineOffset(int page, int k, int line);
/// The 21 stored characters of a line.
std::string SourceLine(const ConfigImage& image, int page, int k, int line);
/// Stores \p text padded with spaces to 21 characters (longer text is cut)
/// and returns what was stored, which the line then shows.
std::string StoreSourceLine(ConfigImage& image, int page, int k, int line, std::string_view text);

/// MsgSourceLength, a source line of more than 21 characters.
Message SourceLineTooLongMessage();
struct SourceLineResult {
    Outcome outcome;
    std::string shown;  ///< UTF-8: the 21 characters the line shows when stored
};
/// The exit of a source line with the box's text \p utf8: the text the line
/// shows (trailing spaces aside) stores nothing; more than 21
/// characters is refused with SourceLineTooLongMessage(), malformed UTF-8,
/// a character outside Windows-1252 or a control character with
/// PagerTextMessage(); nothing is stored then. Otherwise the text is stored
/// through StoreSourceLine, padded with spaces.
SourceLineResult StoreTypedSourceLine(ConfigImage& image, int page, int k, int line, std::string_view utf8);

}  // namespace zrv
