// The spreadsheet window on a full register, offscreen: opening the register into a window, the outline's
// level buttons, and keys and scrolling in the grid. Each measured step ends with the window painted
// again, as the user waits for it; what a step changes is undone (untimed) before the next.
#include "bench/register_folder.h"
#include "desktop/find_dialog.h"
#include "desktop/fonts.h"
#include "desktop/grid_view.h"
#include "desktop/outline_gutter.h"
#include "desktop/qt_backend.h"
#include "desktop/spreadsheet_window.h"
#include "engine/automation/application.h"
#include "engine/automation/user.h"
#include "varnel/excel/excel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using engine::automation::Application;
namespace user = engine::automation::user;

const bench::RegisterFolder* folder = nullptr;
desktop::QtBackend* backend = nullptr;

ComPtr<Application> openRegister() {
    Excel::_ApplicationPtr client;
    createInstance(client, u"Excel.Application");
    client->GetWorkbooks()->Open(folder->file.u16string());
    client->PutVisible(VARIANT_TRUE);
    return ComPtr<Application>(static_cast<Application*>(client.get()));
}

void quit(Application& app) {
    app.activeBook()->markSaved();
    user::quit(app);
}

// What the window does after an event (queued work, a layout pass) and its painting, done now.
void settle(QWidget& window) {
    QCoreApplication::processEvents();
    window.repaint();
}

// The register in a window, shown and painted, for the steps measured in it.
struct Shown {
    ComPtr<Application> app = openRegister();
    std::unique_ptr<desktop::SpreadsheetWindow> window =
        std::make_unique<desktop::SpreadsheetWindow>(app, *backend);
    Shown() {
        window->resize(1100, 720);
        window->show();
        settle(*window);
        user::select(*app, {}, u"C40");
        window->refresh();
    }
    ~Shown() {
        window.reset();
        quit(*app);
    }
    desktop::GridView& grid() { return window->grid(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent down(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&grid(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(&grid(), &up);
        settle(*window);
    }
};

std::unique_ptr<Shown> shownOnce; // gone before the application

Shown& shown() {
    if (!shownOnce)
        shownOnce = std::make_unique<Shown>();
    return *shownOnce;
}

void openInWindow(benchmark::State& state) {
    for (auto _ : state) {
        ComPtr<Application> app = openRegister();
        auto window = std::make_unique<desktop::SpreadsheetWindow>(app, *backend);
        window->resize(1100, 720);
        window->show();
        settle(*window);
        state.PauseTiming();
        window.reset();
        quit(*app);
        state.ResumeTiming();
    }
}
BENCHMARK(openInWindow)->Unit(benchmark::kMillisecond);

// Level button 1 (every block collapsed to its unit row) and then 2 (every block open), each timed.
void collapseToLevel1(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state) {
        s.window->gutter().showLevel(1);
        settle(*s.window);
        state.PauseTiming();
        s.window->gutter().showLevel(2);
        settle(*s.window);
        state.ResumeTiming();
    }
}
BENCHMARK(collapseToLevel1)->Unit(benchmark::kMillisecond);

void expandToLevel2(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state) {
        state.PauseTiming();
        s.window->gutter().showLevel(1);
        settle(*s.window);
        state.ResumeTiming();
        s.window->gutter().showLevel(2);
        settle(*s.window);
    }
}
BENCHMARK(expandToLevel2)->Unit(benchmark::kMillisecond);

void keyDown(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state) {
        s.press(Qt::Key_Down);
        state.PauseTiming();
        s.press(Qt::Key_Up);
        state.ResumeTiming();
    }
}
BENCHMARK(keyDown)->Unit(benchmark::kMillisecond);

void pageDown(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state) {
        s.press(Qt::Key_PageDown);
        state.PauseTiming();
        s.press(Qt::Key_PageUp);
        state.ResumeTiming();
    }
}
BENCHMARK(pageDown)->Unit(benchmark::kMillisecond);

void ctrlEnd(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state) {
        s.press(Qt::Key_End, Qt::ControlModifier);
        state.PauseTiming();
        s.press(Qt::Key_Home, Qt::ControlModifier);
        user::select(*s.app, {}, u"C40");
        s.window->refresh();
        state.ResumeTiming();
    }
}
BENCHMARK(ctrlEnd)->Unit(benchmark::kMillisecond);

// A digit typed into an empty cell and entered with Enter.
void typeAndEnter(benchmark::State& state) {
    Shown& s = shown();
    for (auto _ : state) {
        user::select(*s.app, {}, u"H40");
        s.window->refresh();
        s.press(Qt::Key_7);
        s.press(Qt::Key_Return);
        state.PauseTiming();
        user::clear(*s.app, {}, u"H40");
        s.window->refresh();
        state.ResumeTiming();
    }
}
BENCHMARK(typeAndEnter)->Unit(benchmark::kMillisecond);

// Find (Ctrl+F) of the last unit by its name, from the top of the register: the search runs over the
// whole sheet, and the window shows the cell found.
void findLastUnit(benchmark::State& state) {
    Shown& s = shown();
    const std::u16string address = engine::formatAddress({int(folder->blocks.back().unitRow) - 1, 0}, false);
    const QString name = QString::fromStdU16String(user::cell(*s.app, {}, address).shown);
    s.window->find();
    auto* dialog = s.window->findChild<desktop::FindDialog*>();
    auto* next = dialog->findChild<QPushButton*>(QStringLiteral("findNext"));
    dialog->field().setText(name);
    for (auto _ : state) {
        next->click();
        settle(*s.window);
        state.PauseTiming();
        if (s.grid().currentIndex().row() + 1 != folder->blocks.back().unitRow)
            state.SkipWithError("the unit was not found");
        user::select(*s.app, {}, u"C40");
        s.window->refresh();
        state.ResumeTiming();
    }
    dialog->close();
}
BENCHMARK(findLastUnit)->Unit(benchmark::kMillisecond);

void wheelScroll(benchmark::State& state) {
    Shown& s = shown();
    auto roll = [&](int delta) {
        QPoint at = s.grid().viewport()->rect().center();
        QWheelEvent wheel(at, s.grid().viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(s.grid().viewport(), &wheel);
        settle(*s.window);
    };
    for (auto _ : state) {
        roll(-120);
        state.PauseTiming();
        roll(120);
        state.ResumeTiming();
    }
}
BENCHMARK(wheelScroll)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const int units = bench::unitsArgument(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    folder = &bench::registerFolder(units);
    QApplication qapp(argc, argv);
    desktop::installFonts();
    desktop::QtBackend qt;
    backend = &qt;
    ui::setBackend(&qt);
    engine::automation::registerApplicationClass();
    CoInitialize(nullptr);
    benchmark::RunSpecifiedBenchmarks();
    shownOnce.reset();
    benchmark::Shutdown();
    CoUninitialize();
    ui::setBackend(nullptr);
    return 0;
}
