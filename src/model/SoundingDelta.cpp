#include "model/SoundingDelta.h"

#include <utility>

namespace qm {

namespace {

// The four reading stores of `s` and `other` change places.
void swapStores(Sounding& s, Sounding& other) {
    s.depth.swap(other.depth);
    s.speed.swap(other.speed);
    s.rawSlots().swap(other.rawSlots());
    s.valueSlots().swap(other.valueSlots());
}

std::vector<float>& storeOf(Sounding& s, int store) {
    switch (store) {
        case 0: return s.depth;
        case 1: return s.speed;
        case 2: return s.rawSlots();
        default: return s.valueSlots();
    }
}

// A copy of `s` without its reading stores; `s` is left as it was. The
// stores are moved aside meanwhile, not copied.
std::shared_ptr<const Sounding> headOf(Sounding& s) {
    std::vector<float> aside[4];
    for (int store = 0; store < 4; ++store) aside[store].swap(storeOf(s, store));
    auto head = std::make_shared<const Sounding>(s);
    for (int store = 0; store < 4; ++store) aside[store].swap(storeOf(s, store));
    return head;
}

}  // namespace

bool sameHead(const Sounding& a, const Sounding& b) {
    for (auto field : kHeaderLines)
        if (a.*field != b.*field) return false;
    // Floats bit for bit would be stricter, but these fields are only ever
    // copied, never computed, so == on them tells a change.
    return a.filePath == b.filePath && a.openedFileTitle == b.openedFileTitle && a.versionLine == b.versionLine &&
           a.channelCount == b.channelCount && a.channelType == b.channelType && a.channelName == b.channelName &&
           a.channelRawSpan == b.channelRawSpan && a.channelBaseline == b.channelBaseline &&
           a.channelFullScale == b.channelFullScale && a.channelUnitIndex == b.channelUnitIndex &&
           a.channelUnitFactor == b.channelUnitFactor && a.baselineDrift == b.baselineDrift &&
           a.noDataCount == b.noDataCount && a.readingCount == b.readingCount &&
           a.depthDecimals == b.depthDecimals && a.depthIncrement == b.depthIncrement &&
           a.depthFormat == b.depthFormat && a.depthFormatApplied == b.depthFormatApplied &&
           a.noDataLeadCount == b.noDataLeadCount && a.porePressureMissing == b.porePressureMissing &&
           a.hasFinalBaseline == b.hasFinalBaseline && a.finalBaselineLine == b.finalBaselineLine;
}

SoundingDelta SoundingDelta::between(Sounding& before, Sounding& after) {
    SoundingDelta d;
    // Readings inserted or deleted move the rest of each store by this much.
    const std::ptrdiff_t shift = after.readingCount - before.readingCount;
    for (int store = 0; store < 4; ++store) {
        const std::vector<float>& b = storeOf(before, store);
        const std::vector<float>& a = storeOf(after, store);
        if (b.size() != a.size()) continue;
        // Channel by channel, so a command on one channel keeps only that one.
        const int channels = store < 2 ? 1 : kMaxChannels + 1;
        const std::size_t length = store < 2 ? a.size() : static_cast<std::size_t>(kReadingSlots);
        for (int c = 0; c < channels && (c + 1) * length <= a.size(); ++c) {
            const std::size_t at = static_cast<std::size_t>(c) * length;
            ArrayPatch patch = ArrayPatch::between(b.data() + at, a.data() + at, length, shift);
            if (!patch.empty())
                d.parts_.push_back({static_cast<Store>(store), static_cast<int16_t>(c), std::move(patch)});
        }
    }
    if (!d.parts_.empty() || !sameHead(before, after)) {
        d.headBefore_ = headOf(before);
        d.headAfter_ = headOf(after);
    }
    return d;
}

SoundingDelta SoundingDelta::ofValue(int c, int32_t r, float before, float after) {
    SoundingDelta d;
    if (c < 0 || c > kMaxChannels || r < 0 || r >= kReadingSlots) return d;
    ArrayPatch patch = ArrayPatch::ofOne(static_cast<std::size_t>(r), kReadingSlots, before, after);
    if (!patch.empty()) d.parts_.push_back({Store::Value, static_cast<int16_t>(c), std::move(patch)});
    return d;
}

void SoundingDelta::apply(Sounding& s, bool forward) const {
    for (const Part& p : parts_) {
        std::vector<float>& store = storeOf(s, static_cast<int>(p.store));
        const std::size_t length = p.store == Store::Depth || p.store == Store::Speed
                                       ? store.size()
                                       : static_cast<std::size_t>(kReadingSlots);
        const std::size_t at = static_cast<std::size_t>(p.channel) * length;
        if (at + length > store.size()) continue;
        if (forward)
            p.patch.redo(store.data() + at, length);
        else
            p.patch.undo(store.data() + at, length);
    }
    const std::shared_ptr<const Sounding>& head = forward ? headAfter_ : headBefore_;
    if (head) {
        Sounding restored(*head);
        swapStores(restored, s);
        s = std::move(restored);
    }
}

std::size_t SoundingDelta::bytes() const {
    std::size_t total = sizeof(SoundingDelta) + parts_.capacity() * sizeof(Part);
    for (const Part& p : parts_) total += p.patch.bytes() - sizeof(ArrayPatch);
    // A head: the record itself and its texts (short texts live inside it).
    auto headBytes = [](const Sounding& h) {
        std::size_t n = sizeof(Sounding);
        auto text = [&n](const std::string& t) {
            if (t.capacity() > 15) n += t.capacity() + 1;
        };
        for (auto field : kHeaderLines) text(h.*field);
        text(h.filePath);
        text(h.openedFileTitle);
        text(h.versionLine);
        text(h.finalBaselineLine);
        for (const std::string& name : h.channelName) text(name);
        return n;
    };
    if (headBefore_) total += headBytes(*headBefore_) + headBytes(*headAfter_);
    return total;
}

}  // namespace qm
