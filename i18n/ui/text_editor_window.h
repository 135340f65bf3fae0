#pragma once
/// \file
/// The UI text editor window `frmLang` ("UI Text Edit"): every key of the
/// language file's key list with its English text and its text in the
/// current language, which the user edits; Apply stores the texts into
/// Language.ini, Load and Save as exchange them as .lang files, Load Default
/// restores the factory catalogue. A thin view over i18n::TextEditorModel.

#include <QDialog>
#include <functional>
#include <memory>

#include "ui/kit/proportional_rescaler.h"
#include "i18n/lang_file.h"

namespace Ui {
class frmLang;
}

namespace zrv::i18n::ui {

class TextEditorWindow : public QDialog {
    Q_OBJECT
public:
    TextEditorWindow(MessageCatalogue& catalogue, Notifier& notifier, QWidget* parent = nullptr);
    ~TextEditorWindow() override;

    TextEditorModel& model() { return model_; }

    /// The open and save dialogs: return the chosen path, empty when
    /// cancelled. Default: the Qt file dialogs with the program folder as
    /// start and the .lang filter. Tests replace them.
    std::function<QString(QWidget* parent, const QString& folder)> openDialog;
    std::function<QString(QWidget* parent, const QString& folder)> saveDialog;

    /// Caption from the catalogue, then the rows of the current language.
    void FormShow();
    void btnLoadClick();
    void btnSaveClick();
    void btnApplyClick();
    void btnLoadDefClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    /// Closing by the border (or Escape) drops the edits not applied; when
    /// the user has edited a cell since the grid was filled, the window asks
    /// first.
    void reject() override;

private:
    /// The model's rows and captions into the grid.
    void showRows();
    /// Shows only the rows whose key or texts contain \p text (any case).
    void filterRows(const QString& text);
    QString programFolder() const;
    void reportSaveError();

    std::unique_ptr<Ui::frmLang> ui_;
    TextEditorModel model_;
    Notifier& notifier_;
    kit::ProportionalRescaler rescaler_;
    bool filling_ = false;  ///< set while the grid is filled from the rows
    bool edited_ = false;   ///< a cell was edited since the last fill
};

}  // namespace zrv::i18n::ui
