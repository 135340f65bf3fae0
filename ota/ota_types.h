#pragma once
/// \file
/// The OTA command types by name: what each type carries to the pager, in
/// words. The OTA window's type boxes and their tool tips and the command
/// line's `ota` help are made from this one table.

#include <string>
#include <vector>

namespace zrv::ota {

struct OtaCommandType {
    int type = 0;
    std::string name;         ///< short, for the type box ("Capcodes 1-7")
    std::string description;  ///< what the command carries; why a type is not offered
};

/// Types 1-17, 254 and 255, in that order.
const std::vector<OtaCommandType>& OtaCommandTypes();
/// The type \p type, or null for a number that is no command type.
const OtaCommandType* FindOtaCommandType(int type);
/// The caption of a type box: the number and the name ("1  Capcodes 1-7").
std::string OtaTypeCaption(int type);
/// The type list of the command line's help: one entry per type, its
/// description wrapped and indented under its number and name.
std::string OtaTypeHelp();

}  // namespace zrv::ota
