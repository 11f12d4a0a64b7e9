#pragma once
// What a printed log of a sounding holds, without any drawing: the header
// fields, the tracks, the depth range of each page and the files it goes to.
// The window's Export Log and the batch tool's --plot fill a LogRequest; the
// drawing code (ui/LogPainter) puts it on paper.

#include <optional>
#include <string>
#include <vector>

#include "model/ChannelTypeTable.h"
#include "model/ProfileData.h"
#include "model/Sounding.h"
#include "ops/ExportDate.h"

namespace qm {

enum class LogFormat { Pdf, Png, Svg };
enum class PaperSize { A4, Letter };

// The format a file name's extension asks for (any letter case), or none.
std::optional<LogFormat> logFormatOf(const std::string& path);
// "A4" or "Letter" in any letter case.
std::optional<PaperSize> paperSizeOf(const std::string& name);

struct LogHeaderField {
    std::string label;
    std::string value;  // UTF-8: the sounding's texts converted, the file name as the system gives it
};

// The header block: company, job, hole, location, date and time, cone, the
// GPS position when the sentence gives one, water table, the sounding's file
// name and the day the log was made.
std::vector<LogHeaderField> logHeaderFields(const Sounding& s, const std::string& fileName,
                                            const CalendarDate& made);

struct LogRequest {
    ProfileData profile;
    std::vector<std::size_t> tracks;  // indexes into profile.tracks, left to right
    std::vector<LogHeaderField> header;
    double metresPerPage = 0.0;  // 0: the whole sounding on one page
    PaperSize paper = PaperSize::A4;
    LogFormat format = LogFormat::Pdf;
    char decimalSeparator = '.';
};

// The main tracks and the optional ones `shown(channel)` says yes to.
template <typename Shown>
std::vector<std::size_t> logTracks(const ProfileData& p, Shown shown) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < p.tracks.size(); ++i)
        if (!p.tracks[i].optional || shown(p.tracks[i].channel)) out.push_back(i);
    return out;
}

// The axis values at the top and the bottom of a page.
struct LogPageSpan {
    double top = 0.0, bottom = 1.0;
};
// A thousand pages is far beyond any real log; a tiny depth per page must
// not make a run write files for ever.
constexpr double kMostLogPages = 1000;
// One span for the whole sounding, or pages of `metresPerPage` (in the axis
// unit once converted) starting at a whole multiple of it, so that page
// breaks fall on round depths. Empty when that takes more than kMostLogPages.
std::vector<LogPageSpan> logPageSpans(const ProfileData& p, double metresPerPage);
// The message for a log of more than kMostLogPages pages.
std::string tooManyLogPages();
// Why pages of these spans cannot be drawn, or empty: a span with no height
// or no finite end (depths so far from 0 that a page cannot tell them apart)
// would put every reading at a position no number holds.
std::string logSpanProblem(const std::vector<LogPageSpan>& spans);

// The files of a log of `pages` pages: `path` itself for a PDF or a single
// page, else NAME-1.ext, NAME-2.ext, ... beside it.
std::vector<std::string> logFilePaths(const std::string& path, LogFormat format, std::size_t pages);

// "Page 2 of 3", or nothing for a log of one page.
std::string pageCaption(std::size_t index, std::size_t count);

}  // namespace qm
