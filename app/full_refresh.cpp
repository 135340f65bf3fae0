// The full refresh of the main window, the dependent enabling rules and the
// text-field sizing: every control is rebuilt from the image after start-up,
// a load, a read or a write.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include "app/main_window.h"
#include "core/binding_hint.h"
#include "core/default_image.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "ui_main_window.h"

namespace zrv::app {

namespace {

constexpr RefreshSlot kEditorRefreshOrder[] = {
    RefreshSlot::BandFrequency, RefreshSlot::MenuPrompts,  RefreshSlot::CapcodeBits,
    RefreshSlot::AlertLengths,  RefreshSlot::RwPassword,   RefreshSlot::BatteryThresholds,
    RefreshSlot::SourceTexts,   RefreshSlot::MusicTypes,   RefreshSlot::SerialFields,
    RefreshSlot::AlertWindow,   RefreshSlot::OtaAlertType, RefreshSlot::PagerSerial,
    RefreshSlot::BatteryLowTone,
};

constexpr int kMenuBoxes = 8;
constexpr int kMusicTypeRows = 16;
constexpr int kAlarmTypes = 5;
constexpr int kSourceRows = 32;
constexpr int kPromptEdits = 44;
constexpr int kSourceEdits = 34;
constexpr int kLogoLineFirst = 32;  ///< txtSource32 and 33 are the logo lines

/// Sequential lockout item of byte 0x3C: bit 2 the longest time; bit 3 clear
/// disabled; otherwise the time step (bits 0-1) + 1.
int LockoutItem(const ConfigImage& image) {
    if (image.GetImageBits(layout::kSequentialLockout, 2, 1)) return 5;
    if (!image.GetImageBits(layout::kSequentialLockout, 3, 1)) return 0;
    return image.GetImageBits(layout::kSequentialLockout, 0, 2) + 1;
}

/// Out-of-range alert item: bit 1 of 0x4FC clear is the longest time; bit 3
/// of 0x3D clear disabled; otherwise bits 1-2 of 0x3D + 1.
int OutOfRangeItem(const ConfigImage& image) {
    if (!image.GetImageBits(layout::kOption4FC, 1, 1)) return 5;
    if (!image.GetImageBits(layout::kOption3D, 3, 1)) return 0;
    return image.GetImageBits(layout::kOption3D, 1, 2) + 1;
}

bool IsShortPromptRow(int i) { return i == 3 || i == 4 || i == 21 || i == 28 || i == 43; }

}  // namespace

void MainWindow::refreshAll() {
    // 1. Source page selector.
    if (auto* src = find<QComboBox>(QStringLiteral("cboSrcPage")); src && state_.sourcePage < src->count())
        src->setCurrentIndex(state_.sourcePage);
    // 2. Capcodes of the current capcode page.
    RunRefreshSlot(moduleOrder_, RefreshSlot::CapcodePage, *this);
    // 3. Every hint-bound control.
    refreshHintBoundControls();
    // 4. Dependent enabling, first part.
    applyDependentEnablingFirstPart();
    // 5.-8. Lockout, out-of-range time, prompt language and logo font, contrast.
    refreshLockoutAndOutOfRange();
    refreshLanguageSelectors();
    refreshContrast();
    // 9.-10. Menu boxes and the rules that follow them, under the refresh flag.
    state_.refreshInProgress = true;
    refreshMenuBoxes();
    applyMusicAndOutOfRangeRules();
    setVisible(QStringLiteral("cboTone"), isChecked(QStringLiteral("chkMenu6")));
    state_.refreshInProgress = false;
    // 11. Text-field sizing.
    sizeTextFields();
    // 12. "Direct Show Lamp On" only with the direct paging display.
    setVisible(QStringLiteral("chkDirectShowLampOn"), comboIndex(QStringLiteral("cboCtl4")) != 0);
    // 13. The editors' own refreshers, in their order.
    for (const RefreshSlot slot : kEditorRefreshOrder) RunRefreshSlot(moduleOrder_, slot, *this);
    // 14. Dependent enabling, second part.
    applyReminderRules();
    // 15. Forced values.
    ApplyRefreshForcedValues(image_);
    // 16.-17. Transfer options and "Capcode Music Type Enable".
    refreshTransferOptions();
    if (auto* music = find<QCheckBox>(QStringLiteral("chkCapMusicType")))
        setBoundCheck(music, image_.GetImageBits(layout::kOption458, 2, 1) == 0);
    emit refreshed();
}

void MainWindow::refreshHintBoundControls() {
    for (QWidget* w : boundControls_) {
        const auto hint = ParseBindingHint(HintOf(w).toStdString());
        if (!hint) continue;
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            if (hint->kind == BindingKind::Chk || hint->kind == BindingKind::ChkN)
                setBoundCheck(box, BoundCheckState(image_, *hint));
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (hint->kind == BindingKind::Cbo || hint->kind == BindingKind::CboBaud) {
                const int index = BoundComboIndex(image_, *hint);
                combo->setCurrentIndex(index < combo->count() ? index : -1);
            }
        }
    }
}

