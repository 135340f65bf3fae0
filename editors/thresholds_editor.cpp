// The three battery gauge thresholds of the "Alerts && Status" page. Two
// trios of lists share the places beside "Battery Gauge Level-Hight", "-Med"
// and "-Low": the trio of the battery type in force is shown and operated,
// the other stays hidden behind it. The battery type itself has no editor on
// the window; it arrives with a loaded or read image (the hidden box
// "Rechargeable Bat. 2.4V" follows it without side effect).
#include <QCheckBox>
#include <QComboBox>

#include "core/battery_thresholds.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class ThresholdsEditor : public EditorModule {
public:
    std::string name() const override { return "thresholds"; }
    std::vector<RefreshSlot> refreshSlots() const override { return {RefreshSlot::BatteryThresholds}; }

    void connectHandlers(MainForm& form) override {
        for (int tag = 0; tag < kThresholdListCount; ++tag) {
            QComboBox& list = form.require(ctl::family::cboBatLev, tag);
            QObject::connect(&list, &QComboBox::activated, &list,
                             [&form, tag](int item) { cboBatLevClick(form, tag, item); });
        }
    }

    void refresh(MainForm& form, RefreshSlot) override { showThresholds(form); }

    void boundControlChanged(MainForm& form, QWidget* control) override {
        // A change of the battery type itself brought the thresholds of the
        // new type (its field's rule); the refresh sets the hidden box
        // without that step, so an image keeps the thresholds it came with.
        if (control != &form.require(ctl::batteryRechargeable) || form.state().refreshing()) return;
        showThresholds(form);
    }

private:
    static void cboBatLevClick(MainForm& form, int tag, int item) {
        if (item < 0) return;
        // The value stays even when the order is wrong: the user corrects
        // it with the other lists.
        StoreThreshold(form.image(), tag, item).Report(form.notifier());
    }

    static void showThresholds(MainForm& form) {
        const int first = FirstTagOf(BatteryTypeOf(form.image()));
        const auto items = ThresholdItems(form.image());
        for (int tag = 0; tag < kThresholdListCount; ++tag) {
            QComboBox& list = form.require(ctl::family::cboBatLev, tag);
            const bool front = tag >= first && tag < first + kThresholdCount;
            list.setVisible(front);
            if (!front) continue;
            list.raise();
            // A stored value outside the row of the battery type shows no
            // item rather than one the image does not hold.
            list.setCurrentIndex(items[static_cast<std::size_t>(tag - first)]);
        }
    }
};

const EditorModuleRegistration registration{"thresholds", [] { return std::make_unique<ThresholdsEditor>(); }};

}  // namespace
}  // namespace zrv
