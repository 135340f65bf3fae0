#pragma once
/// \file
/// How wide the prompt and source text fields of the main window are and how
/// many characters they take. The window sizes each field on a ruler label
/// holding \c rulerLetters letters "A" in the field's font style.

namespace zrv {

struct TextFieldSize {
    bool bold = false;     ///< bold font for the field and its ruler
    int rulerLetters = 0;  ///< letters "A" of the ruler text that gives the width
    int maxLength = 0;     ///< characters the field takes

    friend bool operator==(const TextFieldSize&, const TextFieldSize&) = default;
};

inline constexpr int kPromptFieldCount = 44;  ///< edtPrompt0..43
inline constexpr int kSourceFieldCount = 34;  ///< txtSource0..33, 32 and 33 the logo lines

/// Prompt field \p promptIndex: the first prompt in the large logo font is
/// bold with 16 characters; the short prompts 3, 4, 21, 28 and 43 take 18,
/// every other prompt 21.
TextFieldSize PromptFieldSize(int promptIndex, bool logoLargeFont);
/// Source field \p sourceIndex: the 32 source lines take 21 characters in
/// the regular font; the two logo lines (32, 33) take 16 in bold.
TextFieldSize SourceFieldSize(int sourceIndex);

}  // namespace zrv
