#pragma once
// The seven inputs as zelm-calc knows them: by the names on the window's labels, in the
// order the arguments take them, with the window's start values where it has them.

#include "calc/discharge.h"

#include <array>
#include <string_view>

namespace cli {

inline constexpr std::array<std::string_view, 7> kInputNames = {"W", "B", "H", "Q", "L", "k", "K"};

// "500", "0.50" and "1.00", as the distance and the two coefficients start in the window;
// W, B, H and Q start empty there and must be given.
inline constexpr std::array<double, 7> kStartValues = {0, 0, 0, 0, 500.0, 0.5, 1.0};
inline constexpr std::size_t kRequiredInputs = 4;

inline calc::DischargeInputs dischargeInputs(const std::array<double, 7>& v)
{
    return {.W = v[0], .B = v[1], .H = v[2], .Q = v[3], .L = v[4], .k = v[5], .K = v[6]};
}

} // namespace cli
