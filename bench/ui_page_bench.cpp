// The readings page of the real window with 10000 readings of 10 channels:
// one Down key on the bottom row (RefreshDisplay over every reading and the
// repaint of the page's cells), and File > Open of the big sounding until
// the page is filled and painted. Runs offscreen unless QT_QPA_PLATFORM says
// otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
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

void BM_DownAtBottomRow(benchmark::State& state) {
    auto form = makeWindow();
    if (!form->openSoundingFile(bigFilePath()) || form->sounding().readingCount != kMaxReadings) {
        state.SkipWithError(("the big sounding did not load: " + lastBoxes->last).c_str());
        return;
    }
    QWidget* grid = form->findChild<QWidget*>("readingsGrid");
    QWidget* bottom = form->findChild<QLineEdit*>("txtDepth_24");
    for (int r = form->sounding().pageRow; r < 24; ++r)
        pressDown(form->findChild<QLineEdit*>(QStringLiteral("txtDepth_%1").arg(r)));
    for (auto _ : state) {
        if (form->sounding().dataIndex >= form->sounding().readingCount) {
            state.PauseTiming();
            form->sounding().dataIndex = 24;
            form->refreshDisplay();
            state.ResumeTiming();
        }
        pressDown(bottom);
        grid->repaint();
    }
}

void BM_OpenUntilPageFilled(benchmark::State& state) {
    const std::string path = bigFilePath();
    for (auto _ : state) {
        state.PauseTiming();
        auto form = makeWindow();
        QWidget* grid = form->findChild<QWidget*>("readingsGrid");
        state.ResumeTiming();
        if (!form->openSoundingFile(path)) {
            state.SkipWithError(("the big sounding did not load: " + lastBoxes->last).c_str());
            break;
        }
        grid->repaint();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

// The parts of one Down: the page model's refresh alone, and the repaint of
// the cells alone (every text changed, as after a scroll).
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
    QWidget* grid = form->findChild<QWidget*>("readingsGrid");
    for (auto _ : state) {
        ++form->sounding().dataIndex;
        if (form->sounding().dataIndex >= kMaxReadings) form->sounding().dataIndex = 24;
        state.PauseTiming();
        form->page().refreshDisplay();
        state.ResumeTiming();
        form->renderPage();
        if (state.range(0)) grid->repaint();
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
