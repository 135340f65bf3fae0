#pragma once
/// \file
/// Reading a JSON document that a person may have edited (import's input)
/// without taking its word for more than it says: a key given twice in one
/// object, nesting deeper than any document of ours, or a number beyond a
/// double is refused with a message naming where it is, rather than
/// silently keeping the last key, running out of stack or aborting.

#include <istream>
#include <string>

#include <nlohmann/json.hpp>

namespace zrv::cli {

using Json = nlohmann::ordered_json;

/// Nesting of objects and arrays that a document may hold; ours hold four.
inline constexpr std::size_t kMaxJsonDepth = 16;

/// Parses \p in into \p doc. False with \p error set (naming the key or the
/// position) when the text is not JSON or is refused as above; \p doc is
/// then left empty. Never throws for any input.
bool ReadJsonDocument(std::istream& in, Json& doc, std::string& error);

}  // namespace zrv::cli
