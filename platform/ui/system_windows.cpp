#include "platform/ui/system.h"

#include <cstring>
#include <windows.h>

namespace ui::system {
namespace {

// A DLGTEMPLATEEX and its DLGITEMTEMPLATEEX entries, laid out as the resource compiler lays them out.
class TemplateWriter {
public:
    const DLGTEMPLATE* build(const Dialog& d) {
        word(1);      // dlgVer
        word(0xFFFF); // signature
        dword(0);     // helpID
        dword(d.exStyle);
        dword(d.style | DS_SETFONT);
        word(WORD(d.controls.size()));
        word(WORD(d.x));
        word(WORD(d.y));
        word(WORD(d.cx));
        word(WORD(d.cy));
        word(0); // no menu
        word(0); // the standard dialog class
        text(d.caption);
        word(d.pointSize);
        word(d.weight);
        bytes.push_back(d.italic);
        bytes.push_back(d.charSet);
        text(d.fontFace);
        for (const Control& c : d.controls) {
            align(4);
            dword(0); // helpID
            dword(c.exStyle);
            dword(c.style | WS_CHILD | WS_VISIBLE);
            word(WORD(c.x));
            word(WORD(c.y));
            word(WORD(c.cx));
            word(WORD(c.cy));
            dword(DWORD(c.id));
            text(c.className);
            text(c.text);
            word(0); // no creation data
        }
        return reinterpret_cast<const DLGTEMPLATE*>(bytes.data());
    }

private:
    void word(WORD w) { bytes.insert(bytes.end(), {BYTE(w & 0xFF), BYTE(w >> 8)}); }
    void dword(DWORD d) {
        word(WORD(d & 0xFFFF));
        word(WORD(d >> 16));
    }
    void text(const std::u16string& s) {
        for (char16_t c : s)
            word(WORD(c));
        word(0);
    }
    void align(std::size_t n) {
        while (bytes.size() % n)
            bytes.push_back(0);
    }

    std::vector<BYTE> bytes;
};

const wchar_t* wide(const std::u16string& s) {
    return reinterpret_cast<const wchar_t*>(s.c_str());
}

std::u16string windowText(HWND window) {
    std::u16string s(std::size_t(GetWindowTextLengthW(window)) + 1, u'\0');
    s.resize(std::size_t(GetWindowTextW(window, reinterpret_cast<wchar_t*>(s.data()), int(s.size()))));
    return s;
}

bool isComboBox(const Control& c) {
    return c.className == u"COMBOBOX";
}

struct Running {
    const Command* command;
    const std::function<Dialog()>* current;
};

// Shows the dialog's controls as the program has them.
void show(HWND dialog, const Dialog& d) {
    for (const Control& c : d.controls) {
        HWND control = GetDlgItem(dialog, c.id);
        if (!control || c.id == -1)
            continue;
        if (isComboBox(c)) {
            SendMessageW(control, CB_RESETCONTENT, 0, 0);
            for (const std::u16string& item : c.items)
                SendMessageW(control, CB_ADDSTRING, 0, LPARAM(wide(item)));
            SendMessageW(control, CB_SETCURSEL, WPARAM(c.selection), 0);
            if (c.selection < 0)
                SetWindowTextW(control, wide(c.text));
        } else if (windowText(control) != c.text) {
            SetWindowTextW(control, wide(c.text));
        }
    }
}

std::vector<Entered> entered(HWND dialog, const Dialog& d) {
    std::vector<Entered> out;
    for (const Control& c : d.controls) {
        if (c.className != u"EDIT" && !isComboBox(c))
            continue;
        HWND control = GetDlgItem(dialog, c.id);
        const int selection = isComboBox(c) ? int(SendMessageW(control, CB_GETCURSEL, 0, 0)) : -1;
        out.push_back({c.id, windowText(control), selection});
    }
    return out;
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        show(dialog, (*reinterpret_cast<Running*>(lParam)->current)());
        return TRUE;
    }
    auto* running = reinterpret_cast<Running*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || !running || HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    const Dialog before = (*running->current)();
    if (auto result = (*running->command)(LOWORD(wParam), entered(dialog, before)))
        EndDialog(dialog, *result);
    else
        show(dialog, (*running->current)());
    return TRUE;
}

} // namespace

std::intptr_t runDialog(const Dialog& dialog, void* owner, const Command& command,
                        const std::function<Dialog()>& current) {
    TemplateWriter writer;
    Running running{&command, &current};
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.build(dialog), static_cast<HWND>(owner),
                                   dialogProc, LPARAM(&running));
}

int messageBox(void* owner, const std::u16string& text, const std::u16string& caption, unsigned type) {
    return MessageBoxW(static_cast<HWND>(owner), wide(text), wide(caption), type);
}

void runMessageLoop(const std::function<bool()>& done) {
    MSG message;
    while (!done() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void wakeMessageLoop() {
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

} // namespace ui::system
