#pragma once
// What differs between operating systems at zelm-calc's edges: how its arguments arrive,
// how a file is opened by its name, and how a text for the user reaches a terminal or a
// file. One implementation per system (posix/, windows/), chosen by the build; the rest
// of zelm-calc reads and writes bytes and UTF-8 only.

#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli::system {

// Called first: readies the standard streams for bytes and returns the arguments after
// the program's name, in UTF-8.
std::vector<std::string> start(int argc, char** argv);

// A file named in UTF-8, opened for reading: its descriptor, or -1 with errno set.
int openForReading(const std::string& utf8Name);

// As POSIX read() and write(), whatever size the system's own take.
std::ptrdiff_t read(int fd, char* data, std::size_t size);
std::ptrdiff_t write(int fd, const char* data, std::size_t size);

// Writes all of `bytes`, going on after an interrupted call; false with errno set.
inline bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::ptrdiff_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Whether fd is a console that shows characters rather than bytes (Windows' console), to
// which a table goes as text (writeText) instead of its bytes. A POSIX terminal takes the
// bytes as they are.
bool isConsole(int fd);

// Writes a text for the user, given in UTF-8, whole, as the terminal or the reader of
// the file expects it; false with errno set when it cannot.
bool writeText(int fd, std::string_view utf8);

} // namespace cli::system
