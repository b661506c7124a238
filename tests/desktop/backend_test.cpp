// The Qt backend of the user-interface services: dialogs built from the program's templates at their sizes
// and fonts, the user's typing and choosing reaching the dialog's message map, and message boxes with the
// buttons and owner they were asked for.

#include "desktop/dialog_widget.h"
#include "desktop/fonts.h"
#include "desktop/qt_backend.h"
#include "platform/ui/combobox.h"
#include "platform/ui/dialog.h"
#include "platform/ui/module.h"
#include "platform/ui/user.h"
#include "varnel/res/resources.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// A dialog of the program's templates whose 确定 ends it with the text of its first field.
template <int Id> class ConfirmDialog : public CAxDialogImpl<ConfirmDialog<Id>> {
public:
    enum { IDD = Id };
    std::u16string text;
    std::function<void(HWND)> onInit;

    BEGIN_MSG_MAP(ConfirmDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDC_CONFIRM, OnConfirm)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        if (onInit)
            onInit(this->m_hWnd);
        return TRUE;
    }
    LRESULT OnConfirm(WORD, WORD, HWND, BOOL&) {
        HWND field = ::GetDlgItem(this->m_hWnd, Id == IDD_INPUT ? IDC_NAME : IDC_ITEMS);
        std::u16string buffer(256, u'\0');
        buffer.resize(size_t(::GetWindowTextW(field, buffer.data(), int(buffer.size()))));
        text = buffer;
        this->EndDialog(7);
        return 0;
    }
};

desktop::DialogWidget* frontDialog() {
    return dynamic_cast<desktop::DialogWidget*>(QApplication::activeModalWidget());
}

void commitText(QWidget* field, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(field, &commit);
}

// Acts on the dialog once it is on the screen.
void whenShown(std::function<void(desktop::DialogWidget&)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (desktop::DialogWidget* d = frontDialog()) {
            timer->deleteLater();
            timer->stop();
            act(*d);
        }
    });
    timer->start(5);
}

} // namespace

class BackendTest : public QObject {
    Q_OBJECT
    desktop::QtBackend backend_;

private slots:
    void initTestCase() {
        desktop::installFonts();
        ui::setBackend(&backend_);
        ui::setResourceInstance(res::instance());
    }
    void cleanupTestCase() { ui::setBackend(nullptr); }

    void inputDialogHasItsTemplateSizeAndTakesChineseText() {
        ConfirmDialog<IDD_INPUT> dlg;
        QSize client;
        QRect edit;
        whenShown([&](desktop::DialogWidget& d) {
            client = d.size();
            auto* field = dynamic_cast<QLineEdit*>(d.control(IDC_NAME));
            QVERIFY(field);
            edit = field->geometry();
            commitText(field, QStringLiteral("期刊"));
            QTest::mouseClick(d.control(IDC_CONFIRM), Qt::LeftButton);
        });
        QCOMPARE(dlg.DoModal(nullptr), INT_PTR(7));
        QCOMPARE(dlg.text, std::u16string(u"期刊"));
        // Dialog units become pixels through the base units of the font that stands in for 宋体 9 pt.
        SIZE base = desktop::baseUnits(desktop::dialogFont(u"宋体", 9));
        QCOMPARE(client, QSize(MulDiv(330, base.cx, 4), MulDiv(72, base.cy, 8)));
        QCOMPARE(edit, QRect(MulDiv(13, base.cx, 4), MulDiv(9, base.cy, 8), MulDiv(303, base.cx, 4),
                             MulDiv(14, base.cy, 8)));
    }

