#include "cli/encoding.h"

#include <cstdint>
#include <cstring>

namespace cli {

void EncodingGuess::read(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // Tables are mostly ASCII: eight such bytes at a time.
        if (seen_ >= 3 && continuations_ == 0 && i + 8 <= bytes.size()) {
            std::uint64_t eight;
            std::memcpy(&eight, bytes.data() + i, 8);
            if ((eight & 0x8080'8080'8080'8080u) == 0) {
                seen_ += 8;
                i += 7;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (seen_ < 3)
            bom_ = bom_ && b == "\xEF\xBB\xBF"[seen_];
        ++seen_;
        if (malformed_)
            continue;
        if (continuations_ > 0) {
            if (b < low_ || b > high_)
                malformed_ = true;
            --continuations_;
            low_ = 0x80;
            high_ = 0xBF;
            continue;
        }
        if (b < 0x80)
            continue;
        // The ranges of the second byte rule out overlong forms, surrogates and code
        // points past U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF) {
            continuations_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            continuations_ = 2;
            low_ = b == 0xE0 ? 0xA0 : 0x80;
            high_ = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            continuations_ = 3;
            low_ = b == 0xF0 ? 0x90 : 0x80;
            high_ = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            malformed_ = true;
        }
    }
}

Encoding EncodingGuess::encoding(bool complete) const
{
    if (bom_ && seen_ >= 3)
        return Encoding::Utf8;
    const bool utf8 = !malformed_ && (!complete || continuations_ == 0);
    return utf8 ? Encoding::Utf8 : Encoding::Cp1251;
}

} // namespace cli
