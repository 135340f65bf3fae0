// SafeFormat with a format from a language file: every conversion, flag,
// width and precision, with fewer, as many or more arguments than asked for.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "i18n/safe_format.h"

using zrv::i18n::FormatArg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zrv::fuzz::Input in(data, size);
    std::vector<FormatArg> args;
    const unsigned count = in.below(5);
    for (unsigned i = 0; i < count; ++i) {
        switch (in.below(4)) {
        case 0: args.emplace_back(static_cast<long long>(static_cast<std::int64_t>(in.word()) << 48 | in.word())); break;
        case 1: args.emplace_back(static_cast<double>(static_cast<std::int16_t>(in.word())) / 7.0); break;
        case 2: args.emplace_back(in.text(16)); break;
        default: args.emplace_back(-static_cast<int>(in.word())); break;
        }
    }
    const std::string_view format = in.rest();
    const std::string out = zrv::i18n::SafeFormat(format, args);
    // Each conversion is clamped: the text can never grow out of bounds.
    std::size_t argText = 0;
    for (const auto& a : args)
        if (const auto* s = std::get_if<std::string>(&a.value())) argText += s->size();
    zrv::fuzz::Require(out.size() <= format.size() * (zrv::i18n::kMaxFormatWidth + 1) + argText + 400,
                       "formatted text stays bounded");
    return 0;
}
