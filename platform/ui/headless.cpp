#include "platform/ui/headless.h"

#include "platform/ui/user.h"
#include "platform/ui/userinput.h"

#include <string>

namespace ui {

namespace {

struct Button {
    int id;
    std::u16string_view label;
};

constexpr Button OK{IDOK, u"确定"}, CANCEL{IDCANCEL, u"取消"}, ABORT{IDABORT, u"中止"},
    RETRY{IDRETRY, u"重试"}, IGNORE{IDIGNORE, u"忽略"}, YES{IDYES, u"是"}, NO{IDNO, u"否"};

std::vector<Button> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {OK, CANCEL};
    case MB_ABORTRETRYIGNORE:
        return {ABORT, RETRY, IGNORE};
    case MB_YESNOCANCEL:
        return {YES, NO, CANCEL};
    case MB_YESNO:
        return {YES, NO};
    case MB_RETRYCANCEL:
        return {RETRY, CANCEL};
    default:
        return {OK};
    }
}

const Button* find(const std::vector<Button>& buttons, auto match) {
    for (const Button& b : buttons)
        if (match(b))
            return &b;
    return nullptr;
}

const Button& declining(const std::vector<Button>& buttons) {
    if (const Button* no = find(buttons, [](const Button& b) { return b.id == IDNO; }))
        return *no;
    if (const Button* cancel = find(buttons, [](const Button& b) { return b.id == IDCANCEL; }))
        return *cancel;
    return buttons.front();
}

std::u16string number(int n) {
    std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string quote(std::u16string_view text) {
    return u"\u201c" + std::u16string(text) + u"\u201d";
}

std::u16string describe(HWND dialog) {
    const Window* w = findWindow(dialog);
    return u"dialog " + number(w->dialogTemplate ? w->dialogTemplate->id : 0) + u" " + quote(w->text);
}

HWND firstTextField(HWND dialog) {
    for (HWND child : findWindow(dialog)->children)
        if (findWindow(child)->hasEditField())
            return child;
    return nullptr;
}

// The button that confirms a dialog: its default push button, else its first push button.
int confirmingButton(HWND dialog) {
    int first = 0;
    for (HWND child : findWindow(dialog)->children) {
        const Window* c = findWindow(child);
        if (c->className != u"BUTTON")
            continue;
        DWORD kind = c->style & BS_TYPEMASK;
        if (kind == BS_DEFPUSHBUTTON)
            return c->id;
        if (kind == BS_PUSHBUTTON && !first)
            first = c->id;
    }
    return first;
}

bool ended(HWND dialog) {
    return findWindow(dialog)->ended;
}

} // namespace

void HeadlessBackend::record(Record r) {
    records_.push_back(std::move(r));
    if (listener_)
        listener_(records_.back());
}

void HeadlessBackend::error(std::u16string text) {
    Record r;
    r.kind = Record::Kind::Error;
    r.text = std::move(text);
    record(std::move(r));
}

void HeadlessBackend::runModal(HWND dialog) {
    const Window* w = findWindow(dialog);
    if (w->rect.width() > 0 && w->rect.height() > 0) {
        Record r;
        r.kind = Record::Kind::Dialog;
        r.owner = w->owner;
        r.caption = w->text;
        r.dialogId = w->dialogTemplate ? w->dialogTemplate->id : 0;
        for (HWND child : w->children)
            if (findWindow(child)->isComboBox()) {
                r.items = findWindow(child)->items;
                break;
            }
        record(std::move(r));
    }
    if (auto user = std::exchange(user_, nullptr)) {
        while (!ended(dialog) && user()) {
        }
        if (!ended(dialog))
            leaveUnanswered(dialog);
        return;
    }
    while (!ended(dialog)) {
        if (answers_.empty()) {
            leaveUnanswered(dialog);
            return;
        }
        Answer a = std::move(answers_.front());
        answers_.pop_front();
        if (!answerDialog(dialog, a)) {
            leaveUnanswered(dialog);
            return;
        }
    }
}

