#include "editors/function_bit_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "core/capcode_rules.h"
#include "core/capcodes.h"
#include "editors/field_tool_tips.h"
#include "editors/main_form.h"
#include "i18n/safe_format.h"
#include "ui/kit/window_setup.h"
#include "ui_function_bit_window.h"

namespace zrv {

namespace {
/// The built-in format of lblCapFunBit; the language file's lblCapFunBit
/// replaces it.
constexpr const char* kCapcodeLineFormat = "Capcode %d Function Bit";
constexpr int kFunctionBits = 4;
}  // namespace

FunctionBitWindow::FunctionBitWindow(MainForm& form, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::fm_FunBit>()), form_(form) {
    ui_->setupUi(this);
    kit::SetUpWindow(*this, i18n::kFunctionBitWindow);
    setFixedSize(size());
    priority_ = {ui_->chkFunPri0, ui_->chkFunPri1, ui_->chkFunPri2, ui_->chkFunPri3};
    display_ = {ui_->cboDisp0, ui_->cboDisp1, ui_->cboDisp2, ui_->cboDisp3};
    type_ = {ui_->cboType0, ui_->cboType1, ui_->cboType2, ui_->cboType3};
    for (int f = 0; f < kFunctionBits; ++f) {
        connect(priority_[f], &QCheckBox::toggled, this, [this, f] { chkFunPri0Click(f); });
        connect(display_[f], &QComboBox::activated, this, [this, f] { cboDisp0Click(f); });
        connect(type_[f], &QComboBox::activated, this, [this, f] { cboType0Click(f); });
        // The tool tips name the fields of the capcode the window edits.
        const auto field = [this, f](const char* what) {
            return [this, f, what] {
                return FindField("capcode." + std::to_string(selectedCapcode + 1) + "." + "ABCD"[f] + "." + what);
            };
        };
        FieldToolTipFrom(priority_[f], form_, field("priority"));
        FieldToolTipFrom(display_[f], form_, field("display"));
        FieldToolTipFrom(type_[f], form_, field("type"));
    }
    connect(ui_->btnFunSetOK, &QPushButton::clicked, this, &QDialog::accept);
}

FunctionBitWindow::~FunctionBitWindow() = default;

void FunctionBitWindow::showFor(int n) {
    CapcodeSlotOffset(n);  // a capcode outside 0..47 throws before the window opens
    selectedCapcode = n;
    exec();
}

void FunctionBitWindow::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void FunctionBitWindow::FormShow() {
    form_.localise(*this, i18n::kFunctionBitWindow);
    const std::string format = form_.catalogueText("lblCapFunBit", kCapcodeLineFormat);
    ui_->lblCapFunBit->setText(QString::fromStdString(i18n::SafeFormat(format, {selectedCapcode + 1})));
    loading_ = true;
    const ConfigImage& image = form_.image();
    for (int f = 0; f < kFunctionBits; ++f) {
        display_[f]->setCurrentIndex(FunctionBitDisplayItem(image, selectedCapcode, f).value_or(-1));
        type_[f]->setCurrentIndex(FunctionBitTypeItem(image, selectedCapcode, f).value_or(-1));
        priority_[f]->setChecked(PriorityAlert(image, selectedCapcode, f));
    }
    loading_ = false;
}

void FunctionBitWindow::chkFunPri0Click(int f) {
    if (loading_) return;
    const bool on = priority_[f]->isChecked();
    SetPriorityAlert(form_.image(), selectedCapcode, f, on);
    form_.refreshSlot(RefreshSlot::CapcodeBits);
}

void FunctionBitWindow::cboDisp0Click(int f) {
    if (loading_) return;
    const int item = display_[f]->currentIndex();
    if (item < 0) return;
    StoreFunctionBitDisplay(form_.image(), selectedCapcode, f, item);
    form_.refreshSlot(RefreshSlot::CapcodeBits);
}

void FunctionBitWindow::cboType0Click(int f) {
    if (loading_) return;
    const int item = type_[f]->currentIndex();
    if (item < 0) return;
    StoreFunctionBitType(form_.image(), selectedCapcode, f, item);
    form_.refreshSlot(RefreshSlot::CapcodeBits);
}

}  // namespace zrv
