// OTA fields as typed: the number and address parsers, the Blowfish round
// trip over any stream, and whole commands built from any field texts.
#include <cstdint>
#include <ctime>

#include "core/default_image.h"
#include "fuzz/fuzz_support.h"
#include "ota/blowfish.h"
#include "ota/number_text.h"
#include "ota/ota_command.h"
#include "ota/ota_window_rules.h"

using namespace zrv;
using namespace zrv::ota;

namespace {

class QuietNotifier : public Notifier {
public:
    void show(const Message&) override {}
    bool ask(const Message&) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    switch (in.below(3)) {
    case 0: {  // parsers
        const std::string text(in.rest());
        (void)HexNumber(text);
        (void)DecimalNumber(text);
        // The rewritten start address holds the same number, in at least
        // three digits (a value above FFF keeps its digits).
        if (const auto start = FormatStartAddress(text))
            fuzz::Require(start->size() >= 3 && HexNumber(*start) == HexNumber(text), "a start address keeps its value");
        (void)KeyFromSecretSerial(text);
        break;
    }
    case 1: {  // Blowfish: deciphering gives back what was enciphered
        const auto key = KeyFromSecretSerial(in.text(20));
        BitStream stream;
        const unsigned bits = 20 + in.below(800);
        for (unsigned i = 0; i < bits; ++i) stream.AppendBits(in.byte(), 1);
        const BitStream plain = stream;
        EncipherStream(stream, key);
        fuzz::Require((stream.count() - 20) % 64 == 0, "whole blocks");
        DecipherStream(stream, key);
        for (unsigned i = 0; i < bits; ++i)
            fuzz::Require(stream.ReadBits(i, 1) == plain.ReadBits(i, 1), "Blowfish round trip");
        break;
    }
    default: {  // a command from any field texts
        OtaWindowFields window;
        window.edtPSN = in.text(8);
        window.edtID = in.text(12);
        window.chkEncypt = in.flag();
        window.edtSSN = in.text(20);
        window.chkDateField = in.flag();
        window.edtDateField = in.text(12);
        window.chkBat = in.flag();
        window.edtBat = in.text(4);
        window.chkPkgStr = in.flag();
        window.edtPkgStr = in.text(4);
        window.Edit1 = in.text(24);
        window.Edit2 = in.text(24);
        window.chkPkg = in.flag();
        window.edtPkg = in.text(4);
        window.edtDate = in.text(16);
        window.cboAlertType = in.below(6) - 1;
        window.edtStart = in.text(6);
        window.edtData = in.text(255);
        window.edtLength = std::to_string(window.edtData.size());
        OtaMainFields main;
        for (auto& cap : main.edtCap) cap = in.text(9);
        main.txtReminder = in.text(6);
        main.chkReminder = in.flag();
        OtaAlertFields alert;
        ConfigImage image = StartupImage();
        QuietNotifier notifier;
        OtaBuilder builder(notifier);
        builder.setClock([] { std::tm t{}; t.tm_year = 126; t.tm_mday = 1; return t; });
        const int types[] = {1, 2, 3, 4, 5, 10, 11, 12, 17, kTypeRawData, kTypeLast, 0, 6, 300};
        const int type = types[in.below(sizeof types / sizeof types[0])];
        const ConfigImage before = image;
        if (!builder.BuildCommand(type, window, main, alert, image))
            fuzz::Require(image == before, "a refused command leaves the image");
        (void)builder.dataString();
        builder.BuildTimeMessage(window);
        (void)builder.TimeMessageLine(window);
        break;
    }
    }
    return 0;
}
