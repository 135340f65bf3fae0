// The fields of the "Freq. && Codes", prompt and source-text pages.
#include "core/field_table_builder.h"

namespace zrv::field_rows {

void AddFrequencyGroup(TableBuilder& t) {
    t.group = "frequency";
    std::vector<std::string> bands;
    for (const Band& b : kBands) bands.emplace_back(b.itemText);
    t.combo("band", bands, "cboFreq", "by 0x000D and 0x0065 (band from image)",
            [](const ConfigImage&, const FieldContext& c) { return std::optional<int>(c.band); },
            [](ConfigImage& image, FieldContext& c, const std::string&, int item) {
                c.band = item;
                return FromFrequency(ChangeBand(image, item, c.firmwareUnknown));
            });
    t.caption("Band", "lblBand");
    t.add("frequency", FieldKind::Text, {}, "the channel frequency in 100 Hz units on the band and its raster",
          "edtFreq", "0x0068..0x006B and the synthesizer words 0x0005..0x000E, 0x0064..0x0067, 0x045A",
          [](const ConfigImage& image, const FieldContext&) { return std::to_string(ChannelFrequency(image)); },
          [](ConfigImage& image, FieldContext& c, const std::string& text, int) {
              return FromFrequency(StoreChannelFrequency(image, c.band, text, c.firmwareUnknown));
          });
    t.caption("Frequency", "lblFreq");
    std::vector<std::string> bauds;
    for (const BaudRate& b : kBaudRates) bauds.emplace_back(b.itemText);
    t.boundCombo("baud", bauds, "cboCtl0", "0x1403,4,2,cboBaud");
    t.caption("Baud Rate", "lblBaud");
    t.boundCombo("polarity", Items({"Normal", "Invert"}), "cboPolarity", "0x1402,7,1,cbo");
    t.caption("Polarity", "lblPolarity");
    t.check("narrowband", "chkBand", BitText(fields::kNarrowband), NarrowBand,
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreNarrowBand(image, item != 0);
                return Outcome::Ok();
            });
    t.caption("Narrow Band");
}

void AddCapcodes(TableBuilder& t) {
    t.group = "capcodes";
    for (int n = 0; n < kCapcodePageCount * kCapcodeSlotsPerPage; ++n) {
        const std::string base = "capcode." + std::to_string(n + 1);
        const int page = n / kCapcodeSlotsPerPage;
        const int slot = n % kCapcodeSlotsPerPage;
        const std::string where = " (capcode page " + std::to_string(page + 1) + ")";
        t.add(base, FieldKind::Text, {}, "7..2097151", "edtCap" + std::to_string(slot) + where,
              HexRange(CapcodeSlotOffset(n), 3) + " (capcode x 8)",
              [n](const ConfigImage& image, const FieldContext&) { return CapcodeText(image, n); },
              [n](ConfigImage& image, FieldContext& c, const std::string& text, int) {
                  if (auto refused = BeyondKeptCapcodes(c, n)) return *refused;
                  if (text.empty()) return Refuse("an empty value stores nothing");
                  return StoreCapcodeText(image, n, text);
              });
        const std::string bit = " bit " + std::to_string(7 - slot);
        t.check(base + ".on", "chkEnCap" + std::to_string(slot) + where, HexOffset(0x123D + page) + bit,
                [n](const ConfigImage& image) { return CapcodeOn(image, n); },
                [n, page, slot](ConfigImage& image, FieldContext& c, const std::string&, int item) {
                    if (auto refused = BeyondKeptCapcodes(c, n)) return *refused;
                    StoreCapcodeOnBox(image, page, slot, item != 0);
                    return Outcome::Ok();
                });
        t.check(base + ".manual", "chkManu" + std::to_string(slot) + where, HexOffset(0x1235 + page) + bit,
                [n](const ConfigImage& image) { return CapcodeManual(image, n); },
                [n, page, slot](ConfigImage& image, FieldContext& c, const std::string&, int item) {
                    if (auto refused = BeyondKeptCapcodes(c, n)) return *refused;
                    StoreCapcodeManualBox(image, page, slot, item != 0);
                    return Outcome::Ok();
                });
        for (int f = 0; f < 4; ++f) {
            const std::string fb = base + "." + kFunctionBits[static_cast<std::size_t>(f)];
            const std::string window = "function bit window of capcode " + std::to_string(n + 1) + ", ";
            const std::string letter(1, kFunctionBits[static_cast<std::size_t>(f)]);
            t.check(fb + ".priority", window + "priority " + letter,
                    HexOffset(0x1215 + static_cast<std::size_t>(n / 2)) + " bit " +
                        std::to_string(7 - 4 * (n % 2) - f),
                    [n, f](const ConfigImage& image) { return PriorityAlert(image, n, f); },
                    [n, f](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        SetPriorityAlert(image, n, f, item != 0);
                        return Outcome::Ok();
                    });
            t.combo(fb + ".display", Items(kDisplayItems), window + "display " + letter,
                    HexOffset(DisplayCodeOffset(n, f)),
                    [n, f](const ConfigImage& image, const FieldContext&) { return FunctionBitDisplayItem(image, n, f); },
                    [n, f](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        StoreFunctionBitDisplay(image, n, f, item);
                        return Outcome::Ok();
                    });
            t.combo(fb + ".type", Items(kMessageTypeItems), window + "message type " + letter,
                    HexOffset(MessageTypeOffset(n, f)),
                    [n, f](const ConfigImage& image, const FieldContext&) { return FunctionBitTypeItem(image, n, f); },
                    [n, f](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        StoreFunctionBitType(image, n, f, item);
                        return Outcome::Ok();
                    });
        }
    }
}

