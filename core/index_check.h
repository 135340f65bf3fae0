#pragma once
/// \file
/// The one check of an index a rule is given (a combo item, a capcode page,
/// a mail drop): outside its range it throws, so a caller's slip never
/// writes a wrong byte of the image.

#include <stdexcept>
#include <string>
#include <string_view>

namespace zrv {

/// Throws std::out_of_range naming \p what unless 0 <= \p value < \p count.
inline void CheckIndex(int value, int count, std::string_view what) {
    if (value < 0 || value >= count)
        throw std::out_of_range(std::string(what) + " " + std::to_string(value) + " outside 0.." +
                                std::to_string(count - 1));
}

}  // namespace zrv
