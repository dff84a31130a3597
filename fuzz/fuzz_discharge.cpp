// The discharge on any seven doubles (NaN, infinities and subnormals included), read from
// the input as raw bytes in the order W, B, H, Q, L, k, K; short inputs are padded with
// zero bytes.
//
// Properties:
// - a fault never comes with a value: whatever is returned is a finite number;
// - the outcome does not depend on the floating-point flags the caller left raised;
// - a negative depth is an invalid operation (a fractional power of a negative number);
// - for positive inputs of moderate size nothing can fault, the inflow arrives whole and
//   at most the whole breach discharge k·B·H^1.5 is added to it.
// The fixed grouping itself is pinned by the unit tests' grouping rows, each checked to
// tell the other evaluation apart; a second copy of the formula here could not fail.
#include "calc/discharge.h"

#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

void check(bool holds, const char* what, const calc::DischargeInputs& in)
{
    if (holds)
        return;
    std::fprintf(stderr,
                 "property broken: %s\n  W=%a B=%a H=%a Q=%a L=%a k=%a K=%a\n", what, in.W,
                 in.B, in.H, in.Q, in.L, in.k, in.K);
    std::abort();
}

bool sameOutcome(const std::expected<double, calc::Fault>& a,
                 const std::expected<double, calc::Fault>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    if (!a)
        return a.error() == b.error();
    return std::memcmp(&*a, &*b, sizeof(double)) == 0;
}

bool isModerate(double x) { return x >= 1e-30 && x <= 1e30; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    double x[7] = {};
    std::memcpy(x, data, size < sizeof x ? size : sizeof x);
    const calc::DischargeInputs in{x[0], x[1], x[2], x[3], x[4], x[5], x[6]};

    std::feclearexcept(FE_ALL_EXCEPT);
    const auto outcome = calc::computeDischarge(in);
    check(!outcome || std::isfinite(*outcome), "a value is a finite number", in);

    std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW | FE_UNDERFLOW | FE_INEXACT);
    check(sameOutcome(calc::computeDischarge(in), outcome),
          "the caller's raised flags do not change the outcome", in);

    bool allFinite = true;
    for (double v : x)
        allFinite = allFinite && std::isfinite(v);
    if (allFinite && in.H < 0)
        check(!outcome && outcome.error() == calc::Fault::InvalidOperation,
              "a negative depth is an invalid operation", in);

    if (isModerate(in.W) && isModerate(in.B) && isModerate(in.H) && isModerate(in.L) &&
        isModerate(in.k) && isModerate(in.K) && std::fabs(in.Q) <= 1e30) {
        check(outcome.has_value(), "moderate positive inputs never fault", in);
        const double R = *outcome;
        const double breach = in.k * in.B * std::pow(in.H, 1.5);
        const double slack = 4 * std::numeric_limits<double>::epsilon() *
                             (std::fabs(R) + std::fabs(in.Q));
        check(R >= in.Q, "the inflow arrives whole", in);
        check(R - in.Q <= breach * (1 + 1e-12) + slack,
              "no more than the breach discharge reaches the crossing", in);
    }
    return 0;
}
