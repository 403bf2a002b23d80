// The main window's twelve decorations as the user sees them: the labels' texts and colours drawn over
// what lies beneath, the headline's place, the group boxes' green titles and the colours they answer for,
// and the two pictures with what their boxes cut or leave.
#include "picture_fixture.h"
#include "ui_fixture.h"

#include "ui/control_colour.h"
#include "ui/group_box.h"
#include "ui/pic_box.h"
#include "ui/trans_label.h"
#include "ui/window_builder.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace uitest {
namespace {

enum class Kind { Label, Group, Picture };

struct Decoration {
    const char* name;
    Kind kind;
    const char* text; // a label's text, a group box's title
};

const Decoration decorations[] = {
    {"透明标签8", Kind::Label,
     "感谢大家一直以来对Peltramo论坛的支持，我们会开发更多实用的化工工具回报大家！"},
    {"透明标签7", Kind::Label, "Corvalen"},
    {"透明标签6", Kind::Label, "Vh\uff1a"},
    {"透明标签5", Kind::Label, "V\uff1a"},
    {"透明标签4", Kind::Label, "hi\uff1a"},
    {"透明标签3", Kind::Label, "h\uff1a"},
    {"透明标签2", Kind::Label, "L\uff1a"},
    {"透明标签1", Kind::Label, "r\uff1a"},
    {"分组框2", Kind::Group, "计算结果"},
    {"分组框1", Kind::Group, "必填项"},
    {"图片框2", Kind::Picture, ""},
    {"图片框1", Kind::Picture, ""},
};

using WindowDecorations = UiTest;

TEST_F(WindowDecorations, AreMadeAsTheirKindsWithTheirTexts) {
    for (const Decoration& d : decorations) {
        SCOPED_TRACE(d.name);
        QWidget* control = mainWindow().control(d.name);
        switch (d.kind) {
        case Kind::Label: {
            auto* label = qobject_cast<ui::TransLabel*>(control);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), QString::fromUtf8(d.text));
            break;
        }
        case Kind::Group: {
            auto* group = qobject_cast<ui::GroupBox*>(control);
            ASSERT_NE(group, nullptr);
            EXPECT_EQ(group->title(), QString::fromUtf8(d.text));
            break;
        }
        case Kind::Picture: {
            auto* picture = qobject_cast<ui::PicBox*>(control);
            ASSERT_NE(picture, nullptr);
            EXPECT_TRUE(picture->hasPicture());
            EXPECT_FALSE(picture->isPlaying()); // both pictures have a single frame
            break;
        }
        }
    }
}

struct LabelInk {
    const char* name;
    QColor colour;
    QRect checked;  // in the window; where nothing but the label and white lie
    double deepest; // the least coverage that the label's darkest pixel reaches
};

// The field labels lie over the white of the group boxes (透明标签1 inside 分组框1), the headline over the
// window's white down to where 图片框1 begins, the thanks line over the window's white.
const LabelInk labelInk[] = {
    {"透明标签7", QColor(0, 96, 192), {16, 0, 488, 56}, 0.95},
    {"透明标签1", Qt::black, {352, 80, 32, 32}, 0.95},
    {"透明标签2", Qt::black, {352, 112, 32, 32}, 0.95},
    {"透明标签3", Qt::black, {352, 144, 32, 32}, 0.95},
    {"透明标签4", Qt::black, {352, 184, 32, 24}, 0.95},
    {"透明标签5", Qt::black, {352, 344, 32, 24}, 0.95},
    {"透明标签6", Qt::black, {352, 384, 32, 24}, 0.95},
    {"透明标签8", QColor(128, 128, 128), {0, 440, 520, 24}, 0.6},
};

TEST_F(WindowDecorations, LabelsPaintOnlyTheirGlyphsInTheirColourOverTheWhiteBeneath) {
    const QImage image = grabbed(mainWindow());
    for (const LabelInk& label : labelInk) {
        SCOPED_TRACE(label.name);
        // The client area may be narrower than the thanks line, by the offscreen platform's frame.
        const QRect checked = label.checked & image.rect();
        double deepest = 0;
        int white = 0;
        for (int y = checked.top(); y <= checked.bottom(); ++y)
            for (int x = checked.left(); x <= checked.right(); ++x) {
                const double share = coverage(image.pixelColor(x, y), Qt::white, label.colour);
                ASSERT_GE(share, 0.0)
                    << x << "," << y << " is " << image.pixelColor(x, y).name().toStdString();
                deepest = std::max(deepest, share);
                white += share == 0.0;
            }
        EXPECT_GE(deepest, label.deepest);
        EXPECT_GT(white, checked.width() * checked.height() / 2);
    }
}

TEST_F(WindowDecorations, TheHeadlineIsCentredInItsEightyPixelsStartingEightAboveTheClientArea) {
    auto* headline = control<ui::TransLabel>("透明标签7");
    ASSERT_NE(headline, nullptr);
    // The same text centred in a 488 × 80 box by plain QPainter text, as a reference for its ink.
    QImage reference(488, 80, QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
        QPainter painter(&reference);
        painter.setFont(headline->textFont());
        painter.setPen(QColor(0, 96, 192));
        painter.drawText(reference.rect(), Qt::AlignCenter, QStringLiteral("Corvalen"));
    }
    const auto blue = [](QColor p) { return coverage(p, Qt::white, QColor(0, 96, 192)) > 0.2; };
    const QRect expected = inkBounds(reference, reference.rect(), blue).translated(16, -8);

    const QRect ink = inkBounds(grabbed(mainWindow()), QRect(0, 0, 522, 56), blue);
    EXPECT_EQ(ink, expected);
    EXPECT_GT(ink.top(), 0); // no part of the text is cut
    EXPECT_LE(std::abs(ink.center().x() - 260), 2);
    // Half its line above the middle of the 80 pixels, 32 below the top of the client area.
    const int line = QFontMetrics(headline->textFont()).height();
    EXPECT_GE(ink.top(), 32 - line / 2);
    EXPECT_LE(ink.bottom(), 32 + line / 2);
}

