#include "cli/table_text.h"

#include "text/code_page_1251.h"

namespace cli {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// How many bytes at the end of `bytes` begin a UTF-8 sequence that goes on past them.
std::size_t cutSequence(std::string_view bytes)
{
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto b = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if (b < 0x80)
            return 0;
        if (b >= 0xC0) {
            const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
            return length > back ? back : 0;
        }
    }
    return 0;
}

} // namespace

std::string TableText::take(std::string_view bytes)
{
    if (encoding_ == Encoding::Cp1251)
        return text::cp1251ToUtf8(bytes);
    std::string part = cut_ + std::string(bytes);
    // The mark says how to read the table; on a console it would be a cell of its own.
    if (!started_) {
        if (part.size() < kBom.size() && kBom.starts_with(part)) {
            cut_ = part;
            return {};
        }
        started_ = true;
        if (part.starts_with(kBom))
            part.erase(0, kBom.size());
    }
    const std::size_t cut = cutSequence(part);
    cut_ = part.substr(part.size() - cut);
    part.resize(part.size() - cut);
    return part;
}

std::string TableText::finish()
{
    const bool cut = !cut_.empty();
    cut_.clear();
    return cut ? "\uFFFD" : "";
}

} // namespace cli
