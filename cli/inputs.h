#pragma once
// The seven inputs as zelm-calc takes them, from their one description (calc::kInputs):
// by name, in order, with the window's start values where it has them.

#include "calc/discharge.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace cli {

inline constexpr std::array<std::string_view, 7> kInputNames = [] {
    std::array<std::string_view, 7> names{};
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = calc::kInputs[i].name;
    return names;
}();

// A start text is a short decimal ("500", "0.50"): its digits and its power of ten are
// exact doubles, so one division gives the value the window reads from it.
constexpr double startValue(std::string_view text)
{
    double digits = 0;
    double scale = 1;
    bool fraction = false;
    for (char c : text) {
        if (c == '.') {
            fraction = true;
            continue;
        }
        digits = digits * 10 + (c - '0');
        if (fraction)
            scale *= 10;
    }
    return digits / scale;
}

// The distance and the two coefficients start as in the window; W, B, H and Q start empty
// there and must be given.
inline constexpr std::array<double, 7> kStartValues = [] {
    std::array<double, 7> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = startValue(calc::kInputs[i].startText);
    return values;
}();
inline constexpr std::size_t kRequiredInputs = [] {
    std::size_t required = 0;
    for (const calc::Input& in : calc::kInputs)
        required += in.startText.empty() ? 1 : 0;
    return required;
}();

inline calc::DischargeInputs dischargeInputs(const std::array<double, 7>& v)
{
    calc::DischargeInputs in{};
    for (std::size_t i = 0; i < v.size(); ++i)
        in.*calc::kInputs[i].member = v[i];
    return in;
}

} // namespace cli
