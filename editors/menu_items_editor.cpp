// The eight pager menu boxes of the "Alerts && Status" page ("... Off"): the
// image lists the codes of the menu items that are switched on. The refresh
// sets the boxes one by one under the MenuBoxes phase, so their handlers can
// tell the refresh from a user click.
#include <QCheckBox>

#include "core/option_settings.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class MenuItemsEditor : public EditorModule {
public:
    std::string name() const override { return "menu items"; }
    std::vector<RefreshSlot> refreshSlots() const override { return {RefreshSlot::MenuBoxes}; }

    void connectHandlers(MainForm& form) override {
        for (int k = 0; k < kMenuItemCount; ++k) {
            QCheckBox& box = form.require(ctl::family::chkMenu, k);
            QObject::connect(&box, &QCheckBox::toggled, &box, [&form, k] { chkMenuClick(form, k); });
        }
    }

    void refresh(MainForm& form, RefreshSlot) override {
        // The hidden "Auto Sleep Off" box takes its state from the image here
        // and counts like the others at every click.
        const auto off = MenuItemsOffFromImage(form.image());
        for (std::size_t k = 0; k < off.size(); ++k)
            form.require(ctl::family::chkMenu, static_cast<int>(k)).setChecked(off[k]);
    }

private:
    static void chkMenuClick(MainForm& form, int clicked) {
        if (form.state().settingMenuBoxes()) return;  // the refresh sets the boxes one by one
        MenuItemsOff off{};
        for (int k = 0; k < kMenuItemCount; ++k)
            off[static_cast<std::size_t>(k)] = form.require(ctl::family::chkMenu, k).isChecked();
        if (!StoreMenuItemsOff(form.image(), off).Report(form.notifier())) {
            // The list has room for seven items: the clicked item stays off.
            // Checking it runs this handler again, now with one box checked.
            form.require(ctl::family::chkMenu, clicked).setChecked(true);
            return;
        }
        // The alert tone selector follows "Set Alert Off".
        form.refreshSlot(RefreshSlot::MenuDependents);
    }
};

const EditorModuleRegistration registration{"menu items", [] { return std::make_unique<MenuItemsEditor>(); }};

}  // namespace
}  // namespace zrv
