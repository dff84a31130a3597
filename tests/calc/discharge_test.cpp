#include "calc/discharge.h"
#include "calc/number_text.h"
#include "row_name.h"

#include <bit>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using calc::DischargeInputs;
using calc::Fault;

std::uint64_t bitsOf(double x) { return std::bit_cast<std::uint64_t>(x); }

// The window's defaults with the four free fields filled as in the worked example.
constexpr DischargeInputs workedExample{.W = 1000000, .B = 100, .H = 16, .Q = 10, .L = 500, .k = 0.5, .K = 1.0};

DischargeInputs with(DischargeInputs in, double DischargeInputs::*field, double value)
{
    in.*field = value;
    return in;
}

TEST(Discharge, WorkedExampleGivesItsBits)
{
    const auto r = calc::computeDischarge(workedExample);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(bitsOf(*r), bitsOf(0x1.36313b13b13b1p+10)); // 1240.76923076923…
    EXPECT_EQ(calc::formatResult(*r, "."), "1240.769");
    EXPECT_EQ(calc::formatResult(*r, ","), "1240,769");
}

TEST(Discharge, FlagsRaisedBeforeTheCalculationAreNoFault)
{
    std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    EXPECT_TRUE(calc::computeDischarge(workedExample).has_value());
}

// ---- Results ----------------------------------------------------------------------------

struct ResultCase {
    const char* name;
    DischargeInputs in;
    const char* shown;
};

void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }

class DischargeResult : public testing::TestWithParam<ResultCase> {};

TEST_P(DischargeResult, IsShownAs)
{
    const ResultCase& c = GetParam();
    const auto r = calc::computeDischarge(c.in);
    ASSERT_TRUE(r.has_value()) << "fault " << static_cast<int>(r.error());
    EXPECT_EQ(calc::formatResult(*r, "."), c.shown);
}

const ResultCase resultCases[] = {
    {"distance_zero_whole_breach_arrives", with(workedExample, &DischargeInputs::L, 0), "3210.000"},
    {"passage_coefficient_zero", with(workedExample, &DischargeInputs::K, 0), "3210.000"},
    {"volume_empty_gives_inflow", with(workedExample, &DischargeInputs::W, 0), "10.000"},
    {"volume_and_inflow_empty", {.W = 0, .B = 100, .H = 16, .Q = 0, .L = 500, .k = 0.5, .K = 1}, "0.000"},
    {"depth_zero_gives_inflow", with(workedExample, &DischargeInputs::H, 0), "10.000"},
    {"breach_coefficient_from_dots", with(workedExample, &DischargeInputs::k, calc::parseNumber("...")), "10.000"},
    {"large_negative_inflow", with(workedExample, &DischargeInputs::Q, -5000), "-3769.231"},
    {"result_of_1e15_in_plain_digits", {.W = 1, .B = 1e9, .H = 1e4, .Q = 10, .L = 0, .k = 1, .K = 1},
     "1000000000000010.000"},
    // Products too small for a double become zero: no fault.
    {"underflow_is_no_fault", {.W = 1e-200, .B = 1e-200, .H = 1, .Q = 0, .L = 1, .k = 1, .K = 1}, "0.000"},
};

INSTANTIATE_TEST_SUITE_P(Edges, DischargeResult, testing::ValuesIn(resultCases), rowName);

// ---- Faults -----------------------------------------------------------------------------

