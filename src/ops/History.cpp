#include "ops/History.h"

namespace qm {

namespace {

std::size_t textBytes(const std::vector<std::string>& texts) {
    std::size_t n = texts.capacity() * sizeof(std::string);
    for (const std::string& t : texts) n += t.capacity() > 15 ? t.capacity() + 1 : 0;
    return n;
}

std::size_t viewBytes(const PageView& v) {
    return v.shaded.capacity() * sizeof(v.shaded[0]) + (v.selected.editOriginalText.capacity() > 15 ? v.selected.editOriginalText.capacity() : 0);
}

Cursor cursorOf(const Sounding& s) { return {s.dataIndex, s.pageRow}; }

void place(Sounding& s, const Cursor& c) {
    s.dataIndex = c.dataIndex;
    s.pageRow = c.pageRow;
}

}  // namespace

std::size_t Step::bytes() const {
    return sizeof(Step) + name.capacity() + description.capacity() + data.bytes() - sizeof(SoundingDelta) +
           viewBytes(viewBefore) + viewBytes(viewAfter) + textBytes(windowBefore) + textBytes(windowAfter);
}

StepCapture::StepCapture(const Sounding& s, PageView view, std::vector<std::string> window)
    : before_(std::make_unique<Sounding>(s)), view_(std::move(view)), window_(std::move(window)) {}

std::optional<Step> StepCapture::finish(Sounding& after, std::string name, std::string description, PageView view,
                                        std::vector<std::string> window) {
    Step step;
    step.data = SoundingDelta::between(*before_, after);
    if (step.data.empty()) return std::nullopt;
    step.name = std::move(name);
    step.description = std::move(description);
    step.cursorBefore = cursorOf(*before_);
    step.cursorAfter = cursorOf(after);
    step.viewBefore = std::move(view_);
    step.viewAfter = std::move(view);
    step.windowBefore = std::move(window_);
    step.windowAfter = std::move(window);
    return step;
}

Step valueStep(int c, int32_t r, float before, float after, Cursor cursorBefore, Cursor cursorAfter) {
    Step step;
    step.data = SoundingDelta::ofValue(c, r, before, after);
    step.cursorBefore = cursorBefore;
    step.cursorAfter = cursorAfter;
    return step;
}

void History::record(Step step) {
    while (steps_.size() > done_) {
        bytes_ -= steps_.back().bytes();
        steps_.pop_back();
    }
    bytes_ += step.bytes();
    steps_.push_back(std::move(step));
    done_ = steps_.size();
    while (steps_.size() > kKeptSteps && (steps_.size() > kMaxSteps || bytes_ > kByteBudget)) {
        bytes_ -= steps_.front().bytes();
        steps_.pop_front();
        --done_;
        ++dropped_;
    }
}

const Step* History::undo(Sounding& s) {
    if (done_ == 0) return nullptr;
    const Step& step = steps_[--done_];
    step.data.undo(s);
    place(s, step.cursorBefore);
    return &step;
}

const Step* History::redo(Sounding& s) {
    if (done_ >= steps_.size()) return nullptr;
    const Step& step = steps_[done_++];
    step.data.redo(s);
    place(s, step.cursorAfter);
    return &step;
}

History::Moved History::goTo(Sounding& s, std::size_t done) {
    Moved moved;
    if (done > steps_.size()) return moved;
    while (done_ > done) {
        moved = {undo(s), true, moved.window};
        if (!moved.step->windowBefore.empty()) moved.window = &moved.step->windowBefore;
    }
    while (done_ < done) {
        moved = {redo(s), false, moved.window};
        if (!moved.step->windowAfter.empty()) moved.window = &moved.step->windowAfter;
    }
    return moved;
}

std::string History::recordText() const {
    std::string text;
    for (std::size_t i = 0; i < done_; ++i) text += steps_[i].description + "\r\n";
    return text;
}

}  // namespace qm
