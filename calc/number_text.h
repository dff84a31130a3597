#pragma once
// Conversions between the text of a field and a number. Every field value lives only as
// text, so these three functions are the whole contract between the window and the core.

#include <optional>
#include <string>
#include <string_view>

namespace calc {

// Reads a number the way the classic BASIC runtime's Val does: blanks, tabs and line
// feeds are dropped anywhere, the period is the only decimal separator, reading stops at
// the first character that cannot continue the number, and text without a number is 0.
double parseNumber(std::string_view utf8Text);

// The same reading, strict, for inputs no one watches as they are read: the number only
// when parseNumber reads the whole text (its blanks, tabs and line feeds aside) and finds
// a number there; nothing when reading stops early ("0,5", "12 м", "1e") or finds none.
std::optional<double> parseWholeNumber(std::string_view utf8Text);

// Writes a number in normal form: at most 15 significant digits, no trailing zeros, the
// given decimal separator, exponent form for very large and very small magnitudes.
std::string formatNumber(double value, std::string_view decimalSeparator);

// Writes a result as "0.000": three decimals, every integer digit, never an exponent.
std::string formatResult(double value, std::string_view decimalSeparator);

} // namespace calc
