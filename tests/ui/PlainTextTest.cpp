// Texts of files meet the widgets as written: labels, tooltips, window
// titles and menu captions show them as plain text; the SVG log escapes
// them; the History List finds room beside the page.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTextDocument>
#include <QWindow>
#include <QXmlStreamReader>

#include "model/SoundingReader.h"
#include "ops/LogPage.h"
#include "ui/HistoryListDialog.h"
#include "ui/LogPainter.h"
#include "ui/PlainText.h"
#include "ui/UiTestSupport.h"

namespace qm::uitest {
namespace {

const char* const kTexts[] = {"<h1>BIG</h1><font color=red>red</font>", "A & B", "Hole [*] 7", "<img src=\"x.png\">",
                              "=HYPERLINK(\"x\",\"y\")", "two  blanks\nand a line"};

TEST(PlainText, EachKindOfWidgetShowsTheTextAsWritten) {
    QWidget window;
    window.show();
    for (const char* raw : kTexts) {
        const QString text = QString::fromUtf8(raw);
        SCOPED_TRACE(raw);
        QLabel* label = ui::plainLabel(text, &window);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        ui::setPlainText(label, text + "!");
        EXPECT_EQ(label->text(), text + "!");
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        // A tooltip is taken for markup whenever it looks like it.
        ui::setPlainToolTip(label, text);
        QTextDocument shown;
        if (Qt::mightBeRichText(label->toolTip()))
            shown.setHtml(label->toolTip());
        else
            shown.setPlainText(label->toolTip());
        EXPECT_EQ(shown.toPlainText().simplified(), text.simplified());
        ui::setPlainWindowTitle(&window, text);
        EXPECT_EQ(window.windowHandle()->title(), text);
        QAction action(ui::plainCaption(text));
        EXPECT_TRUE(QKeySequence::mnemonic(action.text()).isEmpty());
        EXPECT_EQ(QString(action.text()).replace("&&", "&"), text);
        EXPECT_EQ(ui::escapedForMarkup(text).contains('<'), false);
    }
    ui::setPlainToolTip(&window, "");
    EXPECT_TRUE(window.toolTip().isEmpty());
}

TEST(PlainText, TheSvgLogEscapesTheTextsOfTheFile) {
    const ChannelTypeTable tables = loadChannelTypeTables(dataDir()).table;
    auto s = std::make_unique<Sounding>();
    ASSERT_TRUE(readSoundingFile(QM_TEST_DATA_DIR "/../tests/ui/scenes/files/markup.cpt", tables, 0, *s).ok);
    LogRequest r;
    r.profile = buildProfile(*s, tables, false, std::nullopt);
    r.tracks = logTracks(r.profile, [](int) { return false; });
    r.header = logHeaderFields(*s, "<b>name</b>.cpt", CalendarDate{2026, 3, 4});
    r.format = LogFormat::Svg;
    const ui::LogFiles files = ui::renderLog(r);
    ASSERT_EQ(files.bytes.size(), 1u);
    QXmlStreamReader xml(QByteArray::fromStdString(files.bytes.front()));
    QString text;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::Characters) text += xml.text().toString();
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    for (const char* written : {"<h1>BIG</h1><font color=red>red</font>", "<i>CPT-03</i>", "<b>name</b>.cpt"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(written))) << written;
}

TEST(HistoryList, OpensBesideThePageWhereTheScreenHasRoom) {
    struct Case {
        QRect page, window, screen;
        QRect expected;
    };
    const QSize wanted(560, 420);
    const Case cases[] = {
        // Room right of the window.
        {{400, 100, 800, 600}, {100, 60, 1120, 700}, {0, 0, 1920, 1080}, {1228, 100, 560, 420}},
        // None right of it, room left of it.
        {{1000, 100, 800, 600}, {700, 60, 1200, 700}, {0, 0, 1920, 1080}, {132, 100, 560, 420}},
        // The window fills the screen: the list takes the side left of the page.
        {{310, 80, 1050, 680}, {0, 0, 1366, 768}, {0, 0, 1366, 768}, {0, 80, 302, 420}},
        // A short screen: the list ends at its bottom.
        {{310, 500, 1050, 260}, {0, 0, 1366, 768}, {0, 0, 1366, 768}, {0, 500, 302, 268}},
        // No room anywhere: left where the system puts it.
        {{200, 80, 1160, 680}, {0, 0, 1366, 768}, {0, 0, 1366, 768}, {}},
    };
    for (const Case& c : cases) {
        const QRect at = ui::besidePage(c.page, c.window, c.screen, wanted);
        EXPECT_EQ(at, c.expected) << at.x() << "," << at.y() << " " << at.width() << "x" << at.height();
        if (!at.isEmpty()) {
            EXPECT_FALSE(at.intersects(c.page));
        }
    }
}

TEST(HistoryList, TheWindowsListLeavesThePageFree) {
    Window win;
    win.open(samplesDir() + "/sample-10ch.cpt");
    win.form->move(0, 0);
    win.form->action("mnuHistoryList")->trigger();
    QWidget* list = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmHistoryList") list = w;
    ASSERT_TRUE(list && list->isVisible());
    const QWidget* page = win.w<QWidget>("readingsPage");
    const QRect pageRect(page->mapToGlobal(QPoint(0, 0)), page->size());
    EXPECT_FALSE(list->frameGeometry().intersects(pageRect));
}

}  // namespace
}  // namespace qm::uitest
