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
#include <optional>
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

// The input: its blocks, read one at a time into one buffer.
struct Input {
    int fd = -1;
    std::vector<char> buffer = std::vector<char>(kBlock);
    std::size_t size = 0;
    bool pending = false; // the buffer holds a block not yet given to the batch
    bool atEnd = false;
};

// The encoding is that of the whole input. A file is read through once for it and
// then from its start again; a pipe cannot be, and is judged by its first block.
// Nothing on a read error (errno says why).
std::optional<cli::Encoding> guessEncoding(Input& input)
{
    cli::EncodingGuess guess;
    struct stat info {};
    const off_t origin = ::lseek(input.fd, 0, SEEK_CUR);
    const bool rereadable = ::fstat(input.fd, &info) == 0 && S_ISREG(info.st_mode) && origin >= 0;
    if (rereadable) {
        do {
            if (!readBlock(input.fd, input.buffer, input.size))
                return std::nullopt;
            guess.read({input.buffer.data(), input.size});
        } while (input.size == input.buffer.size());
        if (::lseek(input.fd, origin, SEEK_SET) < 0)
            return std::nullopt;
    } else {
        if (!readBlock(input.fd, input.buffer, input.size))
            return std::nullopt;
        guess.read({input.buffer.data(), input.size});
        input.pending = true;
        input.atEnd = input.size < input.buffer.size();
    }
    return guess.encoding(rereadable || input.atEnd);
}

// A console shows the table's text; a file or a pipe gets its bytes.
class Output {
public:
    explicit Output(cli::Encoding encoding) : text_(encoding) {}
    bool write(std::string_view bytes)
    {
        return console_ ? cli::system::writeText(STDOUT_FILENO, text_.take(bytes))
                        : cli::system::writeAll(STDOUT_FILENO, bytes);
    }
    bool finish() { return !console_ || cli::system::writeText(STDOUT_FILENO, text_.finish()); }

private:
    bool console_ = cli::system::isConsole(STDOUT_FILENO);
    cli::TableText text_;
};

enum class Failure { None, Read, Write };

// Gives the batch the input block by block, writing `out` away whenever it holds a block.
Failure feed(Input& input, cli::Batch& batch, std::string& out, Output& output)
{
    while (!batch.stopped()) {
        if (!input.pending) {
            if (input.atEnd)
                break;
            if (!readBlock(input.fd, input.buffer, input.size))
                return Failure::Read;
            input.atEnd = input.size < input.buffer.size();
        }
        input.pending = false;
        for (std::string_view rest(input.buffer.data(), input.size); !rest.empty() && !batch.stopped();) {
            rest.remove_prefix(batch.read(rest, out));
            if (out.size() >= kBlock) {
                if (!output.write(out))
                    return Failure::Write;
                out.clear();
            }
        }
    }
    return Failure::None;
}

int runBatch(std::string_view file)
{
    const bool standardInput = file.empty() || file == "-";
    const std::string name = standardInput ? std::string("стандартный ввод") : "«" + std::string(file) + "»";
    const auto unreadable = [&] {
        complain("не удалось прочитать " + name + ": " + reason(errno));
        return 2;
    };
    const auto unwritable = [&] {
        complain("не удалось записать результат: " + reason(errno));
        return 2;
    };
    Input input;
    input.fd = standardInput ? STDIN_FILENO : cli::system::openForReading(std::string(file));
    if (input.fd < 0)
        return unreadable();
    const std::optional<cli::Encoding> encoding = guessEncoding(input);
    if (!encoding)
        return unreadable();

    cli::Batch batch(*encoding);
    std::string out;
    out.reserve(kBlock + kBlock / 2);
    Output output(*encoding);
    const Failure failure = feed(input, batch, out, output);
    if (failure == Failure::Read)
        return unreadable();
    if (failure == Failure::Write)
        return unwritable();
    batch.finish(out);
    if (!output.write(out) || !output.finish())
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