void AddAlerts(TableBuilder& t) {
    t.group = "alerts";
    t.combo("alert.personal", Items({"2 sec", "8 sec", "16 sec", "32 sec", "continuos"}),
            "alert window, personal", "0x0090",
            [](const ConfigImage& image, const FieldContext&) { return PersonalAlertItem(image); },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StorePersonalAlert(image, item);
                return Outcome::Ok();
            });
    for (int i = 0; i < kMailDropCount; ++i) {
        const char id = "123456789ABCDEF"[i];
        t.combo(std::string("alert.maildrop.") + id, Items({"Disable", "Beep", "1 sec", "16 sec"}),
                std::string("alert window, mail drop ") + id,
                HexOffset(0x37 + static_cast<std::size_t>(i / 8)) + " bit and " + HexOffset(0x91 + static_cast<std::size_t>(i)),
                [i](const ConfigImage& image, const FieldContext&) { return MailDropAlertItem(image, i); },
                [i](ConfigImage& image, FieldContext&, const std::string&, int item) {
                    StoreMailDropAlert(image, i, item);
                    return Outcome::Ok();
                });
    }
    t.add("password.rw", FieldKind::Text, {}, "six printable Windows-1252 characters", "textPass", HexRange(0xFC3, 6),
          [](const ConfigImage& image, const FieldContext&) { return RwPasswordText(image); },
          [](ConfigImage& image, FieldContext&, const std::string& text, int) { return StoreRwPassword(image, text); });
    t.caption("R/W Pwd", "Label2");
}

void AddPrompts(TableBuilder& t) {
    t.group = "prompts";
    for (int tag = 0; tag < kPromptBoxCount; ++tag) {
        t.add("prompt." + std::to_string(tag), FieldKind::Text, {},
              "up to 18 printable Windows-1252 characters after the leading spaces", "edtPrompt" + std::to_string(tag),
              HexRange(PromptOffset(tag), 20),
              [tag](const ConfigImage& image, const FieldContext&) { return Cp1252ToUtf8(ShownPromptText(image, tag)); },
              [tag](ConfigImage& image, FieldContext&, const std::string& text, int) {
                  return StoreTypedPrompt(image, tag, text);
              });
    }
    const auto language = [](const Field& code) {
        return [code](const ConfigImage& image, const FieldContext&) -> std::optional<int> {
            const int item = LanguageItemFromCode(static_cast<int>(code.Get(image)));
            if (item < 0) return std::nullopt;
            return item;
        };
    };
    t.combo("prompt.language", Items(kLanguageItems), "cboLng", "0x003A, 0x003E and the prompt records",
            language(fields::kPromptLanguageCode),
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                ChangePromptLanguage(image, item);
                return CentreLogo(image);
            });
    t.caption("Prompt Language", "lblPromptLanguage");
    t.combo("logo.font", Items(kLanguageItems), "cboLogo [0x3F,0,4,Lng]", BitText(fields::kLogoFontCode),
            language(fields::kLogoFontCode), [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreLogoFont(image, item);
                return Outcome::Ok();
            });
    t.caption("Logo Font", "lblLogoFont");
    t.boundCheck("logo.large-font", "chkLogoLargeFont", "0x2F,3,1,chkN",
                 [](ConfigImage& image, bool) { return CentreLogo(image); });
    t.caption("Logo Large Font");
}

void AddSources(TableBuilder& t) {
    t.group = "sources";
    t.combo("source.enable", Items({"Disable", "Enable"}), "cboSource", BitText(fields::kSourceTextsOn),
            [](const ConfigImage& image, const FieldContext&) { return std::optional<int>(SourceTextsItem(image)); },
            [](ConfigImage& image, FieldContext&, const std::string&, int item) {
                StoreSourceTextsItem(image, item);
                return Outcome::Ok();
            });
    t.caption("Source Text", "lblSourceText");
    for (int n = 0; n < kMaxSourcePages * 4; ++n) {
        const int page = n / 4;
        for (int f = 0; f < 4; ++f) {
            const int k = (n % 4) * 4 + f;
            const std::string base = "source." + std::to_string(n + 1) + "." + kFunctionBits[static_cast<std::size_t>(f)];
            const std::string where = " (source page " + std::to_string(page + 1) + ")";
            t.check(base + ".on", "chkSource" + std::to_string(2 * k) + where,
                    HexOffset(0x7C0 + 2 * static_cast<std::size_t>(page) + static_cast<std::size_t>(k / 8)) +
                        " bit " + std::to_string(7 - k % 8),
                    [page, k](const ConfigImage& image) { return SourceEnabled(image, page, k); },
                    [page, k](ConfigImage& image, FieldContext&, const std::string&, int item) {
                        StoreSourceEnabled(image, page, k, item != 0);
                        return Outcome::Ok();
                    });
            for (int line = 0; line < 2; ++line) {
                t.add(base + ".line" + std::to_string(line + 1), FieldKind::Text, {},
                      "up to 21 printable Windows-1252 characters (padded with spaces)", "txtSource" + std::to_string(2 * k + line) + where,
                      HexRange(SourceLineOffset(page, k, line), kSourceLineLength),
                      [page, k, line](const ConfigImage& image, const FieldContext&) {
                          return Cp1252ToUtf8(SourceLine(image, page, k, line));
                      },
                      [page, k, line](ConfigImage& image, FieldContext&, const std::string& text, int) {
                          return StoreTypedSourceLine(image, page, k, line, text).outcome;
                      });
            }
        }
    }
}

}  // namespace zrv::field_rows
