// Random sequences of commands, undos, redos and cursor moves on the page
// model and the operations, without a window: whatever was undone and
// redone on the way, the sounding at the end is the one that replaying only
// the steps still done gives, byte for byte in the saved file. Undo before
// the first step and redo past the last change nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "model/ReadingsPage.h"
#include "model/SoundingReader.h"
#include "model/SoundingWriter.h"
#include "model/Units.h"
#include "ops/AutoClean.h"
#include "ops/ChannelShift.h"
#include "ops/Combine.h"
#include "ops/DepthAxis.h"
#include "ops/GpsSentence.h"
#include "ops/History.h"
#include "support/SoundingCompare.h"
#include "support/TestSupport.h"

namespace qm::test {
namespace {

// One command with the cursor it ran at, so that it can be run again.
struct Command {
    int kind = 0;
    int a = 0;
    float f = 0.0f;
    Cursor cursor;
};
constexpr int kKinds = 12;

struct Session {
    ChannelTypeTable tables;
    std::unique_ptr<Sounding> s = std::make_unique<Sounding>();
    std::unique_ptr<ReadingsPage> page;
    History history;

    Session(const ChannelTypeTable& t, const std::string& path) : tables(t) {
        EXPECT_TRUE(readSoundingFile(path, tables, 0, *s).ok);
        page = std::make_unique<ReadingsPage>(*s, tables, 0);
        page->startAfterLoad();
    }

    // Runs `c`; true when it became a step.
    bool run(const Command& c) {
        Sounding& snd = *s;
        snd.dataIndex = c.cursor.dataIndex;
        snd.pageRow = c.cursor.pageRow;
        const std::size_t stepsBefore = history.steps().size(), doneBefore = history.done();
        const int channel = 1 + c.a % std::max<int>(1, snd.channelCount);
        if (c.kind == 0) {  // a typed page value, committed
            const int row = 1 + c.a % kPageRows;
            const int32_t k = page->readingIndexOfRow(row);
            if (k < 1 || k > snd.readingCount || channel > snd.channelCount) return false;
            const float before = snd.value(channel, k);
            std::vector<std::string> messages;
            page->setCellText(channel, row, std::to_string(static_cast<int>(c.f * 100)));
            page->commit(channel, row, messages);
            Step step = valueStep(channel, k, before, snd.value(channel, k), c.cursor, c.cursor);
            if (!step.data.empty()) history.record(std::move(step));
        } else {
            StepCapture capture(snd);
            switch (c.kind) {
                case 1: autoClean(snd); break;
                case 2: {
                    std::vector<std::string> offsets(static_cast<std::size_t>(channel), "0");
                    offsets.back() = std::to_string(c.f);
                    shiftReadings(snd, offsets, '.');
                    break;
                }
                case 3: removeNegatives(snd); break;
                case 4: changeStartDepth(snd, std::to_string(c.f), '.'); break;
                case 5: changeIncrement(snd, c.a % 2 ? "0.025" : "0.02", '.'); break;
                case 6: setDepthFormat(snd, static_cast<int16_t>(c.a % 2)); break;
                case 7: changeChannelUnit(snd, tables, channel, 1 + c.a % std::max(1, int(tables.unitCount[snd.channelType[channel]]))); break;
                case 8: snd.depthDecimals = static_cast<int16_t>(c.a % 2 ? 3 : 2); break;
                case 9:
                    if (c.a % 2)
                        clearGps(snd);
                    else
                        acceptGpsEntry(snd, gpsEntryFromFields(decodeGps("GGA,1,4807.038,N,1131,E,1,8,0.9,5,M,4,M,,0000*00")));
                    break;
                case 10:
                    if (c.a % 2)
                        page->insertReading();
                    else
                        page->deleteReading();
                    break;
                default: {
                    SecondSounding second;
                    if (readSecondFile(samplesDir() + "/sample-older-push2.cpt", snd, tables, 0, second).ok)
                        appendSecondSounding(snd, second, "", true, 0, false);
                }
            }
            updatePageDepths(snd, false);
            if (auto step = capture.finish(snd, "", "")) history.record(std::move(*step));
        }
        return history.steps().size() != stepsBefore || history.done() != doneBefore;
    }

