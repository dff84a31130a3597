// POSIX: arguments and file names are bytes, and the terminal takes UTF-8 as it is.
#include "cli/system.h"

#include <fcntl.h>
#include <unistd.h>

namespace cli::system {

std::vector<std::string> start(int argc, char** argv)
{
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

int openForReading(const std::string& utf8Name)
{
    return ::open(utf8Name.c_str(), O_RDONLY | O_CLOEXEC);
}

std::ptrdiff_t read(int fd, char* data, std::size_t size)
{
    return ::read(fd, data, size);
}

std::ptrdiff_t write(int fd, const char* data, std::size_t size)
{
    return ::write(fd, data, size);
}

bool isConsole(int)
{
    return false;
}

bool writeText(int fd, std::string_view utf8)
{
    return writeAll(fd, utf8);
}

} // namespace cli::system
