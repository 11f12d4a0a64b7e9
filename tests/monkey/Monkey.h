#pragma once
// A seeded monkey on the main window: random keys, typing, clicks, menu
// commands, panel and dialog buttons and list picks, with scripted answers
// for the file dialogs and the Yes/No boxes; after each event the window is
// compared with the page model and the Sounding, the Sounding is saved and
// read back, and every file written is checked.

#include <cstdint>
#include <string>

namespace qm::monkey {

struct MonkeyRun {
    std::string name;       // names the run in reports; part of its seed
    std::string startFile;  // opened before the first event; empty: no sounding
    int commaDecimalMode = 0;
    int events = 600;       // QM_MONKEY_EVENTS when set
    std::uint64_t baseSeed = 1;  // QM_MONKEY_SEED when set
    int saveCheckEvery = 1;  // the save-and-load check renders the whole sounding
};

struct MonkeyOutcome {
    std::string failure;  // the broken rule with the seed, event number and events before it
    int eventsRun = 0, runsEnded = 0, soundingsLoaded = 0, messages = 0;
};

MonkeyOutcome runMonkey(MonkeyRun run);

}  // namespace qm::monkey
