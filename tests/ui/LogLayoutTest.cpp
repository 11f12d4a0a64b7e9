// The log's pages read back from their SVG: every text lies inside the
// header block, the depth axis or its own track's column, no two texts
// overlap, and every line and mark lies inside the track it belongs to, on
// soundings with a spike, a drill-out and many narrow tracks, in metres and
// feet, on one page and on several.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "model/SoundingReader.h"
#include "model/Units.h"
#include "ops/TrackScales.h"
#include "ui/LogPainter.h"
#include "ui/UiTestSupport.h"

namespace qm::uitest {
namespace {

struct SvgText {
    QString text;
    QRectF box;
};

struct SvgPage {
    std::vector<SvgText> texts;
    std::vector<std::vector<QPointF>> lines;  // polylines and filled marks
};

std::vector<QPointF> pointsOf(const QString& list) {
    std::vector<QPointF> out;
    static const QRegularExpression number("-?[0-9.]+(?:e-?[0-9]+)?");
    std::vector<double> v;
    for (auto it = number.globalMatch(list); it.hasNext();) v.push_back(it.next().captured().toDouble());
    for (std::size_t i = 0; i + 1 < v.size(); i += 2) out.emplace_back(v[i], v[i + 1]);
    return out;
}

// The texts with the boxes their font gives them, in layout pixels.
SvgPage readSvg(const std::string& svg) {
    SvgPage page;
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("text")) {
            QFont font(a.value("font-family").toString());
            font.setPixelSize(static_cast<int>(a.value("font-size").toDouble()));
            font.setBold(a.value("font-weight").toInt() >= 600);
            font.setHintingPreference(QFont::PreferNoHinting);
            const QFontMetricsF fm(font);
            const double x = a.value("x").toDouble(), y = a.value("y").toDouble();
            const QString text = xml.readElementText();
            page.texts.push_back({text, QRectF(x, y - fm.ascent(), fm.horizontalAdvance(text), fm.ascent() + fm.descent())});
        } else if (xml.name() == QLatin1String("polyline")) {
            page.lines.push_back(pointsOf(a.value("points").toString()));
        } else if (xml.name() == QLatin1String("path")) {
            page.lines.push_back(pointsOf(a.value("d").toString()));
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return page;
}

bool within(const QRectF& outer, const QRectF& inner, double slack = 0.6) {
    return outer.adjusted(-slack, -slack, slack, slack).contains(inner);
}

bool within(const QRectF& outer, const std::vector<QPointF>& points, double slack = 0.6) {
    const QRectF r = outer.adjusted(-slack, -slack, slack, slack);
    return std::all_of(points.begin(), points.end(), [&r](const QPointF& p) { return r.contains(p); });
}

LogRequest requestFor(const std::string& sample, bool feet, double metres, bool everyTrack) {
    static const ChannelTypeTable tables = loadChannelTypeTables(dataDir()).table;
    auto s = std::make_unique<Sounding>();
    EXPECT_TRUE(readSoundingFile(samplesDir() + "/" + sample, tables, 0, *s).ok);
    if (feet) updatePageDepths(*s, true);
    LogRequest r;
    r.profile = buildProfile(*s, tables, feet, 1.85);
    applyScales(r.profile);
    r.tracks = logTracks(r.profile, [everyTrack](int) { return everyTrack; });
    r.header = logHeaderFields(*s, sample, CalendarDate{2026, 3, 4});
    r.format = LogFormat::Svg;
    r.metresPerPage = metres;
    // A second gap a few centimetres below the first, whose label must not
    // cover the first one's.
    if (!r.profile.gaps.empty()) r.profile.gaps.emplace_back(r.profile.gaps[0].first + 0.05, r.profile.gaps[0].second + 0.05);
    return r;
}

struct Case {
    const char* sample;
    bool feet;
    double metresPerPage;
    bool everyTrack;
};

TEST(LogLayout, TextsStayInTheirBoxesAndLinesInTheirTracks) {
    const Case cases[] = {
        {"sample-older.cpt", false, 0, false},   // a spike at 7.2 m and a drill-out
        {"sample-older.cpt", true, 5, false},    // feet, pages of 5 m
        {"sample-10ch.cpt", false, 3, true},     // ten narrow tracks on pages of 3 m
        {"sample-newer.cpt", false, 0, true},
    };
    for (const Case& c : cases) {
        const LogRequest request = requestFor(c.sample, c.feet, c.metresPerPage, c.everyTrack);
        const ui::LogFiles files = ui::renderLog(request);
        ASSERT_EQ(files.error, "");
        const std::vector<LogPageSpan> spans = logPageSpans(request.profile, request.metresPerPage);
        ASSERT_EQ(files.bytes.size(), spans.size());
        for (std::size_t page = 0; page < files.bytes.size(); ++page) {
            SCOPED_TRACE(std::string(c.sample) + (c.feet ? " ft" : " m") + " page " + std::to_string(page + 1));
            const ui::LogPageLayout l = ui::layoutLogPage(ui::logPageSize(request.paper), request, spans, page);
            const ui::ProfileGeometry& g = l.profile;
            // Each track's column runs from the top of the tracks' header
            // to the bottom of the plot; the axis column likewise, with room
            // for half a label at either end.
            std::vector<QRectF> columns;
            for (const QRectF& t : g.tracks) columns.emplace_back(t.left(), g.area.top(), t.width(), t.bottom() - g.area.top());
            const QRectF axis(g.area.left(), g.area.top(), g.axisColumn.width(), g.plot.bottom() - g.area.top() + 12);
            const SvgPage svg = readSvg(files.bytes[page]);
            ASSERT_GT(svg.texts.size(), 20u);
            for (const SvgText& t : svg.texts) {
                const bool placed = within(l.header, t.box) || within(axis, t.box) ||
                                    std::any_of(columns.begin(), columns.end(), [&t](const QRectF& r) { return within(r, t.box); });
                EXPECT_TRUE(placed) << t.text.toStdString() << " at " << t.box.x() << "," << t.box.y() << " "
                                    << t.box.width() << "x" << t.box.height();
            }
            // Over the traces only the drill-out labels; legends and tick
            // labels stay in the header band.
            for (const SvgText& t : svg.texts)
                for (const QRectF& r : g.tracks) {
                    const QRectF over = r.intersected(t.box);
                    if (over.width() > 0.5 && over.height() > 0.5) {
                        EXPECT_TRUE(t.text.startsWith("drill-out")) << t.text.toStdString() << " over the traces";
                    }
                }
            // The project title and the remarks in the header.
            const auto has = [&svg](const char* text) {
                return std::any_of(svg.texts.begin(), svg.texts.end(), [text](const SvgText& t) { return t.text == text; });
            };
            EXPECT_TRUE(has("Project") && has("Remarks"));
            for (std::size_t i = 0; i < svg.texts.size(); ++i)
                for (std::size_t j = i + 1; j < svg.texts.size(); ++j) {
                    const QRectF both = svg.texts[i].box.intersected(svg.texts[j].box);
                    EXPECT_FALSE(both.width() > 0.5 && both.height() > 0.5)
                        << svg.texts[i].text.toStdString() << " over " << svg.texts[j].text.toStdString();
                }
            std::size_t traces = 0;
            for (const std::vector<QPointF>& line : svg.lines) {
                if (line.empty() || within(l.page, line, 0) == false) {
                    ADD_FAILURE() << "a line outside the page";
                    continue;
                }
                // The data lines (more than two points) inside one track's plot;
                // the short ones (grid, ticks, legend samples) inside a box.
                if (line.size() > 2) {
                    ++traces;
                    EXPECT_TRUE(std::any_of(g.tracks.begin(), g.tracks.end(), [&line](const QRectF& r) { return within(r, line); }))
                        << "a trace of " << line.size() << " points leaves its track, first at " << line[0].x() << ","
                        << line[0].y();
                } else {
                    EXPECT_TRUE(within(l.header, line) || within(axis, line) ||
                                std::any_of(columns.begin(), columns.end(), [&line](const QRectF& r) { return within(r, line); }))
                        << "a line from " << line[0].x() << "," << line[0].y();
                }
            }
            EXPECT_GT(traces, 0u);
        }
    }
}

}  // namespace
}  // namespace qm::uitest
