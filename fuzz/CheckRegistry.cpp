#include <cstring>

#include "FuzzChecks.h"

namespace qm::fuzz {

Check checkNamed(const std::string& name) {
    struct Named {
        const char* name;
        Check check;
    };
    static const Named checks[] = {
        {"sounding_reader", checkSoundingReader}, {"second_file_reader", checkSecondFileReader},
        {"channel_table", checkChannelTable},     {"text_to_number", checkTextToNumber},
        {"cell_entry", checkCellEntry},           {"gps_sentence", checkGpsSentence},
        {"leading_number", checkLeadingNumber},
    };
    for (const Named& n : checks)
        if (name == n.name) return n.check;
    return nullptr;
}

}  // namespace qm::fuzz
