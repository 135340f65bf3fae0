// The alert lengths on the "Freq. && Codes" page: the "Message Type Status"
// strip shows the personal alert length and the fifteen mail-drop alerts as
// two-character codes (a value without a code leaves its label as it was),
// "Alert Length Select" opens the alert window, and every full refresh fills
// that window from the image, so it follows a load even while it is closed.
#include <QLabel>
#include <QPushButton>

#include "core/alert_lengths.h"
#include "editors/alert_window.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class AlertLengthsEditor : public EditorModule {
public:
    std::string name() const override { return "alert lengths"; }
    std::vector<RefreshSlot> refreshSlots() const override {
        return {RefreshSlot::AlertLengths, RefreshSlot::AlertWindow};
    }

    void connectHandlers(MainForm& form) override {
        QPushButton& select = form.require(ctl::btnSelect);
        QObject::connect(&select, &QPushButton::clicked, &select, [&form] { form.alertWindow().exec(); });
    }

    void refresh(MainForm& form, RefreshSlot slot) override {
        if (slot == RefreshSlot::AlertWindow) {
            form.alertWindow().fill();
            return;
        }
        const auto strip = AlertLengthStrip(form.image());
        for (std::size_t tag = 0; tag < strip.size(); ++tag)
            if (strip[tag])
                form.require(ctl::family::lblLength, static_cast<int>(tag)).setText(QString::fromStdString(*strip[tag]));
    }
};

const EditorModuleRegistration registration{"alert lengths", [] { return std::make_unique<AlertLengthsEditor>(); }};

}  // namespace
}  // namespace zrv
