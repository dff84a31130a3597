// A bare Win32 window shaped as Qt makes a frameless Qt::Tool window (WS_POPUP,
// WS_EX_TOOLWINDOW, shown with SW_SHOWNOACTIVATE, then activated), with a message box over
// it on D; it prints every other key it gets, and ends on Q. "refocus" asks for the focus
// again 2.5 s after the box closed; "owned" gives the window a hidden owner, as zelm.exe's
// is given one. Shows, with no Qt in it, where the keyboard goes under Wine once a dialog
// closes (docs/windows.md); run by focus_probe.sh.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

bool refocus = false;
bool owned = false;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_KEYDOWN:
        if (w == 'D') {
            MessageBoxW(window, L"Сообщение", L"Диалог", MB_OK);
            if (refocus)
                SetTimer(window, 1, 2500, nullptr);
        } else {
            std::printf("key %c\n", static_cast<char>(w));
            std::fflush(stdout);
            if (w == 'Q')
                PostQuitMessage(0);
        }
        return 0;
    case WM_TIMER:
        KillTimer(window, 1);
        SetFocus(nullptr);
        SetFocus(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

} // namespace

int main(int argc, char** argv)
{
    refocus = argc > 1 && std::strcmp(argv[1], "refocus") == 0;
    owned = argc > 1 && std::strcmp(argv[1], "owned") == 0;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"probe";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"probe", L"Окно пробы", WS_POPUP, 100, 100, 400, 300,
                                        nullptr, nullptr, windowClass.hInstance, nullptr);
    if (owned)
        SetWindowLongPtrW(window, GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(CreateWindowExW(0, L"probe", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                                                     nullptr, windowClass.hInstance, nullptr)));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetForegroundWindow(window);
    SetFocus(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
