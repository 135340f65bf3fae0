// The R/W password box `textPass` on the "Freq. && Codes" page: entering it
// empties it for a new password; leaving it stores six characters or shows
// Msg30 and the stored password again.
#include <QLineEdit>

#include "core/rw_password.h"
#include "editors/edit_events.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class RwPasswordEditor : public EditorModule {
public:
    std::string name() const override { return "rw password"; }
    std::vector<RefreshSlot> refreshSlots() const override { return {RefreshSlot::RwPassword}; }

    void connectHandlers(MainForm& form) override {
        QLineEdit& box = form.require(ctl::textPass);
        OnEnter(&box, [&form] { textPassEnter(form); });
        OnExit(&box, [&form] { textPassExit(form); });
    }

    void refresh(MainForm& form, RefreshSlot) override { show(form); }

private:
    static void textPassEnter(MainForm& form) { form.require(ctl::textPass).clear(); }

    static void textPassExit(MainForm& form) {
        const std::string typed = form.require(ctl::textPass).text().toStdString();
        if (!StoreRwPassword(form.image(), typed).Report(form.notifier())) show(form);
    }

    static void show(MainForm& form) {
        form.require(ctl::textPass).setText(QString::fromStdString(RwPasswordText(form.image())));
    }
};

const EditorModuleRegistration registration{"rw password", [] { return std::make_unique<RwPasswordEditor>(); }};

}  // namespace
}  // namespace zrv
