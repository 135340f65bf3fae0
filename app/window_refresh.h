#pragma once
/// \file
/// What the main window shows of its document: the full refresh in the
/// order of kFullRefresh (editors/editor_module.h), the sizing of the text
/// fields, the band selector after an open or a read, and the designed
/// defaults a start-up without a default table shows.

#include <vector>

class QLabel;

namespace zrv {
class EditorModule;
class FieldBinder;
class MainForm;
}  // namespace zrv

namespace zrv::app {

/// Rebuilds every control from the image: each editor module refreshes the
/// controls it owns at its slots, \p binder the hint-bound controls; the
/// source page selector, the text-field sizing and the forced values are
/// the window's own. Each slot runs under its refresh phase.
void RunFullRefresh(MainForm& form, const std::vector<EditorModule*>& modules, FieldBinder& binder, QLabel& ruler);
/// Sizes the prompt and source edits to their letters, measured by \p ruler.
void SizeTextFields(MainForm& form, QLabel& ruler);
/// Sets cboFreq to the band the image names, without its change handler
/// (after File > Open and Pager > Read); a band the image does not name
/// keeps the selection.
void SelectBandFromImage(MainForm& form);
/// Shows a table file just opened: its band, capcode pages and controls.
void ShowLoadedTable(MainForm& form);
/// Without a default table: the first band and German prompts and logo.
void ShowDesignedDefaults(MainForm& form);

}  // namespace zrv::app
