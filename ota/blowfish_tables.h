#pragma once
/// \file
/// The published initial Blowfish state (hexadecimal digits of pi).

#include <array>
#include <cstdint>

namespace zrv::ota {

extern const std::array<std::uint32_t, 18> kBlowfishInitialP;
extern const std::array<std::array<std::uint32_t, 256>, 4> kBlowfishInitialS;

}  // namespace zrv::ota
