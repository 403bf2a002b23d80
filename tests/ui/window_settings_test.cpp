// The main window's own settings: title, title-bar buttons, size and place, background and icon.
#include "ui_fixture.h"

#include "ui/outer_geometry.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QScreen>

#include <algorithm>
#include <ostream>

namespace uitest {
namespace {

using MainWindowSettings = UiTest;

TEST_F(MainWindowSettings, TitleReadsWithTwoEmDashes) {
    EXPECT_EQ(mainWindow().windowTitle(), QString::fromUtf8("Corvalen\u2014\u2014Peltramo论坛作品"));
}

TEST_F(MainWindowSettings, HasAWindowMenuAndACloseButtonButNoMinimiseOrMaximise) {
    const Qt::WindowFlags flags = mainWindow().windowFlags();
    EXPECT_EQ(mainWindow().windowType(), Qt::Window); // a normal window, shown in the taskbar
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(MainWindowSettings, OpensCentredOnThePrimaryScreenAtItsOuterSize) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect expected((screen.width() - 522) / 2, (screen.height() - 498) / 2, 522, 498);
    // The offscreen platform draws no frame, so the outer rectangle is the client area.
    EXPECT_EQ(mainWindow().frameGeometry(), expected);
}

TEST_F(MainWindowSettings, CanBeResizedByTheUser) {
    EXPECT_EQ(mainWindow().minimumSize(), QSize(0, 0));
    EXPECT_EQ(mainWindow().maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

TEST_F(MainWindowSettings, BackgroundIsWhite) {
    const QImage image = mainWindow().grab().toImage();
    // Points where no control with a background of its own lies.
    for (const QPoint point : {QPoint(2, 2), QPoint(200, 30), QPoint(500, 480), QPoint(330, 250)})
        EXPECT_EQ(image.pixelColor(point), QColor(Qt::white)) << point.x() << "," << point.y();
}

TEST_F(MainWindowSettings, CarriesTheProgramIconInItsFourSizes) {
    QList<QSize> sizes = mainWindow().windowIcon().availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    EXPECT_EQ(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {256, 256}}));
}

struct CentringCase {
    const char* name;
    QRect screen;
    QPoint expectedTopLeft;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const CentringCase& c, std::ostream* out) {
    *out << c.name;
}

class CentredOuterRect : public ::testing::TestWithParam<CentringCase> {};

TEST_P(CentredOuterRect, HalvesTheSpareSpaceTruncatingTowardZero) {
    const CentringCase& c = GetParam();
    EXPECT_EQ(ui::centredOuterRect(QSize(522, 498), c.screen), QRect(c.expectedTopLeft, QSize(522, 498)));
}

INSTANTIATE_TEST_SUITE_P(
    Screens, CentredOuterRect,
    ::testing::Values(CentringCase{"Xga", {0, 0, 1024, 768}, {251, 135}},
                      CentringCase{"FullHd", {0, 0, 1920, 1080}, {699, 291}},
                      CentringCase{"OddSpareSpace", {0, 0, 1367, 769}, {422, 135}},
                      CentringCase{"SmallerThanTheWindowWithOddOverhang", {0, 0, 501, 400}, {-10, -49}},
                      CentringCase{"ScreenNotAtTheOrigin", {1920, 0, 1280, 1024}, {2299, 263}}),
    [](const ::testing::TestParamInfo<CentringCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace uitest
