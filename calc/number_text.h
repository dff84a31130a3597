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

// A field's text as the window reads it. The no-break spaces U+00A0 and U+202F, with
// which Russian documents group digits, are dropped like blanks; and a decimal separator
// other than the period (the comma of a Russian desktop) becomes the period, so that what
// the field shows is what is computed. The period itself still reads as the separator.
// With "." only the no-break spaces go: a comma then ends the number, as in parseNumber.
// The text itself comes back when nothing changes, else a copy made in scratch.
std::string_view fieldText(std::string_view utf8Text, std::string_view decimalSeparator,
                           std::string& scratch);

// The window's reading of a field: parseNumber of its fieldText.
double parseFieldNumber(std::string_view utf8Text, std::string_view decimalSeparator);

// Writes a number in normal form: at most 15 significant digits, no trailing zeros, the
// given decimal separator, exponent form for very large and very small magnitudes.
std::string formatNumber(double value, std::string_view decimalSeparator);

// Writes a result as "0.000": three decimals, every integer digit, never an exponent.
std::string formatResult(double value, std::string_view decimalSeparator);

} // namespace calc
