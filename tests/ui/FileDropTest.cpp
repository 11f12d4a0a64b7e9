// A file dropped on the window: before a load it opens as File > Open opens
// the file its dialog returns; after a load it changes nothing.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "support/SoundingCompare.h"
#include "ui/UiTestSupport.h"

namespace qm::uitest {
namespace {

// What the user can tell apart after a drop or an open: the messages, the
// file label, File > Open's state and the first depth on the page.
std::string seen(const Window& win) {
    std::string s = win.w<QLabel>("lblFileName")->text().toStdString() +
                    (win.form->action("MenuFileOpen")->isEnabled() ? " open on " : " open off ") +
                    shown(win.w<QLineEdit>("txtDepth_1")).toStdString();
    for (const std::string& m : win.messages->texts) s += "\n" + m;
    return s;
}

TEST(FileDrop, OpensAsFileOpenBeforeALoadAndChangesNothingAfter) {
    const TempDir dir;
    const std::string garbage = dir.file("garbage.cpt");
    writeFile(garbage, "not a sounding\r\n");
    const std::string older = samplesDir() + "/sample-older.cpt", newer = samplesDir() + "/sample-newer.cpt";
    struct Case {
        const char* name;
        std::string loadedFirst;  // by File > Open; empty: nothing loaded
        std::vector<std::string> dropped;
        bool taken;               // the window takes the drag
        const char* message;      // the drop's own message, if any
    };
    const Case cases[] = {
        {"a sounding dropped on the empty window", "", {older}, true, nullptr},
        {"a refused file gets Open's message", "", {garbage}, true, nullptr},
        {"a drop while a sounding is loaded", newer, {older}, true,
         "A sounding is open already. To open another file, restart the program."},
        {"two files are refused", "", {older, newer}, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The window the drop goes to, and one that does by File > Open what
        // the drop should do.
        Window dropped, opened;
        if (!c.loadedFirst.empty()) {
            dropped.open(c.loadedFirst);
            opened.open(c.loadedFirst);
        }
        EXPECT_EQ(dropFiles(dropped.form.get(), c.dropped), c.taken);
        if (c.taken && c.loadedFirst.empty()) opened.open(c.dropped.front());
        if (c.message) opened.messages->texts.push_back(c.message);

        EXPECT_EQ(seen(dropped), seen(opened));
        EXPECT_EQ(test::soundingDifference(dropped.form->sounding(), opened.form->sounding()), "");
    }
}

}  // namespace
}  // namespace qm::uitest
