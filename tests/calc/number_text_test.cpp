#include "calc/number_text.h"
#include "row_name.h"

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// ---- Reading a field ------------------------------------------------------------------

struct ReadCase {
    const char* name;
    std::string text;
    double expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadingText : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadingText, GivesTheNumberBitForBit)
{
    const ReadCase& c = GetParam();
    const double read = calc::parseNumber(c.text);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read), std::bit_cast<std::uint64_t>(c.expected))
        << "text \"" << c.text << "\" read " << read << ", expected " << c.expected;
}

const ReadCase readCases[] = {
    {"plain_decimal", "12.5", 12.5},
    {"trailing_zero", "12.50", 12.5},
    {"leading_zeros", "007", 7},
    {"blank_separated_groups", "1 000 000", 1000000},
    {"tab_and_line_feed_inside", "\t1\n2 3", 123},
    {"carriage_return_ends_the_number", "1\r2", 1},
    {"unit_after_blank", "25 м", 25},
    {"distance_with_unit", "500 м", 500},
    {"empty", "", 0},
    {"only_letters", "abc", 0},
    {"cyrillic_letters", "пусто", 0},
    {"three_periods", "...", 0},
    {"comma_ends_the_number", "12,5", 12},
    {"combo_comma", "0,6", 0},
    {"combo_period", "0.6", 0.6},
    {"second_period_ends", "1.2.3", 1.2},
    {"lone_period", ".", 0},
    {"leading_period", ".5", 0.5},
    {"negative_leading_period", "-.5", -0.5},
    {"plus_sign", "+5", 5},
    {"blank_after_sign", "- 5", -5},
    {"double_sign", "--5", 0},
    {"sign_alone", "-", 0},
    {"negative_zero", "-0", -0.0},
    {"exponent_lower_e", "1e3", 1000},
    {"exponent_upper_e", "1E3", 1000},
    {"exponent_letter_d", "1d3", 1000},
    {"exponent_letter_D_with_sign", "1D+3", 1000},
    {"negative_exponent", "2.5e-3", 0.0025},
    {"exponent_without_digits", "1e", 1},
    {"exponent_sign_without_digits", "1e+", 1},
    {"second_exponent_ends", "1e3e4", 1000},
    {"blanks_inside_exponent", "1 e - 3", 0.001},
    // Correct rounding: a halfway case and the digit that tips it.
    {"exact_halfway_rounds_to_even", "1.00000000000000011102230246251565404236316680908203125", 1.0},
    {"just_above_halfway_rounds_up",
     "1.00000000000000011102230246251565404236316680908203126", 1.0000000000000002},
    {"long_fraction_against_exponent", "0." + std::string(400, '0') + "1e401", 1},
    {"beyond_double_range", "1e400", inf},
    {"beyond_double_range_negative", "-1e400", -inf},
    {"many_integer_digits", "1" + std::string(400, '0'), inf},
    {"huge_exponent", "1e99999999999999999999", inf},
    {"fifteen_digits_above_largest_double", "1.79769313486232E+308", inf},
    {"largest_literal_classic_runtime_took", "1.79769313486231E+308", 1.79769313486231e308},
    {"below_double_range", "1e-400", 0},
    {"subnormal", "1e-320", 1e-320},
    {"smallest_subnormal", "4.94065645841247E-324", 4.9406564584124654e-324},
    {"hex", "&H10", 16},
    {"hex_lower_case", "&h1f", 31},
    {"hex_with_blanks", "& H 1 0", 16},
    {"hex_16_bits_all_ones", "&HFFFF", -1},
    {"hex_16_bits_sign_bit", "&H8000", -32768},
    {"hex_16_bits_largest", "&H7FFF", 32767},
    {"hex_leading_zeros_count_no_bits", "&H0000FFFF", -1},
    {"hex_17_bits", "&H10000", 65536},
    {"hex_32_bits_all_ones", "&HFFFFFFFF", -1},
    {"hex_32_bits_sign_bit", "&H80000000", -2147483648.0},
    {"hex_33_bits", "&H100000000", inf},
    {"hex_33_bits_negated", "-&H100000000", -inf},
    {"hex_negated", "-&H10", -16},
    {"hex_all_ones_negated", "-&HFFFF", 1},
    {"hex_stops_at_period", "&H1.8", 1},
    {"octal", "&O17", 15},
    {"octal_lower_case", "&o17", 15},
    {"octal_16_bits_all_ones", "&O177777", -1},
    {"octal_stops_at_eight", "&O178", 15},
    {"octal_without_digits", "&O8", 0},
    {"ampersand_alone", "&", 0},
    {"hex_prefix_alone", "&H", 0},
    {"hex_without_hex_digits", "&HG", 0},
    {"unknown_prefix", "&B101", 0},
};

