// Any text a field may hold: reading it, rewriting it and showing a result read from it
// must never fail, and the texts written must keep their shape.
//
// Properties, for each decimal separator a locale may give:
// - a rewritten field has no blank, at most 15 significant digits and no trailing zero
//   after the separator, and a result has every integer digit, the separator and exactly
//   three decimals, never an exponent;
// - leaving a rewritten field again changes nothing (with the period; with any other
//   separator reading stops there, so the text settles after one more rewrite);
// - with the period, a rewritten field and a result read back to the value they were
//   made from, within their 15 significant digits and three decimals;
// - read as the window reads it, with the locale's separator, a rewritten field settles
//   at once with every separator.
#include "calc/number_text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, std::string_view text, std::string_view written)
{
    std::fprintf(stderr, "property broken: %s\n  read:    \"%.*s\"\n  written: \"%.*s\"\n", what,
                 static_cast<int>(text.size()), text.data(), static_cast<int>(written.size()),
                 written.data());
    std::abort();
}

void check(bool holds, const char* what, std::string_view text, std::string_view written)
{
    if (!holds)
        fail(what, text, written);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsFrom(std::string_view s, std::size_t i)
{
    std::size_t n = 0;
    while (i + n < s.size() && isDigit(s[i + n]))
        ++n;
    return n;
}

// -?D+(SEP D+)?(E[+-]DD+)? with at most 15 significant digits and no trailing zero in the
// fraction of the mantissa.
bool isNormalForm(std::string_view s, std::string_view sep)
{
    std::size_t i = s.starts_with('-') ? 1 : 0;
    const std::size_t integerDigits = digitsFrom(s, i);
    if (integerDigits == 0)
        return false;
    std::string digits(s.substr(i, integerDigits));
    i += integerDigits;
    if (s.substr(i).starts_with(sep)) {
        i += sep.size();
        const std::size_t fractionDigits = digitsFrom(s, i);
        if (fractionDigits == 0 || s[i + fractionDigits - 1] == '0')
            return false;
        digits += s.substr(i, fractionDigits);
        i += fractionDigits;
    }
    if (i < s.size()) {
        if (s[i] != 'E' || i + 1 >= s.size() || (s[i + 1] != '+' && s[i + 1] != '-'))
            return false;
        const std::size_t exponentDigits = digitsFrom(s, i + 2);
        if (exponentDigits < 2 || i + 2 + exponentDigits != s.size())
            return false;
    }
    const std::size_t firstSignificant = digits.find_first_not_of('0');
    return firstSignificant == std::string::npos || digits.size() - firstSignificant <= 15;
}

bool isResultForm(std::string_view s, std::string_view sep)
{
    std::size_t i = s.starts_with('-') ? 1 : 0;
    const std::size_t integerDigits = digitsFrom(s, i);
    if (integerDigits == 0)
        return false;
    i += integerDigits;
    if (!s.substr(i).starts_with(sep))
        return false;
    i += sep.size();
    return digitsFrom(s, i) == 3 && i + 3 == s.size();
}

bool closeTo(double read, double value, double absolute, double relative)
{
    return std::fabs(read - value) <=
           absolute + relative * std::fabs(value) + std::numeric_limits<double>::denorm_min();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = calc::parseNumber(text);

    // The period, the comma, and the Arabic separator of two bytes in UTF-8.
    for (std::string_view sep : {std::string_view("."), std::string_view(","),
                                 std::string_view("\xD9\xAB")}) {
        const std::string rewritten = calc::formatNumber(value, sep);
        const std::string again = calc::formatNumber(calc::parseNumber(rewritten), sep);
        check(calc::formatNumber(calc::parseNumber(again), sep) == again,
              "a rewritten field settles after one more rewrite", text, again);
        if (!std::isfinite(value))
            continue;

        check(isNormalForm(rewritten, sep), "a rewritten field is in normal number form", text,
              rewritten);
        check(calc::formatNumber(calc::parseFieldNumber(rewritten, sep), sep) == rewritten,
              "read by the window, a rewritten field settles at once", text, rewritten);
        const std::string result = calc::formatResult(value, sep);
        check(isResultForm(result, sep), "a result has three decimals and no exponent", text,
              result);

        if (sep == ".") {
            check(again == rewritten, "leaving a rewritten field again changes nothing", text,
                  again);
            check(closeTo(calc::parseNumber(rewritten), value, 0, 1e-14),
                  "a rewritten field keeps its value to 15 digits", text, rewritten);
            check(closeTo(calc::parseNumber(result), value, 0.0005, 1e-14),
                  "a result keeps its value to three decimals", text, result);
        }
    }
    return 0;
}
