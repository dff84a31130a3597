#pragma once
// A batch's table as text, for a console that shows characters rather than bytes: the
// bytes read in the table's encoding and given as UTF-8, part by part as the table is
// written. A character cut between two parts is given whole with the second.

#include "cli/encoding.h"

#include <string>
#include <string_view>

namespace cli {

class TableText {
public:
    explicit TableText(Encoding encoding) : encoding_(encoding) {}

    // The text of `bytes`, save a character cut at their end, which waits for the next part.
    std::string take(std::string_view bytes);
    // The end of the table: a character still cut reads as U+FFFD.
    std::string finish();

private:
    Encoding encoding_;
    bool started_ = false; // past where a byte order mark can be
    std::string cut_;
};

} // namespace cli
