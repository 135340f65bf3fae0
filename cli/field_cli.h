#pragma once
/// \file
/// What the field commands (get, set, export, import) share: a table file
/// opened as File > Open does with the window's context, saved through the
/// Save steps, and the texts of refusals and warnings.

#include <optional>
#include <string>

#include "core/field_table.h"
#include "core/image.h"
#include "core/notifier.h"

namespace zrv::cli {

struct OpenedTable {
    ConfigImage image;
    int capcodeCount = 16;
    FieldContext context;
};

/// Opens \p path as a document over the start-up image, as File > Open
/// does; prints the Open message to stderr and returns false when the file
/// is refused.
bool OpenTable(const std::string& path, OpenedTable& table);
/// Saves as the document's Save does, with the file's lock already held by
/// the caller; prints the refusal and returns false on failure.
bool SaveTable(const std::string& path, OpenedTable& table);

/// The field names of the table with their numbers and function bits
/// written as N and X ("capcode.N.X.display"), once each, grouped as in the
/// table: one line per group, for the help texts of the commands.
std::string FieldNameSummary();

/// "no field 'x' (run 'zrv41k-cli fields' for the list)".
std::string UnknownFieldText(const std::string& name);
/// \p utf8 for a terminal: control characters (C0, DEL and C1) as "\\xNN",
/// so a value from a file or a document cannot send escape sequences.
std::string TerminalText(const std::string& utf8);
/// A refused value's message naming the field: "FIELD: MsgNN: text", or
/// for a refusal of the command line's own "FIELD: text"; escaped for a
/// terminal.
std::string RefusalText(const FieldDef& field, const std::optional<Message>& message);
/// Prints RefusalText to stderr.
void PrintRefusal(const FieldDef& field, const std::optional<Message>& message);
/// Prints "warning: MsgNN: text" to stderr.
void PrintWarning(const Message& message);

}  // namespace zrv::cli