INSTANTIATE_TEST_SUITE_P(RuleA, ReadingText, testing::ValuesIn(readCases),
                         rowName);

// Strict reading takes a text only when parseNumber reads all of it; where it does, the
// value is parseNumber's to the bit.
TEST(ReadingWholeText, TakesOnlyWhatRuleAReadsToTheEnd)
{
    const struct {
        const char* text;
        bool taken;
    } rows[] = {
        {"12.5", true},         {" 1 000 000 ", true}, {"\t-.5\n", true},  {"1.", true},
        {"1e3", true},          {"2D-1", true},        {"&HFFFF", true},   {"&O17", true},
        {"1e400", true},        {"&H123456789", true}, {"", false},        {"  ", false},
        {".", false},           {"-", false},          {"0,5", false},     {"12 м", false},
        {"1e", false},          {"1e+", false},        {"&H", false},      {"&B101", false},
        {"1.2.3", false},       {"1\r", false},        {"abc", false},     {"5 5,", false},
    };
    for (const auto& row : rows) {
        const auto read = calc::parseWholeNumber(row.text);
        EXPECT_EQ(read.has_value(), row.taken) << '"' << row.text << '"';
        if (read) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(*read),
                      std::bit_cast<std::uint64_t>(calc::parseNumber(row.text)))
                << '"' << row.text << '"';
        }
    }
}

// The window's reading: the locale's decimal separator and the period both separate, the
// no-break spaces of pasted figures join digit groups in every locale, and a point locale
// keeps the comma as the end of the number.
struct FieldCase {
    const char* name;
    std::string text;
    const char* separator;
    double expected;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

class ReadingField : public testing::TestWithParam<FieldCase> {};

TEST_P(ReadingField, GivesTheNumberShown)
{
    const FieldCase& c = GetParam();
    EXPECT_EQ(calc::parseFieldNumber(c.text, c.separator), c.expected)
        << "text \"" << c.text << "\" with separator \"" << c.separator << "\"";
}

const FieldCase fieldCases[] = {
    // Once went wrong: a Russian desktop showed 16,5 and computed with 16.
    {"comma_locale_comma", "16,5", ",", 16.5},
    {"comma_locale_period", "16.5", ",", 16.5},
    {"comma_locale_combo", "0,75", ",", 0.75},
    {"comma_locale_blank_groups", "1 000,5", ",", 1000.5},
    {"comma_locale_exponent_form", "1,5E+20", ",", 1.5e20},
    {"comma_locale_second_separator_ends", "1,2.3", ",", 1.2},
    {"comma_locale_unit_after", "500 м", ",", 500},
    {"comma_locale_hex", "&H10", ",", 16},
    // A separator of more than one byte: the Arabic one, two in UTF-8.
    {"arabic_locale_separator", "16\u066B5", "\u066B", 16.5},
    {"point_locale_comma_ends", "12,5", ".", 12},
    {"point_locale_combo_comma", "0,75", ".", 0},
    {"point_locale_period", "12.5", ".", 12.5},
    {"no_break_space_point_locale", "1\u00A0000\u00A0000", ".", 1e6},
    {"no_break_space_comma_locale", "1\u00A0000\u00A0000", ",", 1e6},
    {"narrow_no_break_space", "1\u202F000\u202F000", ".", 1e6},
    {"no_break_space_before_fraction", "1\u00A0000,25", ",", 1000.25},
    {"no_break_space_before_unit", "1\u00A0000\u00A0м", ".", 1000},
    {"other_unicode_space_still_ends", "1\u2009000", ".", 1},
};

INSTANTIATE_TEST_SUITE_P(WindowReading, ReadingField, testing::ValuesIn(fieldCases), rowName);

// Whatever the process locale, reading takes only the period and writing only the
// separator it is given. CTest runs this under a Russian locale built for it; elsewhere
// it is skipped.
TEST(ReadingTextInCommaLocale, StillTakesThePeriod)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    // The POSIX name, then the Windows C runtime's.
    if (std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") == nullptr &&
        std::setlocale(LC_NUMERIC, "Russian_Russia.1251") == nullptr)
        GTEST_SKIP() << "no Russian locale available";
    const double period = calc::parseNumber("12.5");
    const double comma = calc::parseNumber("12,5");
    const double exponent = calc::parseNumber("1.5e3");
    const std::string written = calc::formatNumber(1.5e20, ".");
    const std::string result = calc::formatResult(1240.7692307692307, ".");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(period, 12.5);
    EXPECT_EQ(comma, 12);
    EXPECT_EQ(exponent, 1500);
    EXPECT_EQ(written, "1.5E+20");
    EXPECT_EQ(result, "1240.769");
}

