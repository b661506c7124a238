#pragma once

#include "desktop/user_actions.h"
#include "platform/ui/wintypes.h"

#include <QMainWindow>
#include <cstdint>
#include <string>

class QAction;
class QLineEdit;
class QTabBar;
class QToolBar;

// The window of one visible spreadsheet instance: its menu bar and toolbars as its command bars say, the
// formula bar, the grid of the active workbook's active sheet with its outline gutter, and the sheet tabs.
// It shows what the instance holds and hands every user action to user_actions.h; refresh() brings it up
// to date after anything may have changed.
namespace desktop {

class GridView;
class OutlineGutter;
class SheetModel;
class QtBackend;

class SpreadsheetWindow : public QMainWindow {
public:
    SpreadsheetWindow(ComPtr<Application> app, QtBackend& backend);
    ~SpreadsheetWindow() override;

    Application& app() const { return *app_; }
    HWND handle() const;
    void refresh();

    GridView& grid() const { return *grid_; }
    OutlineGutter& gutter() const { return *gutter_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenusAndStandardBar();
    void syncBars();
    void syncFormulaBar();
    void syncTabs();
    Place place() const;
    // Runs a user action; an error is shown to the user, then everything is read again.
    template <typename F> void act(F&& action);
    bool commitTyped(int row, int col, const std::u16string& text);
    bool askRetry();
    void save();
    void saveAs();
    void copy();
    void paste();
    void showMessage(const std::u16string& text, UINT type);
    void report(const Outcome& outcome);

    ComPtr<Application> app_;
    QtBackend& backend_;
    std::shared_ptr<Book> book_;
    int sheet_ = -1;
    std::uint64_t revision_ = 0;
    engine::Selection selection_;
    std::u16string barsSignature_;
    Outcome refusal_; // the last typed value refused
    bool refreshing_ = false;

    SheetModel* model_;
    GridView* grid_;
    OutlineGutter* gutter_;
    QTabBar* tabs_;
    QWidget* formulaBar_;
    QLineEdit* address_;
    QLineEdit* content_;
    QToolBar* standard_ = nullptr;
    std::vector<QToolBar*> programBars_;
};

} // namespace desktop