void MainWindow::refreshLockoutAndOutOfRange() {
    if (auto* slc = find<QComboBox>(QStringLiteral("cboSLC"))) slc->setCurrentIndex(LockoutItem(image_));
    if (auto* osc = find<QComboBox>(QStringLiteral("cboOSC"))) osc->setCurrentIndex(OutOfRangeItem(image_));
}

void MainWindow::refreshLanguageSelectors() {
    const std::pair<const char*, std::size_t> selectors[] = {{"cboLogo", layout::kLogoFont},
                                                             {"cboLng", layout::kPromptLanguage}};
    for (const auto& [name, offset] : selectors) {
        const int item = LanguageItemFromCode(image_.GetImageBits(offset, 0, 4));
        if (auto* combo = find<QComboBox>(name); combo && item >= 0 && item < combo->count())
            combo->setCurrentIndex(item);
    }
}

void MainWindow::refreshContrast() {
    state_.contrast = image_.byte(layout::kContrast);
    if (auto* slider = find<QSlider>(QStringLiteral("TrackBar1"))) {
        // The slider shows an out-of-range byte at the nearer end of its
        // range; the image keeps the byte as it came.
        const QSignalBlocker block(slider);
        slider->setValue(state_.contrast);
        if (auto* value = find<QLabel>(QStringLiteral("lblValue")))
            value->setText(QString::number(slider->value()));
    }
}

void MainWindow::refreshMenuBoxes() {
    const auto& boxes = registry_.family(QStringLiteral("chkMenu"));
    auto box = [&](int k) -> QCheckBox* {
        return k >= 0 && k < static_cast<int>(boxes.size()) ? qobject_cast<QCheckBox*>(boxes[k]) : nullptr;
    };
    for (int k = 0; k < kMenuBoxes; ++k)
        if (QCheckBox* b = box(k)) b->setChecked(true);
    for (const std::uint8_t code : image_.range(layout::kMenuCodes.offset, layout::kMenuCodes.length)) {
        if (code == layout::kMenuCodeSpace) continue;
        // A code outside the eight menu items names no box and is skipped.
        const int k = int(code) - layout::kFirstMenuCode;
        if (k >= 0 && k < kMenuBoxes)
            if (QCheckBox* b = box(k)) b->setChecked(false);
    }
}

void MainWindow::refreshTransferOptions() {
    const auto check = [this](const char* name, bool on) {
        if (auto* b = find<QCheckBox>(name)) b->setChecked(on);
    };
    check("chkManualWEn", image_.GetImageBits(layout::kOption3D, 4, 1) == 0);
    check("chkFreqMEn", image_.GetImageBits(layout::kTransferOptions, 0, 1) == 0);
    check("chkPwdREn", image_.GetImageBits(layout::kTransferOptions, 1, 1) == 1);
    check("chkPwdMEn", image_.GetImageBits(layout::kTransferOptions, 2, 1) == 1);
}

// Dependent enabling ---------------------------------------------------------------------------------

void MainWindow::applyDependentEnablingFirstPart() {
    const bool alarm = isChecked(QStringLiteral("chkAlarmMusicType"));
    for (int i = 0; i < kAlarmTypes; ++i)
        if (QWidget* w = registry_.at(QStringLiteral("cboAlarmType"), i)) w->setEnabled(alarm);
    setEnabled(QStringLiteral("cboPriType"), isChecked(QStringLiteral("chkPriMusicType")));
    setEnabled(QStringLiteral("cboGroupType"), isChecked(QStringLiteral("chkGupMusicType")));
    setEnabled(QStringLiteral("lblToneType"), isChecked(QStringLiteral("chkReminderSelectTone")));
    const bool lamp = isChecked(QStringLiteral("chkPushKeyLampOn"));
    setVisible(QStringLiteral("chkRDKeyDel"), lamp);
    setVisible(QStringLiteral("CheckBox1"), lamp);
}

