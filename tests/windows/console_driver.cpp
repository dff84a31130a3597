// zelm-calc writing into a console, read back from the console's own buffer, cell by cell,
// as the user sees it: a table's Cyrillic cells whatever the table's encoding, and help
// through a pipe in the console's code page with nothing lost to a question mark.
//
//   zelm_console_driver ZELM-CALC.EXE CASES-FOLDER

#include "tests/cli/windows/code_pages.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr SHORT kWidth = 300; // wider than any line of the tables, so none wraps
constexpr SHORT kHeight = 200;

int failures = 0;

void check(bool ok, const char* what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    std::fflush(stdout);
    failures += ok ? 0 : 1;
}

// A line of the report, onto this program's own console.
void say(const std::wstring& line)
{
    const std::wstring text = line + L"\n";
    DWORD written = 0;
    WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::wstring> lines(std::wstring text)
{
    if (text.starts_with(L'\uFEFF'))
        text.erase(0, 1);
    std::vector<std::wstring> result;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        result.push_back(text.substr(start, end - start - (end > start && text[end - 1] == L'\r' ? 1 : 0)));
    if (start < text.size())
        result.push_back(text.substr(start));
    return result;
}

// Runs the program with the given standard output (standard error goes nowhere) and waits.
bool run(const std::wstring& commandLine, HANDLE out)
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdError = nul;
    startup.hStdOutput = out;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    const bool started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(nul);
    if (!started)
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

// The screen's rows, blanks at their ends left out, up to the last row written.
std::vector<std::wstring> screenRows(HANDLE screen)
{
    std::wstring cells(static_cast<std::size_t>(kWidth) * kHeight, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, cells.data(), static_cast<DWORD>(cells.size()), {0, 0}, &read);
    std::vector<std::wstring> rows;
    for (std::size_t at = 0; at + kWidth <= read; at += kWidth) {
        std::wstring row = cells.substr(at, kWidth);
        row.erase(row.find_last_not_of(L' ') + 1);
        rows.push_back(row);
    }
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    return rows;
}

void clear(HANDLE screen)
{
    DWORD written = 0;
    FillConsoleOutputCharacterW(screen, L' ', static_cast<DWORD>(kWidth) * kHeight, {0, 0}, &written);
    SetConsoleCursorPosition(screen, {0, 0});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelm_console_driver ZELM-CALC.EXE CASES-FOLDER\n");
        return 2;
    }
    // A path given the POSIX way ("/work/...") is on the drive of the current folder.
    const auto full = [](const char* path) {
        std::wstring name(MAX_PATH, L'\0');
        name.resize(GetFullPathNameW(convert(path, CP_UTF8).c_str(), MAX_PATH, name.data(), nullptr));
        return name;
    };
    const std::wstring program = L"\"" + full(argv[1]) + L"\"";
    const std::string cases = argv[2];

    // The console is Wine's own for a terminal (tests/windows/console.sh); a screen buffer
    // of its own keeps this program's report out of what is read back.
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    &inherited, CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (screen == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "no console: error %lu\n", GetLastError());
        return 2;
    }
    SetConsoleScreenBufferSize(screen, {kWidth, kHeight});

    // The table as the console shows it: its lines, as an independent codec reads its file.
    const struct {
        const char* what;
        const char* table;
        UINT codePage;
    } tables[] = {
        {"a table in code page 1251 shows its Cyrillic cells on the console", "cp1251", 1251},
        {"a table in UTF-8 with a mark shows its Cyrillic cells, the mark not", "bom", CP_UTF8},
        {"a table in UTF-8 without a mark likewise", "semicolon_decimal_comma", CP_UTF8},
    };
    for (const auto& table : tables) {
        clear(screen);
        const std::string csv = cases + "/" + table.table;
        const bool ran = run(program + L" --batch \"" + full((csv + ".csv").c_str()) + L"\"", screen);
        const std::vector<std::wstring> expected = lines(convert(readFile(csv + ".expected.csv"), table.codePage));
        const std::vector<std::wstring> shown = screenRows(screen);
        check(ran && !expected.empty() && shown == expected, table.what);
        if (shown != expected)
            for (const std::wstring& row : shown)
                say(L"  shown: " + row);
    }

    // Help through a pipe, in the console's code page, keeps every character readable.
    const struct {
        UINT codePage;
        const wchar_t* quotesAndDash;
    } pipes[] = {{866, L"с \"-\" -\n"}, {1251, L"с «-» —\n"}};
    for (const auto& pipe : pipes) {
        SetConsoleOutputCP(pipe.codePage);
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        CreatePipe(&readEnd, &writeEnd, &inherited, 0);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        const bool ran = run(program + L" --help", writeEnd);
        CloseHandle(writeEnd);
        std::string bytes;
        char buffer[4096];
        for (DWORD got = 0; ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0;)
            bytes.append(buffer, got);
        CloseHandle(readEnd);
        const std::wstring help = convert(bytes, pipe.codePage);
        const std::string what = "help through a pipe in code page " + std::to_string(pipe.codePage) +
                                 ": м3 for м³, quotes and dashes as the code page has them, no question mark";
        check(ran && help.find(L"объём водохранилища, м3\n") != std::wstring::npos &&
                  help.find(pipe.quotesAndDash) != std::wstring::npos && help.find(L'?') == std::wstring::npos,
              what.c_str());
        if (help.find(L'?') != std::wstring::npos || help.find(pipe.quotesAndDash) == std::wstring::npos)
            say(L"  read: " + help);
    }
    return failures == 0 ? 0 : 1;
}
