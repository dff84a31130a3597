#pragma once
// The one Russian wording of why the system refused to read or write a file: the window's
// save and zelm-calc's messages say the same. The message around it says what was being
// done and to which file, so each reason reads right after both.

#include <string_view>

namespace text {

// UTF-8; empty for a code without a wording of its own, for which the caller has a
// fallback.
std::string_view describeSystemError(int code);

} // namespace text