void MainWindow::applyMusicAndOutOfRangeRules() {
    const bool music = isChecked(QStringLiteral("chkCapMusicType"));
    for (int i = 0; i < kMusicTypeRows; ++i) {
        for (const char* family : {"cboMusicType", "edtMusicType", "btnPreview"})
            if (QWidget* w = registry_.at(QString::fromLatin1(family), i)) w->setEnabled(music);
    }
    setEnabled(QStringLiteral("lblCapMTPage"), music);
    setEnabled(QStringLiteral("cboMTPage"), music);
    setEnabled(QStringLiteral("CheckBox2"), comboIndex(QStringLiteral("cboOSC")) != 0);
    const bool outOfRange = isChecked(QStringLiteral("CheckBox2"));
    for (const char* name : {"cboORAAlert", "edtOORMusic", "btnPreview16", "lblPrompt41", "edtPrompt41"})
        setEnabled(QString::fromLatin1(name), outOfRange);
}

void MainWindow::applyReminderRules() {
    setEnabled(QStringLiteral("chkReminderSelectTone"), comboIndex(QStringLiteral("cboRDC")) != 0);
    const bool reminder = isChecked(QStringLiteral("chkReminderSelectTone"));
    for (const char* name : {"cboRToneType", "edtReminderMusic", "btnPreview17"})
        setEnabled(QString::fromLatin1(name), reminder);
}

void MainWindow::applySourceTextRules() {
    const bool sources = comboIndex(QStringLiteral("cboSource")) > 0;
    setEnabled(QStringLiteral("cboSrcPage"), sources);
    for (int k = 0; k < kSourceRows; k += 2) {
        auto* enable = registry_.get<QCheckBox>(QStringLiteral("chkSource"), k);
        if (enable) enable->setEnabled(sources);
        const bool rows = sources && enable && enable->isChecked();
        for (int row : {k, k + 1})
            if (QWidget* text = registry_.at(QStringLiteral("txtSource"), row)) text->setEnabled(rows);
    }
}

void MainWindow::applyModifyModeRules() {
    // The alarm, priority and group music-type combos and the tone type
    // follow their option boxes here too: enabling everything must not
    // unlock a combo whose box is unchecked.
    applyDependentEnablingFirstPart();
    applyMusicAndOutOfRangeRules();
    applyReminderRules();
    applySourceTextRules();
}

// Text-field sizing ----------------------------------------------------------------------------------

void MainWindow::sizeTextFields() {
    QLabel* ruler = ui_->lblLen;
    auto* prompt0 = registry_.get<QLineEdit>(QStringLiteral("edtPrompt"), 0);
    QFont rulerFont = ruler->font();
    if (prompt0) rulerFont.setPointSizeF(prompt0->font().pointSizeF());
    const auto size = [&](QLineEdit* edit, bool bold, int letters) {
        QFont f = rulerFont;
        f.setBold(bold);
        ruler->setFont(f);
        ruler->setText(QString(letters, QLatin1Char('A')));
        ruler->adjustSize();
        QFont ef = edit->font();
        ef.setBold(bold);
        edit->setFont(ef);
        edit->resize(ruler->width(), edit->height());
        edit->setMaxLength(letters - 1);
    };
    const bool largeLogo = isChecked(QStringLiteral("chkLogoLargeFont"));
    for (int i = 0; i < kPromptEdits; ++i) {
        auto* edit = registry_.get<QLineEdit>(QStringLiteral("edtPrompt"), i);
        if (!edit) continue;
        if (i == 0 && largeLogo)
            size(edit, true, 17);
        else
            size(edit, false, IsShortPromptRow(i) ? 19 : 22);
    }
    for (int i = 0; i < kSourceEdits; ++i) {
        auto* edit = registry_.get<QLineEdit>(QStringLiteral("txtSource"), i);
        if (!edit) continue;
        if (i < kLogoLineFirst)
            size(edit, false, 22);
        else
            size(edit, true, 17);
    }
}

}  // namespace zrv::app
