#pragma once
// Discharge reaching the crossing after a dam breach:
//   R = H^1.5·B·W·k / (H^1.5·k·B·L·K + W) + Q
// evaluated in one fixed grouping so that its rounding is the same on every run.

#include <array>
#include <expected>
#include <string_view>

namespace calc {

// The floating-point flags that end a calculation, in the order they are tested.
enum class Fault { InvalidOperation, DivisionByZero, Overflow };

struct DischargeInputs {
    double W; // reservoir volume, m³
    double B; // dam width, m
    double H; // water depth at the dam's foot
    double Q; // mean inflow during the breach, m³/s
    double L; // distance from the dam to the crossing, m
    double k; // breach-width coefficient
    double K; // wave-passage coefficient
};

// The seven inputs: the letter the window's labels name each by, in the order zelm-calc's
// arguments take them, and the text its field starts with in the window (empty: none, the
// user must give it).
struct Input {
    std::string_view name;
    double DischargeInputs::* member;
    std::string_view startText;
};
inline constexpr std::array<Input, 7> kInputs{{
    {"W", &DischargeInputs::W, ""},
    {"B", &DischargeInputs::B, ""},
    {"H", &DischargeInputs::H, ""},
    {"Q", &DischargeInputs::Q, ""},
    {"L", &DischargeInputs::L, "500"},
    {"k", &DischargeInputs::k, "0.50"},
    {"K", &DischargeInputs::K, "1.00"},
}};

// The input of that name; a name not in kInputs does not compile where a constant is needed.
constexpr const Input& input(std::string_view name)
{
    for (const Input& in : kInputs)
        if (in.name == name)
            return in;
    throw "no such input";
}

// The discharge in m³/s, or the fault that ended the calculation.
std::expected<double, Fault> computeDischarge(const DischargeInputs& in);

} // namespace calc
