#pragma once
// The Cyrillic single-byte code page 1251: the report file's, the help call's, and what
// spreadsheets in a Russian locale save. No converter for it is at hand (Qt 6.4 has none),
// so the table is our own, and this is its one copy.

#include <string>
#include <string_view>

namespace text {

// The character of one byte; 0x98, unassigned in the code page, reads as U+FFFD.
char32_t fromCp1251(unsigned char byte);

// The byte of one character, or "?" when the code page lacks it (U+FFFD included).
char toCp1251(char32_t character);

std::string cp1251ToUtf8(std::string_view bytes);

// A malformed UTF-8 sequence becomes one "?" per byte it spoils.
std::string utf8ToCp1251(std::string_view utf8);

} // namespace text
