// The twelve built-in tunes the Preview button plays for "Tone 1" .. "Music 8".
#include <array>
#include <sstream>
#include <stdexcept>

#include "core/index_check.h"
#include "core/music.h"

namespace zrv {
namespace {

using Tune = std::vector<TunePair>;

constexpr TunePair kEnd{0, 0};
constexpr TunePair kGap{0, 1};

void Repeat(Tune& tune, const Tune& part, int times) {
    for (int i = 0; i < times; ++i) tune.insert(tune.end(), part.begin(), part.end());
}

Tune Tone1() {
    Tune t;
    Repeat(t, {{91, 84}, {0, 12}}, 3);
    t.push_back(kEnd);
    return t;
}

Tune Tone2() {
    Tune t;
    Repeat(t, {{90, 6}, {108, 6}}, 7);
    t.push_back({0, 24});
    Repeat(t, {{90, 6}, {108, 6}}, 7);
    t.push_back(kEnd);
    return t;
}

Tune Tone3() {
    const Tune run{{140, 6}, {108, 6}, {90, 6}, {84, 6}};
    Tune t;
    Repeat(t, run, 4);
    t.push_back({0, 120});
    Repeat(t, run, 4);
    t.push_back(kEnd);
    return t;
}

Tune Tone4() {
    const Tune sweep{{120, 6}, {104, 9}, {88, 6}, {80, 9}, {72, 6}, {64, 9},
                     {72, 6},  {80, 9},  {88, 6}, {104, 9}, {120, 6}};
    Tune t = sweep;
    t.push_back({0, 120});
    Repeat(t, sweep, 1);
    t.push_back(kEnd);
    return t;
}

Tune Music4() {
    Tune t;
    Repeat(t, {{112, 40}, {83, 60}}, 4);
    t.push_back(kEnd);
    return t;
}

Tune Music6() {
    Tune t;
    for (int d = 178; d >= 80; d -= 2) t.push_back({static_cast<std::uint8_t>(d), 3});
    for (int d = 80; d <= 178; d += 2) t.push_back({static_cast<std::uint8_t>(d), 7});
    t.push_back(kEnd);
    return t;
}

/// A tune written as notes of the melody notation, each with its length in
/// steps of 60 ms ("E3" is E for 180 ms, "04" a rest of 240 ms); a repeated
/// note is preceded by the short gap so that both are heard.
Tune Score(const char* score) {
    constexpr int kUnitsPerStep = 6;
    Tune t;
    std::istringstream in(score);
    std::string token;
    char previous = 0;
    while (in >> token) {
        const char note = token[0];
        const int steps = std::stoi(token.substr(1));
        if (note == previous && note != '0') t.push_back(kGap);
        const std::uint8_t divider = note == '0' ? 0 : MelodyNoteByte(note);
        t.push_back({divider, static_cast<std::uint8_t>(steps * kUnitsPerStep)});
        previous = note;
    }
    t.push_back(kEnd);
    return t;
}

const std::array<Tune, 12>& Tunes() {
    static const std::array<Tune, 12> tunes{
        Tone1(),
        Tone2(),
        Tone3(),
        Tone4(),
        Score("E3 D3 C3 D3 E3 E3 E6 D3 D3 D6 E3 G3 G6 E3 D3 C3 D3 E3 E3 E3 E3 D3 D3 E3 D3 C9 06 G3 G3 A3 G3 E6 C6 "
              "D3 E3 C6 G3 G3 F3 F3 E6"),
        Score("C2 C2 G2 G2 A2 A2 G4 F2 F2 E2 E2 D2 D2 C4 G2 G2 F2 F2 E2 E2 D4 G2 G2 F2 F2 E2 E2 D4 C2 C2 G2 G2 A2 "
              "A2 G4 F2 F2 E2 E2 D2 D2 C6 G2 G2 C6"),
        Score("G2 c2 e2 g4 e2 g6 04 g2 e2 c2 G4 c2 e2 g2 c2 e2 g2 c8 04 G2 c2 e2 g4 e2 g6 04 g2 f2 e2 d2 c2 B2 c8 "
              "04 G2 e2 c2 G2 c6"),
        Music4(),
        Score("c4 b2 a2 g4 f2 e2 d4 c4 04 e2 f2 g2 a4 g2 f2 e8 04 c4 c2 d2 e4 e2 f2 g4 a2 g2 f2 e2 d2 c8 C8"),
        Music6(),
        Score("E2 G2 c4 G2 E2 C4 D2 F2 A4 F2 D2 B4 c2 e2 g4 e2 c4 c4 G2 E2 C2 D2 E2 C8 G2 C8"),
        Score("e2 d2 e2 d2 e2 B2 d2 c2 A6 02 C2 E2 A2 B6 02 E2 G2 B2 c6 02 E2 e2 d2 e2 d2 e2 B2 d2 c2 A6 02 C2 E2 "
              "A2 B6 02 E2 c2 B2 A8 02 B2 c2 d2 e6 02 G2 f2 e2 d6 02 F2 e2 d2 c6 02 E2 d2 c2 B6 02 E2 d2 c2 B2 A4 "
              "04 A8"),
    };
    return tunes;
}

}  // namespace

const std::vector<TunePair>& PreviewTune(int item) {
    CheckIndex(item - 1, static_cast<int>(Tunes().size()), "preview tune");
    return Tunes()[static_cast<std::size_t>(item - 1)];
}

}  // namespace zrv
