#pragma once

#include "platform/ui/backend.h"
#include "platform/ui/record.h"

#include <deque>
#include <functional>
#include <utility>

// A user without a display. Answers wait in a queue and are taken in order by the modal questions: a dialog,
// the input box, and a message box that offers a choice (MB_OK boxes only inform and take no answer). Every
// message box, input box and dialog with an area is recorded with its owner, caption and text. The warning
// before a save that loses what a file holds is answered as a message box with 是 and 否 is, and recorded
// with its items.
//
// An answer given as text is applied by what asks:
//   - a dialog: the text goes into its first control that can be typed into (an edit control or a drop-down
//     combo box's edit field), then its confirming button is clicked: the default push button, else the first
//     push button of the template;
//   - the input box: the text is confirmed;
//   - a message box: the button with that label is pressed (确定, 取消, 是, 否, 重试, 中止, 忽略).
// A cancel answer presses Escape in a dialog, cancels the input box, and presses 取消 in a message box.
//
// A question with no queued answer never waits:
//   - a dialog gets Enter, then Escape if it is still open; a dialog that stays open after both is ended with
//     -1 and an error is recorded;
//   - the input box is cancelled;
//   - a message box gets its declining button: 否 where offered, else 取消, else its first button.
// An answer that does not fit its question (no text field, no such button) is recorded as an error and the
// question is then handled as unanswered.
//
// The user's own actions outside any question (a session script) run inside the first modal loop that starts
// after setUser: nextAction is called once per action until it returns false or the dialog has ended. That
// dialog then ends as an unanswered one would, without taking queued answers.
namespace ui {

struct Answer {
    enum class Kind { Text, Cancel, Controls };
    Kind kind = Kind::Text;
    std::u16string text;
    std::vector<std::pair<int, std::u16string>> controls; // Controls: texts typed into controls by id
    int button = 0;                                       // Controls: the button clicked after typing

    static Answer withText(std::u16string text) { return {Kind::Text, std::move(text), {}, 0}; }
    static Answer cancel() { return {Kind::Cancel, {}, {}, 0}; }
    static Answer dialog(std::vector<std::pair<int, std::u16string>> texts, int button) {
        return {Kind::Controls, {}, std::move(texts), button};
    }
};

class HeadlessBackend : public Backend {
public:
    void queue(Answer answer) { answers_.push_back(std::move(answer)); }
    size_t pendingAnswers() const { return answers_.size(); }

    void setUser(std::function<bool()> nextAction) { user_ = std::move(nextAction); }

    // Called with each record as it is made.
    void onRecord(std::function<void(const Record&)> listener) { listener_ = std::move(listener); }
    const std::vector<Record>& records() const { return records_; }
    void clearRecords() { records_.clear(); }

    void runModal(HWND dialog) override;
    int messageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) override;
    std::optional<std::u16string> inputBox(HWND owner, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;
    bool saveAnyway(HWND owner, std::u16string_view text, std::u16string_view caption,
                    const std::vector<std::u16string>& items) override;

private:
    // Answers a box of buttons (r.type) as a message box is answered, and records it.
    int press(Record r);
    void record(Record r);
    void error(std::u16string text);
    bool answerDialog(HWND dialog, const Answer& answer);
    void leaveUnanswered(HWND dialog);

    std::deque<Answer> answers_;
    std::function<bool()> user_;
    std::function<void(const Record&)> listener_;
    std::vector<Record> records_;
};

} // namespace ui
