#include "desktop/find_dialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace desktop {

FindDialog::FindDialog(QWidget* parent, Find find) : QDialog(parent), find_(std::move(find)) {
    setObjectName(QStringLiteral("find"));
    setWindowTitle(QStringLiteral("查找"));
    auto* rows = new QVBoxLayout(this);
    auto* line = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("查找内容(&N):"), this);
    what_ = new QLineEdit(this);
    what_->setObjectName(QStringLiteral("what"));
    what_->setMinimumWidth(240);
    label->setBuddy(what_);
    line->addWidget(label);
    line->addWidget(what_, 1);
    rows->addLayout(line);
    matchCase_ = new QCheckBox(QStringLiteral("区分大小写(&C)"), this);
    wholeCell_ = new QCheckBox(QStringLiteral("单元格匹配(&O)"), this);
    rows->addWidget(matchCase_);
    rows->addWidget(wholeCell_);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("message"));
    rows->addWidget(message_);
    auto* buttons = new QHBoxLayout;
    auto* next = new QPushButton(QStringLiteral("查找下一个(&F)"), this);
    next->setObjectName(QStringLiteral("findNext"));
    next->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addStretch(1);
    buttons->addWidget(next);
    buttons->addWidget(close);
    rows->addLayout(buttons);
    connect(next, &QPushButton::clicked, this,
            [this] { findNext(QApplication::keyboardModifiers() & Qt::ShiftModifier); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(what_, &QLineEdit::textEdited, message_, &QLabel::clear);
}

void FindDialog::open() {
    show();
    raise();
    activateWindow();
    what_->setFocus();
    what_->selectAll();
}

void FindDialog::findNext(bool previous) {
    if (what_->text().isEmpty())
        return;
    FindRequest request{what_->text(), wholeCell_->isChecked(), matchCase_->isChecked(), previous};
    bool found = find_(request);
    message_->setText(found ? QString() : QStringLiteral("找不到正在搜索的数据。"));
}

} // namespace desktop
