// The "Message Type Status" strip on the "Freq. && Codes" page: the personal
// alert length and the fifteen mail-drop alerts as two-character codes. A
// value without a code leaves its label as it was.
#include <QLabel>

#include "core/alert_lengths.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class AlertStripEditor : public EditorModule {
public:
    std::string name() const override { return "alert strip"; }
    std::vector<RefreshSlot> refreshSlots() const override { return {RefreshSlot::AlertLengths}; }

    void refresh(MainForm& form, RefreshSlot) override {
        const auto strip = AlertLengthStrip(form.image());
        for (std::size_t tag = 0; tag < strip.size(); ++tag)
            if (strip[tag])
                form.require(ctl::family::lblLength, static_cast<int>(tag)).setText(QString::fromStdString(*strip[tag]));
    }
};

const EditorModuleRegistration registration{"alert strip", [] { return std::make_unique<AlertStripEditor>(); }};

}  // namespace
}  // namespace zrv
