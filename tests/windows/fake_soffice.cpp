// A stand-in for LibreOffice's soffice.exe, for tests under Wine: appends one line to the
// file named by ZELM_FAKE_SOFFICE_LOG, its arguments after the program's name, joined by
// "|", in UTF-8.

#include <windows.h>
#include <shellapi.h>

#include <string>

int main()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return 1;
    std::wstring line;
    for (int i = 1; i < count; ++i)
        line += (i > 1 ? L"|" : L"") + std::wstring(arguments[i]);
    LocalFree(arguments);
    line += L'\n';

    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ZELM_FAKE_SOFFICE_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), text.data(), size,
                        nullptr, nullptr);
    const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
