#pragma once
// The undo history of one sounding: every command that changes the sounding
// becomes a step that knows what it changed, can put it back and apply it
// again, and says in words what it did. The window binds it to its History
// menu; the batch tool keeps one too and writes its record with --log.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/ReadingsPage.h"
#include "model/Sounding.h"
#include "model/SoundingDelta.h"

namespace qm {

struct Cursor {
    int32_t dataIndex = 0;
    int16_t pageRow = 0;
};

struct Step {
    std::string name;         // for the captions: "Undo AutoClean For Interp"
    std::string description;  // the History list, the saved record and --log
    SoundingDelta data;
    Cursor cursorBefore, cursorAfter;
    // What the window showed beside the sounding, so an undo gives the same
    // window back: the page's highlight and the window's own texts (the GPS
    // boxes and fields). The batch tool leaves them empty.
    PageView viewBefore, viewAfter;
    std::vector<std::string> windowBefore, windowAfter;

    std::size_t bytes() const;
};

// A step in the making: taken before a command runs, finished after it.
class StepCapture {
   public:
    explicit StepCapture(const Sounding& s, PageView view = {}, std::vector<std::string> window = {});
    // The sounding as the command found it, for the description.
    const Sounding& before() const { return *before_; }
    // A step when the command changed the sounding (the cursor alone is no
    // change), otherwise nothing. `after` is looked at, not changed.
    std::optional<Step> finish(Sounding& after, std::string name, std::string description, PageView view = {},
                               std::vector<std::string> window = {});

   private:
    std::unique_ptr<Sounding> before_;
    PageView view_;
    std::vector<std::string> window_;
};

// A committed page value: the step is made without a copy of the sounding.
Step valueStep(int c, int32_t r, float before, float after, Cursor cursorBefore, Cursor cursorAfter);

class History {
   public:
    // At least this many of the newest steps are always kept; older ones
    // stay while the whole history is within kByteBudget and kMaxSteps.
    static constexpr std::size_t kKeptSteps = 100;
    static constexpr std::size_t kMaxSteps = 1000;
    static constexpr std::size_t kByteBudget = std::size_t{96} << 20;

    // The steps undone so far are dropped: a new command starts a new branch.
    void record(Step step);

    const Step* nextUndo() const { return done_ > 0 ? &steps_[done_ - 1] : nullptr; }
    const Step* nextRedo() const { return done_ < steps_.size() ? &steps_[done_] : nullptr; }
    // Puts the last done step back (or applies the next undone one again):
    // the sounding and cursor as they were before (after) it. Returns the
    // step, nullptr when there is nothing to undo (redo).
    const Step* undo(Sounding& s);
    const Step* redo(Sounding& s);

    // Undoes or redoes until `done` steps are done. Returns the last step
    // moved over and whether it was undone; nullptr when nothing moved.
    // `window` holds the window texts of the last step moved over that kept
    // them: a value step keeps none, so the last step alone may not know
    // the GPS boxes of where the jump lands.
    struct Moved {
        const Step* step = nullptr;
        bool undone = false;
        const std::vector<std::string>* window = nullptr;
    };
    Moved goTo(Sounding& s, std::size_t done);

    const std::deque<Step>& steps() const { return steps_; }
    std::size_t done() const { return done_; }
    // How many of the oldest steps were let go to stay within the limits.
    std::size_t dropped() const { return dropped_; }
    std::size_t bytes() const { return bytes_; }

    // The record of the steps done, one description a line (CR LF).
    std::string recordText() const;

   private:
    std::deque<Step> steps_;
    std::size_t done_ = 0;
    std::size_t dropped_ = 0;
    std::size_t bytes_ = 0;
};

}  // namespace qm
