#include "editors/editor_module.h"

#include <algorithm>
#include <map>

namespace zrv {

namespace {
std::map<std::string, EditorModuleFactory>& Factories() {
    static std::map<std::string, EditorModuleFactory> factories;
    return factories;
}

bool DeclaresSlot(const EditorModule& module, RefreshSlot slot) {
    const auto own = module.refreshSlots();
    return std::find(own.begin(), own.end(), slot) != own.end();
}

/// The declared run order of \p slot's modules; empty when none is declared.
std::initializer_list<std::string_view> DeclaredOrder(RefreshSlot slot) {
    for (const SharedSlotOrder& order : kSharedSlotOrders)
        if (order.slot == slot) return order.modules;
    return {};
}

/// Position of \p module in \p order; order.size() when it is not named.
std::size_t RankIn(std::initializer_list<std::string_view> order, const EditorModule& module) {
    const std::string name = module.name();
    return static_cast<std::size_t>(std::find(order.begin(), order.end(), name) - order.begin());
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

std::vector<EditorModule*> ModulesAt(const std::vector<EditorModule*>& modules, RefreshSlot slot) {
    std::vector<EditorModule*> at;
    for (EditorModule* m : modules)
        if (DeclaresSlot(*m, slot)) at.push_back(m);
    const auto order = DeclaredOrder(slot);
    std::stable_sort(at.begin(), at.end(), [&](const EditorModule* a, const EditorModule* b) {
        return RankIn(order, *a) < RankIn(order, *b);
    });
    return at;
}

std::optional<RefreshSlot> UndeclaredSharedSlot(const std::vector<EditorModule*>& modules) {
    for (const RefreshStep& step : kFullRefresh) {
        const auto at = ModulesAt(modules, step.slot);
        if (at.size() < 2) continue;
        const auto order = DeclaredOrder(step.slot);
        for (const EditorModule* m : at)
            if (RankIn(order, *m) == order.size()) return step.slot;
    }
    return std::nullopt;
}

void RunRefreshSlot(const std::vector<EditorModule*>& modules, RefreshSlot slot, MainForm& form) {
    for (EditorModule* m : ModulesAt(modules, slot)) m->refresh(form, slot);
}

}  // namespace zrv
