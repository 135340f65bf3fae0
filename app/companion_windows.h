#pragma once
/// \file
/// The windows created at start-up after the main window, in their order:
/// frmOTA, fm_FunBit, fm_About, Form1, frmAlert, frmLang, PasswordDlg1. They
/// live until the end and are shown modally on demand. The OTA, programming
/// and text editor windows come from their own targets (ota/ui, link/ui,
/// i18n/ui), the function bit and alert windows from editors/; About and the
/// Advance Password dialog are the main window's own.

#include <QDialog>
#include <QStringList>
#include <memory>
#include <string>

#include "editors/form_state.h"

namespace Ui {
class fm_About;
class PasswordDlg1;
}

namespace zrv::i18n {
class MessageCatalogue;
}

namespace zrv {
class Notifier;
class FunctionBitWindow;
class AlertWindow;
}
namespace zrv::link::ui {
class ProgrammingWindow;
}
namespace zrv::ota::ui {
class OtaWindow;
}
namespace zrv::i18n::ui {
class TextEditorWindow;
}

namespace zrv::app {


/// The About window `fm_About`.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(const FormState& state, const i18n::MessageCatalogue* catalogue, QWidget* parent);
    ~AboutWindow() override;
    /// Fills caption, version and channel-spacing texts (Tfm_About.FormShow).
    void FormShow();
    void btnOKClick() { accept(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::fm_About> ui_;
    const FormState& state_;
    const i18n::MessageCatalogue* catalogue_;
};

/// The Advance Password dialog `PasswordDlg1`.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(FormState& state, const i18n::MessageCatalogue* catalogue, Notifier& notifier,
                   QWidget* parent);
    ~PasswordDialog() override;
    /// Caption from the catalogue and the other captions in the current
    /// language (TPasswordDlg1.FormShow).
    void FormShow();
    /// Checks the typed text, switches advance mode on or shows Msg29, closes.
    void OKBtnClick();
    /// Called when advance mode is switched on (shows Label2 and textPass).
    std::function<void()> onAdvance;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::PasswordDlg1> ui_;
    FormState& state_;
    const i18n::MessageCatalogue* catalogue_;
    Notifier& notifier_;
};

class MainWindow;

/// Owns the companion windows and keeps their creation order.
class CompanionWindows {
public:
    /// Creates the windows after \p main, in the start-up order.
    explicit CompanionWindows(MainWindow& main);
    ~CompanionWindows();

    ota::ui::OtaWindow* frmOTA = nullptr;
    FunctionBitWindow* fm_FunBit = nullptr;
    AboutWindow* fm_About = nullptr;
    link::ui::ProgrammingWindow* Form1 = nullptr;
    AlertWindow* frmAlert = nullptr;
    i18n::ui::TextEditorWindow* frmLang = nullptr;
    PasswordDialog* PasswordDlg1 = nullptr;

    /// Object names in creation order.
    const QStringList& creationOrder() const { return order_; }
    /// The windows whose captions the export writes after the main window:
    /// function-bit, alert, text editor, About, password, programming.
    std::vector<QWidget*> exportOrder() const;

private:
    QStringList order_;
};

}  // namespace zrv::app