bool HeadlessBackend::answerDialog(HWND dialog, const Answer& a) {
    switch (a.kind) {
    case Answer::Kind::Cancel:
        userPressesEscape(dialog);
        return true;
    case Answer::Kind::Text: {
        HWND field = firstTextField(dialog);
        int button = confirmingButton(dialog);
        if (!field || !button) {
            error(describe(dialog) + u" has no text field and button for the answer " + quote(a.text));
            return false;
        }
        userTypes(field, a.text);
        if (!ended(dialog))
            userClicks(dialog, button);
        return true;
    }
    case Answer::Kind::Controls:
        for (const auto& [id, text] : a.controls)
            if (!userTypes(GetDlgItem(dialog, id), text)) {
                error(describe(dialog) + u" has no text field " + number(id));
                return false;
            }
        if (!ended(dialog))
            userClicks(dialog, a.button);
        return true;
    }
    return false;
}

void HeadlessBackend::leaveUnanswered(HWND dialog) {
    if (!ended(dialog))
        userPressesEnter(dialog);
    if (!ended(dialog))
        userPressesEscape(dialog);
    if (!ended(dialog)) {
        error(describe(dialog) + u" has no answer and stays open on Enter and Escape; it was ended with -1");
        EndDialog(dialog, -1);
    }
}

int HeadlessBackend::messageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                                UINT type) {
    Record r;
    r.kind = Record::Kind::MessageBox;
    r.owner = owner;
    r.caption = caption;
    r.text = text;
    r.type = type;
    return press(std::move(r));
}

bool HeadlessBackend::saveAnyway(HWND owner, std::u16string_view text, std::u16string_view caption,
                                 const std::vector<std::u16string>& items) {
    Record r;
    r.kind = Record::Kind::SaveWarning;
    r.owner = owner;
    r.caption = caption;
    r.text = text;
    r.type = MB_YESNO | MB_ICONWARNING;
    r.items = items;
    return press(std::move(r)) == IDYES;
}

int HeadlessBackend::press(Record r) {
    std::vector<Button> buttons = buttonsOf(r.type);
    const Button* pressed = &buttons.front();
    std::u16string misfit;
    if (buttons.size() > 1) {
        pressed = &declining(buttons);
        if (!answers_.empty()) {
            Answer a = std::move(answers_.front());
            answers_.pop_front();
            const Button* chosen = nullptr;
            if (a.kind == Answer::Kind::Cancel)
                chosen = find(buttons, [](const Button& b) { return b.id == IDCANCEL; });
            else if (a.kind == Answer::Kind::Text)
                chosen = find(buttons, [&](const Button& b) { return b.label == a.text; });
            if (chosen)
                pressed = chosen;
            else
                misfit = u"the message box " + quote(r.caption) + u" has no button for the answer " +
                         (a.kind == Answer::Kind::Text ? quote(a.text) : std::u16string(u"given"));
        }
    }
    r.answer = std::u16string(pressed->label);
    record(std::move(r));
    if (!misfit.empty())
        error(std::move(misfit));
    return pressed->id;
}

std::optional<std::u16string> HeadlessBackend::inputBox(HWND owner, std::u16string_view prompt,
                                                        std::u16string_view title,
                                                        std::u16string_view defaultText) {
    std::optional<std::u16string> result;
    bool misfit = false;
    if (!answers_.empty()) {
        Answer a = std::move(answers_.front());
        answers_.pop_front();
        if (a.kind == Answer::Kind::Text)
            result = std::move(a.text);
        misfit = a.kind == Answer::Kind::Controls;
    }
    Record r;
    r.kind = Record::Kind::InputBox;
    r.owner = owner;
    r.caption = title;
    r.text = prompt;
    r.defaultText = defaultText;
    r.answer = result;
    record(std::move(r));
    if (misfit)
        error(u"the input box " + quote(title) + u" takes a text or a cancel, not texts for controls");
    return result;
}

} // namespace ui
