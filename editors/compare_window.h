#pragma once
/// \file
/// The Compare window `frmCompare`: the fields in which this configuration
/// differs from another one (a table file, the pager), each with both
/// values, and the runs of bytes no field shows at the end. A filter keeps
/// the rows whose field name or values hold its text; a double-click on a
/// field (or Enter on it) asks the main window to show that field's control.
/// Shown on its own it stays open beside the main window; before a write it
/// asks Write or Cancel.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/comparison_rows.h"
#include "i18n/captions.h"

class QLineEdit;
class QTableWidget;

namespace Ui {
class frmCompare;
}

namespace zrv {

class MainForm;

/// The window's own caption: its key and designed caption.
inline constexpr i18n::WindowCaption kCompareWindow{"frmCompare", "Compare"};

class CompareWindow : public QDialog {
    Q_OBJECT
public:
    explicit CompareWindow(MainForm& form, QWidget* parent = nullptr);
    ~CompareWindow() override;

    /// Shows \p comparison of this configuration with the other side, whose
    /// column \p otherHeading heads and \p otherName names in the title,
    /// and brings the window to the front; the main window stays usable.
    void showComparison(const ImageComparison& comparison, const Message& otherHeading, const QString& otherName);
    /// Before a write: shows what the write changes on the pager and waits
    /// for Write (true) or Cancel (false).
    bool askBeforeWrite(const ImageComparison& comparison);

    /// The user chose the field of a row; the main window shows it.
    std::function<void(const FieldDef&)> onFieldChosen;

    /// The list, the filter and the rows the filter keeps (for the main
    /// window's tests and tools).
    QTableWidget& table();
    QLineEdit& filter();
    /// The names of the rows shown now, top to bottom.
    std::vector<std::string> shownNames() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    /// Captions in the current language, \p summary above the list, the
    /// column headings, the rows; the filter starts empty.
    void fill(const ImageComparison& comparison, const Message& otherHeading, const std::string& summary);
    void applyFilter();
    void rowChosen(int row);
    std::string text(const Message& m) const;

    std::unique_ptr<Ui::frmCompare> ui_;
    MainForm& form_;
    std::vector<ComparisonRow> rows_;
};

}  // namespace zrv
