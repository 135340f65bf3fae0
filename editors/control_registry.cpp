#include "editors/control_registry.h"

#include <QVariant>

#include "editors/control_names.h"

namespace zrv {

const std::vector<QString>& ControlRegistry::Families() {
    static const std::vector<QString> families = [] {
        std::vector<QString> list;
        for (const std::string_view prefix : ctl::kFamilyPrefixes)
            list.push_back(QString::fromLatin1(prefix.data(), static_cast<qsizetype>(prefix.size())));
        return list;
    }();
    return families;
}

QString ControlRegistry::FamilyOf(const QString& name) {
    for (const auto& prefix : Families())
        if (name.startsWith(prefix)) return prefix;
    return {};
}

int TagOf(const QObject* control) {
    bool ok = false;
    const int tag = control->property("Tag").toInt(&ok);
    return ok ? tag : 0;
}

QString HintOf(const QObject* control) { return control->property("Hint").toString(); }

void ControlRegistry::build(QWidget* form) {
    const auto& families = Families();
    arrays_.assign(families.size(), {});
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty()) continue;
        for (std::size_t f = 0; f < families.size(); ++f) {
            if (!name.startsWith(families[f])) continue;
            const int tag = TagOf(w);
            if (tag >= 0 && tag <= kMaxTag) {
                auto& array = arrays_[f];
                if (array.size() <= static_cast<std::size_t>(tag)) array.resize(tag + 1, nullptr);
                array[tag] = w;
            }
            break;  // only the first matching family takes the control
        }
    }
}

const std::vector<QWidget*>& ControlRegistry::family(const QString& name) const {
    static const std::vector<QWidget*> none;
    const auto& families = Families();
    for (std::size_t f = 0; f < families.size() && f < arrays_.size(); ++f)
        if (families[f] == name) return arrays_[f];
    return none;
}

QWidget* ControlRegistry::at(const QString& familyName, int tag) const {
    const auto& array = family(familyName);
    if (tag < 0 || static_cast<std::size_t>(tag) >= array.size()) return nullptr;
    return array[tag];
}

}  // namespace zrv
