// The prompt language and logo font selectors of the "Prompts Edit" page.
// The prompt handlers come with the prompt editor; the refresher of the two
// selectors lives here already.
#include <QComboBox>

#include "core/default_image.h"
#include "core/option_fields.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class PromptsEditor : public EditorModule {
public:
    std::string name() const override { return "prompts"; }
    std::vector<RefreshSlot> refreshSlots() const override { return {RefreshSlot::LanguageSelectors}; }

    void refresh(MainForm& form, RefreshSlot) override {
        show(form.require(ctl::cboLogo), fields::kLogoFontCode.Get(form.image()));
        show(form.require(ctl::cboLng), fields::kPromptLanguageCode.Get(form.image()));
    }

private:
    /// A code that names no language leaves the selector as it is.
    static void show(QComboBox& combo, unsigned code) {
        const int item = LanguageItemFromCode(static_cast<int>(code));
        if (item >= 0 && item < combo.count()) combo.setCurrentIndex(item);
    }
};

const EditorModuleRegistration registration{"prompts", [] { return std::make_unique<PromptsEditor>(); }};

}  // namespace
}  // namespace zrv
