#pragma once
/// \file
/// What export and import share: the JSON document's layout version, and
/// storing a document's fields into a table through the fields' rules.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/command.h"
#include "cli/field_cli.h"
#include "core/image.h"

namespace zrv::cli {

using Json = nlohmann::ordered_json;

/// The document's layout; an import refuses any other.
inline constexpr int kSchemaVersion = 1;

/// Prints "zrv41k-cli import: MESSAGE" (control characters escaped) and
/// returns kExitFailed.
int ImportFailure(const std::string& message);

/// Stores every field of \p fields whose value differs from what \p table
/// shows through its rule: first the fields whose rules change others, then
/// the rest, so that no rule overwrites a value the document gives. Then
/// each field is checked against the document: a value that the table does
/// not show, and that storing again would change, was overwritten by
/// another field's rule. Returns kExitOk, or kExitFailed after printing
/// (when \p quiet is false) the error that names the field.
int ApplyFields(const Json& fields, OpenedTable& table, bool quiet);

/// \p image with the bytes marked in \p taken replaced by those of \p base
/// (the start-up image), in the context File > Open gives it.
OpenedTable WithBytesOf(const ConfigImage& base, const ConfigImage& image, const std::vector<bool>& taken);

}  // namespace zrv::cli