// ---- Rewriting a field ----------------------------------------------------------------

struct WriteCase {
    const char* name;
    double value;
    const char* separator;
    std::string expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class WritingNormalForm : public testing::TestWithParam<WriteCase> {};

TEST_P(WritingNormalForm, GivesTheText)
{
    const WriteCase& c = GetParam();
    EXPECT_EQ(calc::formatNumber(c.value, c.separator), c.expected);
}

const WriteCase writeCases[] = {
    {"fraction", 12.5, ".", "12.5"},
    {"fraction_comma", 12.5, ",", "12,5"},
    {"whole_number_has_no_separator", 7, ".", "7"},
    {"million", 1000000, ".", "1000000"},
    {"zero", 0, ".", "0"},
    {"negative_zero", -0.0, ".", "0"},
    {"negative", -12.5, ".", "-12.5"},
    {"binary_noise_hidden", 0.1 + 0.2, ".", "0.3"},
    {"third_rounded_down", 1.0 / 3, ".", "0.333333333333333"},
    {"two_thirds_rounded_up", 2.0 / 3, ".", "0.666666666666667"},
    {"fifteen_digits_of_sixteen", 123456789012345.6, ".", "123456789012346"},
    {"largest_plain", 999999999999999, ".", "999999999999999"},
    {"rounds_up_to_exponent_form", 999999999999999.6, ".", "1E+15"},
    {"exact_tie_at_sixteenth_digit_away_from_zero", 1000000000000005, ".", "1.00000000000001E+15"},
    {"exponent_form_large", 1e15, ".", "1E+15"},
    {"exponent_form_mantissa", 1.5e20, ".", "1.5E+20"},
    {"exponent_form_mantissa_comma", 1.5e20, ",", "1,5E+20"},
    {"three_exponent_digits", 1e100, ".", "1E+100"},
    {"smallest_plain", 0.0001, ".", "0.0001"},
    {"small_plain_with_fifteen_digits", 0.000123456789012345, ".", "0.000123456789012345"},
    {"rounds_up_into_plain", 0.000099999999999999999, ".", "0.0001"},
    {"largest_exponent_form_small", 0.00001, ".", "1E-05"},
    {"negative_small", -2.5e-7, ".", "-2.5E-07"},
    {"smallest_subnormal", 4.9406564584124654e-324, ".", "4.94065645841247E-324"},
    // Rounding up would write a text that reads as an overflow.
    {"largest_double_cut_not_rounded", DBL_MAX, ".", "1.79769313486231E+308"},
    {"largest_double_negative", -DBL_MAX, ",", "-1,79769313486231E+308"},
    {"infinity", inf, ".", "1.#INF"},
    {"negative_infinity", -inf, ".", "-1.#INF"},
    {"nan", std::numeric_limits<double>::quiet_NaN(), ".", "1.#QNAN"},
    {"negative_nan", -std::numeric_limits<double>::quiet_NaN(), ".", "-1.#IND"},
};

INSTANTIATE_TEST_SUITE_P(RuleB, WritingNormalForm, testing::ValuesIn(writeCases),
                         rowName);

// What leaving a rewritten field does to what the user typed.
struct RewriteCase {
    const char* name;
    const char* typed;
    const char* separator;
    const char* shown;
};

void PrintTo(const RewriteCase& c, std::ostream* os) { *os << c.name; }

class RewritingField : public testing::TestWithParam<RewriteCase> {};

TEST_P(RewritingField, ShowsNormalForm)
{
    const RewriteCase& c = GetParam();
    EXPECT_EQ(calc::formatNumber(calc::parseNumber(c.typed), c.separator), c.shown);
}

const RewriteCase rewriteCases[] = {
    {"trailing_zero", "12.50", ".", "12.5"},
    {"leading_zeros", "007", ".", "7"},
    {"digit_groups", "1 000 000", ".", "1000000"},
    {"unit", "25 м", ".", "25"},
    {"empty", "", ".", "0"},
    {"letters", "abc", ".", "0"},
    {"exponent", "1e3", ".", "1000"},
    {"hex", "&H10", ".", "16"},
    {"period_kept_in_point_locale", "12.5", ".", "12.5"},
    {"period_becomes_comma", "12.5", ",", "12,5"},
    {"comma_typed_cuts_the_fraction", "12,5", ",", "12"},
    // The rewritten text read once more stops at its comma.
    {"comma_text_read_again", "12,5", ",", "12"},
};

INSTANTIATE_TEST_SUITE_P(RuleB, RewritingField, testing::ValuesIn(rewriteCases),
                         rowName);

// ---- The result format "0.000" --------------------------------------------------------

class WritingResult : public testing::TestWithParam<WriteCase> {};

TEST_P(WritingResult, GivesTheText)
{
    const WriteCase& c = GetParam();
    EXPECT_EQ(calc::formatResult(c.value, c.separator), c.expected);
}

const WriteCase resultCases[] = {
    {"worked_example", 1240.7692307692307, ".", "1240.769"},
    {"worked_example_comma", 1240.7692307692307, ",", "1240,769"},
    {"whole", 3210, ".", "3210.000"},
    {"zero", 0, ".", "0.000"},
    {"negative_zero", -0.0, ".", "0.000"},
    {"below_one_has_a_zero", 0.5, ".", "0.500"},
    {"negative", -3769.2307692307693, ".", "-3769.231"},
    // Stored just below the half; fifteen digits make it an exact half, rounded away.
    {"half_stored_below", 1.0005, ".", "1.001"},
    {"half_stored_below_two", 2.0005, ".", "2.001"},
    {"half_stored_below_negative", -1.0005, ".", "-1.001"},
    {"half_of_last_place", 0.0005, ".", "0.001"},
    {"just_below_half", 0.0004999, ".", "0.000"},
    {"carry_into_new_integer_digit", 999.9995, ".", "1000.000"},
    {"carry_to_one", 0.9995, ".", "1.000"},
    {"negative_rounding_to_zero_keeps_sign", -0.0001, ".", "-0.000"},
    {"tiny_negative_keeps_sign", -1e-20, ".", "-0.000"},
    {"negative_half_rounds_away", -0.0005, ".", "-0.001"},
    {"tiny_positive", 1e-20, ".", "0.000"},
    {"subnormal", 4.9406564584124654e-324, ".", "0.000"},
    {"plain_at_1e15", 1e15, ".", "1000000000000000.000"},
    {"sixteenth_digit_rounded", 1234567890123456.7, ".", "1234567890123460.000"},
    // Seventeen digits end in "50" either way: only the exact tail tells which side of the
    // half the sixteenth digit is.
    {"sixteenth_digit_just_below_half", 123456789012.3465, ".", "123456789012.346"},
    {"sixteenth_digit_just_above_half", 123456789012.3455, ".", "123456789012.346"},
    {"digits_past_fifteenth_are_zeros", 1.23456789012345678e20, ".", "123456789012346000000.000"},
    {"huge_never_exponent", 1e300, ".", "1" + std::string(300, '0') + ".000"},
    {"infinity", inf, ".", "1.#INF"},
};

INSTANTIATE_TEST_SUITE_P(RuleC, WritingResult, testing::ValuesIn(resultCases),
                         rowName);

// ---- Reading back what was written ------------------------------------------------------

// Values a field can come to hold: every finite bit pattern, decimal fractions typed by
// hand, and the neighbourhoods of the boundaries between plain and exponent form.
std::vector<double> sampleValues()
{
    std::vector<double> values;
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<std::uint64_t> bits;
    while (values.size() < 20000) {
        const double x = std::bit_cast<double>(bits(random));
        if (std::isfinite(x))
            values.push_back(x);
    }
    std::uniform_int_distribution<long long> integer(-999'999'999'999'999, 999'999'999'999'999);
    std::uniform_int_distribution<int> scale(-12, 12);
    for (int i = 0; i < 5000; ++i) {
        values.push_back(static_cast<double>(integer(random)));
        values.push_back(static_cast<double>(integer(random)) * std::pow(10.0, scale(random)));
        values.push_back(static_cast<double>(integer(random) % 100000) / 1000.0);
    }
    for (double boundary : {1e15, 1e-4, 1e-5, 1.0, 0.5, DBL_MIN, DBL_MAX, DBL_TRUE_MIN, 65536.0}) {
        double up = boundary;
        double down = boundary;
        for (int step = 0; step < 50; ++step) {
            values.push_back(up);
            values.push_back(-down);
            up = std::nextafter(up, inf);
            down = std::nextafter(down, 0.0);
        }
        for (double factor : {0.999999999999999, 0.9999999999999995, 1.0000000000000005, 1.000000000000001})
            values.push_back(boundary * factor);
    }
    return values;
}

TEST(RewrittenField, ReadsBackToTheSameText)
{
    int failures = 0;
    for (double x : sampleValues()) {
        if (!std::isfinite(x))
            continue;
        const std::string once = calc::formatNumber(x, ".");
        const std::string twice = calc::formatNumber(calc::parseNumber(once), ".");
        if (twice != once && ++failures <= 10)
            ADD_FAILURE() << std::hexfloat << x << " wrote \"" << once << "\", read back as \"" << twice << '"';
    }
    EXPECT_EQ(failures, 0);
}

} // namespace
