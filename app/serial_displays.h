#pragma once
/// \file
/// The serial fields of the main window as texts: SSN and PSN (one hex digit
/// per image byte) and the pager serial number (shown only when its sum
/// bytes match). Also the built-in refreshers that put them into edtSSN,
/// edtPSN and txtSN during the full refresh.

#include <string>

#include "core/image.h"
#include "editors/editor_module.h"

namespace zrv::app {

/// The bytes 0x4FD..0x50C as upper-case hexadecimal, at least one digit
/// each, concatenated ("0123456789ABCDEF"; a byte 0x1F adds "1F").
std::string SsnText(const ConfigImage& image);
/// The bytes 0x513..0x51E in the same form.
std::string PsnText(const ConfigImage& image);
/// The twelve serial-number characters (UTF-8) when the stored sum matches,
/// else "".
std::string PagerSerialText(const ConfigImage& image);

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