TEST_F(WindowDecorations, GroupBoxTitlesAreGreenOnTheirWhiteBackground) {
    for (const char* name : {"分组框1", "分组框2"}) {
        SCOPED_TRACE(name);
        auto* box = control<ui::GroupBox>(name);
        ASSERT_NE(box, nullptr);
        const QImage image = grabbed(*box);
        const QFontMetrics metrics(box->titleFont());
        const auto green = [](QColor p) { return coverage(p, Qt::white, QColor(0, 128, 0)) > 0.3; };
        const QRect ink = inkBounds(image, QRect(0, 0, box->width(), metrics.height()), green);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_GE(ink.width(), metrics.horizontalAdvance(box->title()) - 4);
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            for (int x = ink.left(); x <= ink.right(); ++x)
                ASSERT_GE(coverage(image.pixelColor(x, y), Qt::white, QColor(0, 128, 0)), 0.0)
                    << x << "," << y;
        // The interior, where no control lies, is the box's own white.
        EXPECT_EQ(image.pixel(box->width() / 2, box->height() - 8), QColor(Qt::white).rgb());
        EXPECT_EQ(image.pixel(8, box->height() / 2), QColor(Qt::white).rgb());
    }
}

TEST_F(WindowDecorations, ParentsAnswerTheColourQueryFromTheDefinition) {
    const ui::ControlColours editColours{Qt::black, Qt::white, QBrush(Qt::white)};
    const ui::ControlColours groupColours{QColor(0, 128, 0), Qt::white, QBrush(Qt::white)};
    ui::MainWindow& window = mainWindow();
    EXPECT_EQ(ui::queryControlColours(*window.control("分组框1")), groupColours);
    EXPECT_EQ(ui::queryControlColours(*window.control("分组框2")), groupColours);
    // Inside the group box as in the window.
    EXPECT_EQ(ui::queryControlColours(*window.control("编辑框r")), editColours);
    for (const char* name : {"编辑框L", "编辑框h", "编辑框hi", "编辑框V", "编辑框Vh"})
        EXPECT_EQ(ui::queryControlColours(*window.control(name)), editColours) << name;
    // Labels, pictures and the button paint with their own settings and are not answered for.
    for (const char* name : {"透明标签1", "透明标签7", "图片框1", "按钮1"})
        EXPECT_EQ(ui::queryControlColours(*window.control(name)), std::nullopt) << name;
}

QImage resourcePicture(const char* path) {
    QImage picture(QString::fromUtf8(path));
    EXPECT_FALSE(picture.isNull()) << path;
    return picture.convertToFormat(QImage::Format_RGB32);
}

TEST_F(WindowDecorations, TheVesselDrawingLosesItsBottomFourRows) {
    const QImage drawing = resourcePicture(":/corvalen/vessel_drawing.gif");
    ASSERT_EQ(drawing.size(), QSize(320, 180));
    auto* box = control<ui::PicBox>("图片框1");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(sameImage(grabbed(*box), drawing.copy(0, 0, 320, 176)));
}

TEST_F(WindowDecorations, TheLegendLeavesWhiteStripsTwoPixelsWideAtTheRightAndBottom) {
    const QImage legend = resourcePicture(":/corvalen/symbol_legend.gif");
    ASSERT_EQ(legend.size(), QSize(310, 190));
    auto* box = control<ui::PicBox>("图片框2");
    ASSERT_NE(box, nullptr);
    const QImage shown = grabbed(*box);
    ASSERT_EQ(shown.size(), QSize(312, 192));
    EXPECT_TRUE(sameImage(shown.copy(0, 0, 310, 190), legend));
    QImage strips(312, 192, QImage::Format_RGB32);
    strips.fill(Qt::white);
    QPainter(&strips).drawImage(0, 0, legend);
    EXPECT_TRUE(sameImage(shown, strips));
}

TEST_F(WindowDecorations, APictureThatCannotBeDecodedLeavesTheBoxItsBackgroundAndTheWindowIsBuilt) {
    const ui::WindowDefinition& original = ui::mainWindowDefinition();
    std::vector<ui::ControlDefinition> controls(original.controls.begin(), original.controls.end());
    for (ui::ControlDefinition& control : controls)
        if (control.name == "图片框1")
            std::get<ui::PicBoxSettings>(control.settings).picture = ":/corvalen/start_button.jpg.missing";
    const ui::BuildResult built = ui::buildMainWindow({original.window, controls});
    ASSERT_NE(built.window, nullptr) << built.error.toStdString();

    auto* box = qobject_cast<ui::PicBox*>(built.window->control("图片框1"));
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->hasPicture());
    const QImage shown = grabbed(*box);
    QImage face(shown.size(), QImage::Format_RGB32);
    face.fill(box->palette().color(QPalette::Button));
    EXPECT_TRUE(sameImage(shown, face));
}

} // namespace
} // namespace uitest
