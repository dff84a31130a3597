// A table's bytes read as text for a console, part by part: the encoding decoded, the mark
// left out, a character cut between two parts given whole.
#include "cli/table_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TableText, GivesTheTextOfEachPart)
{
    const struct {
        const char* name;
        cli::Encoding encoding;
        std::vector<std::string> parts;
        std::string text;
    } rows[] = {
        {"code page 1251", cli::Encoding::Cp1251, {"\xD1\xF2\xE2\xEE\xF0;R\r\n"}, "Створ;R\r\n"},
        {"UTF-8 as it is", cli::Encoding::Utf8, {"Створ;R\n"}, "Створ;R\n"},
        {"the mark left out", cli::Encoding::Utf8, {"\xEF\xBB\xBFW;B\n"}, "W;B\n"},
        {"the mark cut between parts", cli::Encoding::Utf8, {"\xEF", "\xBB", "\xBFW"}, "W"},
        {"a mark only at the start", cli::Encoding::Utf8, {"W", "\xEF\xBB\xBF"}, "W\uFEFF"},
        {"a letter cut between parts", cli::Encoding::Utf8, {"\xD0\xA1\xD1", "\x82;"}, "Ст;"},
        {"a dash cut after its first byte", cli::Encoding::Utf8, {"a\xE2", "\x80\x94"}, "a—"},
        {"a dash cut after its second byte", cli::Encoding::Utf8, {"a\xE2\x80", "\x94"}, "a—"},
        {"a four-byte character in three parts", cli::Encoding::Utf8, {"\xF0\x9F", "\x8C", "\x8A"}, "🌊"},
        {"a character cut at the end of the table", cli::Encoding::Utf8, {"W\xD0"}, "W\uFFFD"},
        {"a part of the mark alone", cli::Encoding::Utf8, {"\xEF\xBB"}, "\uFFFD"},
        {"nothing", cli::Encoding::Utf8, {}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        cli::TableText table(row.encoding);
        std::string text;
        for (const std::string& part : row.parts)
            text += table.take(part);
        text += table.finish();
        EXPECT_EQ(text, row.text);
    }
}

} // namespace
