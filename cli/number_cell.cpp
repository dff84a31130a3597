#include "cli/number_cell.h"

#include "calc/number_text.h"
#include "text/code_page_1251.h"

#include <algorithm>

namespace cli {

namespace {

using Verdict = NumberCell::Verdict;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The text as the window would read it, with a decimal comma where the table allows one.
// A code page 1251 cell goes to UTF-8 first, and only when it holds more than ASCII.
std::string_view normalised(std::string_view text, Encoding encoding, bool comma, std::string& utf8,
                            std::string& scratch)
{
    const bool ascii = std::none_of(text.begin(), text.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (encoding == Encoding::Cp1251 && !ascii) {
        utf8 = text::cp1251ToUtf8(text);
        text = utf8;
    }
    return calc::fieldText(text, comma ? "," : ".", scratch);
}

// So that a long cell does not swamp the message.
constexpr std::size_t shownCharacters = 40;

std::string shown(std::string_view text, Encoding encoding)
{
    std::string utf8 = encoding == Encoding::Cp1251 ? text::cp1251ToUtf8(text) : std::string(text);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
            continue; // a continuation byte belongs to the character before it
        if (characters++ == shownCharacters) {
            utf8.resize(i);
            return utf8 + "…";
        }
    }
    return utf8;
}

} // namespace

NumberCell readNumberCell(std::string_view text, bool decimalCommaTaken, Encoding encoding)
{
    std::string utf8;
    std::string scratch;
    const std::string_view read = normalised(text, encoding, decimalCommaTaken, utf8, scratch);
    if (std::all_of(read.begin(), read.end(), isBlank))
        return {};
    if (const auto value = calc::parseWholeNumber(read)) {
        const bool comma = decimalCommaTaken && text.find(',') != std::string_view::npos;
        const bool point = text.find('.') != std::string_view::npos;
        return {.verdict = Verdict::Number, .value = *value, .mark = comma ? ',' : point ? '.' : '\0'};
    }
    if (!decimalCommaTaken && text.find(',') != std::string_view::npos) {
        std::string withPoint;
        if (calc::parseWholeNumber(normalised(text, encoding, true, utf8, withPoint)))
            return {.verdict = Verdict::DecimalComma, .value = 0.0, .mark = 0};
    }
    return {.verdict = Verdict::NotANumber, .value = 0.0, .mark = 0};
}

std::string describeRefusal(std::string_view name, std::string_view text, NumberCell::Verdict verdict,
                            Encoding encoding)
{
    std::string message(name);
    if (verdict == Verdict::Empty)
        return message + ": пусто — не число";
    message += ": «" + shown(text, encoding) + "» — не число";
    if (verdict == Verdict::DecimalComma)
        message += " (десятичный разделитель — точка)";
    return message;
}

} // namespace cli
