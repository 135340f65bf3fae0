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

    void refresh(MainForm& form, RefreshSlot) override {
        const auto off = MenuItemsOffFromImage(form.image());
        for (std::size_t k = 0; k < off.size(); ++k)
            form.require(ctl::family::chkMenu, static_cast<int>(k)).setChecked(off[k]);
    }
};

const EditorModuleRegistration registration{"menu items", [] { return std::make_unique<MenuItemsEditor>(); }};

}  // namespace
}  // namespace zrv
