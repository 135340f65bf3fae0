#pragma once
/// \file
/// The UI text editor window `frmLang`: edits the texts of Language.ini and
/// exchanges them as .lang files (over i18n::TextEditorModel).

#include <QDialog>

namespace zrv::i18n::ui {

class TextEditorWindow : public QDialog {
    Q_OBJECT
public:
    explicit TextEditorWindow(QWidget* parent = nullptr);
};

}  // namespace zrv::i18n::ui
