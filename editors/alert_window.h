#pragma once
/// \file
/// The alert window `frmAlert` ("Personal and Mail Drop Status Control"):
/// how long the pager alerts for a personal message and for each of the
/// fifteen mail drops. It holds no state of its own: it is filled from the
/// image on every showing and on every full refresh (so it follows a load
/// while closed), and each choice is stored at once and redraws the
/// "Message Type Status" strip of the main window.

#include <QDialog>
#include <array>
#include <memory>

#include "core/alert_lengths.h"

class QComboBox;

namespace Ui {
class frmAlert;
}

namespace zrv {

class MainForm;

class AlertWindow : public QDialog {
    Q_OBJECT
public:
    AlertWindow(MainForm& form, QWidget* parent = nullptr);
    ~AlertWindow() override;

    /// Caption and captions of the current language, then fill().
    void FormShow();
    /// The combos from the image; a value without an item leaves its combo
    /// as it was. Writes nothing.
    void fill();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cboPersonalClick();
    void cboMaliAlertClick(int i);

    std::unique_ptr<Ui::frmAlert> ui_;
    MainForm& form_;
    /// cboMailAlert0..14, by Tag.
    std::array<QComboBox*, kMailDropCount> mailDrops_{};
};

}  // namespace zrv
