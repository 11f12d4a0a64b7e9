// The readings page of the real window with 10000 readings of 10 channels:
// one Down key on the bottom row (RefreshDisplay over every reading and the
// repaint of the page's cells), and File > Open of the big sounding until
// the page is filled and painted. Runs offscreen unless QT_QPA_PLATFORM says
// otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <filesystem>
#include <memory>

#include "BigSounding.h"
#include "model/SafeFile.h"
#include "ui/MainForm.h"

namespace {

namespace fs = std::filesystem;
using namespace qm;

// Keeps the last text, so a refused load can say why.
class SilentBoxes : public ui::MessageBoxes {
   public:
    void message(const std::string& text) override { last = text; }
    bool question(const std::string&) override { return false; }
    std::string last;
};

class NoDialog : public ui::FileDialogBackend {
   public:
    std::string showOpen(const ui::CommonDialog&) override { return {}; }
    std::string showSave(const ui::CommonDialog&) override { return {}; }
};

std::string bigFilePath() {
    const fs::path folder = fs::temp_directory_path() / "quillmere-bench";
    fs::create_directories(folder);
    const fs::path p = folder / "big-newer.cpt";
    if (!fs::exists(p)) writeFileSafely(p.string(), bench::bigSoundingFile(true));
    return p.string();
}

SilentBoxes* lastBoxes = nullptr;

std::unique_ptr<ui::MainForm> makeWindow() {
    ui::MainFormPlatform p;
    auto boxes = std::make_unique<SilentBoxes>();
    lastBoxes = boxes.get();
    p.messageBoxes = std::move(boxes);
    p.fileDialog = std::make_unique<NoDialog>();
    p.endRun = [] {};
    p.commaDecimalMode = 0;
    auto form = std::make_unique<ui::MainForm>(std::move(p));
    form->resize(1366, 768);
    form->show();
    QApplication::processEvents();
    return form;
}

void pressDown(QWidget* cell) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(cell, &press);
}

// Paints what the last command asked to repaint, as the event loop would
// next (the page's cells are painted by the canvas over them).
void paintPending() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

// Counts the paint events of one widget and keeps the area of the last, to
// make sure paintPending paints the whole page.
class PaintCounter : public QObject {
   public:
    int paints = 0;
    QRect area;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            area = static_cast<QPaintEvent*>(e)->rect();
        }
        return false;
    }
};

void BM_DownAtBottomRow(benchmark::State& state) {
    auto form = makeWindow();
    if (!form->openSoundingFile(bigFilePath()) || form->sounding().readingCount != kMaxReadings) {
        state.SkipWithError(("the big sounding did not load: " + lastBoxes->last).c_str());
        return;
    }
    QWidget* bottom = form->findChild<QLineEdit*>("txtDepth_24");
    for (int r = form->sounding().pageRow; r < 24; ++r)
        pressDown(form->findChild<QLineEdit*>(QStringLiteral("txtDepth_%1").arg(r)));
    paintPending();
    // The cells are drawn by the canvas over them: one paint of all of it.
    PaintCounter counter;
    QWidget* canvas = form->findChild<QWidget*>("readingsCanvas");
    canvas->installEventFilter(&counter);
    pressDown(bottom);
    paintPending();
    canvas->removeEventFilter(&counter);
    if (counter.paints != 1 || counter.area != canvas->rect()) {
        state.SkipWithError("a scroll did not repaint the cells");
        return;
    }
    for (auto _ : state) {
        if (form->sounding().dataIndex >= form->sounding().readingCount) {
            state.PauseTiming();
            form->sounding().dataIndex = 24;
            form->refreshDisplay();
            state.ResumeTiming();
        }
        pressDown(bottom);
        paintPending();
    }
}

void BM_OpenUntilPageFilled(benchmark::State& state) {
    const std::string path = bigFilePath();
    for (auto _ : state) {
        state.PauseTiming();
        auto form = makeWindow();
        state.ResumeTiming();
        if (!form->openSoundingFile(path)) {
            state.SkipWithError(("the big sounding did not load: " + lastBoxes->last).c_str());
            break;
        }
        paintPending();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

// The parts of one Down: the page model's refresh alone, and the cells'
// update from the model, alone (/0) and with their repaint (/1), every text
// changed as after a scroll.
void BM_PageModelRefresh(benchmark::State& state) {
    auto form = makeWindow();
    form->openSoundingFile(bigFilePath());
    for (auto _ : state) {
        ++form->sounding().dataIndex;
        if (form->sounding().dataIndex >= kMaxReadings) form->sounding().dataIndex = 24;
        form->page().refreshDisplay();
    }
}

void BM_CellsRepaint(benchmark::State& state) {
    auto form = makeWindow();
    form->openSoundingFile(bigFilePath());
    for (auto _ : state) {
        ++form->sounding().dataIndex;
        if (form->sounding().dataIndex >= kMaxReadings) form->sounding().dataIndex = 24;
        state.PauseTiming();
        form->page().refreshDisplay();
        state.ResumeTiming();
        form->renderPage();
        if (state.range(0)) paintPending();
    }
}

BENCHMARK(BM_PageModelRefresh)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellsRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DownAtBottomRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenUntilPageFilled)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
