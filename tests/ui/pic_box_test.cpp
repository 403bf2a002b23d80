// The picture box: its background, the three display modes, the six border styles, animated pictures and
// pictures that cannot be decoded.
#include "picture_fixture.h"
#include "ui_fixture.h"

#include "ui/pic_box.h"

#include <QTest>

#include <ostream>
#include <utility>
#include <vector>

namespace uitest {
namespace {

const QColor pictureGreen(0, 200, 0);
const QColor backgroundRed(255, 0, 0);

ui::PicBoxSettings boxSettings(ui::PicBoxDisplay display, ui::PicBoxBorder border = ui::PicBoxBorder::None) {
    return {.picture = "test picture",
            .border = border,
            .background = ui::rgb(255, 0, 0),
            .display = display,
            .animate = true};
}

// Every pixel of `area` in `image` is `inside` within `picture` and `outside` elsewhere.
void expectPicture(const QImage& image, QRect area, QRect picture, QColor inside, QColor outside) {
    int wrong = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor expected = picture.contains(x, y) ? inside : outside;
            if (image.pixel(x, y) != expected.rgb() && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " should be " << expected.name().toStdString()
                              << " but is " << image.pixelColor(x, y).name().toStdString();
        }
    EXPECT_EQ(wrong, 0);
}

struct DisplayCase {
    const char* name;
    ui::PicBoxDisplay display;
    QSize picture;
    QSize box;
    QRect expected; // where the picture shows
};

void PrintTo(const DisplayCase& c, std::ostream* out) {
    *out << c.name;
}

class PicBoxDisplay : public UiTest, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(PicBoxDisplay, PlacesThePictureOnTheBackground) {
    const DisplayCase& c = GetParam();
    ui::PicBox box(boxSettings(c.display), solidPng(c.picture, pictureGreen), nullptr);
    box.resize(c.box);
    ASSERT_TRUE(box.hasPicture());
    expectPicture(grabbed(box), box.rect(), c.expected, pictureGreen, backgroundRed);
}

using Mode = ui::PicBoxDisplay;

INSTANTIATE_TEST_SUITE_P(
    Modes, PicBoxDisplay,
    ::testing::Values(
        DisplayCase{"NaturalSizeAtTheTopLeft", Mode::NaturalSize, {20, 10}, {30, 30}, {0, 0, 20, 10}},
        DisplayCase{"NaturalSizeCutWhereItDoesNotFit", Mode::NaturalSize, {40, 20}, {30, 30}, {0, 0, 30, 20}},
        DisplayCase{"StretchedToTheBox", Mode::Stretched, {20, 10}, {30, 30}, {0, 0, 30, 30}},
        DisplayCase{
            "ShrunkToFitNeverEnlargesAndCentres", Mode::ShrunkToFit, {20, 10}, {31, 31}, {5, 10, 20, 10}},
        DisplayCase{"ShrunkToFitByTheWidth", Mode::ShrunkToFit, {40, 20}, {30, 30}, {0, 7, 30, 15}},
        DisplayCase{"ShrunkToFitByTheHeight", Mode::ShrunkToFit, {10, 40}, {30, 20}, {12, 0, 5, 20}},
        DisplayCase{
            "ShrunkToFitWhereOnlyTheWidthFits", Mode::ShrunkToFit, {20, 40}, {30, 30}, {7, 0, 15, 30}}),
    [](const ::testing::TestParamInfo<DisplayCase>& info) { return std::string(info.param.name); });

struct FitCase {
    const char* name;
    QSize picture;
    QSize box;
    QRect expected;
};

void PrintTo(const FitCase& c, std::ostream* out) {
    *out << c.name;
}

class ShrunkToFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(ShrunkToFit, TruncatesTheScaledSidesAndHalvesTheSpareSpace) {
    EXPECT_EQ(ui::shrunkToFit(GetParam().picture, GetParam().box), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ShrunkToFit,
    ::testing::Values(FitCase{"FitsWithOddSpareSpace", {310, 190}, {313, 193}, {1, 1, 310, 190}},
                      FitCase{"ExactlyAsLarge", {320, 180}, {320, 180}, {0, 0, 320, 180}},
                      FitCase{"WidthRatioIsSmaller", {320, 180}, {160, 160}, {0, 35, 160, 90}},
                      FitCase{"HeightTruncated", {310, 101}, {100, 100}, {0, 34, 100, 32}},
                      // 49 × (1 / 49) is 0.99999999999999989 in floating point.
                      FitCase{"RatioThatFloatingPointWouldTruncateToZero", {49, 49}, {1, 1}, {0, 0, 1, 1}},
                      FitCase{"ScaledSideBelowOnePixel", {1000, 1}, {10, 10}, {0, 5, 10, 0}},
                      FitCase{"EmptyBox", {20, 20}, {0, 0}, {}}),
    [](const ::testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

// Each ring of a border from the outside in, as the palette roles of its top-left and bottom-right
// lines.
struct BorderCase {
    const char* name;
    ui::PicBoxBorder border;
    std::vector<std::pair<QPalette::ColorRole, QPalette::ColorRole>> rings;
};

void PrintTo(const BorderCase& c, std::ostream* out) {
    *out << c.name;
}

class PicBoxBorder : public UiTest, public ::testing::WithParamInterface<BorderCase> {};

TEST_P(PicBoxBorder, DrawsItsRingsAndPlacesThePictureInside) {
    const BorderCase& c = GetParam();
    ui::PicBox box(boxSettings(Mode::NaturalSize, c.border), solidPng({4, 4}, pictureGreen), nullptr);
    box.resize(24, 20);
    const QImage image = grabbed(box);
    const int width = static_cast<int>(c.rings.size());
    ASSERT_EQ(box.clientArea(), box.rect().adjusted(width, width, -width, -width));

    for (int k = 0; k < width; ++k) {
        SCOPED_TRACE(k);
        const QRgb topLeft = box.palette().color(c.rings[k].first).rgb();
        const QRgb bottomRight = box.palette().color(c.rings[k].second).rgb();
        EXPECT_EQ(image.pixel(12, k), topLeft);
        EXPECT_EQ(image.pixel(k, 10), topLeft);
        EXPECT_EQ(image.pixel(12, 19 - k), bottomRight);
        EXPECT_EQ(image.pixel(23 - k, 10), bottomRight);
    }
    expectPicture(image, box.clientArea(), QRect(width, width, 4, 4), pictureGreen, backgroundRed);
}

using Role = QPalette::ColorRole;

INSTANTIATE_TEST_SUITE_P(
    Borders, PicBoxBorder,
    ::testing::Values(
        BorderCase{"None", ui::PicBoxBorder::None, {}},
        BorderCase{"SunkenEdge",
                   ui::PicBoxBorder::Sunken,
                   {{Role::Dark, Role::Light}, {Role::Shadow, Role::Midlight}}},
        BorderCase{"RaisedDoubleFrame",
                   ui::PicBoxBorder::RaisedDouble,
                   {{Role::Midlight, Role::Shadow}, {Role::Light, Role::Dark}, {Role::Button, Role::Button}}},
        BorderCase{"ThinSunkenEdge", ui::PicBoxBorder::ThinSunken, {{Role::Dark, Role::Light}}},
        BorderCase{"SunkenEdgeInsideARaisedDoubleFrame",
                   ui::PicBoxBorder::SunkenInRaisedDouble,
                   {{Role::Midlight, Role::Shadow},
                    {Role::Light, Role::Dark},
                    {Role::Button, Role::Button},
                    {Role::Dark, Role::Light},
                    {Role::Shadow, Role::Midlight}}},
        BorderCase{"ThinLine", ui::PicBoxBorder::ThinLine, {{Role::WindowText, Role::WindowText}}},
        BorderCase{"UnknownStyleIsNone", static_cast<ui::PicBoxBorder>(9), {}}),
    [](const ::testing::TestParamInfo<BorderCase>& info) { return std::string(info.param.name); });

using PicBox = UiTest;

TEST_F(PicBox, PlaysAGifOfSeveralFrames) {
    const QColor frameBlue(0, 0, 255);
    ui::PicBox box(boxSettings(Mode::NaturalSize), solidGif({8, 8}, {pictureGreen, frameBlue}, 2), nullptr);
    box.resize(10, 10);
    ASSERT_TRUE(box.hasPicture());
    EXPECT_TRUE(box.isPlaying());
    // Frames follow each other every 20 ms for as long as the box exists; the second one turns up.
    const bool secondFrameShown =
        QTest::qWaitFor([&] { return grabbed(box).pixelColor(4, 4) == frameBlue; }, 10000);
    EXPECT_TRUE(secondFrameShown);
}

TEST_F(PicBox, WithoutAnimateShowsTheFirstFrameStill) {
    ui::PicBoxSettings settings = boxSettings(Mode::NaturalSize);
    settings.animate = false;
    ui::PicBox box(settings, solidGif({8, 8}, {pictureGreen, QColor(0, 0, 255)}, 2), nullptr);
    box.resize(10, 10);
    EXPECT_FALSE(box.isPlaying());
    expectPicture(grabbed(box), box.rect(), QRect(0, 0, 8, 8), pictureGreen, backgroundRed);
}

TEST_F(PicBox, DrawsAGifOfOneFrameStill) {
    ui::PicBox box(boxSettings(Mode::NaturalSize), solidGif({8, 8}, {pictureGreen}, 0), nullptr);
    box.resize(10, 10);
    EXPECT_FALSE(box.isPlaying());
    expectPicture(grabbed(box), box.rect(), QRect(0, 0, 8, 8), pictureGreen, backgroundRed);
}

struct BrokenPicture {
    const char* name;
    QByteArray bytes;
};

void PrintTo(const BrokenPicture& c, std::ostream* out) {
    *out << c.name;
}

class UndecodablePicture : public UiTest, public ::testing::WithParamInterface<BrokenPicture> {};

TEST_P(UndecodablePicture, LeavesOnlyTheBackground) {
    for (const ui::PicBoxDisplay display : {Mode::NaturalSize, Mode::Stretched, Mode::ShrunkToFit}) {
        ui::PicBox box(boxSettings(display), GetParam().bytes, nullptr);
        box.resize(30, 20);
        EXPECT_FALSE(box.hasPicture());
        EXPECT_FALSE(box.isPlaying());
        expectPicture(grabbed(box), box.rect(), QRect(), pictureGreen, backgroundRed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, UndecodablePicture,
    ::testing::Values(BrokenPicture{"NoBytes", QByteArray()},
                      BrokenPicture{"NotAPicture", QByteArray("not a picture")},
                      BrokenPicture{"GifHeaderOnly", QByteArray("GIF89a\x08\x00\x08\x00", 10)},
                      BrokenPicture{"PngSignatureOnly", QByteArray("\x89PNG\r\n\x1a\n", 8)}),
    [](const ::testing::TestParamInfo<BrokenPicture>& info) { return std::string(info.param.name); });

} // namespace
} // namespace uitest
