#pragma once
/// \file
/// The tool tip of a control that edits a field of the catalogue
/// (core/field_table.h), in the language in force: what the field stores,
/// the values it accepts and its name on the command line, so a dealer who
/// sees a setting on the window can script it with `zrv41k-cli set`.

#include <functional>
#include <string>

#include "core/field_table.h"

namespace zrv::i18n {

/// The text of a language-file \p key in the language in force, or
/// \p english when the file has none.
using TextLookup = std::function<std::string(const std::string& key, const std::string& english)>;

/// A lookup that always gives the English text (the command line's).
std::string EnglishText(const std::string& key, const std::string& english);

/// The text of \p description, its arguments in place.
std::string DescriptionText(const FieldDescription& description, const TextLookup& text);

/// What \p field stores, in words, its arguments in place ("Capcode 9 of the
/// pager: its address on the air").
std::string FieldDescriptionText(const FieldDef& field, const TextLookup& text);

/// The tool tip of \p field, one line each: its description, the values it
/// accepts (wrapped after a comma when long), its command-line name.
std::string FieldToolTip(const FieldDef& field, const TextLookup& text);

}  // namespace zrv::i18n
