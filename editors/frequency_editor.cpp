// The frequency group of the "Freq. && Codes" page: the band selector, the
// frequency box with its keystroke filter and exit check, the narrowband box
// and the PLL strip that shows the synthesizer words the check computed.
// Baud rate and polarity are hint-bound and need no handler here.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "core/frequency.h"
#include "editors/edit_events.h"
#include "editors/editor_module.h"
#include "editors/key_filter.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class FrequencyEditor : public EditorModule {
public:
    std::string name() const override { return "frequency"; }
    std::vector<RefreshSlot> refreshSlots() const override { return {RefreshSlot::BandFrequency}; }

    void connectHandlers(MainForm& form) override {
        QLineEdit& box = form.require(ctl::edtFreq);
        OnEnter(&box, [&box] { box.clear(); });  // a fresh value is typed
        OnExit(&box, [&form] { edtFreqExit(form); });
        FilterTypedCharacters(box, form, CheckFrequencyKey, [&form] { showFrequency(form); });
        QComboBox& band = form.require(ctl::cboFreq);
        QObject::connect(&band, &QComboBox::activated, &band, [&form] { cboFreqChange(form); });
        QCheckBox& narrow = form.require(ctl::chkBand);
        QObject::connect(&narrow, &QCheckBox::toggled, &narrow,
                         [&form](bool checked) { StoreNarrowBand(form.image(), checked); });
    }

    void refresh(MainForm& form, RefreshSlot) override {
        form.require(ctl::chkBand).setChecked(NarrowBand(form.image()));
        showFrequency(form);
    }

private:
    static int band(MainForm& form) { return form.require(ctl::cboFreq).currentIndex(); }

    /// Checks and stores the box's text for the selected band. A value off
    /// the band or its raster keeps the typed text and the focus; text that
    /// is not a number shows the stored frequency again.
    static void edtFreqExit(MainForm& form) {
        QLineEdit& box = form.require(ctl::edtFreq);
        const int selected = band(form);
        if (box.text().isEmpty() || selected < 0) {
            showFrequency(form);
            return;
        }
        const FrequencyOutcome outcome = StoreChannelFrequency(
            form.image(), selected, box.text().toStdString(), form.board().firmwareUnknown());
        if (outcome.message) form.notifier().show(*outcome.message);
        if (outcome.ok() || outcome.status == FrequencyStatus::NotANumber) showFrequency(form);
        if (!outcome.ok()) GiveFocusBack(&box);
    }

    /// A user's band change: 1200 bps, the band's preset frequency, then the
    /// whole window from the image. Selecting a band from the image runs no
    /// change (the refresh does not emit activated).
    static void cboFreqChange(MainForm& form) {
        if (form.state().refreshing()) return;
        QComboBox& selector = form.require(ctl::cboFreq);
        const int selected = selector.currentIndex();
        if (selected < 0) return;
        const FrequencyOutcome outcome = ChangeBand(form.image(), selected, form.board().firmwareUnknown());
        if (outcome.message) form.notifier().show(*outcome.message);
        form.state().bandText = selector.currentText().toStdString();
        form.refreshAll();
    }

    /// The box from 0x68..0x6B, then the PLL strip.
    static void showFrequency(MainForm& form) {
        const ConfigImage& image = form.image();
        form.require(ctl::edtFreq).setText(QString::number(ChannelFrequency(image)));
        const auto text = [](const std::string& s) { return QString::fromStdString(s); };
        form.require(ctl::lblBfreq).setText(text(BaseFrequencyText(image, band(form))));
        form.require(ctl::lblINCD).setText(text(IncdText(image)));
        form.require(ctl::lblPLLR).setText(text(PllRText(image)));
        form.require(ctl::lblPLLN).setText(text(PllNText(image)));
        form.require(ctl::lblChannel).setText(text(ChannelSpacingText(image)));
    }
};

const EditorModuleRegistration registration{"frequency", [] { return std::make_unique<FrequencyEditor>(); }};

}  // namespace
}  // namespace zrv