struct FaultCase {
    const char* name;
    DischargeInputs in;
    Fault fault;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class DischargeFault : public testing::TestWithParam<FaultCase> {};

TEST_P(DischargeFault, EndsTheCalculation)
{
    const FaultCase& c = GetParam();
    const auto r = calc::computeDischarge(c.in);
    ASSERT_FALSE(r.has_value()) << "gave " << *r;
    EXPECT_EQ(static_cast<int>(r.error()), static_cast<int>(c.fault));
}

constexpr double inf = std::numeric_limits<double>::infinity();

const FaultCase faultCases[] = {
    {"four_fields_empty", {.W = 0, .B = 0, .H = 0, .Q = 0, .L = 500, .k = 0.5, .K = 1}, Fault::InvalidOperation},
    {"negative_depth", with(workedExample, &DischargeInputs::H, -16), Fault::InvalidOperation},
    {"dots_coefficient_with_volume_empty", {.W = 0, .B = 100, .H = 16, .Q = 10, .L = 500, .k = 0, .K = 1},
     Fault::InvalidOperation},
    // D = 8·1·1·1 − 8 = 0 while N = −64.
    {"denominator_zero", {.W = -8, .B = 1, .H = 4, .Q = 0, .L = 1, .k = 1, .K = 1}, Fault::DivisionByZero},
    {"power_overflows", {.W = 1, .B = 1, .H = 1e300, .Q = 0, .L = 1, .k = 1, .K = 1}, Fault::Overflow},
    // B×W overflows first, although W·q / (W + q·L·K) would not.
    {"volume_times_width_overflows", {.W = 1e200, .B = 1e200, .H = 1, .Q = 0, .L = 1, .k = 1e-200, .K = 1},
     Fault::Overflow},
    {"adding_inflow_overflows", {.W = 1, .B = 1.5e308, .H = 1, .Q = 1e308, .L = 0, .k = 1, .K = 1}, Fault::Overflow},
    // A field beyond the double range reads as infinity.
    {"field_beyond_double_range", with(workedExample, &DischargeInputs::W, calc::parseNumber("1e400")),
     Fault::Overflow},
    {"field_beyond_double_range_negative", with(workedExample, &DischargeInputs::Q, -inf), Fault::Overflow},
    // Invalid and overflow raised together: invalid is reported.
    {"several_flags_at_once", {.W = 1e200, .B = 1e200, .H = -1, .Q = 0, .L = 1, .k = 1, .K = 1},
     Fault::InvalidOperation},
};

INSTANTIATE_TEST_SUITE_P(Faults, DischargeFault, testing::ValuesIn(faultCases), rowName);

// ---- Grouping ---------------------------------------------------------------------------

// Inputs whose rounding depends on the grouping; each depth is a perfect square, so that
// H^1.5 is exact and the expected bits depend on + − × ÷ alone.
struct GroupingCase {
    const char* name;
    DischargeInputs in;
    double expected;
};

void PrintTo(const GroupingCase& c, std::ostream* os) { *os << c.name; }

// R = W·q / (W + q·L·K) + Q with q = k·B·H^1.5: equal in algebra, not in rounding.
double rearranged(const DischargeInputs& in)
{
    const double q = in.k * in.B * std::pow(in.H, 1.5);
    return in.W * q / (in.W + q * in.L * in.K) + in.Q;
}

// The denominator with its last multiply and add fused into one rounding.
double fused(const DischargeInputs& in)
{
    const double P = std::pow(in.H, 1.5);
    const double N = P * ((in.B * in.W) * in.k);
    const double D = std::fma((P * (in.k * in.B)) * in.L, in.K, in.W);
    return N / D + in.Q;
}

// The denominator's breach term grouped (P·k)·B instead of P·(k·B).
double regrouped(const DischargeInputs& in)
{
    const double P = std::pow(in.H, 1.5);
    const double N = P * ((in.B * in.W) * in.k);
    const double D = ((((P * in.k) * in.B) * in.L) * in.K) + in.W;
    return N / D + in.Q;
}

class DischargeGrouping : public testing::TestWithParam<GroupingCase> {};

TEST_P(DischargeGrouping, KeepsTheBitsOfTheFixedOrder)
{
    const GroupingCase& c = GetParam();
    const auto r = calc::computeDischarge(c.in);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(bitsOf(*r), bitsOf(c.expected)) << std::hexfloat << *r;
}

const GroupingCase rearrangementCases[] = {
    {"reservoir_37_million", {.W = 37721721.4, .B = 475.2, .H = 36, .Q = 89.2, .L = 749, .k = 0.5, .K = 0.8},
     0x1.bb27e2583a2fap+14},
    {"reservoir_34_million", {.W = 34685965.1, .B = 258.1, .H = 49, .Q = 77.6, .L = 1353, .k = 0.5, .K = 1.0},
     0x1.fdbd81fc447e6p+13},
    {"reservoir_half_million", {.W = 484529.6, .B = 488.3, .H = 9, .Q = 37.6, .L = 607, .k = 0.75, .K = 0.8},
     0x1.d7f81226d22c5p+9},
};

const GroupingCase fusedCases[] = {
    {"reservoir_10_million", {.W = 10186881, .B = 257, .H = 9, .Q = 40.4, .L = 2708, .k = 0.75, .K = 0.8},
     0x1.39d4feab6b898p+11},
    {"reservoir_11_million", {.W = 10940818, .B = 122, .H = 16, .Q = 53.9, .L = 3531, .k = 0.5, .K = 0.35},
     0x1.5964eee4583aap+11},
    {"reservoir_4_million", {.W = 3818501, .B = 391, .H = 16, .Q = 64.2, .L = 3143, .k = 0.5, .K = 0.8},
     0x1.629e8197a02fap+10},
};

// H = 777 is no perfect square: pow's rounding of H^1.5 is the same in both groupings.
// Shown as 3551268.396; the regrouped denominator gives 3551268.397.
const GroupingCase regroupedCases[] = {
    {"breach_term_grouped_k_times_B_first",
     {.W = 1582819, .B = 9166, .H = 777, .Q = 480, .L = 3, .k = 0.03, .K = 0.06}, 0x1.b181232c08307p+21},
};

INSTANTIATE_TEST_SUITE_P(NotRegrouped, DischargeGrouping, testing::ValuesIn(regroupedCases), rowName);
INSTANTIATE_TEST_SUITE_P(NotRearranged, DischargeGrouping, testing::ValuesIn(rearrangementCases), rowName);
INSTANTIATE_TEST_SUITE_P(NotFused, DischargeGrouping, testing::ValuesIn(fusedCases), rowName);

// Guards the tables above: a row that the other evaluation also gets right proves nothing.
TEST(DischargeGroupingRows, WouldCatchTheOtherEvaluation)
{
    for (const GroupingCase& c : rearrangementCases)
        EXPECT_NE(bitsOf(rearranged(c.in)), bitsOf(c.expected)) << c.name;
    for (const GroupingCase& c : fusedCases)
        EXPECT_NE(bitsOf(fused(c.in)), bitsOf(c.expected)) << c.name;
    for (const GroupingCase& c : regroupedCases) {
        EXPECT_NE(bitsOf(regrouped(c.in)), bitsOf(c.expected)) << c.name;
        EXPECT_EQ(calc::formatResult(c.expected, "."), "3551268.396");
        EXPECT_EQ(calc::formatResult(regrouped(c.in), "."), "3551268.397");
    }
}

} // namespace
