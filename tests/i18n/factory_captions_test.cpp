// The factory catalogue against the field catalogue: the English texts it
// holds for a field's control are the catalogue's own, and every captioned
// field whose caption the language file can replace has a German caption.
// A control without an [English] line keeps the caption its design gives it
// (ApplyCaptions reads with the designed caption as the fallback), and the
// design takes that caption from the catalogue.
#include <gtest/gtest.h>

#include "core/field_table.h"
#include "i18n/captions.h"
#include "i18n/message_catalogue.h"
#include "i18n/profile_file.h"
#include "tests/support/test_support.h"

namespace zrv {
namespace {

TEST(FactoryCatalogue, AgreesWithTheFieldCatalogueOnEnglishCaptionsAndItemsAndHasGermanCaptions) {
    const auto file = i18n::ProfileFile(test::BinDir() / i18n::kDefaultCatalogueName).load();
    int captioned = 0;
    for (const FieldDef& f : FieldTable()) {
        if (!f.caption.empty()) {
            ++captioned;
            if (const auto english = file.find("English", f.captionKey))
                EXPECT_EQ(*english, f.caption) << f.name << ": [English] " << f.captionKey;
            // A control whose hint holds the NULL marker keeps its designed caption.
            if (f.captionKey != f.objectName || !i18n::HasNullMarker(f.hint))
                EXPECT_TRUE(file.find("German", f.captionKey)) << f.name << ": no [German] " << f.captionKey;
        }
        if (f.kind != FieldKind::Combo || f.objectName.empty()) continue;
        for (std::size_t n = 0; n < f.items.size(); ++n) {
            const std::string key = f.objectName + "Item" + std::to_string(n);
            if (const auto english = file.find("English", key))
                EXPECT_EQ(*english, f.items[n]) << f.name << ": [English] " << key;
        }
    }
    EXPECT_GT(captioned, 50);  // the plain controls of every page carry their caption
}

TEST(FactoryCatalogue, ACatalogueControlWithoutAnEnglishLineShowsItsDesignedCaption) {
    // The factory catalogue as it stands after adding a box with only its
    // German caption: English keeps the design's (the catalogue's) caption.
    const auto file = i18n::ProfileData::Parse("[English]\r\nchkCtl12=Lowcell Alert Enable\r\n"
                                               "[German]\r\nchkCtl12=Alarm bei schwacher Batterie\r\n"
                                               "chkNewBit=Neues Bit\r\n");
    const struct {
        const char* section;
        std::vector<std::string> shown;
    } cases[] = {
        {"English", {"Lowcell Alert Enable", "New Bit"}},
        {"German", {"Alarm bei schwacher Batterie", "Neues Bit"}},
    };
    for (const auto& c : cases) {
        i18n::ComponentList window(2);
        window[0] = {"chkCtl12", "TCheckBox", "0x039,6,1,chk", "designed 12", {}, -1};
        window[1] = {"chkNewBit", "TCheckBox", "0x039,2,1,chk", "New Bit", {}, -1};
        i18n::ApplyCaptions(window, file, c.section, 16);
        EXPECT_EQ(window[0].caption, c.shown[0]) << c.section;
        EXPECT_EQ(window[1].caption, c.shown[1]) << c.section;
    }
}

}  // namespace
}  // namespace zrv
