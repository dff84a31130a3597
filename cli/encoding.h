#pragma once
// Which encoding a table is in: UTF-8 when it has a byte order mark or is valid UTF-8
// throughout, otherwise code page 1251, what spreadsheets in a Russian locale save.

#include <string_view>

namespace cli {

enum class Encoding { Utf8, Cp1251 };

// Reads the input piece by piece, as far as the caller can look ahead.
class EncodingGuess {
public:
    void read(std::string_view bytes);
    // `complete`: the whole input was read. Otherwise a sequence cut at the end of what
    // was read does not count against UTF-8.
    Encoding encoding(bool complete) const;

private:
    unsigned long long seen_ = 0;
    bool bom_ = true; // until a byte of the input says otherwise
    bool malformed_ = false;
    int continuations_ = 0;
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
};

} // namespace cli
