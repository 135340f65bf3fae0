// The OTA window's field rules and what Show fills in.
#include <gtest/gtest.h>

#include "ota/ota_window_rules.h"

namespace zrv::ota {
namespace {

TEST(OtaWindowRules, HexFieldsAndStartAddress) {
    EXPECT_TRUE(AcceptsHexKey('a'));
    EXPECT_TRUE(AcceptsHexKey('F'));
    EXPECT_TRUE(AcceptsHexKey('\b'));  // backspace passes
    EXPECT_FALSE(AcceptsHexKey('g'));
    EXPECT_FALSE(AcceptsHexKey(' '));
    EXPECT_EQ(HexOnlyMessage().english, "Hex Only !");
    EXPECT_EQ(FormatStartAddress("1f"), "01F");
    EXPECT_EQ(FormatStartAddress("0"), "000");
    EXPECT_EQ(FormatStartAddress("abc"), "ABC");
    EXPECT_EQ(FormatStartAddress(""), std::nullopt);
    EXPECT_EQ(FormatStartAddress("1G"), std::nullopt);
}

TEST(OtaWindowRules, ShowTakesTheMainWindowsIdentities) {
    OtaWindowFields w;
    std::tm now{};
    now.tm_year = 2014 - 1900;
    now.tm_mon = 0;
    now.tm_mday = 5;
    now.tm_hour = 9;
    now.tm_min = 3;
    now.tm_sec = 1;
    FillOnShow(w, {"", "1234567", "0123456789AB", "FEDCBA9876543210"}, now);
    EXPECT_EQ(w.edtID, "N12");  // the control capcode field stays empty
    EXPECT_EQ(w.edtTMID, "1234567N11");
    EXPECT_EQ(w.edtPSN, "789AB");
    EXPECT_EQ(w.edtSSN, "FEDCBA9876543210");
    EXPECT_EQ(w.edtDate, "05012014090301");

    w.chkDateField = false;
    w.edtDate = "31122013235959";
    FillOnShow(w, {"12", "", "", ""}, now);
    EXPECT_EQ(w.edtDate, "31122013235959");  // manual date: the time message stays editable
    EXPECT_EQ(w.edtID, "12N12");
    EXPECT_EQ(w.edtPSN, "");
}

}  // namespace
}  // namespace zrv::ota
