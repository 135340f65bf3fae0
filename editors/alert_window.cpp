#include "editors/alert_window.h"

#include <QComboBox>
#include <QPushButton>

#include "editors/field_tool_tips.h"
#include "editors/main_form.h"
#include "ui/kit/window_setup.h"
#include "ui_alert_window.h"

namespace zrv {

AlertWindow::AlertWindow(MainForm& form, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmAlert>()), form_(form) {
    ui_->setupUi(this);
    kit::SetUpWindow(*this, i18n::kAlertWindow);
    setFixedSize(size());
    // Every "cboMail" combo goes into the array at its Tag.
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        if (!combo->objectName().startsWith(QLatin1String("cboMail"))) continue;
        const int tag = combo->property("Tag").toInt();
        if (tag < 0 || tag >= kMailDropCount) continue;
        mailDrops_[static_cast<std::size_t>(tag)] = combo;
        connect(combo, &QComboBox::activated, this, [this, tag] { cboMaliAlertClick(tag); });
        const FieldDef* field = &RequireField(std::string("alert.maildrop.") + "123456789ABCDEF"[tag]);
        FieldToolTipFrom(combo, form_, [field] { return field; });
    }
    FieldToolTipFrom(ui_->cboPersonal, form_, [] { return &RequireField("alert.personal"); });
    connect(ui_->cboPersonal, &QComboBox::activated, this, &AlertWindow::cboPersonalClick);
    connect(ui_->btnPMOK, &QPushButton::clicked, this, &QDialog::accept);
}

AlertWindow::~AlertWindow() = default;

void AlertWindow::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void AlertWindow::FormShow() {
    form_.localise(*this, i18n::kAlertWindow);
    fill();
}

void AlertWindow::fill() {
    const ConfigImage& image = form_.image();
    if (const auto item = PersonalAlertItem(image)) ui_->cboPersonal->setCurrentIndex(*item);
    for (int i = 0; i < kMailDropCount; ++i)
        if (QComboBox* combo = mailDrops_[static_cast<std::size_t>(i)])
            if (const auto item = MailDropAlertItem(image, i)) combo->setCurrentIndex(*item);
}

void AlertWindow::cboPersonalClick() {
    const int item = ui_->cboPersonal->currentIndex();
    if (item < 0) return;
    StorePersonalAlert(form_.image(), item);
    form_.refreshSlot(RefreshSlot::AlertLengths);
}

void AlertWindow::cboMaliAlertClick(int i) {
    const int item = mailDrops_[static_cast<std::size_t>(i)]->currentIndex();
    if (item < 0) return;
    StoreMailDropAlert(form_.image(), i, item);
    form_.refreshSlot(RefreshSlot::AlertLengths);
}

}  // namespace zrv
