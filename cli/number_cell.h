#pragma once
// Strict reading of a number given as text where no one watches it being read: a
// command-line argument or a table cell. A text is taken only when the window's reading
// (calc::parseNumber) reads the whole of it. Blanks, tabs and the no-break spaces U+00A0
// and U+202F between digit groups are allowed, as spreadsheets in a Russian locale write
// "1 000 000,5"; where the table allows it, a decimal comma stands for the point.

#include "cli/encoding.h"

#include <string>
#include <string_view>

namespace cli {

struct NumberCell {
    enum class Verdict {
        Number,
        Empty,        // nothing but blanks
        NotANumber,
        DecimalComma, // a number with a comma where only the point is taken
    };
    Verdict verdict = Verdict::Empty;
    double value = 0.0;
    // The decimal mark the number was written with, ',' or '.'; 0 when it has none.
    char mark = 0;
};

NumberCell readNumberCell(std::string_view text, bool decimalCommaTaken, Encoding encoding);

// Why a text was refused, naming its column or argument, in UTF-8:
// "k: «0,5» — не число (десятичный разделитель — точка)".
std::string describeRefusal(std::string_view name, std::string_view text, NumberCell::Verdict verdict,
                            Encoding encoding);

} // namespace cli
