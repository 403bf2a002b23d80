// The theme's drawing on its own, on pictures made for the test: the darkening of colours, where a group
// box's title goes, and every pixel of a group box's frame.
#include "theme_fixture.h"

#include "ui/theme_painting.h"
#include "ui/theme_scheme.h"

#include <QApplication>
#include <QPainter>

#include <gtest/gtest.h>

namespace uitest {
namespace {

struct DarkenCase {
    const char* name;
    QRgb colour;
    int amount;
    QRgb darker;
};

class Darken : public ::testing::TestWithParam<DarkenCase> {};

TEST_P(Darken, SubtractsFromThePackedColourWithBorrow) {
    const DarkenCase& c = GetParam();
    EXPECT_EQ(ui::darken(QColor(c.colour), c.amount).rgb(), QColor(c.darker).rgb());
}

INSTANTIATE_TEST_SUITE_P(Colours, Darken,
                         ::testing::Values(
                             // Every part large enough: each loses the amount.
                             DarkenCase{"GreyFace", qRgb(239, 239, 239), 32, qRgb(207, 207, 207)},
                             DarkenCase{"White", qRgb(255, 255, 255), 32, qRgb(223, 223, 223)},
                             DarkenCase{"ExactlyTheAmount", qRgb(32, 32, 32), 32, qRgb(0, 0, 0)},
                             // 0x404010 - 0x202020 = 0x201FF0: red wraps and green lends it one.
                             DarkenCase{"RedBorrowsFromGreen", qRgb(16, 64, 64), 32, qRgb(240, 31, 32)},
                             // 0x401040 - 0x202020 = 0x1FF020.
                             DarkenCase{"GreenBorrowsFromBlue", qRgb(64, 16, 64), 32, qRgb(32, 240, 31)},
                             // 0 - 0x202020 wraps to 0xFFDFDFE0; the top byte is dropped.
                             DarkenCase{"BlackWrapsRound", qRgb(0, 0, 0), 32, qRgb(224, 223, 223)},
                             DarkenCase{"Nothing", qRgb(1, 2, 3), 0, qRgb(1, 2, 3)}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PlaceCase {
    const char* name;
    ui::TitleAlignment alignment;
    int boxWidth;
    int titleWidth;
    ui::TitlePlace place;
};

class TitlePlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(TitlePlace, FollowsTheAlignment) {
    const PlaceCase& c = GetParam();
    EXPECT_EQ(ui::titlePlace(c.alignment, c.boxWidth, c.titleWidth), c.place);
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, TitlePlace,
    ::testing::Values(PlaceCase{"Left", ui::TitleAlignment::Left, 168, 36, {9, 8, 45}},
                      // (168 - 36) / 2 = 66; gap 61 to 66 + 36 + 4.
                      PlaceCase{"Centre", ui::TitleAlignment::Centre, 168, 36, {66, 61, 106}},
                      // (168 - 37) / 2 = 65.5, truncated.
                      PlaceCase{"CentreOddSpare", ui::TitleAlignment::Centre, 168, 37, {65, 60, 106}},
                      PlaceCase{"Right", ui::TitleAlignment::Right, 168, 36, {122, 122, 157}},
                      // Wider than the box: computed from the measured width, nothing clipped.
                      PlaceCase{"LeftTooWide", ui::TitleAlignment::Left, 40, 100, {9, 8, 109}},
                      // (40 - 101) / 2 = -30.5, truncated toward zero to -30.
                      PlaceCase{"CentreTooWide", ui::TitleAlignment::Centre, 40, 101, {-30, -35, 75}},
                      PlaceCase{"RightTooWide", ui::TitleAlignment::Right, 40, 100, {-70, -70, 29}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CutCase {
    const char* name;
    QString title;
    QString kept;
};

class TitleWithin255Bytes : public ::testing::TestWithParam<CutCase> {};

TEST_P(TitleWithin255Bytes, KeepsWholeCharactersUpTo255Bytes) {
    EXPECT_EQ(ui::titleWithin255Bytes(GetParam().title), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleWithin255Bytes,
    ::testing::Values(CutCase{"Short", QStringLiteral("必填项"), QStringLiteral("必填项")},
                      CutCase{"Empty", QString(), QString()},
                      CutCase{"Latin255", QString(255, QLatin1Char('a')), QString(255, QLatin1Char('a'))},
                      CutCase{"Latin300", QString(300, QLatin1Char('a')), QString(255, QLatin1Char('a'))},
                      // Two bytes each: 127 characters make 254 bytes, a 128th would make 256.
                      CutCase{"Chinese200", QString(200, QChar(0x4E00)), QString(127, QChar(0x4E00))},
                      CutCase{"OddThenChinese", QStringLiteral("a") + QString(200, QChar(0x4E00)),
                              QStringLiteral("a") + QString(127, QChar(0x4E00))},
                      // A character outside GB2312 is written as one "?", a surrogate pair included.
                      CutCase{"SurrogatePairs", QString::fromUtf8("😀").repeated(300),
                              QString::fromUtf8("😀").repeated(255)}),
    [](const auto& info) { return std::string(info.param.name); });

// The picture a group box had before the theme paints it: a two-colour checkerboard, so that every pixel
// the theme leaves alone can be told from one it paints.
const QColor checkerA(10, 20, 30);
const QColor checkerB(200, 100, 0);
const QColor white(255, 255, 255);
const QColor frameColour(191, 184, 191);
const QColor green(0, 128, 0);

QImage checkerboard(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, (x + y) % 2 == 0 ? checkerA : checkerB);
    return image;
}

ui::GroupBoxLook look(const QString& title, ui::TitleAlignment alignment, std::optional<QBrush> brush) {
    return {title, QApplication::font(), alignment, std::move(brush), green, frameColour};
}

int lineHeight(const QFont& font) {
    QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&probe);
    painter.setFont(font);
    return painter.fontMetrics().height();
}

// Without a title every pixel is known: the lines, the cut corners, the brush in the strips along the
// edges, and the old picture everywhere else.
TEST(GroupBoxFrame, WithoutTitleEveryPixelIsFrameBrushOrLeftAlone) {
    constexpr int W = 40;
    constexpr int H = 30;
    QImage image = checkerboard(W, H);
    const QColor b = ui::paintGroupBoxFrame(image, look({}, ui::TitleAlignment::Left, QBrush(white)));
    EXPECT_EQ(b.rgb(), white.rgb());

    // The image's default font, since there is no title.
    const int T = lineHeight(QFont()) / 2;
    const auto cornerB = [&](int x, int y) {
        const int fromLeft = x;
        const int fromRight = W - 1 - x;
        const int fromTop = y - T;
        const int fromBottom = H - 1 - y;
        for (const int across : {fromLeft, fromRight})
            for (const int along : {fromTop, fromBottom})
                if (across >= 0 && along >= 0 && ((across == 0 && along <= 2) || (along == 0 && across <= 2)))
                    return true;
        return false;
    };
    const auto diagonal = [&](int x, int y) {
        const int across = std::min(x, W - 1 - x);
        const int along = y < (T + H) / 2 ? y - T : H - 1 - y;
        return (across == 2 && along == 1) || (across == 1 && along == 2);
    };
    int wrong = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            QColor wanted;
            const bool onLine = y == H - 1 || (y >= T && (x == 0 || x == W - 1)) || y == T;
            const bool inStrip = y <= T + 1 || x < 2 || x >= W - 2 || y >= H - 2;
            if (cornerB(x, y))
                wanted = b;
            else if (diagonal(x, y) || onLine)
                wanted = frameColour;
            else if (inStrip)
                wanted = white;
            else
                wanted = (x + y) % 2 == 0 ? checkerA : checkerB;
            if (image.pixelColor(x, y).rgb() != wanted.rgb() && ++wrong <= 5)
                ADD_FAILURE() << "(" << x << ", " << y << ") is "
                              << image.pixelColor(x, y).name().toStdString() << ", not "
                              << wanted.name().toStdString();
        }
    }
    EXPECT_EQ(wrong, 0);
}

struct AlignmentCase {
    const char* name;
    ui::TitleAlignment alignment;
};

class GroupBoxFrameTitle : public ::testing::TestWithParam<AlignmentCase> {};

TEST_P(GroupBoxFrameTitle, SitsWhereTheAlignmentPutsItOnAGapInTheTopLine) {
    QImage image = checkerboard(168, 112);
    const QString title = QStringLiteral("计算结果");
    ui::paintGroupBoxFrame(image, look(title, GetParam().alignment, QBrush(white)));
    const GroupBoxExpectation expected{title, QApplication::font(), GetParam().alignment, white,
                                       green, frameColour};
    EXPECT_TRUE(groupBoxIsThemed(image.convertToFormat(QImage::Format_RGB32), image.rect(), expected));
}

INSTANTIATE_TEST_SUITE_P(Alignments, GroupBoxFrameTitle,
                         ::testing::Values(AlignmentCase{"Left", ui::TitleAlignment::Left},
                                           AlignmentCase{"Centre", ui::TitleAlignment::Centre},
                                           AlignmentCase{"Right", ui::TitleAlignment::Right}),
                         [](const auto& info) { return std::string(info.param.name); });

// b is what the brush left at the top-left pixel, not the brush's colour: a patterned brush shows it.
TEST(GroupBoxFrame, CutsCornersAndGapInTheColourReadBackFromTheTopLeftPixel) {
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(blue);
    tile.setPixelColor(0, 0, red);
    const QBrush patterned(tile);
    ASSERT_NE(patterned.color().rgb(), red.rgb());

    QImage image = checkerboard(60, 40);
    const QString title = QStringLiteral("Ab");
    const QColor b = ui::paintGroupBoxFrame(image, look(title, ui::TitleAlignment::Left, patterned));
    EXPECT_EQ(b.rgb(), red.rgb());

    const int T = lineHeight(QApplication::font()) / 2;
    const ui::TitlePlace place = ui::titlePlace(ui::TitleAlignment::Left, 60, 0);
    // Both ends of the gap, and a corner pixel of each corner whose tile pixel would be blue.
    for (const QPoint p :
         {QPoint(place.gapFirst, T), QPoint(1, T), QPoint(58, T), QPoint(0, 37), QPoint(59, 38)})
        EXPECT_EQ(image.pixelColor(p).rgb(), red.rgb()) << p.x() << ", " << p.y();
    // The strips keep the pattern.
    EXPECT_EQ(image.pixelColor(5, 0).rgb(), blue.rgb());
    EXPECT_EQ(image.pixelColor(4, 0).rgb(), red.rgb());
}

// Until the first erase there is no brush: the fills draw nothing, and b is whatever was there.
TEST(GroupBoxFrame, WithoutABrushTheFillsLeaveThePictureAlone) {
    QImage image = checkerboard(40, 30);
    const QColor b = ui::paintGroupBoxFrame(image, look({}, ui::TitleAlignment::Left, std::nullopt));
    EXPECT_EQ(b.rgb(), checkerA.rgb());
    const int T = lineHeight(QFont()) / 2;
    for (const QPoint p : {QPoint(5, 0), QPoint(6, 0), QPoint(1, 10), QPoint(38, 10), QPoint(10, 28)})
        EXPECT_EQ(image.pixelColor(p).rgb(), ((p.x() + p.y()) % 2 == 0 ? checkerA : checkerB).rgb());
    EXPECT_EQ(image.pixelColor(10, T).rgb(), frameColour.rgb());
    EXPECT_EQ(image.pixelColor(0, T).rgb(), b.rgb());
}

// A title wider than its box is laid out from its measured width: centred, it starts left of the box,
// and the box shows the middle of it.
TEST(GroupBoxFrame, TitleWiderThanTheBoxIsPlacedWithoutClipping) {
    constexpr int W = 40;
    QImage image = checkerboard(W, 30);
    const QString title = QStringLiteral("必填项必填项必填项");
    ui::paintGroupBoxFrame(image, look(title, ui::TitleAlignment::Centre, QBrush(white)));

    const QImage alone = titleAlone(title, QApplication::font(), green, white);
    ASSERT_GT(alone.width(), W);
    const int left = (W - alone.width()) / 2;
    ASSERT_LT(left, 0);
    const int T = alone.height() / 2;
    // Rows 0 to T hold nothing but the title on the brush: row T lies wholly in the gap.
    const QImage shown = image.convertToFormat(QImage::Format_RGB32).copy(0, 0, W, T + 1);
    EXPECT_EQ(shown, alone.copy(-left, 0, W, T + 1));
}

} // namespace
} // namespace uitest
