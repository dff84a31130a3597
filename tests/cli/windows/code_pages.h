#pragma once
// Text between a code page and UTF-16, as Windows converts it, for the Windows tests.

#include <string>
#include <windows.h>

inline std::wstring convert(const std::string& text, UINT codePage)
{
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, text.data(),
                                                                   static_cast<int>(text.size()), nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        static_cast<int>(wide.size()));
    return wide;
}

inline std::string convert(const std::wstring& text, UINT codePage)
{
    std::string bytes(static_cast<std::size_t>(WideCharToMultiByte(codePage, 0, text.data(),
                                                                   static_cast<int>(text.size()), nullptr, 0,
                                                                   nullptr, nullptr)),
                      '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}
