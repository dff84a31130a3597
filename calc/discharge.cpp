#include "calc/discharge.h"

#include <cfenv>
#include <cmath>
#include <optional>

namespace calc {
namespace {

constexpr int watchedFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// When several flags are up, the first in the order of Fault is reported.
std::optional<Fault> raisedFault()
{
    const int raised = std::fetestexcept(watchedFlags);
    if (raised & FE_INVALID)
        return Fault::InvalidOperation;
    if (raised & FE_DIVBYZERO)
        return Fault::DivisionByZero;
    if (raised & FE_OVERFLOW)
        return Fault::Overflow;
    return std::nullopt;
}

// IEEE 754 raises invalid for a negative base with a fractional exponent; not every C
// library's pow does (MinGW-w64's returns NaN with no flag). The inputs are finite, so a
// NaN from pow is that case.
double power(double base, double exponent)
{
    const double p = std::pow(base, exponent);
    if (std::isnan(p))
        std::feraiseexcept(FE_INVALID);
    return p;
}

} // namespace

// Every stage stores its result in a volatile and every later stage reloads its operands
// from one: the compiler does not model the flags as side effects even with
// -frounding-math, and would otherwise be free to move an operation across a flag test.
// The caller's flags are not restored: the three watched ones are left as the
// calculation set them.
std::expected<double, Fault> computeDischarge(const DischargeInputs& in)
{
    // The classic runtime overflowed while reading such a field, before the formula ran.
    for (double x : {in.W, in.B, in.H, in.Q, in.L, in.k, in.K})
        if (!std::isfinite(x))
            return std::unexpected(Fault::Overflow);

    const volatile DischargeInputs v = in;
    const volatile double three = 3.0;
    const volatile double two = 2.0;

    std::feclearexcept(watchedFlags);

    volatile double e = three / two;
    if (auto fault = raisedFault())
        return std::unexpected(*fault);

    volatile double P = power(v.H, e);
    volatile double N = P * ((v.B * v.W) * v.k);
    if (auto fault = raisedFault())
        return std::unexpected(*fault);

    e = three / two;
    if (auto fault = raisedFault())
        return std::unexpected(*fault);
    P = power(v.H, e);

    // The grouping is the one the results have always had; the algebraically simpler
    // W·q / (W + q·L·K) + Q rounds differently and faults on other inputs.
    volatile double D = (((P * (v.k * v.B)) * v.L) * v.K) + v.W;
    volatile double R = (N / D) + v.Q;
    if (auto fault = raisedFault())
        return std::unexpected(*fault);
    return R;
}

} // namespace calc
