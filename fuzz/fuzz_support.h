#pragma once
/// \file
/// Helpers of the fuzz targets: a private folder for the files a target
/// writes, a reader that takes values from the front of the input, and a
/// check that stops the run with a message when a property fails.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace zrv::fuzz {

/// A folder of this process under the temporary folder, made once and
/// removed at exit.
inline const std::filesystem::path& WorkFolder() {
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("zrv41k-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                            ("zrv41k-fuzz-" + std::to_string(::getpid())),
                                        ec);
        });
        return p;
    }();
    return folder;
}

/// Takes values from the front of the input; past its end everything is 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    unsigned below(unsigned n) { return n ? byte() % n : 0; }
    bool flag() { return byte() & 1; }
    std::uint16_t word() { return static_cast<std::uint16_t>(byte() << 8 | byte()); }
    /// A text of at most \p max bytes: a length byte, then the bytes.
    std::string text(std::size_t max = 64) {
        const std::size_t n = std::min<std::size_t>(byte(), max);
        std::string out;
        for (std::size_t i = 0; i < n && pos_ < size_; ++i) out.push_back(static_cast<char>(data_[pos_++]));
        return out;
    }
    /// Everything not yet taken.
    std::string_view rest() {
        const auto out = std::string_view(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
        pos_ = size_;
        return out;
    }
    bool empty() const { return pos_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

/// Stops the run (the fuzzer keeps the input) when \p ok is false.
inline void Require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

}  // namespace zrv::fuzz
