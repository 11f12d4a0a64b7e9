#include "model/SoundingDelta.h"

#include <algorithm>
#include <utility>

namespace qm {

namespace {

// The reading columns of `s` and `other` change places.
void swapColumns(Sounding& s, Sounding& other) {
    for (int i = 0; i < Sounding::kColumnCount; ++i) s.column(i).swap(other.column(i));
}

// A copy of `s` without its reading columns; `s` is left as it was. The
// columns are moved aside meanwhile, not copied.
std::shared_ptr<const Sounding> headOf(Sounding& s) {
    Sounding aside;
    swapColumns(s, aside);
    auto head = std::make_shared<const Sounding>(s);
    swapColumns(s, aside);
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
    // Readings inserted or deleted move the rest of each column by this much.
    const std::ptrdiff_t shift = after.readingCount - before.readingCount;
    // Column by column, so a command on one channel keeps only that one.
    for (int i = 0; i < Sounding::kColumnCount; ++i) {
        ReadingColumn& b = before.column(i);
        ReadingColumn& a = after.column(i);
        // Both to one length: the zeros added are what either side reads
        // past its end anyway.
        const std::size_t length = std::max(a.size(), b.size());
        if (length == 0) continue;
        ArrayPatch patch = ArrayPatch::between(b.hold(length), a.hold(length), length, shift);
        if (!patch.empty()) d.parts_.push_back({static_cast<int16_t>(i), std::move(patch)});
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
    ArrayPatch patch = ArrayPatch::ofOne(static_cast<std::size_t>(r), static_cast<std::size_t>(r) + 1, before, after);
    if (!patch.empty()) d.parts_.push_back({static_cast<int16_t>(Sounding::valueColumnNumber(c)), std::move(patch)});
    return d;
}

void SoundingDelta::apply(Sounding& s, bool forward) const {
    for (const Part& p : parts_) {
        // A column may have grown since (never shrunk): the patch covers the
        // readings it had then, and those past them are as they were.
        const std::size_t length = p.patch.size();
        float* cells = s.column(p.column).hold(length);
        if (forward)
            p.patch.redo(cells, length);
        else
            p.patch.undo(cells, length);
    }
    const std::shared_ptr<const Sounding>& head = forward ? headAfter_ : headBefore_;
    if (head) {
        Sounding restored(*head);
        swapColumns(restored, s);
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
