#pragma once
// A seeded monkey on the main window: random keys, typing, clicks, menu
// commands, panel and dialog buttons and list picks, with scripted answers
// for the file dialogs and the Yes/No boxes, and every rule of
// SoundingChecks and of the window checked after each event.

#include <cstdint>
#include <string>

namespace qm::monkey {

struct MonkeyRun {
    std::string name;       // names the run in reports; part of its seed
    std::string startFile;  // opened before the first event; empty: no sounding
    int commaDecimalMode = 0;
    int events = 1500;
    std::uint64_t baseSeed = 1;
    // The save-and-load check renders the whole sounding; on a sounding at
    // capacity it runs every this many events (and after the last).
    int saveCheckEvery = 1;
};

struct MonkeyOutcome {
    // Empty when every event kept every rule; otherwise the failure with the
    // seed, the event number and the events before it.
    std::string failure;
    int eventsRun = 0;
    int runsEnded = 0;       // saves and exits, each followed by a new window
    int soundingsLoaded = 0; // successful File > Open, the start file included
    int messages = 0;
};

// QM_MONKEY_EVENTS and QM_MONKEY_SEED, or the defaults.
int eventsFromEnvironment(int fallback);
std::uint64_t seedFromEnvironment(std::uint64_t fallback);

MonkeyOutcome runMonkey(const MonkeyRun& run);

}  // namespace qm::monkey
