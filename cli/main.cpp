// zelm-calc: the calculation of the window from a command line or over a table. The
// arguments and the table are read by pure code (command_line, batch); this file only
// moves bytes between them and the file, standard input, output and error.
#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/encoding.h"
#include "cli/system.h"
#include "cli/table_text.h"
#include "text/system_error_text.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kBlock = 1 << 20;

std::string reason(int error)
{
    const std::string_view worded = text::describeSystemError(error);
    return worded.empty() ? std::string(std::strerror(error)) : std::string(worded);
}

void complain(std::string_view message)
{
    cli::system::writeText(STDERR_FILENO, "zelm-calc: " + std::string(message) + "\n");
}

// Fills `buffer` from fd as far as it goes; false on a read error (errno says why).
bool readBlock(int fd, std::vector<char>& buffer, std::size_t& size)
{
    size = 0;
    while (size < buffer.size()) {
        const auto got = cli::system::read(fd, buffer.data() + size, buffer.size() - size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    return true;
}

int runBatch(std::string_view file)
{
    const bool standardInput = file.empty() || file == "-";
    const std::string name = standardInput ? std::string("стандартный ввод") : "«" + std::string(file) + "»";
    const int fd = standardInput ? STDIN_FILENO : cli::system::openForReading(std::string(file));
    const auto unreadable = [&] {
        complain("не удалось прочитать " + name + ": " + reason(errno));
        return 2;
    };
    if (fd < 0)
        return unreadable();

    // The encoding is that of the whole input. A file is read through once for it and
    // then from its start again; a pipe cannot be, and is judged by its first block.
    std::vector<char> buffer(kBlock);
    std::size_t size = 0;
    cli::EncodingGuess guess;
    struct stat info {};
    const off_t origin = ::lseek(fd, 0, SEEK_CUR);
    const bool rereadable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && origin >= 0;
    bool pending = false; // the buffer holds a block not yet given to the batch
    bool atEnd = false;
    if (rereadable) {
        do {
            if (!readBlock(fd, buffer, size))
                return unreadable();
            guess.read({buffer.data(), size});
        } while (size == buffer.size());
        if (::lseek(fd, origin, SEEK_SET) < 0)
            return unreadable();
    } else {
        if (!readBlock(fd, buffer, size))
            return unreadable();
        guess.read({buffer.data(), size});
        pending = true;
        atEnd = size < buffer.size();
    }

    const cli::Encoding encoding = guess.encoding(rereadable || atEnd);
    cli::Batch batch(encoding);
    std::string out;
    out.reserve(kBlock + kBlock / 2);
    const auto unwritable = [&] {
        complain("не удалось записать результат: " + reason(errno));
        return 2;
    };
    // A console shows the table's text; a file or a pipe gets its bytes.
    const bool console = cli::system::isConsole(STDOUT_FILENO);
    cli::TableText text(encoding);
    const auto emit = [&](std::string_view bytes) {
        return console ? cli::system::writeText(STDOUT_FILENO, text.take(bytes))
                       : cli::system::writeAll(STDOUT_FILENO, bytes);
    };
    while (!batch.stopped()) {
        if (!pending) {
            if (atEnd)
                break;
            if (!readBlock(fd, buffer, size))
                return unreadable();
            atEnd = size < buffer.size();
        }
        pending = false;
        for (std::string_view rest(buffer.data(), size); !rest.empty() && !batch.stopped();) {
            rest.remove_prefix(batch.read(rest, out));
            if (out.size() >= kBlock) {
                if (!emit(out))
                    return unwritable();
                out.clear();
            }
        }
    }
    batch.finish(out);
    if (!emit(out) || (console && !cli::system::writeText(STDOUT_FILENO, text.finish())))
        return unwritable();
    for (const std::string& message : batch.messages())
        complain(message);
    return batch.status();
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> utf8 = cli::system::start(argc, argv);
    const std::vector<std::string_view> arguments(utf8.begin(), utf8.end());
    const cli::Command command = cli::readCommandLine(arguments);
    cli::Outcome outcome;
    switch (command.kind) {
    case cli::Command::Kind::Help:
        outcome.out = cli::helpText();
        break;
    case cli::Command::Kind::Batch:
        return runBatch(command.file);
    case cli::Command::Kind::Calculate:
        outcome = cli::calculate(command.numbers);
        break;
    case cli::Command::Kind::Wrong:
        outcome = cli::wrongUse(command.problem);
        break;
    }
    if (!cli::system::writeText(STDOUT_FILENO, outcome.out)) {
        complain("не удалось записать результат: " + reason(errno));
        return 2;
    }
    cli::system::writeText(STDERR_FILENO, outcome.err);
    return outcome.status;
}
