// The transparent label: nothing painted behind its glyphs, its layout (alignment, word wrap, "&"
// prefixes, tabs), its effects, and the repainting of what lay beneath it when it changes or moves.
#include "picture_fixture.h"
#include "ui_fixture.h"

#include "ui/font_setting.h"
#include "ui/trans_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace uitest {
namespace {

const QColor yellow(255, 255, 0);
const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);
const ui::FontSetting bigSong{.face = "宋体", .pixelHeight = 40, .weight = 700};

ui::TransLabelSettings labelSettings(const char* text, QColor colour = Qt::black) {
    return {.text = text,
            .textColour = ui::rgb(colour.red(), colour.green(), colour.blue()),
            .font = bigSong,
            .horizontal = ui::HorizontalAlignment::Left,
            .vertical = ui::VerticalAlignment::Top,
            .wordWrap = false,
            .effect = 0};
}

// A yellow parent with a blue control covering its left half, and labels placed over both: the layers a
// label must let through.
struct Stage {
    explicit Stage(QSize size = {200, 100}) {
        parent.resize(size);
        paint(parent, yellow);
        below.setParent(&parent);
        below.setGeometry(0, 0, size.width() / 2, size.height());
        paint(below, blue);
    }

    ui::TransLabel& add(const ui::TransLabelSettings& settings, QRect place) {
        labels.push_back(std::make_unique<ui::TransLabel>(settings, &parent));
        labels.back()->setGeometry(place);
        return *labels.back();
    }

    static void paint(QWidget& widget, QColor colour) {
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, colour);
        widget.setPalette(palette);
        widget.setAutoFillBackground(true);
    }

    QWidget parent;
    QWidget below;
    std::vector<std::unique_ptr<ui::TransLabel>> labels;
};

using TransLabel = UiTest;

TEST_F(TransLabel, LetsTheParentAndTheControlBelowShowBetweenItsGlyphs) {
    Stage stage;
    stage.add(labelSettings("MMMM", red), QRect(0, 0, 200, 100));
    const QImage image = grabbed(stage.parent);

    int inkLeft = 0, inkRight = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QColor beneath = x < 100 ? blue : yellow;
            const double share = coverage(image.pixelColor(x, y), beneath, red);
            ASSERT_GE(share, 0.0) << "at " << x << "," << y << " the label painted something else";
            if (share > 0.9)
                ++(x < 100 ? inkLeft : inkRight);
        }
    }
    EXPECT_GT(inkLeft, 50);
    EXPECT_GT(inkRight, 50);
}

// A label with an effect looks exactly like two plain labels: the copy in its colour at its offset, with
// the main text at its own offset on top.
struct EffectCase {
    const char* name;
    int effect;
    bool copy;
    QColor copyColour;
    QPoint copyOffset;
    QPoint mainOffset;
};

void PrintTo(const EffectCase& c, std::ostream* out) {
    *out << c.name;
}

class TransLabelEffect : public UiTest, public ::testing::WithParamInterface<EffectCase> {};

TEST_P(TransLabelEffect, DrawsItsCopyThenTheMainTextAtTheirOffsets) {
    const EffectCase& c = GetParam();
    const QRect place(20, 20, 160, 60);

    Stage withEffect;
    ui::TransLabelSettings settings = labelSettings("IHe", red);
    settings.effect = c.effect;
    withEffect.add(settings, place);

    Stage layered;
    if (c.copy)
        layered.add(labelSettings("IHe", c.copyColour), place.translated(c.copyOffset));
    layered.add(labelSettings("IHe", red), place.translated(c.mainOffset));

    EXPECT_TRUE(sameImage(grabbed(withEffect.parent), grabbed(layered.parent)));
}

INSTANTIATE_TEST_SUITE_P(
    Effects, TransLabelEffect,
    ::testing::Values(EffectCase{"None", 0, false, {}, {}, {0, 0}},
                      EffectCase{"WhiteCopyRightAndDown", 1, true, Qt::white, {1, 1}, {0, 0}},
                      EffectCase{"WhiteCopyInPlaceMainTextRightAndDown", 2, true, Qt::white, {0, 0}, {1, 1}},
                      EffectCase{"BlackCopyTwoRightAndDown", 3, true, Qt::black, {2, 2}, {0, 0}},
                      EffectCase{"UnknownEffectIsNone", 7, false, {}, {}, {0, 0}}),
    [](const ::testing::TestParamInfo<EffectCase>& info) { return std::string(info.param.name); });

// The text as plain QPainter text in the label's font, at the top left of a yellow image.
QImage plainText(QSize size, const QString& text, int extraFlags = 0) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(yellow);
    QPainter painter(&image);
    painter.setFont(ui::makeFont(bigSong));
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(0, 0), size),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | extraFlags, text);
    return image;
}

