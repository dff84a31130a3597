#pragma once
// Discharge reaching the crossing after a dam breach:
//   R = H^1.5·B·W·k / (H^1.5·k·B·L·K + W) + Q
// evaluated in one fixed grouping so that its rounding is the same on every run.

#include <expected>

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

// The discharge in m³/s, or the fault that ended the calculation.
std::expected<double, Fault> computeDischarge(const DischargeInputs& in);

} // namespace calc
