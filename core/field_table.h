#pragma once
/// \file
/// Every editor field of the main window as one table of data: its name on
/// the command line, its kind, the values it accepts, the window control that
/// shows it, where the image holds it, and how it is read and stored. Reading
/// gives the text the window shows; storing goes through the same rule the
/// window's handler applies (core/frequency.h, core/capcode_rules.h, ...),
/// with its side effects. The command line's get, set, export and import and
/// their help texts are all made from this table.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/binding_hint.h"
#include "core/image.h"
#include "core/outcome.h"

namespace zrv {

enum class FieldKind {
    Combo,     ///< a combo box: one of its items
    Check,     ///< a check box: "on" or "off"
    Text,      ///< an edit: its text, checked by the edit's exit rule
    Number,    ///< a slider or a number box: a whole number in a range
    ReadOnly,  ///< shown by the window, never typed
};

/// What the window holds beside the image that a rule needs.
struct FieldContext {
    int band = 0;                  ///< the band selector's item
    bool firmwareUnknown = false;  ///< the programmer's firmware is unknown
    int capcodeCount = 16;         ///< capcodes a table file keeps
};

/// What a field stores, in words, for its tool tip, the field list and the
/// user guide's reference: the language-file key of the text, its English
/// text (a format with one %s per argument) and the arguments the field's
/// name gives it (capcode number, function bit, mail drop, menu item).
struct FieldDescription {
    std::string key;                ///< "TipCapcode"
    std::string english;            ///< "Capcode %s of the pager: its address on the air"
    std::vector<std::string> args;  ///< {"9"} for capcode.9
};

struct FieldDef {
    std::string name;                ///< "capcode.1.A.display"
    FieldKind kind = FieldKind::Text;
    std::vector<std::string> items;  ///< the combo's items, in order
    std::string accepts;             ///< accepted values in words ("7..2097151")
    std::string control;             ///< the window control ("edtCap0 (page 1)")
    std::string location;            ///< where the image holds it ("0x1000..0x1002")
    /// The text the window shows; empty when a combo shows no item.
    std::function<std::string(const ConfigImage&, const FieldContext&)> get;
    /// Stores \p text (a combo's or check box's value already turned into
    /// \p item: the item index, or 1/0 for on/off). Null for read-only fields.
    std::function<Outcome(ConfigImage&, FieldContext&, const std::string& text, int item)> set;
    /// The group of the export document ("frequency", "capcodes", ...).
    std::string group;
    /// Whole bytes (offset, length) that this field alone shows and stores;
    /// empty for fields that share their bytes with others (bits, codes).
    std::vector<std::pair<std::size_t, std::size_t>> bytes;
    /// Storing it also changes other fields (a band's preset frequency and
    /// baud rate, a prompt language's prompt set, the battery type's
    /// thresholds, the logo centred for its font): a document that gives
    /// all fields at once stores these first, so that its own values for
    /// the others are stored after them and kept.
    bool sideEffects = false;

    // How the main window shows the field -------------------------------------------
    /// The exact objectName of the main-window control that shows the field
    /// ("edtCap0", "chkLogoLargeFont"); empty when only a companion window
    /// (function bits, alert lengths) shows it. A battery threshold names the
    /// list of the rechargeable cell; ShownByControl gives the one in force.
    std::string objectName;
    /// The combo that selects the page of a per-page row ("cboCCPage",
    /// "cboSrcPage", "cboMTPage") and the page's item; empty and -1 for a
    /// field the window always shows.
    std::string pageSelector;
    int page = -1;
    /// The binding of a hint-bound check box or combo: the window shows and
    /// stores the control by it; empty for fields with an editor of their own.
    std::optional<BindingHint> binding;

    // What the window's design and the language file take from the field:
    // the page generator builds the plain controls from these, the caption
    // check compares them with the factory catalogue.
    /// The control's binding hint ("0x039,6,1,chk"); empty when it has none.
    std::string hint;
    /// The English caption the design gives the field (a check box's text,
    /// or the text of the label beside an edit or a combo); empty where the
    /// caption is a numbered family's format ("Cap #%d").
    std::string caption;
    /// The language-file key of that caption: the check box's objectName or
    /// the label's.
    std::string captionKey;

    /// What the field stores (every field has one).
    FieldDescription description;
};

/// All fields, in table order.
const std::vector<FieldDef>& FieldTable();
/// The field called \p name, or null.
const FieldDef* FindField(std::string_view name);
/// The field called \p name; throws std::logic_error when there is none (a
/// name written in code, such as "beep-and-vibration", that must exist).
const FieldDef& RequireField(std::string_view name);
/// The field the main-window control \p objectName shows on page \p page of
/// its page selector (ignored for a control without pages), or null.
const FieldDef* FieldOfControl(std::string_view objectName, int page = 0);
/// The objectName of the control that shows \p field for \p image: the
/// threshold list of the battery type in force, else field.objectName.
std::string ShownByControl(const FieldDef& field, const ConfigImage& image);
/// The context the window has after opening a table file into \p image.
FieldContext ContextAfterOpen(const ConfigImage& image);

/// The fields whose shown value differs between \p before and \p after, in
/// table order (each image read in the context an open gives it).
std::vector<const FieldDef*> ChangedFields(const ConfigImage& before, const ConfigImage& after);
/// A change's name for the user: of the changed fields, the first whose
/// rule changes others (a band, a prompt language), else the first, in
/// words ("prompt language", "capcode 2"); "change" when no field shows it.
std::string ChangeName(const ConfigImage& before, const ConfigImage& after);

/// The pattern of a field name that a family of fields shares: a number
/// becomes N, a function bit after a number X, a mail drop M
/// ("capcode.N.X.display", "alert.maildrop.M").
std::string FieldNamePattern(std::string_view name);

/// The description of the field called \p name: its family's text with the
/// numbers and letters of the name as arguments; an empty key when no family
/// describes it.
FieldDescription DescribeField(std::string_view name);

/// The kind's name as the field list shows it ("combo", "check", ...).
std::string_view FieldKindName(FieldKind kind);

/// How a value given for a field was understood.
struct ParsedValue {
    bool ok = false;
    int item = -1;        ///< combo item, or 1/0 for a check box
    std::string error;    ///< when not ok: names the field and the accepted values
};
/// A combo value by its item text or index, a check box value "on"/"off";
/// texts and numbers pass as they are (their rule judges them).
ParsedValue ParseFieldValue(const FieldDef& field, std::string_view value);

/// Result of storing one value.
struct SetFieldResult {
    enum class Status { Stored, Refused, BadValue } status = Status::Stored;
    std::optional<Message> message;  ///< refusal, or a warning that came with a store
    std::string error;               ///< BadValue: names the field and the accepted values
};
/// Parses \p value and stores it through the field's rule, as the window's
/// handler does. A check box set to the state it shows stores nothing (the
/// box sends no change). A read-only field is a BadValue.
SetFieldResult SetFieldValue(ConfigImage& image, FieldContext& context, const FieldDef& field,
                             std::string_view value);

}  // namespace zrv
