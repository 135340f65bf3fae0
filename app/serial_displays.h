#pragma once
/// \file
/// The built-in refreshers that put the serial fields into edtSSN, edtPSN
/// and txtSN during the full refresh; the texts come from
/// core/serial_fields.h.

#include "core/serial_fields.h"
#include "editors/editor_module.h"

namespace zrv::app {

/// Refresher of edtSSN and edtPSN.
class SerialFieldsRefresher : public EditorModule {
public:
    std::string name() const override { return "serial fields"; }
    RefreshSlot refreshSlot() const override { return RefreshSlot::SerialFields; }
    void refresh(MainForm& form) override;
};

/// Refresher of txtSN.
class PagerSerialRefresher : public EditorModule {
public:
    std::string name() const override { return "pager serial"; }
    RefreshSlot refreshSlot() const override { return RefreshSlot::PagerSerial; }
    void refresh(MainForm& form) override;
};

}  // namespace zrv::app
