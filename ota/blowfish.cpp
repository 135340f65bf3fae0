#include "ota/blowfish.h"

#include <utility>

#include "ota/bit_stream.h"
#include "ota/blowfish_tables.h"
#include "ota/number_text.h"

namespace zrv::ota {

namespace {
/// The enciphered part of a command starts after the public serial number.
constexpr std::size_t kCipherStartBit = 20;
constexpr std::size_t kBlockBits = 64;

std::uint32_t ReadWord(const BitStream& s, std::size_t bit) {
    std::uint32_t w = 0;
    for (int k = 0; k < 4; ++k) w = (w << 8) | s.ReadBits(bit + 8 * static_cast<std::size_t>(k), 8);
    return w;
}

void AppendWord(BitStream& s, std::uint32_t w) {
    for (int k = 3; k >= 0; --k) s.AppendBits((w >> (8 * k)) & 0xFF, 8);
}
}  // namespace

Blowfish::Blowfish(std::span<const std::uint8_t> key) : p_(kBlowfishInitialP), s_(kBlowfishInitialS) {
    static const std::uint8_t zero = 0;
    if (key.empty()) key = std::span<const std::uint8_t>(&zero, 1);
    if (key.size() > 56) key = key.first(56);
    std::size_t j = 0;
    for (auto& word : p_) {
        std::uint32_t data = 0;
        for (int k = 0; k < 4; ++k) {
            data = (data << 8) | key[j];
            j = (j + 1) % key.size();
        }
        word ^= data;
    }
    std::uint32_t l = 0, r = 0;
    for (std::size_t i = 0; i < p_.size(); i += 2) {
        Encipher(l, r);
        p_[i] = l;
        p_[i + 1] = r;
    }
    for (auto& box : s_) {
        for (std::size_t i = 0; i < box.size(); i += 2) {
            Encipher(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
}

std::uint32_t Blowfish::F(std::uint32_t x) const {
    return ((s_[0][x >> 24] + s_[1][(x >> 16) & 0xFF]) ^ s_[2][(x >> 8) & 0xFF]) + s_[3][x & 0xFF];
}

void Blowfish::Encipher(std::uint32_t& l, std::uint32_t& r) const {
    for (int round = 0; round < 16; ++round) {
        l ^= p_[round];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[16];
    l ^= p_[17];
}

void Blowfish::Decipher(std::uint32_t& l, std::uint32_t& r) const {
    for (int round = 17; round > 1; --round) {
        l ^= p_[round];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p_[1];
    l ^= p_[0];
}

std::array<std::uint8_t, 8> KeyFromSecretSerial(const std::string& text) {
    std::array<std::uint8_t, 8> key{};
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (2 * i + 1 >= text.size()) break;
        const int hi = HexDigitValue(text[2 * i]);
        const int lo = HexDigitValue(text[2 * i + 1]);
        key[i] = (hi < 0 || lo < 0) ? 0 : static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return key;
}

namespace {

// Runs the cipher over the stream from bit 20 on, block by block. Each block
// is written over the block it was read from; a last partial block takes the
// zero bits after the count with it, so an enciphered stream ends on a
// whole block.
void CipherStream(BitStream& stream, const std::array<std::uint8_t, 8>& key, bool encipher) {
    const Blowfish cipher(key);
    const std::size_t end = stream.count();
    stream.setCount(kCipherStartBit);
    for (std::size_t p = kCipherStartBit; p < end; p += kBlockBits) {
        std::uint32_t l = ReadWord(stream, p);
        std::uint32_t r = ReadWord(stream, p + 32);
        if (encipher)
            cipher.Encipher(l, r);
        else
            cipher.Decipher(l, r);
        AppendWord(stream, l);
        AppendWord(stream, r);
    }
}

}  // namespace

void EncipherStream(BitStream& stream, const std::array<std::uint8_t, 8>& key) {
    CipherStream(stream, key, true);
}

void DecipherStream(BitStream& stream, const std::array<std::uint8_t, 8>& key) {
    const std::size_t end = stream.count();
    CipherStream(stream, key, false);
    stream.setCount(end);
}

}  // namespace zrv::ota