QImage labelOnYellow(QSize size, const char* text) {
    QWidget parent;
    parent.resize(size);
    Stage::paint(parent, yellow);
    ui::TransLabel label(labelSettings(text), &parent);
    label.setGeometry(QRect(QPoint(0, 0), size));
    return grabbed(parent);
}

// Black ink, on yellow or on blue.
bool dark(QColor colour) {
    return std::max({colour.red(), colour.green(), colour.blue()}) < 160;
}

TEST_F(TransLabel, ShowsOneAmpersandForTwo) {
    const QSize size(200, 60);
    EXPECT_TRUE(sameImage(labelOnYellow(size, "A&&B"), plainText(size, QStringLiteral("A&B"))));
}

TEST_F(TransLabel, HidesASingleAmpersandAndUnderlinesTheNextCharacter) {
    const QSize size(200, 60);
    const QImage label = labelOnYellow(size, "A&B");
    const QFontMetrics metrics(ui::makeFont(bigSong));
    const int baseline = metrics.ascent();
    const QRect letters(0, 0, size.width(), baseline);
    const QRect below(0, baseline + 1, size.width(), size.height() - baseline - 1);

    // Down to the baseline the label shows "AB" and no ampersand. The underlined B may sit a pixel off,
    // as Qt shapes it as a run of its own.
    const QRect shown = inkBounds(label, letters, dark);
    const QRect ab = inkBounds(plainText(size, QStringLiteral("AB")), letters, dark);
    EXPECT_LE(std::abs(shown.width() - ab.width()), 2) << shown.width() << " against " << ab.width();
    EXPECT_LT(shown.width(), inkBounds(plainText(size, QStringLiteral("A&B")), letters, dark).width() -
                                 metrics.horizontalAdvance(QLatin1Char('&')) / 2);

    // Below it, where "AB" has no ink, runs the underline, under the B alone.
    ASSERT_TRUE(inkBounds(plainText(size, QStringLiteral("AB")), below, dark).isEmpty());
    const QRect underline = inkBounds(label, below, dark);
    const QRect letterA = inkBounds(plainText(size, QStringLiteral("A")), letters, dark);
    const QRect letterB = inkBounds(plainText(size, QStringLiteral("B")), letters, dark);
    ASSERT_FALSE(underline.isEmpty());
    EXPECT_GT(underline.left(), letterA.center().x());
    EXPECT_GE(underline.width(), letterB.width() / 2);
}

TEST_F(TransLabel, DoesNotExpandTabs) {
    const QSize size(400, 60);
    const int expandedTabStop = QFontMetrics(ui::makeFont(bigSong)).horizontalAdvance(QLatin1Char('x')) * 8;
    const QRect ink = inkBounds(labelOnYellow(size, "A\tB"), QRect(QPoint(0, 0), size), dark);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.right(), expandedTabStop);
    // An expanding layout would have put the B beyond the tab stop.
    EXPECT_GT(inkBounds(plainText(size, QStringLiteral("A\tB"), Qt::TextExpandTabs),
                        QRect(QPoint(0, 0), size), dark)
                  .right(),
              expandedTabStop);
}

enum class Band { Start, Middle, End };