    std::string saved() const { return soundingFileText(*s, tables, '.'); }
};

TEST(HistoryProperty, TheEndOfAnyPathIsTheReplayOfTheStepsStillDone) {
    const ChannelTypeTable tables = loadChannelTypeTables(dataDir()).table;
    for (const char* sample : {"sample-older.cpt", "sample-nopore.cpt"}) {
        for (unsigned seed = 1; seed <= 12; ++seed) {
            SCOPED_TRACE(std::string(sample) + " seed " + std::to_string(seed));
            std::mt19937 rng(seed);
            Session session(tables, samplesDir() + "/" + sample);
            std::vector<Command> kept;  // mirrors the history's steps
            for (int event = 0; event < 30; ++event) {
                const int roll = static_cast<int>(rng() % 20);
                if (roll < 12) {
                    Command c{static_cast<int>(rng() % kKinds), static_cast<int>(rng() % 1000),
                              static_cast<float>(static_cast<int>(rng() % 400) - 100) / 100.0f,
                              {session.s->dataIndex, session.s->pageRow}};
                    const std::size_t done = session.history.done();
                    if (session.run(c)) {
                        kept.resize(done);
                        kept.push_back(c);
                    }
                } else if (roll < 16) {
                    const std::string bytes = session.saved();
                    if (!session.history.undo(*session.s)) {
                        EXPECT_EQ(bytes, session.saved()) << "undo of nothing";
                    }
                } else if (roll < 19) {
                    const std::string bytes = session.saved();
                    if (!session.history.redo(*session.s)) {
                        EXPECT_EQ(bytes, session.saved()) << "redo of nothing";
                    }
                } else {
                    session.page->depthKeyDown(1, rng() % 2 ? keys::kDown : keys::kUp);
                }
                ASSERT_EQ(kept.size(), session.history.steps().size());
            }
            updatePageDepths(*session.s, false);

            Session replay(tables, samplesDir() + "/" + sample);
            for (std::size_t i = 0; i < session.history.done(); ++i) replay.run(kept[i]);
            replay.s->dataIndex = session.s->dataIndex;
            replay.s->pageRow = session.s->pageRow;
            EXPECT_EQ(soundingDifference(*replay.s, *session.s), "");
            EXPECT_TRUE(replay.saved() == session.saved());
            // The record holds one line for each step still done.
            const std::string record = session.history.recordText();
            EXPECT_EQ(static_cast<std::size_t>(std::count(record.begin(), record.end(), '\n')), session.history.done());
        }
    }
}

// 150 changes are all kept: undoing them gives the sounding as opened.
TEST(HistoryProperty, OneHundredAndFiftyChangesAllUndo) {
    const ChannelTypeTable tables = loadChannelTypeTables(dataDir()).table;
    Session opened(tables, samplesDir() + "/sample-nopore.cpt"), session(tables, samplesDir() + "/sample-nopore.cpt");
    std::mt19937 rng(150);
    for (int tries = 0; session.history.done() < 150 && tries < 1000; ++tries)
        session.run({static_cast<int>(rng() % kKinds), static_cast<int>(rng() % 1000),
                     static_cast<float>(static_cast<int>(rng() % 400) - 100) / 100.0f,
                     {session.s->dataIndex, session.s->pageRow}});
    ASSERT_EQ(session.history.done(), 150u);
    session.history.goTo(*session.s, 0);
    updatePageDepths(*session.s, false);
    EXPECT_EQ(session.history.dropped(), 0u);
    EXPECT_EQ(soundingDifference(*opened.s, *session.s), "");
    EXPECT_TRUE(opened.saved() == session.saved());
}

}  // namespace
}  // namespace qm::test
