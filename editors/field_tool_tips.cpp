#include "editors/field_tool_tips.h"

#include <QComboBox>
#include <map>
#include <string>

#include "editors/editor_module.h"
#include "editors/main_form.h"
#include "editors/tool_tips.h"
#include "i18n/field_tips.h"

namespace zrv {

void FieldToolTipFrom(QWidget* control, const MainForm& form, std::function<const FieldDef*()> field) {
    ToolTipFrom(control, [&form, field = std::move(field)] {
        const FieldDef* shown = field();
        if (!shown) return QString();
        const i18n::TextLookup text = [&form](const std::string& key, const std::string& english) {
            return form.catalogueText(key.c_str(), english);
        };
        return QString::fromStdString(i18n::FieldToolTip(*shown, text));
    });
}

namespace {

/// The other controls a field names beside its objectName: the threshold
/// list of the standard cell ("cboBatLev0 / cboBatLev3").
std::vector<std::string> OtherControls(const FieldDef& field) {
    std::vector<std::string> names;
    for (auto at = field.control.find(" / "); at != std::string::npos; at = field.control.find(" / ", at + 3)) {
        const auto end = field.control.find_first_of(" ,[(", at + 3);
        names.push_back(field.control.substr(at + 3, end == std::string::npos ? end : end - at - 3));
    }
    return names;
}

/// Gives every main-window control that shows a field its field's tool tip.
class FieldTipsModule : public EditorModule {
public:
    std::string name() const override { return "field-tips"; }

    void connectHandlers(MainForm& form) override {
        // Each control once: a per-page control shows the field of the page
        // its selector shows when the tool tip is asked for.
        std::map<std::string, std::string> pageSelectorOf;
        std::map<std::string, const FieldDef*> onlyFieldOf;
        for (const FieldDef& f : FieldTable()) {
            if (f.objectName.empty()) continue;
            pageSelectorOf.emplace(f.objectName, f.pageSelector);
            for (const std::string& other : OtherControls(f)) onlyFieldOf.emplace(other, &f);
        }
        for (const auto& [control, selector] : pageSelectorOf) {
            const QComboBox* pages = selector.empty() ? nullptr : &form.require<QComboBox>(QString::fromStdString(selector));
            FieldToolTipFrom(&form.require<QWidget>(QString::fromStdString(control)), form, [control, pages] {
                return FieldOfControl(control, pages ? pages->currentIndex() : 0);
            });
        }
        for (const auto& [control, field] : onlyFieldOf)
            FieldToolTipFrom(&form.require<QWidget>(QString::fromStdString(control)), form, [field] { return field; });
    }
};

const EditorModuleRegistration kRegistration{"field-tips", [] { return std::make_unique<FieldTipsModule>(); }};

}  // namespace
}  // namespace zrv
