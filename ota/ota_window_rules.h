#pragma once
/// \file
/// The OTA window's field rules and what Show fills in, as plain functions,
/// so the window and the command line apply the same rules.

#include <ctime>
#include <optional>
#include <string>

#include "core/notifier.h"
#include "ota/ota_inputs.h"

namespace zrv::ota {

/// True for a key edtData / edtStart accept: a hexadecimal digit or a
/// control key (code below 32, such as backspace).
bool AcceptsHexKey(char key);
/// The message for a refused key: "Hex Only !".
Message HexOnlyMessage();
/// The message for leaving edtData with an odd number of digits.
Message EvenDigitsMessage();

/// The text edtStart is rewritten to when it is left: its hexadecimal value
/// in three upper-case digits; nothing when it is not a hexadecimal number
/// (the caller shows ConversionErrorMessage).
std::optional<std::string> FormatStartAddress(const std::string& text);

/// The time message's date: day, month, year, hour, minute, second with
/// "%02d%02d%04d%02d%02d%02d".
std::string FormatTimeDate(const std::tm& t);

/// What Show takes from the main window each time the window opens: the
/// control capcode field (edtRTCCtl), capcode 8 (edtCap7), the 12-character
/// public and the secret serial number fields.
struct OtaShowSources {
    std::string edtRTCCtl;
    std::string edtCap7;
    std::string edtPSN;
    std::string edtSSN;
};

/// Fills edtID, edtTMID, edtPSN (characters 8..12 of the public serial
/// number), edtSSN and, while "System Date" is checked, edtDate from \p now.
void FillOnShow(OtaWindowFields& window, const OtaShowSources& main, const std::tm& now);

}  // namespace zrv::ota
