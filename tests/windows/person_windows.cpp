#include "tests/windows/person.h"

#include <utility>
#include <windows.h>

namespace person {
namespace {

struct Pending {
    std::u16string caption;
    std::vector<Step> steps;
    Seen* seen;
    std::function<void()> action;
};

std::vector<std::pair<UINT_PTR, Pending>>& pending() {
    static std::vector<std::pair<UINT_PTR, Pending>> all;
    return all;
}

std::u16string textOf(HWND window) {
    std::u16string s(std::size_t(GetWindowTextLengthW(window)) + 1, u'\0');
    s.resize(std::size_t(GetWindowTextW(window, reinterpret_cast<wchar_t*>(s.data()), int(s.size()))));
    return s;
}

std::u16string classOf(HWND window) {
    wchar_t name[64];
    const int length = GetClassNameW(window, name, 64);
    std::u16string s(reinterpret_cast<const char16_t*>(name), std::size_t(length));
    for (char16_t& c : s)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return s;
}

BOOL CALLBACK look(HWND child, LPARAM out) {
    Seen& seen = *reinterpret_cast<Seen*>(out);
    const std::u16string kind = classOf(child);
    if (kind == u"STATIC" && GetWindowTextLengthW(child) > 0)
        seen.texts.push_back(textOf(child));
    else if (kind == u"EDIT" && GetParent(child) == GetAncestor(child, GA_ROOT))
        seen.editTexts.push_back(textOf(child));
    else if (kind == u"COMBOBOX") {
        std::vector<std::u16string> items;
        const int count = int(SendMessageW(child, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::u16string item(std::size_t(SendMessageW(child, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, u'\0');
            item.resize(std::size_t(SendMessageW(child, CB_GETLBTEXT, WPARAM(i), LPARAM(item.data()))));
            items.push_back(item);
        }
        seen.comboBoxItems.push_back(items);
    }
    return TRUE;
}

void act(HWND window, const Step& step) {
    HWND control = GetDlgItem(window, step.control);
    switch (step.kind) {
    case Step::Type:
        SetWindowTextW(control, reinterpret_cast<const wchar_t*>(step.text.c_str()));
        break;
    case Step::Select:
        SendMessageW(control, CB_SETCURSEL, WPARAM(step.index), 0);
        break;
    case Step::Press:
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(step.control, BN_CLICKED), LPARAM(control));
        break;
    }
}

void CALLBACK tick(HWND, UINT, UINT_PTR timer, DWORD) {
    auto& all = pending();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (it->first != timer)
            continue;
        Pending p = it->second;
        if (!p.action) {
            HWND window = FindWindowW(L"#32770", reinterpret_cast<const wchar_t*>(p.caption.c_str()));
            if (!window)
                return;
            p.seen->found = true;
            EnumChildWindows(window, look, LPARAM(p.seen));
        }
        KillTimer(nullptr, timer);
        all.erase(it);
        if (p.action)
            p.action();
        else
            for (const Step& step : p.steps)
                act(FindWindowW(L"#32770", reinterpret_cast<const wchar_t*>(p.caption.c_str())), step);
        return;
    }
}

} // namespace

void willAnswer(std::u16string caption, std::vector<Step> steps, Seen& seen) {
    pending().emplace_back(SetTimer(nullptr, 0, 50, tick),
                           Pending{std::move(caption), std::move(steps), &seen, {}});
}

void later(std::function<void()> action) {
    pending().emplace_back(SetTimer(nullptr, 0, 50, tick), Pending{{}, {}, nullptr, std::move(action)});
}

} // namespace person
