#include "core/accessible_name.h"

#include <gtest/gtest.h>

namespace zrv {
namespace {

TEST(AccessibleName, KeepsTheWordsOfACaptionAndDropsWhatPointsAtTheControl) {
    const struct {
        const char* caption;
        const char* name;
    } cases[] = {
        {"Customer:", "Customer"},
        {"Kunde :", "Kunde"},
        {"&Write", "Write"},
        {"Save && Close", "Save & Close"},
        {"NO PAGES ------->", "NO PAGES"},
        {"TONE ONLY ------> ", "TONE ONLY"},
        {"SILENT THEN BEEP>", "SILENT THEN BEEP"},
        {"KEY LOCKED - --->", "KEY LOCKED"},
        {"MESSAGE UNLOCK ->", "MESSAGE UNLOCK"},
        {"KEY UNLOCKED ? >", "KEY UNLOCKED ?"},
        {"Cap #1: Music Type A", "Cap #1: Music Type A"},
        {"Battery Gauge\nLevel-Low", "Battery Gauge Level-Low"},
        {"  Serial   No.  ", "Serial No."},
        {"Schlüssel 16", "Schlüssel 16"},
        {"1-2", "1-2"},
        {"--->", ""},
        {"&", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AccessibleNameFromCaption(c.caption), c.name) << c.caption;
}

}  // namespace
}  // namespace zrv
