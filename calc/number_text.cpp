#include "calc/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>

namespace calc {
namespace {

// Only these three are dropped, as the classic Val did; a carriage return, like any other
// character, ends the number. Every byte of a multi-byte UTF-8 character is >= 0x80, so
// scanning bytes never mistakes part of a Cyrillic letter for a digit or a blank.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c, int base)
{
    int value = -1;
    if (isDigit(c))
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

constexpr double infinity = std::numeric_limits<double>::infinity();

// What the reading made of a text: the value, whether a number was there at all, and where
// reading stopped in the text with its blanks dropped.
struct Scan {
    double value = 0.0;
    bool found = false;
    std::size_t end = 0;
};

// "&H" and "&O" values: up to 16 bits they are a 16-bit two's-complement Integer
// (&HFFFF = -1); up to 32 bits a 32-bit two's-complement Long (&HFFFFFFFF = -1), as the
// classic Val took them; wider values overflowed there and read as infinity here, which
// the window reports as an overflow. A sign before the prefix negates the value read
// (-&HFFFF = 1). "&", "&H" without digits and unknown prefixes such as "&B" read 0.
Scan scanRadix(std::string_view s, std::size_t i, bool negative)
{
    Scan scan{.end = i};
    if (i >= s.size())
        return scan;
    const char prefix = s[i];
    const int base = (prefix == 'H' || prefix == 'h') ? 16 : (prefix == 'O' || prefix == 'o') ? 8 : 0;
    if (base == 0)
        return scan;
    std::uint64_t value = 0;
    bool tooWide = false;
    for (++i; i < s.size(); ++i) {
        const int d = digitValue(s[i], base);
        if (d < 0)
            break;
        scan.found = true;
        scan.end = i + 1;
        if (tooWide)
            continue; // the digits still belong to the number read
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        tooWide = value > 0xFFFF'FFFFu;
    }
    if (!scan.found)
        return scan;
    if (tooWide) {
        scan.value = negative ? -infinity : infinity;
        return scan;
    }
    const double read = value <= 0xFFFFu ? static_cast<std::int16_t>(value)
                                         : static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    scan.value = negative ? -read : read;
    return scan;
}

// A decimal number 0.d1d2d3... × 10^pointPosition; no leading or trailing zero digits,
// and no digits at all for zero.
struct Decimal {
    std::string digits;
    long pointPosition = 0;
};

// The exact decimal value of |x|: glibc prints every digit of a double exactly, and no
// double needs more than 767 significant digits.
Decimal exactDecimal(double x)
{
    Decimal d;
    if (x == 0.0)
        return d;
    char buffer[800];
    std::snprintf(buffer, sizeof buffer, "%.770e", std::fabs(x));
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (isDigit(*p))
            d.digits.push_back(*p);
    d.pointPosition = std::strtol(p + 1, nullptr, 10) + 1;
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    return d;
}

// Keeps the first `keep` digits, rounding half away from zero as the classic runtime did
// in decimal.
Decimal roundDigits(Decimal d, long keep)
{
    if (keep < 0) {
        d.digits.clear();
        d.pointPosition = 0;
        return d;
    }
    const auto kept = static_cast<std::size_t>(keep);
    if (kept >= d.digits.size())
        return d;
    const bool up = d.digits[kept] >= '5';
    d.digits.resize(kept);
    if (up) {
        while (!d.digits.empty() && d.digits.back() == '9')
            d.digits.pop_back();
        if (d.digits.empty()) {
            d.digits = "1";
            d.pointPosition += 1;
        } else {
            d.digits.back() += 1;
        }
    }
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    if (d.digits.empty())
        d.pointPosition = 0;
    return d;
}

// What the classic runtime printed for values no arithmetic here lets through: the
// window never shows them, but the functions must not fail on them.
std::string nonFiniteText(double x)
{
    if (std::isnan(x))
        return std::signbit(x) ? "-1.#IND" : "1.#QNAN";
    return x < 0 ? "-1.#INF" : "1.#INF";
}

constexpr int significantDigits = 15;

// The digits of |x|, correctly rounded to `count` significant ones.
Decimal roundedDecimal(double x, int count)
{
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific, count - 1);
    // d.ddd...e±X...
    const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    const std::size_t e = text.find('e');
    Decimal d;
    d.digits += text[0];
    d.digits.append(text.substr(2, e - 2));
    long exponent10 = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent10);
    d.pointPosition = exponent10 + 1;
    return d;
}

// The first 15 significant digits of |x|, rounded half away from zero as roundDigits
// rounds the exact decimal. A few more correctly rounded digits settle that rounding
// unless they read 5 followed by zeros, where the exact tail may lie on either side of
// the half: then more digits are asked for, and in the end all of them (some 6 µs).
Decimal fifteenDigits(double x)
{
    if (x == 0.0)
        return {};
    for (const int count : {17, 40}) {
        Decimal d = roundedDecimal(x, count);
        const std::string_view tail = std::string_view(d.digits).substr(significantDigits);
        if (tail.front() == '5' && tail.find_first_not_of('0', 1) == std::string_view::npos)
            continue;
        d.digits.erase(d.digits.find_last_not_of('0') + 1);
        return roundDigits(d, significantDigits);
    }
    return roundDigits(exactDecimal(x), significantDigits);
}

struct Exponent {
    long long value = 0;
    bool letterD = false; // written with D or d rather than E or e
};

// The exponent that may follow the digits at i: a letter E, e, D or d, a sign, digits. Its
// digits move end past them; a letter without digits is no exponent, and end stays.
Exponent scanExponent(std::string_view s, std::size_t i, std::size_t& end)
{
    Exponent exponent;
    if (i >= s.size() || !(s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd'))
        return exponent;
    exponent.letterD = s[i] == 'D' || s[i] == 'd';
    ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    // Saturated: far beyond any double already, yet safe from integer overflow.
    long long written = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        written = std::min(written * 10 + (s[i] - '0'), 1'000'000'000LL);
        end = i + 1;
    }
    exponent.value = negative ? -written : written;
    return exponent;
}

// The reading of parseNumber, over the text with its blanks dropped.
Scan scanNumber(std::string_view s)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i < s.size() && s[i] == '&')
        return scanRadix(s, i + 1, negative);

    const std::size_t integerStart = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    const std::string_view integerDigits = s.substr(integerStart, i - integerStart);
    std::string_view fractionDigits;
    if (i < s.size() && s[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i;
        fractionDigits = s.substr(fractionStart, i - fractionStart);
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return {};
    Scan scan{.found = true, .end = i};

    const Exponent written = scanExponent(s, i, scan.end);
    long long exponent = written.value;
    const bool letterD = written.letterD;

    // from_chars and strtod both round correctly, so they agree wherever from_chars gives
    // a normal number; from_chars is several times faster, which tables of numbers feel.
    // It reads the text as it stands unless the text spells what it does not take: a "+"
    // or an exponent letter D.
    double value = 0.0;
    if (s.front() != '+' && !letterD) {
        const char* last = s.data() + scan.end;
        const auto converted = std::from_chars(s.data(), last, value);
        if (converted.ec == std::errc() && converted.ptr == last && std::isnormal(value)) {
            scan.value = value;
            return scan;
        }
    }
    // Otherwise the digits are converted as one integer with a decimal exponent, so no
    // decimal separator is involved and the process locale cannot change the reading;
    // strtod gives ±HUGE_VAL beyond the double range and 0 or a subnormal below it.
    exponent -= static_cast<long long>(fractionDigits.size());
    std::string clean = negative ? "-" : "";
    clean.append(integerDigits).append(fractionDigits).append("e").append(std::to_string(exponent));
    const auto converted = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    const bool normal = converted.ec == std::errc() && std::isnormal(value);
    scan.value = normal ? value : std::strtod(clean.c_str(), nullptr);
    return scan;
}

// The text itself when it holds no blank, as a number usually does.
std::string_view withoutBlanks(std::string_view text, std::string& s)
{
    if (std::none_of(text.begin(), text.end(), isBlank))
        return text;
    s.reserve(text.size());
    for (char c : text)
        if (!isBlank(c))
            s.push_back(c);
    return s;
}

} // namespace

double parseNumber(std::string_view utf8Text)
{
    std::string copy;
    return scanNumber(withoutBlanks(utf8Text, copy)).value;
}

std::optional<double> parseWholeNumber(std::string_view utf8Text)
{
    std::string copy;
    const std::string_view s = withoutBlanks(utf8Text, copy);
    const Scan scan = scanNumber(s);
    if (!scan.found || scan.end != s.size())
        return std::nullopt;
    return scan.value;
}

std::string_view fieldText(std::string_view utf8Text, std::string_view decimalSeparator,
                           std::string& scratch)
{
    static constexpr std::string_view noBreakSpaces[] = {"\u00A0", "\u202F"};
    const bool otherSeparator = !decimalSeparator.empty() && decimalSeparator != ".";
    const bool ascii = std::none_of(utf8Text.begin(), utf8Text.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (ascii && (!otherSeparator || utf8Text.find(decimalSeparator) == std::string_view::npos))
        return utf8Text;
    scratch.clear();
    scratch.reserve(utf8Text.size());
    std::size_t i = 0;
    while (i < utf8Text.size()) {
        const std::string_view rest = utf8Text.substr(i);
        const auto skipped = std::ranges::find_if(noBreakSpaces, [rest](std::string_view nbsp) {
            return rest.starts_with(nbsp);
        });
        if (skipped != std::end(noBreakSpaces)) {
            i += skipped->size();
        } else if (otherSeparator && rest.starts_with(decimalSeparator)) {
            scratch.push_back('.');
            i += decimalSeparator.size();
        } else {
            scratch.push_back(utf8Text[i]);
            ++i;
        }
    }
    return scratch;
}

double parseFieldNumber(std::string_view utf8Text, std::string_view decimalSeparator)
{
    std::string scratch;
    return parseNumber(fieldText(utf8Text, decimalSeparator, scratch));
}

std::string formatNumber(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (value == 0.0)
        return "0"; // negative zero too

    const Decimal exact = exactDecimal(value);
    Decimal d = roundDigits(exact, significantDigits);
    // Just below the largest double, rounding up would write a text that reads back as
    // an overflow; such values are cut at the fifteenth digit instead (1.79769313486231E+308,
    // the largest literal the classic runtime accepted).
    if (d.pointPosition > 309 || (d.pointPosition == 309 && d.digits > "17976931348623157"))
        d = roundDigits(Decimal{exact.digits.substr(0, significantDigits), exact.pointPosition},
                        significantDigits);

    std::string text = value < 0 ? "-" : "";
    const long exponent10 = d.pointPosition - 1;
    // Plain digits from 0.0001 up to 15 integer digits, as the classic CStr: 0.0001 but
    // 1E-05, 999999999999999 but 1E+15. The exponent has a sign and at least two digits.
    if (exponent10 >= -4 && exponent10 < significantDigits) {
        std::string integerPart;
        std::string fraction;
        if (d.pointPosition > 0) {
            const auto point = static_cast<std::size_t>(d.pointPosition);
            integerPart = d.digits.substr(0, point);
            integerPart.resize(point, '0');
            if (d.digits.size() > point)
                fraction = d.digits.substr(point);
        } else {
            integerPart = "0";
            fraction = std::string(static_cast<std::size_t>(-d.pointPosition), '0') + d.digits;
        }
        text += integerPart;
        if (!fraction.empty())
            text.append(decimalSeparator).append(fraction);
        return text;
    }

    text += d.digits.front();
    if (d.digits.size() > 1)
        text.append(decimalSeparator).append(d.digits, 1);
    char exponentText[24];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02ld", exponent10 < 0 ? '-' : '+',
                  exponent10 < 0 ? -exponent10 : exponent10);
    return text + exponentText;
}

// Like the classic Format(x, "0.000"): the value is first taken to 15 significant digits
// (so 1.0005, stored as 1.000499999..., is 1.001 and digits past the fifteenth of a large
// number are zeros), then rounded to three decimals half away from zero. A negative value
// that rounds to zero keeps its "-", telling the engineer it was slightly negative; only
// negative zero itself is written "0.000".
std::string formatResult(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);

    const Decimal fifteen = fifteenDigits(value);
    const Decimal d = roundDigits(fifteen, fifteen.pointPosition + 3);

    std::string text = value < 0 ? "-" : "";
    if (d.pointPosition > 0) {
        const auto point = static_cast<std::size_t>(d.pointPosition);
        std::string integerPart = d.digits.substr(0, point);
        integerPart.resize(point, '0');
        text += integerPart;
    } else {
        text += '0';
    }
    text.append(decimalSeparator);
    for (long place = 0; place < 3; ++place) {
        const long index = d.pointPosition + place;
        const bool present = index >= 0 && static_cast<std::size_t>(index) < d.digits.size();
        text += present ? d.digits[static_cast<std::size_t>(index)] : '0';
    }
    return text;
}

} // namespace calc
