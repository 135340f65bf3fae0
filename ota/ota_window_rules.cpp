#include "ota/ota_window_rules.h"

#include <cstdio>

#include "ota/number_text.h"

namespace zrv::ota {

namespace {
constexpr std::size_t kStartDigits = 3;
/// edtPSN of the OTA window shows characters 8..12 of the pager's serial.
constexpr std::size_t kPsnFrom = 7;
constexpr std::size_t kPsnDigits = 5;
}  // namespace

bool AcceptsHexKey(char key) {
    return static_cast<unsigned char>(key) < 32 || HexDigitValue(key) >= 0;
}

Message HexOnlyMessage() { return Message{"", "Hex Only !", MsgIcon::Exclamation, {}}; }

Message EvenDigitsMessage() { return Message{"", "Please input even digits !", MsgIcon::Exclamation, {}}; }

std::optional<std::string> FormatStartAddress(const std::string& text) {
    const auto v = HexNumber(text);
    if (!v) return std::nullopt;
    char out[16];
    std::snprintf(out, sizeof out, "%0*X", static_cast<int>(kStartDigits), static_cast<unsigned>(*v));
    return std::string(out);
}

std::string FormatTimeDate(const std::tm& t) {
    char out[48];
    std::snprintf(out, sizeof out, "%02d%02d%04d%02d%02d%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return out;
}

void FillOnShow(OtaWindowFields& window, const OtaShowSources& main, const std::tm& now) {
    window.edtID = main.edtRTCCtl + "N12";
    window.edtTMID = main.edtCap7 + "N11";
    window.edtPSN = main.edtPSN.size() > kPsnFrom ? main.edtPSN.substr(kPsnFrom, kPsnDigits) : std::string();
    window.edtSSN = main.edtSSN;
    if (window.chkDateField) window.edtDate = FormatTimeDate(now);
}

}  // namespace zrv::ota