struct LayoutCase {
    const char* name;
    const char* text;
    ui::HorizontalAlignment horizontal;
    ui::VerticalAlignment vertical;
    bool wordWrap;
    Band across;
    Band down;
    bool severalLines;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

class TransLabelLayout : public UiTest, public ::testing::WithParamInterface<LayoutCase> {};

// Where the ink lies in a label much larger than its text.
TEST_P(TransLabelLayout, PlacesTheTextByAlignmentAndWordWrap) {
    const LayoutCase& c = GetParam();
    const QSize size(150, 200);
    QWidget parent;
    parent.resize(size);
    Stage::paint(parent, yellow);
    ui::TransLabelSettings settings = labelSettings(c.text);
    settings.horizontal = c.horizontal;
    settings.vertical = c.vertical;
    settings.wordWrap = c.wordWrap;
    ui::TransLabel label(settings, &parent);
    label.setGeometry(QRect(QPoint(0, 0), size));

    const QRect ink = inkBounds(grabbed(parent), QRect(QPoint(0, 0), size), dark);
    ASSERT_FALSE(ink.isEmpty());
    const int line = QFontMetrics(ui::makeFont(bigSong)).height();
    EXPECT_EQ(ink.height() > line, c.severalLines) << "ink " << ink.top() << " to " << ink.bottom();

    switch (c.down) {
    case Band::Start:
        EXPECT_LT(ink.top(), line / 2);
        break;
    case Band::Middle:
        EXPECT_GE(ink.top(), (size.height() - line) / 2);
        EXPECT_LE(ink.bottom(), (size.height() + line) / 2);
        break;
    case Band::End:
        EXPECT_GT(ink.top(), size.height() - line);
        break;
    }
    // The text is narrower than the label by far more than these margins.
    switch (c.across) {
    case Band::Start:
        EXPECT_LT(ink.left(), 6);
        break;
    case Band::Middle:
        EXPECT_LE(std::abs(ink.center().x() - size.width() / 2), 4) << ink.left() << " to " << ink.right();
        break;
    case Band::End:
        EXPECT_GT(ink.right(), size.width() - 6);
        break;
    }
}

using HA = ui::HorizontalAlignment;
using VA = ui::VerticalAlignment;

INSTANTIATE_TEST_SUITE_P(
    Layouts, TransLabelLayout,
    ::testing::Values(
        // At 40 pixels "ab cd" fits in the 150-pixel label and "ab cd ef gh" does not.
        LayoutCase{"OneLineAtTheTopLeft", "ab cd", HA::Left, VA::Top, false, Band::Start, Band::Start, false},
        LayoutCase{"OneLineCentred", "ab cd", HA::Centre, VA::Centre, false, Band::Middle, Band::Middle,
                   false},
        LayoutCase{"OneLineAtTheBottomRight", "ab cd", HA::Right, VA::Bottom, false, Band::End, Band::End,
                   false},
        LayoutCase{"NewlineDoesNotBreakOneLine", "ab\ncd", HA::Left, VA::Top, false, Band::Start, Band::Start,
                   false},
        LayoutCase{"WrappedStartsAtTheTopThoughCentred", "ab cd ef gh", HA::Left, VA::Centre, true,
                   Band::Start, Band::Start, true},
        LayoutCase{"WrappedStartsAtTheTopThoughAtTheBottom", "ab cd ef gh", HA::Right, VA::Bottom, true,
                   Band::End, Band::Start, true}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST_F(TransLabel, NeverGrowsButCutsItsTextAtItsOwnEdge) {
    Stage narrow;
    narrow.add(labelSettings("WWWWWWWW"), QRect(10, 10, 60, 60));
    Stage wide;
    wide.add(labelSettings("WWWWWWWW"), QRect(10, 10, 190, 60));
    const QImage cut = grabbed(narrow.parent);
    const QImage whole = grabbed(wide.parent);
    ASSERT_GT(inkBounds(whole, QRect(0, 0, 200, 100), dark).right(), 100);
    EXPECT_TRUE(sameImage(cut.copy(0, 0, 70, 100), whole.copy(0, 0, 70, 100)));
    EXPECT_TRUE(inkBounds(cut, QRect(70, 0, 130, 100), dark).isEmpty());
}

// Changes after which the window must show what a fresh paint of the new state shows: nothing of the old
// glyphs may stay behind.
struct ChangeCase {
    const char* name;
    std::function<void(ui::TransLabel&)> change;
};

void PrintTo(const ChangeCase& c, std::ostream* out) {
    *out << c.name;
}

class TransLabelChange : public UiTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(TransLabelChange, RepaintsWhatLiesBeneathBeforeTheLabel) {
    const QRect place(20, 10, 160, 60);
    ui::TransLabelSettings settings = labelSettings("WHW");
    settings.effect = 3;

    Stage live;
    ui::TransLabel& label = live.add(settings, place);
    live.parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&live.parent));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inkBounds(onScreen(live.parent), place, dark).isEmpty(); }));

    GetParam().change(label);

    Stage fresh;
    ui::TransLabel& expected = fresh.add(settings, place);
    GetParam().change(expected);
    const QImage wanted = grabbed(fresh.parent);
    // Waits for Qt's repaint, which the change only requested.
    const bool repainted = QTest::qWaitFor([&] { return onScreen(live.parent) == wanted; });
    EXPECT_TRUE(repainted);
    EXPECT_TRUE(sameImage(onScreen(live.parent), wanted));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, TransLabelChange,
    ::testing::Values(ChangeCase{"TextEmptied", [](ui::TransLabel& l) { l.setSettings(labelSettings("")); }},
                      ChangeCase{"TextShortened",
                                 [](ui::TransLabel& l) {
                                     auto s = labelSettings("W");
                                     s.effect = 3;
                                     l.setSettings(s);
                                 }},
                      ChangeCase{"ColourAndEffectChanged",
                                 [](ui::TransLabel& l) { l.setSettings(labelSettings("WHW", red)); }},
                      ChangeCase{"AlignmentChanged",
                                 [](ui::TransLabel& l) {
                                     auto s = labelSettings("WHW");
                                     s.effect = 3;
                                     s.vertical = ui::VerticalAlignment::Bottom;
                                     l.setSettings(s);
                                 }},
                      ChangeCase{"Moved", [](ui::TransLabel& l) { l.move(30, 40); }}),
    [](const ::testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace uitest
