#pragma once
// What an open-format writer (CSV, GEF-CPT, AGS4) hands back: the whole file
// as bytes, and the messages to give once it is written (which channels it
// left out). The writers read the Sounding as it stands, after every
// correction, and change nothing in it; header texts come from its fields,
// so the window passes a copy holding what its header boxes show.

#include <string>
#include <vector>

namespace qm {

struct OpenFormatFile {
    std::string bytes;
    std::vector<std::string> messages;
    // False when the file must not be written (a depth that is no finite
    // number); the first message then says why and `bytes` is empty.
    bool ok = true;
};

// A value no number can be written for (infinite, or not a number, after
// a correction or a huge raw reading) goes into the file as the format's
// void, and one message says so, naming the first such value.
class NonFiniteValues {
   public:
    void note(int reading, const std::string& channel) {
        if (count_++ == 0) first_ = "reading " + std::to_string(reading) + " of " + channel;
    }
    // Nothing when every value was finite.
    void report(OpenFormatFile& file, const std::string& fileKind, const std::string& voidText) const {
        if (count_ == 0) return;
        std::string text = "The " + fileKind + " file writes " + voidText + " (no data) for " + first_;
        if (count_ > 1) text += " and " + std::to_string(count_ - 1) + " more values";
        file.messages.push_back(text + ": " + (count_ > 1 ? "they are" : "it is") + " not a finite number.");
    }

   private:
    int count_ = 0;
    std::string first_;
};

// Refuses the file: the depth of reading r is no finite number, and a row
// without its depth means nothing.
inline OpenFormatFile nonFiniteDepth(const std::string& fileKind, int reading) {
    OpenFormatFile file;
    file.ok = false;
    file.messages.push_back("The " + fileKind + " file was not written: the depth of reading " +
                            std::to_string(reading) + " is not a finite number.");
    return file;
}

}  // namespace qm
