#pragma once
// What zelm-calc is asked to do, read from its arguments, and the one calculation it
// does from them. Pure: the arguments in, the texts for stdout and stderr and the exit
// status out; main() does the writing.
//
//     zelm-calc W B H Q [L [k [K]]]      one calculation
//     zelm-calc --batch [FILE]           a table (standard input without FILE or with "-")
//     zelm-calc --help

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct Command {
    enum class Kind { Help, Calculate, Batch, Wrong };
    Kind kind = Kind::Wrong;
    std::vector<std::string_view> numbers; // Calculate: W B H Q [L [k [K]]]
    std::string_view file;                 // Batch: empty or "-" for standard input
    std::string problem;                   // Wrong: what is wrong, in Russian
};

Command readCommandLine(std::span<const std::string_view> arguments);

struct Outcome {
    std::string out;
    std::string err;
    int status = 0;
};

// The result as the window writes it, or why there is none: 1 for a calculation fault
// (the window's words), 2 for an argument that is not a number.
Outcome calculate(std::span<const std::string_view> numbers);

// Wrong use: the problem and the usage, for stderr, with status 2.
Outcome wrongUse(std::string_view problem);

std::string_view helpText();

} // namespace cli
