#pragma once
// Runs a program as a user runs it, one implementation per system (posix/, windows/):
// standard input comes through a pipe, as from another program, so it cannot be read
// twice; standard output and error go to files, so that neither can fill up and stall it.

#include <string>
#include <vector>

struct Finished {
    std::string out;
    std::string err;
    int status = -1;
};

// The program's output as written, byte for byte.
Finished runProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& input);

// A text the program wrote for the user into a file, back in UTF-8.
std::string userText(const std::string& written);

// A text for the user as it reads back from such a file: on Windows the file is in the
// ANSI code page, where a letter it lacks becomes its nearest (the ³ of м³ a 3).
std::string throughFile(const std::string& utf8);
