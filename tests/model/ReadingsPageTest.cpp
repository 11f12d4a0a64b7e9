// The readings page without widgets, run over the scripts of
// tests/cases/readings-page.txt. A script starts with
//   page COUNT MISSING MODE    COUNT readings every 0.02 m (older layout):
//                              channel 1 (tip, KPA) holds 100 + r, channel 2
//                              (sleeve, KPA) 1000 + r, or no data for its
//                              first MISSING; speed 2 cm/s; MODE 1 is the
//                              comma mode
// and goes on with actions and checks, one a line:
//   key COLUMN ROW KEY [TIMES] a key (down, up, insert, delete, enter) in
//                              page column 0..11 (0 depth, 11 speed); ROW *
//                              is the cursor row
//   click COLUMN ROW           a click on a channel cell
//   type COLUMN ROW TEXT       the cell's text as typed
//   commit COLUMN ROW          the commit of the cell's text: 1 or 0, then
//                              the messages, in `last`
//   speed R VALUE              the speed of reading R, then a refresh
//   insert                     Insert as the menu-less call: 1 or 0 in `last`
//   expect QUERY = TEXT        index, row, count, labels, last, text C R,
//                              background C R, colour C R, value C R, depth R
#include "model/ReadingsPage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "model/NumberText.h"
#include "model/SoundingReader.h"
#include "support/SoundingFileBuilder.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

std::string joined(const std::vector<std::string>& messages) {
    std::string all;
    for (const std::string& m : messages) all += "|" + m;
    return all;
}

struct Page {
    // Raw readings with a calibration of 1 are the values; the load sets
    // the leading readings and the cursor.
    Page(int count, int missing, int mode) : s(std::make_unique<Sounding>()) {
        test::SoundingFileBuilder b(false);
        b.channel({"1", "TIP", "1", "0", "1 KPA", "KPA", "1"}).channel({"2", "SLEEVE", "1", "0", "1 KPA", "KPA", "1"});
        for (int r = 1; r <= count; ++r) b.row(0.02 * r, 2.0, {100.0 + r, r <= missing ? -32768.0 : 1000.0 + r});
        EXPECT_TRUE(readSoundingText(b.text(), test::shippedTables(), 0, *s).ok);
        page = std::make_unique<ReadingsPage>(*s, test::shippedTables(), mode);
        page->startAfterLoad();
    }
    std::unique_ptr<Sounding> s;
    std::unique_ptr<ReadingsPage> page;
    std::string last;

    void act(std::istringstream& in, const std::string& verb) {
        static const std::map<std::string, int> codes = {
            {"down", keys::kDown}, {"up", keys::kUp}, {"insert", keys::kInsert}, {"delete", keys::kDelete}, {"enter", keys::kEnter}};
        int c = 0, r = 0, times = 1;
        std::string row, word;
        float v = 0;
        if (verb == "speed") {
            in >> r >> v;
            s->speed[r] = v;
            return page->refreshDisplay();
        }
        if (verb == "insert") {
            last = std::to_string(page->insertReading());
            return;
        }
        in >> c >> row;
        r = row == "*" ? 0 : std::stoi(row);
        std::vector<std::string> messages;
        if (verb == "key") {
            in >> word >> times;
            for (int i = 0; i < std::max(times, 1); ++i) {
                const int at = r ? r : s->pageRow, key = codes.at(word);
                messages = (c == kDepthColumn   ? page->depthKeyDown(at, key)
                            : c == kSpeedColumn ? page->speedKeyDown(at, key)
                                                : page->channelKeyDown(c, at, key)).messages;
            }
        } else if (verb == "click") {
            messages = page->channelClick(c, r).messages;
        } else if (verb == "type") {
            std::getline(in >> std::ws, word);
            return page->setCellText(c, r, word == "''" ? "" : word);
        } else if (verb == "commit") {
            const bool stored = page->commit(c, r, messages);
            last = std::to_string(stored) + joined(messages);
            return;
        } else {
            throw std::invalid_argument("unknown action " + verb);
        }
        last = joined(messages);
    }

    std::string query(std::istringstream& in) {
        std::string what;
        int c = 0, r = 0;
        in >> what;
        if (what == "index") return std::to_string(s->dataIndex);
        if (what == "row") return std::to_string(s->pageRow);
        if (what == "count") return std::to_string(s->readingCount);
        if (what == "labels") return page->dataIndexLabel() + "|" + page->numberOfReadingsLabel();
        if (what == "last") return last;
        if (what == "depth") return numberText((in >> r, s->depth[r]), '.');
        in >> c >> r;
        if (what == "value") return numberText(s->value(c, r), '.');
        const PageCell& cell = page->cell(c, r);
        if (what == "text") return cell.text;
        const Rgb colour = what == "colour" ? cell.textColor : cell.background;
        for (const auto& [name, rgb] : {std::pair{"white", kWhite}, {"grey", kLightGrey}, {"green", kGreen}, {"red", kRed}, {"black", kBlack}})
            if (colour == rgb) return name;
        return "other";
    }
};

TEST(ReadingsPage, EveryScriptGivesWhatItExpects) {
    std::ifstream file(std::string(QM_CASES_DIR) + "/readings-page.txt");
    ASSERT_TRUE(file);
    std::unique_ptr<Page> p;
    int checks = 0, number = 0;
    for (std::string line; std::getline(file, line);) {
        ++number;
        std::istringstream in(line);
        std::string verb;
        if (!(in >> verb) || verb[0] == '#') continue;
        SCOPED_TRACE("readings-page.txt:" + std::to_string(number) + ": " + line);
        if (verb == "page") {
            int count = 0, missing = 0, mode = 0;
            in >> count >> missing >> mode;
            p = std::make_unique<Page>(count, missing, mode);
        } else if (verb == "expect") {
            const std::string actual = p->query(in);
            std::string expected;
            std::getline(in >> std::ws, expected);
            EXPECT_EQ(actual, expected.substr(expected.find('=') + 1 + (expected.size() > expected.find('=') + 1)));
            ++checks;
        } else {
            p->act(in, verb);
        }
    }
    EXPECT_GT(checks, 40);
}

}  // namespace
}  // namespace qm
