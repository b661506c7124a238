#pragma once

#include "desktop/user_actions.h"
#include "platform/ui/wintypes.h"

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <set>
#include <string>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTabBar;
class QToolBar;

// The window of one visible spreadsheet instance: its menu bar and toolbars as its command bars say, the
// formula bar, the grid of the active workbook's active sheet with its outline gutter, the sheet tabs and
// the status bar (saved, the selection's sum, count and average, the sheet's rows). The keys of the
// spreadsheet work whatever the bars say: save, cut, copy and paste (with other programs too, as text),
// find and print. It shows what the instance holds and hands every user action to user_actions.h;
// refresh() brings it up to date after anything may have changed. A workbook that arrives without a
// file (a program's result) has its columns widened to what they show when first shown.
namespace desktop {

class FindDialog;
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
    // The window comes to the front with the keyboard in its grid, as after a dialog of its own closed.
    void takeKeyboard();
    // Called when the window was closed (and its instance quit).
    void setOnClosed(std::function<void()> closed) { onClosed_ = std::move(closed); }

    // What the user does by keys and menus.
    void save();
    void saveAs();
    void copy();
    void cut();
    void paste();
    void find();
    void printPreview();
    void exportPdf();
    // The grid's context menu as it would show at `global` (built anew each time).
    QMenu* cellMenu();
    QString statusText() const;

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
    void syncStatus();
    void fitResultColumns();
    std::optional<engine::Area> printSelection() const;
    bool cellBarEnabled() const;
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
    bool savedNoted_ = false; // "已保存" shows until the next change
    std::set<std::pair<const Book*, engine::SheetId>> fitted_;
    std::uint64_t statusRevision_ = 0;
    engine::Selection statusSelection_;
    std::function<void()> onClosed_;

    SheetModel* model_;
    GridView* grid_;
    OutlineGutter* gutter_;
    QTabBar* tabs_;
    QWidget* formulaBar_;
    QLineEdit* address_;
    QLineEdit* content_;
    QToolBar* standard_ = nullptr;
    std::vector<QToolBar*> programBars_;
    QLabel* message_;
    QLabel* totals_;
    QLabel* rows_;
    QMenu* cellMenu_ = nullptr;
    FindDialog* find_ = nullptr;
};

} // namespace desktop
