#include "editors/editor_module.h"

#include <algorithm>
#include <map>

namespace zrv {

namespace {
std::map<std::string, EditorModuleFactory>& Factories() {
    static std::map<std::string, EditorModuleFactory> factories;
    return factories;
}
}  // namespace

EditorModuleRegistration::EditorModuleRegistration(std::string name, EditorModuleFactory factory) {
    Factories()[std::move(name)] = std::move(factory);
}

std::vector<std::unique_ptr<EditorModule>> CreateEditorModules() {
    std::vector<std::unique_ptr<EditorModule>> modules;
    for (const auto& [name, factory] : Factories())
        if (auto m = factory()) modules.push_back(std::move(m));
    return modules;
}

void RunRefreshSlot(const std::vector<EditorModule*>& modules, RefreshSlot slot, MainForm& form) {
    for (EditorModule* m : modules) {
        const auto own = m->refreshSlots();
        if (std::find(own.begin(), own.end(), slot) != own.end()) m->refresh(form, slot);
    }
}

}  // namespace zrv
