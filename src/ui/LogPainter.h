#pragma once
// The log on paper: the header block and the profile's tracks of one page,
// drawn with the profile view's own drawing code at print resolution, and the
// log's files (PDF, PNG at 300 dpi or SVG) made in memory, so that the
// caller hands whole files to the safe write.

#include <QSizeF>
#include <string>
#include <vector>

#include "ops/LogPage.h"
#include "ui/ProfilePainter.h"

class QPainter;

namespace qm::ui {

// Pixels per inch of the PNG and the drawing unit of all three formats.
constexpr int kLogDotsPerInch = 300;
// The page is laid out in screen-sized pixels (96 per inch), scaled to the
// device, so the log's lines and letters keep the view's proportions.
constexpr double kLogLayoutDotsPerInch = 96.0;

// The page in device pixels at kLogDotsPerInch.
QSize logPageSize(PaperSize paper);

// Where page `index` puts things, in layout pixels (kLogLayoutDotsPerInch;
// the page's drawing scales them to the device): the page, the header
// block and the profile's axis and tracks.
struct LogPageLayout {
    QRectF page, header;
    ProfileGeometry profile;
};
LogPageLayout layoutLogPage(const QSize& devicePage, const LogRequest& request, const std::vector<LogPageSpan>& spans,
                            std::size_t index);

// Page `index` of `spans` onto `p`, whose device is `devicePage` pixels at
// kLogDotsPerInch.
void drawLogPage(QPainter& p, const QSize& devicePage, const LogRequest& request,
                 const std::vector<LogPageSpan>& spans, std::size_t index);

struct LogFiles {
    std::vector<std::string> bytes;  // one PDF, or one PNG or SVG per page
    std::string error;               // why nothing was drawn
};
LogFiles renderLog(const LogRequest& request);

}  // namespace qm::ui
