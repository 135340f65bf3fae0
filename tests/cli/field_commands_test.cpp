#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include <nlohmann/json.hpp>

#include "core/capcode_rules.h"
#include "core/capcodes.h"
#include "core/music.h"
#include "core/prompts.h"
#include "core/default_image.h"
#include "core/field_table.h"
#include "core/image_layout.h"
#include "core/image_rules.h"
#include "core/table_file.h"
#include "tests/support/test_support.h"

namespace zrv {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::RunProgram;
using test::RunResult;
using test::TempDir;
using test::WriteFile;
using Json = nlohmann::ordered_json;

RunResult Cli(const std::vector<std::string>& args) { return RunProgram("zrv41k-cli", args); }

/// Equal bytes; otherwise the first offset that differs, not the whole files.
::testing::AssertionResult SameBytes(const std::string& a, const std::string& b) {
    if (a == b) return ::testing::AssertionSuccess();
    std::size_t k = 0;
    while (k < a.size() && k < b.size() && a[k] == b[k]) ++k;
    return ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size() << ", first difference at 0x"
                                         << std::hex << k;
}

/// A fresh table file from `zrv41k-cli new` in \p dir.
std::string NewTable(const TempDir& dir, const std::string& name = "pager.tbl") {
    const auto path = (dir / name).string();
    const auto r = Cli({"new", path});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return path;
}

/// The value `get` prints for one field.
std::string Get(const std::string& file, const std::string& field) {
    const auto r = Cli({"get", file, field});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string prefix = field + " = ";
    EXPECT_EQ(r.out.rfind(prefix, 0), 0u) << r.out;
    return r.out.size() > prefix.size() ? r.out.substr(prefix.size(), r.out.size() - prefix.size() - 1) : "";
}

TEST(CliGet, TheDefaultFileAsTheWindowShowsIt) {
    TempDir dir;
    const auto file = NewTable(dir);
    const auto all = Cli({"get", file});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(static_cast<std::size_t>(std::count(all.out.begin(), all.out.end(), '\n')), FieldTable().size());
    EXPECT_EQ(all.out.rfind("band = 130-180MHz-GP(RoHS)\nfrequency = 1530000\nbaud = 1200 bps\n", 0), 0u);
    for (const std::string line :
         {"capcode.1 = 1234567\n", "capcode.1.on = on\n", "capcode.1.A.display = Alpha\n",
          "capcode.1.A.type = Personal\n", "password.rw = 000000\n", "prompt.language = German\n",
          "prompt.1 =    Keine Nachricht\n", "contrast = 4\n", "menu.auto-sleep-off = on\n",
          "reminder.melody = 1101101100000000\n", "ssn = 0000000000000000\n"})
        EXPECT_NE(all.out.find(line), std::string::npos) << line;

    // Named fields come in table order; --json gives the same values.
    const auto some = Cli({"get", file, "contrast", "band"});
    EXPECT_EQ(some.out, "band = 130-180MHz-GP(RoHS)\ncontrast = 4\n");
    const auto json = Cli({"get", file, "contrast", "prompt.3", "--json"});
    ASSERT_EQ(json.exitCode, 0);
    const Json parsed = Json::parse(json.out);
    EXPECT_EQ(parsed["contrast"], "4");
    EXPECT_EQ(parsed["prompt.3"], Get(file, "prompt.3"));

    const auto unknown = Cli({"get", file, "capcode.49"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("no field 'capcode.49'"), std::string::npos);
    const auto missing = Cli({"get", (dir / "none.tbl").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("Msg"), std::string::npos);
}

TEST(CliFields, JsonGivesEveryFieldWithItsControlFactsAndTheFormatsExcludeEachOther) {
    const auto all = Cli({"fields", "--json"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    const Json rows = Json::parse(all.out);
    ASSERT_EQ(rows.size(), FieldTable().size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const FieldDef& f = FieldTable()[k];
        const Json& row = rows[k];
        EXPECT_EQ(row["name"], f.name);
        EXPECT_EQ(row["kind"], FieldKindName(f.kind)) << f.name;
        EXPECT_EQ(row["location"], f.location) << f.name;
        EXPECT_EQ(row.value("objectName", ""), f.objectName) << f.name;
        EXPECT_EQ(row.value("hint", ""), f.hint) << f.name;
        EXPECT_EQ(row.value("caption", ""), f.caption) << f.name;
        if (f.kind == FieldKind::Combo) EXPECT_EQ(row["items"], Json(f.items)) << f.name;
    }
    // The three kinds of control text the catalogue reads.
    const auto byName = [&](const std::string& name) {
        return *std::find_if(rows.begin(), rows.end(), [&](const Json& r) { return r["name"] == name; });
    };
    EXPECT_EQ(byName("lowcell-alert")["objectName"], "chkCtl12");
    EXPECT_EQ(byName("lowcell-alert")["hint"], "0x039,6,1,chk");
    EXPECT_EQ(byName("capcode.9")["objectName"], "edtCap0");
    EXPECT_FALSE(byName("capcode.1.A.priority").contains("objectName"));

    const auto design = Json::parse(Cli({"fields", "--json", "--design"}).out);
    EXPECT_FALSE(design.empty());
    for (const Json& row : design) EXPECT_TRUE(row.contains("hint") || row.contains("caption")) << row["name"];

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"fields", "--json", "--markdown"}, {"fields", "--design"}, {"fields", "x"}}) {
        const auto r = Cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.back();
        EXPECT_TRUE(r.out.empty()) << args.back();
    }
}

TEST(CliFields, TheTableListsEveryFixedNameOnce) {
    const auto r = Cli({"fields"});
    ASSERT_EQ(r.exitCode, 0);
    std::vector<std::string> names;
    for (const FieldDef& f : FieldTable()) names.push_back(f.name);
    auto sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a name is used twice";
    for (const std::string name :
         {"band", "frequency", "baud", "polarity", "narrowband", "capcode.48", "capcode.48.on", "capcode.48.manual",
          "capcode.48.D.priority", "capcode.1.A.display", "capcode.7.C.type", "alert.personal", "alert.maildrop.9",
          "alert.maildrop.F", "password.rw", "prompt.0", "prompt.43", "prompt.language", "logo.font",
          "logo.large-font", "source.enable", "source.48.D.on", "source.1.A.line1", "source.1.A.line2",
          "music.48.D.type", "music.1.A.melody", "out-of-range.timer", "out-of-range.alert", "out-of-range.type",
          "out-of-range.melody", "reminder.duration", "reminder.select-tone", "reminder.type", "reminder.melody",
          "alert-tone", "lockout", "battery.low", "battery.med", "battery.high", "contrast", "menu.zoom-off",
          "menu.scroll-off", "menu.time-off", "menu.alarm-off", "menu.auto-sleep-off", "menu.pager-off-disable",
          "menu.alert-off", "menu.cap-on-off", "manual-write", "frequency-modification", "password-required",
          "password-modification", "aes.active", "ota.active", "aes.key.1", "aes.key.16", "aes.select.8.D",
          "serial", "ssn", "psn"}) {
        EXPECT_NE(FindField(name), nullptr) << name;
        EXPECT_NE(r.out.find("\n" + name + "\t"), std::string::npos) << name;
    }
    EXPECT_EQ(FindField("aes.select.9.A"), nullptr);
    EXPECT_EQ(FindField("serial")->set, nullptr);
}

TEST(CliSet, EachKindTakesAGoodValueAndRefusesABadOneWithoutWriting) {
    TempDir dir;
    const auto file = NewTable(dir);
    const std::string original = ReadFile(file);
    struct Case {
        std::string field, good, shown, bad;
        int badExit;
        std::string badText;
    };
    const std::vector<Case> cases = {
        {"capcode.3", "42", "0000042", "5", 1, "Msg48: Please insert a number between 0000007 to 2097151 !"},
        {"capcode.3", "2097151", "2097151", "12a", 1, "Msg47"},
        {"baud", "2400 bps", "2400 bps", "300 bps", 2, "\"512 bps\", \"1200 bps\", \"2400 bps\""},
        {"polarity", "1", "Invert", "7", 2, "polarity"},
        {"narrowband", "off", "off", "maybe", 2, "on, off"},
        {"capcode.2.B.type", "Mail Drop C", "Mail Drop C", "Mail Drop G", 2, "capcode.2.B.type"},
        {"password.rw", "123456", "123456", "12345", 1, "Msg30"},
        {"prompt.5", "  HELLO", "  HELLO", "ABCDEFGHIJKLMNOPQRS", 1, "Msg2"},
        {"music.2.C.melody", "CDEfg", "CDEfg00000000000", "CDEXY", 1, "Msg77"},
        {"frequency", "1600000", "1600000", "2000000", 1, "Msg50"},
        {"aes.key.3", "SECRET", "SECRET          ", "ABCDEFGHIJKLMNOPQ", 1, "MsgKeyText"},
        {"contrast", "7", "7", "0", 2, "1..8"},
        {"source.5.A.line1", "Fire station", "Fire station         ", "", 0, ""},
        {"lockout", "60 seconds", "60 seconds", "61 seconds", 2, "lockout"},
        {"serial", "", "", "X", 2, "read only"},
        // Texts the pager cannot hold as asked are refused, never stored as
        // something else: a letter outside Windows-1252, a control
        // character, a source line too long, "1" mixed with notes.
        {"password.rw", "12\xC3\xA9" "34!", "12\xC3\xA9" "34!", "\xD0\xA8\xD0\xA8\xD0\xA8\xD0\xA8\xD0\xA8\xD0\xA8", 1,
         "password.rw: Msg30"},
        {"prompt.6", "HELLO  ", "HELLO  ", "\tHELLO", 1, "prompt.6: MsgPagerText"},
        {"prompt.7", "\xC3\x9C", "\xC3\x9C", "ESC\x1B[2J", 1, "prompt.7: MsgPagerText"},
        {"source.2.B.line2", "  Station", "  Station            ", "ABCDEFGHIJKLMNOPQRSTUV", 1,
         "source.2.B.line2: MsgSourceLength"},
        {"source.2.B.line1", "x", "x                    ", "A\xD0\xA8", 1, "source.2.B.line1: MsgPagerText"},
        {"music.3.A.melody", "1101", "1101000000000000", "A1", 1, "music.3.A.melody: Msg55"},
        {"reminder.melody", "e", "1000000000000000", "CDEFGABcdefgabCDE", 1, "reminder.melody: Msg77"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        if (!c.good.empty() || c.field != "serial") {
            const auto out = (dir / "out.tbl").string();
            fs::remove(out);
            const auto r = Cli({"set", file, c.field + "=" + c.good, "-o", out});
            ASSERT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(Get(out, c.field), c.shown);
            EXPECT_TRUE(SameBytes(ReadFile(file), original)) << "-o leaves the input alone";
        }
        if (c.badExit == 0) continue;
        // A good value before the bad one is not written either.
        const auto r = Cli({"set", file, "capcode.1=1000", c.field + "=" + c.bad});
        EXPECT_EQ(r.exitCode, c.badExit);
        EXPECT_NE(r.err.find(c.badText), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.field), std::string::npos) << "the message names the field: " << r.err;
        EXPECT_EQ(r.err.find('\x1B'), std::string::npos) << "no raw control character reaches the terminal";
        EXPECT_TRUE(SameBytes(ReadFile(file), original));
    }
}

TEST(CliSet, SideEffectsOfTheWindowsHandlers) {
    TempDir dir;
    const auto file = NewTable(dir);
    const auto out = (dir / "out.tbl").string();

    // A band change: 1200 bps and the band's preset frequency.
    auto r = Cli({"set", file, "baud=512 bps", "band=929-932MHz", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Get(out, "band"), "929-932MHz");
    EXPECT_EQ(Get(out, "frequency"), "9310125");
    EXPECT_EQ(Get(out, "baud"), "1200 bps");

    // The battery type brings the thresholds of the new type; a threshold out
    // of order is kept with a warning.
    r = Cli({"set", file, "battery.rechargeable=off", "battery.high=1.00V", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "warning: Msg41: Waring ! You must let ( Level-High > Level-Med > Level-Low ).\n");
    EXPECT_EQ(Get(out, "battery.low"), "1.19V");
    EXPECT_EQ(Get(out, "battery.med"), "1.29V");
    EXPECT_EQ(Get(out, "battery.high"), "1.00V");
    r = Cli({"set", file, "battery.rechargeable=off", "battery.high=2.40V", "-o", out});
    EXPECT_EQ(r.exitCode, 2) << "a rechargeable item once the standard cell is in force";

    // "Capcode Music Type Enable" while "Set Alert Off": Msg75 as a warning.
    r = Cli({"set", file, "menu.alert-off=on", "music.capcode-enable=on", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "warning: Msg75: Default tones selection will be disable !\n");
    EXPECT_EQ(Get(out, "music.capcode-enable"), "on");

    // The pager's menu needs one item off.
    // (the default file has only "Auto Sleep" off)
    std::vector<std::string> allOff = {"set", file, "-o", out, "menu.auto-sleep-off=off"};
    fs::remove(out);
    r = Cli(allOff);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "menu.auto-sleep-off: Msg42: You must disable one option !\n");
    EXPECT_FALSE(fs::exists(out));

    // "Logo Large Font" off centres the logo in its longer box.
    r = Cli({"set", file, "prompt.0=LOGO", "logo.large-font=off", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Get(out, "prompt.0"), std::string(8, ' ') + "LOGO");

    // Capcodes beyond the sixteen a table file keeps are refused, not lost.
    r = Cli({"set", file, "capcode.17=12345"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("capcode.17"), std::string::npos);
}

TEST(CliSet, StoresTheBytesOfTheCoreRuleThroughTheSaveSteps) {
    TempDir dir;
    const auto file = NewTable(dir);
    const auto r = Cli({"set", file, "capcode.4=0000777", "capcode.4.C.display=Tone Only"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ConfigImage expected = StartupImage();
    int count = 16;
    ASSERT_TRUE(LoadTableFile(file, expected, count).ok);  // the file as written
    ConfigImage direct = StartupImage();
    int directCount = 16;
    const auto fresh = NewTable(dir, "fresh.tbl");
    ASSERT_TRUE(LoadTableFile(fresh, direct, directCount).ok);
    ASSERT_TRUE(StoreCapcodeText(direct, 3, "0000777").ok);
    StoreFunctionBitDisplay(direct, 3, 2, 4);
    const auto directPath = dir / "direct.tbl";
    ASSERT_FALSE(SaveTableFile(directPath, direct, directCount));
    EXPECT_TRUE(SameBytes(ReadFile(file), ReadFile(directPath)));
}

TEST(CliExportImport, GivesBackTheSameTableFileByteForByte) {
    TempDir dir;
    const auto file = NewTable(dir);
    const auto changed = (dir / "changed.tbl").string();
    const auto r = Cli({"set", file, "-o", changed, "capcode.1=0000077", "capcode.2.on=on", "capcode.9=2000000",
                        "capcode.3.D.type=Group", "prompt.7=  Wake up", "prompt.language=French", "prompt.12=ABC",
                        "music.1.A.type=User", "music.1.A.melody=ABCDEFGabcdefg0e", "reminder.melody=1010",
                        "aes.key.1=Key one \xC3\xA4", "aes.select.2.B=Key 16", "aes.active=on", "band=400-499MHz",
                        "frequency=4600000", "source.3.B.line2=Station \xC3\x9C"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Bytes that the fields do not show exactly (a melody byte of no note, a
    // prompt's attribute high nibble, text after a prompt's length, a capcode
    // slot's low bits) stay in the image section and come back too.
    const auto odd = (dir / "odd.tbl").string();
    {
        ConfigImage image = StartupImage();
        image.setByte(MelodyOffset(0, 2) + 3, 0x77);
        image.setByte(PromptOffset(6), static_cast<std::uint8_t>(image.byte(PromptOffset(6)) ^ 0x30));
        image.setByte(PromptOffset(7) + 19, 'Q');
        image.setByte(CapcodeSlotOffset(1) + 2, static_cast<std::uint8_t>(image.byte(CapcodeSlotOffset(1) + 2) | 5));
        // Control characters and the bytes Windows-1252 leaves undefined in
        // texts, as a pager may hold them.
        image.setByte(PromptOffset(8) + 2, 0x81);
        image.setByte(PromptOffset(8) + 3, 0x00);
        image.setByte(layout::kKeys, 0x00);
        image.setByte(layout::kKeys + 1, 0x9D);
        image.setByte(SourceLineOffset(0, 0, 0), 0x00);
        image.setByte(SourceLineOffset(0, 0, 0) + 1, 0x1B);
        ASSERT_FALSE(SaveTableFile(odd, image, 16));
    }
    EXPECT_EQ(Get(odd, "source.1.A.line1").substr(0, 8), "\\x00\\x1B") << "control characters shown escaped";
    for (const std::string& tbl : {file, changed, odd}) {
        SCOPED_TRACE(tbl);
        const auto json = (dir / "export.json").string();
        const auto back = (dir / "back.tbl").string();
        const auto e = Cli({"export", tbl, "-o", json});
        ASSERT_EQ(e.exitCode, 0) << e.err;
        const auto i = Cli({"import", json, back});
        ASSERT_EQ(i.exitCode, 0) << i.err;
        EXPECT_TRUE(SameBytes(ReadFile(back), ReadFile(tbl)));
        // Standard output gives the same document, stable from run to run.
        EXPECT_EQ(Cli({"export", tbl}).out, ReadFile(json));
    }
    const Json doc = Json::parse(Cli({"export", changed}).out);
    EXPECT_EQ(doc.begin().key(), "schema");
    EXPECT_EQ(doc["fields"]["capcodes"]["capcode.1"], "0000077");
    EXPECT_EQ(doc["fields"]["frequency"]["band"], "400-499MHz");
}

TEST(CliExportImport, TwoExportsDifferOnlyInTheLinesOfTheChangedFields) {
    TempDir dir;
    // Both files opened and saved once (Open sets the capcode count to 16).
    const auto file = (dir / "base.tbl").string();
    ASSERT_EQ(Cli({"set", NewTable(dir), "-o", file, "narrowband=on"}).exitCode, 0);
    const auto changed = (dir / "changed.tbl").string();
    ASSERT_EQ(Cli({"set", file, "-o", changed, "capcode.2=0000123", "prompt.9=  SLEEP", "aes.key.2=ABC"}).exitCode, 0);
    const auto a = test::SplitLines(Cli({"export", file}).out);
    const auto b = test::SplitLines(Cli({"export", changed}).out);
    ASSERT_EQ(a.size(), b.size());
    std::vector<std::string> differing;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (a[k] != b[k]) differing.push_back(b[k]);
    EXPECT_EQ(differing, (std::vector<std::string>{"      \"capcode.2\": \"0000123\",", "      \"prompt.9\": \"  SLEEP\",",
                                                    "      \"aes.key.2\": \"ABC             \","}));
}

TEST(CliExportImport, AHandEditedDocumentGoesThroughTheRules) {
    TempDir dir;
    const auto file = NewTable(dir);
    const auto json = (dir / "export.json").string();
    ASSERT_EQ(Cli({"export", file, "-o", json}).exitCode, 0);
    const Json doc = Json::parse(ReadFile(json));
    const auto out = (dir / "out.tbl").string();
    const auto importEdited = [&](const std::function<void(Json&)>& edit) {
        Json d = doc;
        edit(d);
        WriteFile(json, d.dump(2));
        fs::remove(out);
        return Cli({"import", json, out});
    };

    auto r = importEdited([](Json& d) { d["fields"]["capcodes"]["capcode.5"] = "0000321"; });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Get(out, "capcode.5"), "0000321");

    r = importEdited([](Json& d) { d["fields"]["capcodes"]["capcode.5"] = "5"; });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("capcode.5"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Msg48"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));

    r = importEdited([](Json& d) { d["fields"]["frequency"]["baud"] = "9600 bps"; });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("baud"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));

    r = importEdited([](Json& d) { d["fields"]["prompts"].erase("prompt.9"); });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("prompt.9: the field is missing"), std::string::npos) << r.err;

    r = importEdited([](Json& d) { d["schema"] = 2; });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("schema"), std::string::npos) << r.err;

    r = importEdited([](Json& d) { d["image"][0]["bytes"][0] = "0000: XY"; });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("image"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));

    r = importEdited([](Json& d) { d["image"].erase(0); });  // the general parameter block
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("image: byte 0x0000 is missing"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));

    WriteFile(json, "{ not json");
    r = Cli({"import", json, out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(fs::exists(out));
}

TEST(CliExportImport, ADocumentsOwnValuesOutlastTheRulesOfOtherFields) {
    // A prompt language, a battery type and a logo font bring prompts,
    // thresholds and a centred logo of their own; the document's values of
    // those fields are the ones kept, whatever the table order.
    TempDir dir;
    const auto file = NewTable(dir);
    Json doc = Json::parse(Cli({"export", file}).out);
    Json& fields = doc["fields"];
    fields["prompts"]["prompt.language"] = "English";
    fields["prompts"]["prompt.5"] = "  HELLO";
    fields["prompts"]["logo.large-font"] = "off";
    fields["prompts"]["prompt.0"] = "LOGO";
    fields["options"]["battery.rechargeable"] = "off";
    fields["options"]["battery.low"] = "1.23V";
    fields["options"]["battery.med"] = "1.35V";
    fields["options"]["battery.high"] = "1.58V";
    fields["frequency"]["band"] = "929-932MHz";
    fields["frequency"]["frequency"] = "9310125";
    fields["frequency"]["baud"] = "2400 bps";
    const auto json = (dir / "edited.json").string();
    WriteFile(json, doc.dump(2));
    const auto out = (dir / "out.tbl").string();
    const auto r = Cli({"import", json, out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Json back = Json::parse(Cli({"export", out}).out);
    for (const FieldDef& f : FieldTable())
        EXPECT_EQ(back["fields"][f.group][f.name], fields[f.group][f.name]) << f.name;
}

TEST(CliExportImport, RefusesWhatADocumentShouldNotSayAndWritesNothing) {
    TempDir dir;
    const auto file = NewTable(dir);
    const std::string text = Cli({"export", file}).out;
    const Json doc = Json::parse(text);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const auto at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? t : t.replace(at, from.size(), to);
    };
    const auto edited = [&](const std::function<void(Json&)>& edit) {
        Json d = doc;
        edit(d);
        return d.dump(2);
    };
    const std::string serialGroup = FindField("serial")->group;
    struct Case {
        std::string what, document, error;
    };
    const std::vector<Case> cases = {
        {"deep nesting", std::string(50000, '[') + std::string(50000, ']'), "nested deeper than 16 levels"},
        {"a number beyond a double", "{\"schema\": 1e400}", "1e400"},
        {"a duplicate key", replaced("\"schema\": 1,", "\"schema\": 2, \"schema\": 1,"), "schema: the key is given twice"},
        {"a duplicate field",
         replaced("\"prompt.5\": ", "\"prompt.5\": \"X\", \"prompt.5\": "), "fields.prompts.prompt.5: the key is given twice"},
        {"schema 1.0", replaced("\"schema\": 1,", "\"schema\": 1.0,"), "schema: unknown schema version"},
        {"schema 1e0", replaced("\"schema\": 1,", "\"schema\": 1e0,"), "schema: unknown schema version"},
        {"an unknown key", edited([](Json& d) { d["schemas"] = 1; }), "schemas: unknown key"},
        {"a misspelled field", edited([](Json& d) { d["fields"]["prompts"]["promt.5"] = "X"; }),
         "fields.prompts.promt.5: no such field"},
        {"a key in a region", edited([](Json& d) { d["image"][0]["byte"] = Json::array(); }), "image[0].byte: unknown key"},
        {"a changed serial", edited([&](Json& d) { d["fields"][serialGroup]["serial"] = "ABCDEFGHIJKL"; }),
         "serial: the field is read only"},
        {"a changed SSN", edited([&](Json& d) { d["fields"][serialGroup]["ssn"] = "0123456789ABCDEF"; }),
         "ssn: the field is read only"},
        {"a changed PSN", edited([&](Json& d) { d["fields"][serialGroup]["psn"] = "0123456789AB"; }),
         "psn: the field is read only"},
        {"a changed model identity", edited([](Json& d) { d["model"]["identity"] = "ZR-V99K  V1.09"; }),
         "model.identity"},
        {"two fields of one bit that disagree", edited([](Json& d) {
             d["fields"][FindField("air-program")->group]["air-program"] = "on";
             d["fields"][FindField("ota.program")->group]["ota.program"] = "off";
         }),
         "air-program: the table would hold 'off'"},
        {"control characters", edited([](Json& d) { d["fields"]["frequency"]["baud"] = "\x1B[2J\x07"; }),
         "'\\x1B[2J\\x07' is not one of the items"},
    };
    const auto json = (dir / "doc.json").string();
    const auto out = (dir / "out.tbl").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(json, c.document);
        const auto r = Cli({"import", json, out});
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1B'), std::string::npos) << "no raw control character reaches the terminal";
        EXPECT_FALSE(fs::exists(out));
    }
}


TEST(CliDiff, FieldsNamesEachFieldSetWithItsValuesAsGetShowsThem) {
    TempDir dir;
    const std::string a = NewTable(dir, "a.tbl");
    const std::string b = (dir / "b.tbl").string();
    const std::string was = Get(a, "contrast");
    const std::string contrast = was == "2" ? "3" : "2";
    ASSERT_EQ(Cli({"set", a, "capcode.1=1300", "contrast=" + contrast, "prompt.3=Hello", "-o", b}).exitCode, 0);

    // In table order, then the bytes no field shows: the saved checksum.
    const auto lines = Cli({"diff", "--fields", a, b});
    EXPECT_EQ(lines.exitCode, 1);
    const std::string fields = "capcode.1: " + Get(a, "capcode.1") + " -> " + Get(b, "capcode.1") + "\n" +
                               "prompt.3: " + Get(a, "prompt.3") + " -> Hello\n" +  //
                               "contrast: " + was + " -> " + contrast + "\n";
    EXPECT_EQ(lines.out.substr(0, fields.size()), fields) << lines.out << lines.err;
    EXPECT_NE(lines.out.find("  checksum: ", fields.size()), std::string::npos) << lines.out;
    const Json json = Json::parse(Cli({"diff", "--json", a, b}).out);
    ASSERT_EQ(json.size(), 4u);
    EXPECT_EQ(json[2], Json({{"field", "contrast"}, {"a", was}, {"b", contrast}}));
    EXPECT_EQ(json[3]["region"], "checksum");

    const auto same = Cli({"diff", "--fields", a, a});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(Cli({"diff", "--json", b, b}).out, "[]\n");
}

}  // namespace
}  // namespace zrv
