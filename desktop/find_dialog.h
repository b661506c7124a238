#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;

// The find dialog of a spreadsheet window (Ctrl+F): 查找内容, whole cell or part, match case, and
// 查找下一个 (with Shift, the previous one). It stays open beside the grid while the user looks; the
// search itself is the window's (`find`), which says whether a cell was found.
namespace desktop {

struct FindRequest {
    QString what;
    bool wholeCell = false;
    bool matchCase = false;
    bool previous = false;
};

class FindDialog : public QDialog {
public:
    using Find = std::function<bool(const FindRequest& request)>;

    FindDialog(QWidget* parent, Find find);

    // Shows the dialog with its text chosen, ready to be typed over.
    void open();
    QLineEdit& field() const { return *what_; }
    QLabel& message() const { return *message_; }

private:
    void findNext(bool previous);

    Find find_;
    QLineEdit* what_;
    QCheckBox* wholeCell_;
    QCheckBox* matchCase_;
    QLabel* message_;
};

} // namespace desktop
