// The capcode group of the "Freq. && Codes" page: eight slots of the page
// chosen in cboCCPage, each with its capcode box, ON and Manual boxes, the
// three function-bit summaries and the button that opens the function bit
// window; and the two auto-increase boxes that the pager write reads.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/kit/caption_fit.h"
#include "core/capcode_rules.h"
#include "core/capcodes.h"
#include "editors/edit_events.h"
#include "editors/editor_module.h"
#include "editors/function_bit_window.h"
#include "editors/key_filter.h"
#include "editors/main_form.h"
#include "i18n/safe_format.h"

namespace zrv {
namespace {

/// The built-in format of the slot labels "Cap #1" .. "Cap #48"; the
/// language file's lblCap0..lblCap7 replace it.
constexpr const char* kSlotLabelFormat = "Cap #%d";

class CapcodesEditor : public EditorModule {
public:
    std::string name() const override { return "capcodes"; }
    std::vector<RefreshSlot> refreshSlots() const override {
        return {RefreshSlot::CapcodePage, RefreshSlot::CapcodeBits};
    }

    void connectHandlers(MainForm& form) override {
        for (int slot = 0; slot < kCapcodeSlotsPerPage; ++slot) {
            QLineEdit& box = form.require(ctl::family::edtCap, slot);
            OnEnter(&box, [&box] { box.clear(); });  // a fresh value is typed
            OnExit(&box, [&form, slot] { edtCap0Exit(form, slot); });
            FilterTypedCharacters(box, form, CheckCapcodeKey);
            QCheckBox& on = form.require(ctl::family::chkEnCap, slot);
            QObject::connect(&on, &QCheckBox::toggled, &on, [&form, slot](bool checked) {
                StoreCapcodeOnBox(form.image(), form.state().capcodePage, slot, checked);
            });
            QCheckBox& manual = form.require(ctl::family::chkManu, slot);
            QObject::connect(&manual, &QCheckBox::toggled, &manual, [&form, slot](bool checked) {
                StoreCapcodeManualBox(form.image(), form.state().capcodePage, slot, checked);
            });
            auto& button = form.require<QPushButton>(QStringLiteral("btnFunBit%1").arg(slot));
            QObject::connect(&button, &QPushButton::clicked, &button, [&form, slot] {
                form.functionBitWindow().showFor(CapcodeNumber(form.state().capcodePage, slot));
            });
        }
        QComboBox& page = form.require(ctl::cboCCPage);
        QObject::connect(&page, &QComboBox::activated, &page, [&form] { cboCCPageChange(form); });
        QCheckBox& auto1 = form.require(ctl::optAuto1);
        QObject::connect(&auto1, &QCheckBox::toggled, &auto1,
                         [&form](bool on) { setAutoIncrease(form, &CapcodeAutoIncrease::first, on); });
        QCheckBox& auto2 = form.require(ctl::optAuto2);
        QObject::connect(&auto2, &QCheckBox::toggled, &auto2,
                         [&form](bool on) { setAutoIncrease(form, &CapcodeAutoIncrease::second, on); });
    }

    void refresh(MainForm& form, RefreshSlot slot) override {
        if (slot == RefreshSlot::CapcodePage) {
            showCapcodes(form);
        } else {
            showOnAndManual(form);
            showSummaries(form);
        }
    }

private:
    /// One of the auto-increase boxes was toggled: the next write follows it.
    static void setAutoIncrease(MainForm& form, bool CapcodeAutoIncrease::*which, bool on) {
        CapcodeAutoIncrease increase = form.board().autoIncrease();
        increase.*which = on;
        form.board().setAutoIncrease(increase);
    }

    /// Checks and stores the capcode typed into \p slot. Every outcome shows
    /// the stored capcodes again in seven digits; a refusal gives the box the
    /// focus back.
    static void edtCap0Exit(MainForm& form, int slot) {
        QLineEdit& box = form.require(ctl::family::edtCap, slot);
        const std::string typed = box.text().toStdString();
        const int n = CapcodeNumber(form.state().capcodePage, slot);
        const Outcome outcome = StoreCapcodeText(form.image(), n, typed);
        const bool refused = outcome.message.has_value();
        outcome.Report(form.notifier());
        showCapcodes(form);
        if (refused) GiveFocusBack(&box);
    }

    /// A page chosen in cboCCPage: the slot labels numbered for the page,
    /// then the slots from the image.
    static void cboCCPageChange(MainForm& form) {
        const int page = form.require(ctl::cboCCPage).currentIndex();
        if (page < 0 || page >= kCapcodePageCount) return;
        form.state().capcodePage = page;
        for (int slot = 0; slot < kCapcodeSlotsPerPage; ++slot) {
            const std::string key = "lblCap" + std::to_string(slot);
            const std::string format = form.catalogueText(key.c_str(), kSlotLabelFormat);
            QLabel& label = form.require(ctl::family::lblCCode, slot);
            label.setText(QString::fromStdString(i18n::SafeFormat(format, {CapcodeNumber(page, slot) + 1})));
            kit::FitToCaption(&label);
        }
        showOnAndManual(form);
        showCapcodes(form);
        showSummaries(form);
    }

    static void showCapcodes(MainForm& form) {
        for (int slot = 0; slot < kCapcodeSlotsPerPage; ++slot)
            form.require(ctl::family::edtCap, slot)
                .setText(QString::fromStdString(CapcodeText(form.image(), number(form, slot))));
    }

    static void showOnAndManual(MainForm& form) {
        for (int slot = 0; slot < kCapcodeSlotsPerPage; ++slot) {
            const int n = number(form, slot);
            form.require(ctl::family::chkEnCap, slot).setChecked(CapcodeOn(form.image(), n));
            form.require(ctl::family::chkManu, slot).setChecked(CapcodeManual(form.image(), n));
        }
    }

    static void showSummaries(MainForm& form) {
        const auto text = [](const std::string& s) { return QString::fromStdString(s); };
        for (int slot = 0; slot < kCapcodeSlotsPerPage; ++slot) {
            const int n = number(form, slot);
            form.require(ctl::family::edtPri, slot).setText(text(PrioritySummary(form.image(), n)));
            form.require(ctl::family::edtDisp, slot).setText(text(DisplaySummary(form.image(), n)));
            form.require(ctl::family::edtType, slot).setText(text(TypeSummary(form.image(), n)));
        }
    }

    static int number(MainForm& form, int slot) { return CapcodeNumber(form.state().capcodePage, slot); }
};

const EditorModuleRegistration registration{"capcodes", [] { return std::make_unique<CapcodesEditor>(); }};

}  // namespace
}  // namespace zrv
