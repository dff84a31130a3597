// The worked example through nothing but the core's two headers: exits 0 when the
// seven field texts give "1240.769".
#include "calc/discharge.h"
#include "calc/number_text.h"

#include <cstdio>

int main()
{
    using calc::parseNumber;
    const auto r = calc::computeDischarge({.W = parseNumber("1000000"), .B = parseNumber("100"),
                                           .H = parseNumber("16"), .Q = parseNumber("10"),
                                           .L = parseNumber("500"), .k = parseNumber("0.50"),
                                           .K = parseNumber("1.00")});
    const std::string text = r ? calc::formatResult(*r, ".") : "fault";
    std::printf("%s\n", text.c_str());
    return text == "1240.769" ? 0 : 1;
}