    void queryDialogShowsTheSortedItemsAndReportsTheChoice() {
        ConfirmDialog<IDD_TESSIK> dlg;
        dlg.onInit = [](HWND d) {
            for (const char16_t* item : {u"杂志", u"报纸", u"Apple"})
                ui::comboAddString(GetDlgItem(d, IDC_ITEMS), item);
            ui::comboSetCurSel(GetDlgItem(d, IDC_ITEMS), 0);
        };
        QStringList shown;
        whenShown([&](desktop::DialogWidget& d) {
            auto* combo = dynamic_cast<QComboBox*>(d.control(IDC_ITEMS));
            QVERIFY(combo);
            for (int i = 0; i < combo->count(); ++i)
                shown << combo->itemText(i);
            QCOMPARE(combo->currentText(), shown.front());
            // Choosing from the list is what the dialog then reads.
            combo->setCurrentIndex(2);
            emit combo->activated(2);
            QTest::mouseClick(d.control(IDC_CONFIRM), Qt::LeftButton);
        });
        QCOMPARE(dlg.DoModal(nullptr), INT_PTR(7));
        QCOMPARE(shown,
                 (QStringList{QStringLiteral("Apple"), QStringLiteral("报纸"), QStringLiteral("杂志")}));
        QCOMPARE(dlg.text, std::u16string(u"杂志"));
    }

    void escapeDoesNotCloseADialogWithoutCancel() {
        ConfirmDialog<IDD_INPUT> dlg;
        whenShown([&](desktop::DialogWidget& d) {
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(d.isVisible());
            QTest::mouseClick(d.control(IDC_CONFIRM), Qt::LeftButton);
        });
        QCOMPARE(dlg.DoModal(nullptr), INT_PTR(7));
    }

    void aboutBoxShowsTheProgramIconAndClosesOnOk() {
        CSimpleDialog<IDD_ABOUTBOX, FALSE> about;
        bool iconShown = false, framed = false;
        whenShown([&](desktop::DialogWidget& d) {
            for (QLabel* label : d.findChildren<QLabel*>())
                iconShown = iconShown || !label->pixmap().isNull();
            framed = d.findChild<QGroupBox*>() != nullptr;
            QTest::mouseClick(d.control(IDOK), Qt::LeftButton);
        });
        QCOMPARE(about.DoModal(nullptr), INT_PTR(IDOK));
        QVERIFY(iconShown);
        QVERIFY(framed);
    }

    void messageBoxesHaveTheirButtonsAndOwner() {
        QWidget owner;
        HWND ownerHandle = reinterpret_cast<HWND>(std::intptr_t(0x4242));
        backend_.setOwnerLookup([&](HWND h) { return h == ownerHandle ? &owner : nullptr; });
        owner.show();
        QStringList buttons;
        QWidget* parent = nullptr;
        QMessageBox::Icon icon = QMessageBox::Warning;
        auto answerWith = [&](const QString& label) {
            QTimer::singleShot(0, [&, label] {
                auto* box = dynamic_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                buttons.clear();
                for (QAbstractButton* b : box->buttons())
                    buttons << b->text();
                parent = box->parentWidget();
                icon = box->icon();
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == label)
                        QTest::mouseClick(b, Qt::LeftButton);
            });
        };
        answerWith(QStringLiteral("确定"));
        QCOMPARE(backend_.messageBox(ownerHandle, u"输入类型不正确！", u"添加统计单位错误", MB_OK), IDOK);
        QCOMPARE(buttons, QStringList{QStringLiteral("确定")});
        QCOMPARE(parent, &owner);
        QCOMPARE(icon, QMessageBox::NoIcon);

        answerWith(QStringLiteral("否"));
        QCOMPARE(
            backend_.messageBox(ownerHandle, u"是否保存？", u"电子表格", MB_YESNOCANCEL | MB_ICONWARNING),
            IDNO);
        QCOMPARE(buttons.size(), 3);
        answerWith(QStringLiteral("重试"));
        QCOMPARE(backend_.messageBox(nullptr, u"输入值非法", u"电子表格", MB_RETRYCANCEL | MB_ICONSTOP),
                 IDRETRY);
        backend_.setOwnerLookup(nullptr);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BackendTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "backend_test.moc"
