// answer-window CAPTION BUTTON [SECONDS]: waits for a dialog or message box titled CAPTION in any
// process of the session, prints its texts (one line each, UTF-8) and presses its button BUTTON (an id:
// 1 OK, 2 Cancel, 6 Yes, 7 No), as a person would. Exits with 1 when no such window came.

#include <cstdio>
#include <cwchar>
#include <string>
#include <windows.h>

namespace {

std::string utf8(const std::wstring& text) {
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring textOf(HWND window) {
    std::wstring s(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    s.resize(std::size_t(GetWindowTextW(window, s.data(), int(s.size()))));
    return s;
}

BOOL CALLBACK printStatic(HWND child, LPARAM) {
    wchar_t className[32];
    GetClassNameW(child, className, 32);
    if (_wcsicmp(className, L"Static") == 0 && GetWindowTextLengthW(child) > 0)
        std::printf("%s\n", utf8(textOf(child)).c_str());
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: answer-window CAPTION BUTTON [SECONDS]\n");
        return 64;
    }
    const int button = _wtoi(argv[2]);
    const int seconds = argc > 3 ? _wtoi(argv[3]) : 30;
    for (int waited = 0; waited < seconds * 10; ++waited) {
        if (HWND window = FindWindowW(L"#32770", argv[1])) {
            EnumChildWindows(window, printStatic, 0);
            std::fflush(stdout);
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "answer-window: no window titled as asked\n");
    return 1;
}
