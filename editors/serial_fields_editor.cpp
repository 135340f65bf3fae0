// The serial fields: SSN and PSN on the "AES Encryption" page (one hex digit
// per image byte) and the pager serial number, shown only when its sum holds.
#include <QLineEdit>

#include "core/serial_fields.h"
#include "editors/editor_module.h"
#include "editors/main_form.h"

namespace zrv {
namespace {

class SerialFieldsEditor : public EditorModule {
public:
    std::string name() const override { return "serial fields"; }
    std::vector<RefreshSlot> refreshSlots() const override {
        return {RefreshSlot::SerialFields, RefreshSlot::PagerSerial};
    }

    void refresh(MainForm& form, RefreshSlot slot) override {
        const ConfigImage& image = form.image();
        if (slot == RefreshSlot::SerialFields) {
            form.require(ctl::edtSSN).setText(QString::fromStdString(SsnText(image)));
            form.require(ctl::edtPSN).setText(QString::fromStdString(PsnText(image)));
        } else if (slot == RefreshSlot::PagerSerial) {
            form.require(ctl::txtSN).setText(QString::fromStdString(PagerSerialText(image)));
        }
    }
};

const EditorModuleRegistration registration{"serial fields", [] { return std::make_unique<SerialFieldsEditor>(); }};

}  // namespace
}  // namespace zrv
