#pragma once
// The one Russian wording of a calculation fault: the window's report and zelm-calc's
// message say the same.

#include "calc/discharge.h"

#include <string_view>

namespace text {

// UTF-8.
std::string_view describe(calc::Fault fault);

} // namespace text
