#include "tests/cli/run_program.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

Finished runProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& input)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zelm-run-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, pipeEnds[0], 0);
    posix_spawn_file_actions_addclose(&files, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&files, pipeEnds[1]);
    posix_spawn_file_actions_addopen(&files, 1, (dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, (dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    Finished run;
    const bool started = posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&files);
    ::close(pipeEnds[0]);
    // A program that stops reading early makes the rest of the write fail, not the test.
    std::signal(SIGPIPE, SIG_IGN);
    for (std::size_t at = 0; started && at < input.size();) {
        const ssize_t written = ::write(pipeEnds[1], input.data() + at, input.size() - at);
        if (written <= 0)
            break;
        at += static_cast<std::size_t>(written);
    }
    ::close(pipeEnds[1]);
    if (started) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    run.out = readFile(dir / "out");
    run.err = readFile(dir / "err");
    fs::remove_all(dir);
    return run;
}

std::string userText(const std::string& written)
{
    return written;
}

std::string throughFile(const std::string& utf8)
{
    return utf8;
}
