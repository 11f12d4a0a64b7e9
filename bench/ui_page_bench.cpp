// The readings page of the real window with 10000 readings of 10 channels
// and the profile beside it (a 1920 x 1080 window): one Down key on the
// bottom row (RefreshDisplay over every reading, the repaint of the page's
// cells, the profile's cursor line and band), File > Open of the big
// sounding until the page and the profile are drawn, and the drawing of the
// profile's four tracks alone. Runs offscreen unless QT_QPA_PLATFORM says
// otherwise.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <filesystem>
#include <memory>

#include "BigSounding.h"
#include "ops/TrackScales.h"
#include "model/ProfileData.h"
#include "model/SafeFile.h"
#include "model/SoundingReader.h"
#include "ui/MainForm.h"
#include "ui/ProfilePainter.h"
#include "ui/ProfileView.h"

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
    form->resize(1920, 1080);
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
    auto* profile = form->findChild<ui::ProfileView*>("profileView");
    // /1 with the profile shown, /0 with it switched off (View > Profile).
    if (!state.range(0)) form->findChild<QAction*>("mnuProfile")->trigger();
    if (!profile || profile->isVisible() != (state.range(0) == 1)) {
        state.SkipWithError("the profile is not shown as asked");
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
    const int drawings = profile->trackDrawings();
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
    if (profile->trackDrawings() != drawings) state.SkipWithError("a Down drew the profile's tracks again");
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
        auto* profile = form->findChild<ui::ProfileView*>("profileView");
        if (!profile || profile->trackDrawings() != 1) {
            state.SkipWithError("the profile was not drawn once");
            break;
        }
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

// The profile of the big sounding: its data from the Sounding, and the
// drawing of tip, sleeve, pore pressure (three channels) and friction ratio
// into a 560 x 1000 image, as the view draws them.
void BM_ProfileBuild(benchmark::State& state) {
    auto s = std::make_unique<Sounding>();
    readSoundingText(bench::bigSoundingFile(true), bench::benchTables(), 0, *s);
    for (auto _ : state) benchmark::DoNotOptimize(buildProfile(*s, bench::benchTables(), false, 1.5));
}

void BM_ProfileDraw(benchmark::State& state) {
    auto s = std::make_unique<Sounding>();
    readSoundingText(bench::bigSoundingFile(true), bench::benchTables(), 0, *s);
    ProfileData data = buildProfile(*s, bench::benchTables(), false, 1.5);
    applyScales(data);
    std::vector<const ProfileTrack*> tracks;
    for (const ProfileTrack& t : data.tracks)
        if (!t.optional) tracks.push_back(&t);
    if (tracks.size() != 4 || s->readingCount != kMaxReadings) {
        state.SkipWithError("not four tracks of 10000 readings");
        return;
    }
    QImage image(560, 1000, QImage::Format_ARGB32_Premultiplied);
    ui::ProfileStyle style;
    style.font = QApplication::font();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        const ui::ProfileGeometry g =
            ui::layoutProfile(QRectF(image.rect()), tracks, style, data.axisMin, data.axisMax);
        ui::drawProfile(p, g, data, tracks, style);
    }
}

BENCHMARK(BM_ProfileBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProfileDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageModelRefresh)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CellsRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DownAtBottomRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
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
