#include "cli/number_cell.h"

#include "calc/number_text.h"
#include "text/code_page_1251.h"

#include <algorithm>

namespace cli {

namespace {

using Verdict = NumberCell::Verdict;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The text with its no-break spaces as blanks and, when `comma` is given, its commas as
// points. Only texts that hold such characters are copied.
std::string_view normalised(std::string_view text, Encoding encoding, bool comma, std::string& scratch)
{
    const bool plain = std::all_of(text.begin(), text.end(), [&](char c) {
        return static_cast<unsigned char>(c) < 0x80 && !(comma && c == ',');
    });
    if (plain)
        return text;
    scratch.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::string_view rest = text.substr(i);
        if (encoding == Encoding::Utf8 && rest.starts_with("\xC2\xA0")) {
            scratch += ' ';
            i += 1;
        } else if (encoding == Encoding::Utf8 && rest.starts_with("\xE2\x80\xAF")) {
            scratch += ' ';
            i += 2;
        } else if (encoding == Encoding::Cp1251 && static_cast<unsigned char>(c) == 0xA0) {
            scratch += ' ';
        } else if (comma && c == ',') {
            scratch += '.';
        } else {
            scratch += c;
        }
    }
    return scratch;
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
    std::string scratch;
    const std::string_view read = normalised(text, encoding, decimalCommaTaken, scratch);
    if (std::all_of(read.begin(), read.end(), isBlank))
        return {};
    if (const auto value = calc::parseWholeNumber(read))
        return {.verdict = Verdict::Number,
                .value = *value,
                .decimalComma = decimalCommaTaken && text.find(',') != std::string_view::npos};
    if (!decimalCommaTaken && text.find(',') != std::string_view::npos) {
        std::string withPoint;
        if (calc::parseWholeNumber(normalised(text, encoding, true, withPoint)))
            return {.verdict = Verdict::DecimalComma, .value = 0.0, .decimalComma = false};
    }
    return {.verdict = Verdict::NotANumber, .value = 0.0, .decimalComma = false};
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
