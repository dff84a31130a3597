// Windows: the command line and file names are UTF-16, and a text for the user is written
// in the encoding its reader expects. A console gets UTF-16, which it shows whatever its
// code page. A pipe gets the console's code page, with which the program at its other end
// (PowerShell, more, findstr) decodes it. A file gets the system's ANSI code page, 1251 on
// a Russian Windows, in which an editor or a spreadsheet opens a text without a mark. A
// character such a code page lacks is written as the one a reader would put for it (м3,
// "…", -), not as the code page's question mark or look-alike (the < of «).
// Everything else is bytes: the standard streams are binary, so a table keeps its bytes and
// the one result ends in "\n" as on Linux.
#include "cli/system.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

namespace cli::system {
namespace {

// Texts for the user are short; the sizes the conversions take as int are never reached.
std::wstring wide(std::string_view utf8)
{
    const int size = static_cast<int>(std::min<std::size_t>(utf8.size(), INT_MAX));
    if (size == 0)
        return {};
    std::wstring text(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), static_cast<int>(text.size()));
    return text;
}

std::string narrow(std::wstring_view text, UINT codePage)
{
    const int size = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    if (size == 0)
        return {};
    std::string bytes(
        static_cast<std::size_t>(WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

// What stands for a character of our texts that a code page may lack.
struct StandIn {
    wchar_t character;
    std::wstring_view text;
};
constexpr StandIn kStandIns[] = {
    {L'\u00B2', L"2"},  {L'\u00B3', L"3"},  {L'\u00AB', L"\""}, {L'\u00BB', L"\""},
    {L'\u201C', L"\""}, {L'\u201D', L"\""}, {L'\u201E', L"\""}, {L'\u2018', L"'"},
    {L'\u2019', L"'"},  {L'\u2013', L"-"},  {L'\u2014', L"-"},  {L'\u2212', L"-"},
    {L'\u00B7', L"*"},  {L'\u00A0', L" "},  {L'\u202F', L" "},  {L'\u2026', L"..."},
    {L'\u2116', L"N"},
};

std::wstring_view standIn(wchar_t c)
{
    for (const StandIn& s : kStandIns)
        if (s.character == c)
            return s.text;
    return {};
}

// Whether the code page has these characters themselves, neither a look-alike nor its default.
bool has(UINT codePage, std::wstring_view characters)
{
    BOOL lacking = FALSE;
    std::string bytes(4 * characters.size() + 4, '\0');
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, characters.data(),
                                         static_cast<int>(std::min<std::size_t>(characters.size(), INT_MAX)),
                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, &lacking);
    return size > 0 && !lacking;
}

// The text in a code page, each character it lacks given by its stand-in.
std::string inCodePage(const std::wstring& text, UINT codePage)
{
    if (codePage == CP_UTF8 || codePage == CP_UTF7 || has(codePage, text))
        return narrow(text, codePage);
    std::wstring kept;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A pair of surrogates is one character.
        const std::size_t size = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() ? 2 : 1;
        const std::wstring_view character(text.data() + i, size);
        const std::wstring_view standing = size == 1 ? standIn(text[i]) : std::wstring_view();
        kept += has(codePage, character) || standing.empty() ? character : standing;
        i += size - 1;
    }
    return narrow(kept, codePage);
}

unsigned int chunk(std::size_t size)
{
    return static_cast<unsigned int>(std::min<std::size_t>(size, INT_MAX));
}

bool writeBytes(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const int written = ::_write(fd, bytes.data(), chunk(bytes.size()));
        if (written < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::vector<std::string> start(int, char**)
{
    for (const int fd : {0, 1, 2})
        ::_setmode(fd, _O_BINARY);
    // The C runtime's argv holds the arguments in the ANSI code page, which has no place
    // for a letter outside it; the command line itself is UTF-16.
    int count = 0;
    wchar_t** const words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words != nullptr && i < count; ++i)
        arguments.push_back(narrow(words[i], CP_UTF8));
    LocalFree(words);
    return arguments;
}

int openForReading(const std::string& utf8Name)
{
    return ::_wopen(wide(utf8Name).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

std::ptrdiff_t read(int fd, char* data, std::size_t size)
{
    return ::_read(fd, data, chunk(size));
}

std::ptrdiff_t write(int fd, const char* data, std::size_t size)
{
    return ::_write(fd, data, chunk(size));
}

bool isConsole(int fd)
{
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), &mode) != 0;
}

bool writeText(int fd, std::string_view utf8)
{
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    const std::wstring text = wide(utf8);
    if (isConsole(fd)) {
        for (std::wstring_view rest = text; !rest.empty();) {
            DWORD written = 0;
            const auto piece = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 8192));
            if (!WriteConsoleW(handle, rest.data(), piece, &written, nullptr) || written == 0) {
                errno = EIO;
                return false;
            }
            rest.remove_prefix(written);
        }
        return true;
    }
    const UINT console = GetConsoleOutputCP();
    const UINT codePage = GetFileType(handle) == FILE_TYPE_PIPE && console != 0 ? console : GetACP();
    return writeBytes(fd, inCodePage(text, codePage));
}

} // namespace cli::system
