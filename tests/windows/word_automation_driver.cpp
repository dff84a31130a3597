// Calls the Word hand-off the given number of times from a thread in the given COM state,
// as the window's thread (single-threaded, entered by Qt), a fresh thread, or a thread in
// the multithreaded apartment would, and prints what it returned and whether the thread's
// COM state is as it was before:
//
//   word_automation_driver none|sta|mta TIMES
//
// Prints "word" or "no word" per call, then "apartment kept" or "apartment changed".

#include "platform/windows/word_automation.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Mode {
    const char* name;
    bool entered;    // whether the driver enters COM before the calls
    DWORD apartment; // and which apartment, which a balanced callee leaves as it was
};

constexpr Mode kModes[] = {
    {"none", false, COINIT_APARTMENTTHREADED},
    {"sta", true, COINIT_APARTMENTTHREADED},
    {"mta", true, COINIT_MULTITHREADED},
};

} // namespace

int main(int argc, char** argv)
{
    const Mode* mode = nullptr;
    for (const Mode& m : kModes) {
        if (argc == 3 && std::strcmp(argv[1], m.name) == 0)
            mode = &m;
    }
    const int times = argc == 3 ? std::atoi(argv[2]) : 0;
    if (!mode || times < 1) {
        std::fprintf(stderr, "usage: %s none|sta|mta TIMES\n", argv[0]);
        return 2;
    }
    if (mode->entered && FAILED(CoInitializeEx(nullptr, mode->apartment))) {
        std::fprintf(stderr, "CoInitializeEx failed\n");
        return 2;
    }

    for (int i = 0; i < times; ++i)
        std::printf("%s\n", platform::windows::openWordDocument(L"Canal.dot") ? "word" : "no word");

    // Entering again tells the state: S_OK when the thread was outside COM, S_FALSE when
    // inside the same apartment; anything else means the callee left it changed.
    const HRESULT again = CoInitializeEx(nullptr, mode->apartment);
    const HRESULT expected = mode->entered ? S_FALSE : S_OK;
    std::printf("%s\n", again == expected ? "apartment kept" : "apartment changed");
    if (SUCCEEDED(again))
        CoUninitialize();
    if (mode->entered)
        CoUninitialize();
    return 0;
}
