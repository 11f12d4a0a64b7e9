// The log files as their readers see them: a PDF's pages and text, a PNG's
// size in pixels, an SVG's XML and texts, for one page and for a depth per
// page; soundings with little in them draw too; and the window's Export Log
// carries the optional tracks switched on in the view.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>

#include "model/SoundingReader.h"

#include "ui/LogPainter.h"
#include "ui/ProfilePainter.h"
#include "ui/ProfileView.h"
#include "ui/UiTestSupport.h"
#include "ui/ViewCommands.h"

namespace qm::uitest {
namespace {

LogRequest requestFor(const std::string& sample, LogFormat format, double metres, PaperSize paper) {
    static const ChannelTypeTable tables = loadChannelTypeTables(dataDir()).table;
    auto s = std::make_unique<Sounding>();
    EXPECT_TRUE(readSoundingFile(samplesDir() + "/" + sample, tables, 0, *s).ok);
    LogRequest r;
    r.profile = buildProfile(*s, tables, false, 1.85);
    r.tracks = logTracks(r.profile, [](int) { return false; });
    r.header = logHeaderFields(*s, sample, CalendarDate{2026, 3, 4});
    r.format = format;
    r.metresPerPage = metres;
    r.paper = paper;
    return r;
}

std::string pdfText(const std::string& pdf) {
    TempDir dir;
    writeFile(dir.file("log.pdf"), pdf);
    FILE* pipe = popen(("pdftotext -layout '" + dir.file("log.pdf") + "' -").c_str(), "r");
    std::string text;
    for (char buf[4096]; pipe && std::fgets(buf, sizeof buf, pipe);) text += buf;
    if (pipe) pclose(pipe);
    return text;
}

QString svgText(const std::string& svg) {
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    QString text;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::Characters) text += xml.text().toString() + "\n";
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return text;
}

struct Case {
    const char* sample;
    LogFormat format;
    double metresPerPage;
    PaperSize paper;
    std::size_t pages;
    const char* hole;
};

TEST(LogFiles, EachFormatHoldsItsPagesAndTheHeader) {
    const Case cases[] = {
        {"sample-10ch.cpt", LogFormat::Pdf, 0, PaperSize::A4, 1, "SCPTU-12"},
        {"sample-10ch.cpt", LogFormat::Pdf, 3, PaperSize::Letter, 3, "SCPTU-12"},
        {"sample-10ch.cpt", LogFormat::Png, 0, PaperSize::A4, 1, ""},
        {"sample-10ch.cpt", LogFormat::Png, 3, PaperSize::Letter, 3, ""},
        {"sample-10ch.cpt", LogFormat::Svg, 3, PaperSize::A4, 3, "SCPTU-12"},
        {"sample-nopore.cpt", LogFormat::Svg, 0, PaperSize::A4, 1, "CPT-05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sample) + " format " + std::to_string(int(c.format)) + " pages " +
                     std::to_string(c.pages));
        const ui::LogFiles files = ui::renderLog(requestFor(c.sample, c.format, c.metresPerPage, c.paper));
        ASSERT_EQ(files.error, "");
        ASSERT_EQ(files.bytes.size(), c.format == LogFormat::Pdf ? 1 : c.pages);
        const auto captionOf = [&](std::size_t i) {
            return c.pages == 1 ? std::string() : "Page " + std::to_string(i + 1) + " of " + std::to_string(c.pages);
        };
        std::vector<QImage> headers;
        for (std::size_t i = 0; i < files.bytes.size(); ++i) {
            const std::string& f = files.bytes[i];
            const QString caption = QString::fromStdString(captionOf(i));
            if (c.format == LogFormat::Pdf) {
                const auto pages = QString::fromLatin1(f).count(QRegularExpression("/Type\\s*/Page\\b(?!s)"));
                EXPECT_EQ(std::size_t(pages), c.pages);
                const std::string text = pdfText(f);
                EXPECT_NE(text.find(c.hole), std::string::npos) << text;
                for (std::size_t page = 0; page < c.pages; ++page)
                    EXPECT_NE(text.find(captionOf(page)), std::string::npos) << captionOf(page);
            } else if (c.format == LogFormat::Png) {
                const QImage image = QImage::fromData(QByteArray::fromStdString(f), "PNG");
                EXPECT_EQ(image.size(), c.paper == PaperSize::A4 ? QSize(2480, 3508) : QSize(2550, 3300));
                EXPECT_EQ(image.dotsPerMeterX(), 11811);
                // The header's top band: the same texts on every page but the caption.
                headers.push_back(image.copy(0, 0, image.width(), image.height() / 12));
                for (std::size_t before = 0; before < i; ++before)
                    EXPECT_TRUE(headers[before] != headers[i]) << "pages " << before + 1 << " and " << i + 1 << " have one caption";
            } else {
                const QString text = svgText(f);
                EXPECT_TRUE(text.contains(c.hole));
                EXPECT_TRUE(text.contains("Water table depth") && text.contains(c.sample) && text.contains(caption));
            }
        }
    }
}

// A single channel, no pore pressure, no GPS, readings without data, no
// readings at all: each still gives a page.
TEST(LogFiles, SoundingsWithLittleInThemDraw) {
    for (int variant = 0; variant < 3; ++variant) {
        LogRequest r = requestFor("sample-older.cpt", LogFormat::Svg, variant == 2 ? 1 : 0, PaperSize::A4);
        for (ProfileTrack& t : r.profile.tracks)
            for (ProfileSeries& s : t.series)
                if (variant == 0) s.runs.clear();
        if (variant == 1) r.tracks.resize(1);
        if (variant == 2) r.profile = ProfileData{};
        const ui::LogFiles files = ui::renderLog(r);
        ASSERT_EQ(files.bytes.size(), 1u) << variant << files.error;
        EXPECT_TRUE(svgText(files.bytes[0]).contains("CPT LOG"));
    }
}

// Values scale across a track: a constant at mid-scale is drawn down the
// middle of the track's width.
TEST(ProfileDrawing, AConstantAtMidScaleRunsDownTheMiddle) {
    ProfileData data;
    data.readingCount = 20;
    data.axis.assign(21, 0.0f);
    for (int r = 1; r <= 20; ++r) data.axis[r] = 0.1f * r;
    ProfileTrack track;
    track.low = 0.0, track.high = 10.0;
    track.series.push_back({"TIP", 1, std::vector<float>(21, 5.0f), {{1, 20}}});
    const ui::ProfileStyle style;
    const ui::ProfileGeometry g = ui::layoutProfile(QRectF(0, 0, 300, 600), 1, style, 0.1, 2.0);
    const auto drawn = [&](bool withLine) {
        QImage image(300, 600, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        if (!withLine) track.series[0].runs.clear();
        ui::drawProfile(p, g, data, {&track}, style);
        return image;
    };
    const QImage with = drawn(true), without = drawn(false);
    const QRectF r = g.tracks.at(0);
    int lineRows = 0;
    for (int y = static_cast<int>(g.yOf(0.3)); y < g.yOf(1.8); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                EXPECT_NEAR(x, r.center().x(), 2.0) << "row " << y << " of a track from " << r.left() << " to " << r.right();
                if (x == static_cast<int>(r.center().x())) ++lineRows;
            }
    EXPECT_GT(lineRows, 10);
}

TEST(LogFiles, TheWindowsLogShowsTheTracksSwitchedOn) {
    TempDir dir;
    Window win;
    win.open(samplesDir() + "/sample-10ch.cpt");
    ui::ProfileView* view = win.form->viewCommands().profileView();
    const ProfileData shape = buildProfile(win.form->sounding(), win.form->tables(), false, std::nullopt);
    const auto optional = std::find_if(shape.tracks.begin(), shape.tracks.end(), [](auto& t) { return t.optional; });
    ASSERT_NE(optional, shape.tracks.end());
    const QString title = QString::fromLatin1(optional->title).split(' ').front();
    writeFile(dir.file("with.svg"), "earlier");
    for (bool shown : {false, true}) {
        const std::string path = dir.file(shown ? "with.svg" : "without.svg");
        view->setTrackShown(optional->channel, shown);
        win.files->answers = {path};
        win.messages->answers = {true};
        win.form->action("mnuExportLog")->trigger();
        EXPECT_EQ(svgText(readFile(path)).contains(title), shown) << title.toStdString();
    }
    EXPECT_EQ(win.messages->texts, std::vector<std::string>{"Do you want to overwrite the existing file?"});
}

}  // namespace
}  // namespace qm::uitest
