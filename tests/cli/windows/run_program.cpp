#include "tests/cli/run_program.h"
#include "tests/cli/windows/code_pages.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <windows.h>

namespace {

// One argument of a command line as the C runtime and CommandLineToArgvW split it:
// backslashes are literal except before a quote.
std::wstring commandLineWord(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        text.push_back(c);
        backslashes = 0;
    }
    text.append(2 * backslashes, L'\\');
    return text + L"\"";
}

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
    const fs::path dir = fs::temp_directory_path() / ("zelm-run-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(dir);
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE inputWrite = nullptr;
    if (!CreatePipe(&inputRead, &inputWrite, &inherited, 0))
        return {};
    SetHandleInformation(inputWrite, HANDLE_FLAG_INHERIT, 0);
    const auto create = [&](const char* name) {
        return CreateFileW((dir / name).wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE out = create("out");
    const HANDLE err = create("err");

    // A path given the POSIX way ("/work/...") is on the drive of the current folder.
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetFullPathNameW(convert(program, CP_UTF8).c_str(), MAX_PATH, path.data(), nullptr));
    std::wstring commandLine = commandLineWord(path);
    for (const auto& argument : arguments)
        commandLine += L" " + commandLineWord(convert(argument, CP_UTF8));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(inputRead);
    CloseHandle(out);
    CloseHandle(err);
    // A program that stops reading early makes the rest of the write fail, not the test.
    for (std::size_t at = 0; started && at < input.size();) {
        DWORD written = 0;
        const auto piece = static_cast<DWORD>(std::min<std::size_t>(input.size() - at, 1 << 16));
        if (!WriteFile(inputWrite, input.data() + at, piece, &written, nullptr) || written == 0)
            break;
        at += written;
    }
    CloseHandle(inputWrite);
    Finished run;
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 0;
        GetExitCodeProcess(process.hProcess, &status);
        run.status = static_cast<int>(status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    run.out = readFile(dir / "out");
    run.err = readFile(dir / "err");
    fs::remove_all(dir);
    return run;
}

// A text for the user goes into a file in the ANSI code page.
std::string userText(const std::string& written)
{
    return convert(convert(written, CP_ACP), CP_UTF8);
}

std::string throughFile(const std::string& utf8)
{
    return userText(convert(convert(utf8, CP_UTF8), CP_ACP));
}
