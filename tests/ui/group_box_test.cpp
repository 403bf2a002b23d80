// The group box: its title in its colours, font and alignment, its own background, the control-colour
// query it answers, and the controls inside it keeping their own colours.
#include "picture_fixture.h"
#include "ui_fixture.h"

#include "ui/control_colour.h"
#include "ui/edit_box.h"
#include "ui/group_box.h"
#include "ui/trans_label.h"

#include <QFontMetrics>

#include <ostream>

namespace uitest {
namespace {

const QColor green(0, 128, 0);
const QColor yellow(255, 255, 0);

ui::GroupBoxSettings groupSettings(ui::HorizontalAlignment alignment, QColor background) {
    return {.title = "必填项",
            .titleAlignment = alignment,
            .textColour = ui::rgb(0, 128, 0),
            .background = ui::rgb(background.red(), background.green(), background.blue()),
            .font = {.face = "宋体", .pixelHeight = 16, .weight = 400}};
}

bool greenInk(QColor pixel, QColor background) {
    return coverage(pixel, background, green) > 0.3;
}

struct AlignmentCase {
    const char* name;
    ui::HorizontalAlignment alignment;
};

void PrintTo(const AlignmentCase& c, std::ostream* out) {
    *out << c.name;
}

class GroupBoxTitle : public UiTest, public ::testing::WithParamInterface<AlignmentCase> {};

TEST_P(GroupBoxTitle, IsDrawnInItsColourFontAndAlignmentOnTheBackground) {
    ui::GroupBox box(groupSettings(GetParam().alignment, yellow), nullptr);
    box.resize(240, 100);
    const QImage image = grabbed(box);
    const QFontMetrics metrics(box.titleFont());
    const int width = metrics.horizontalAdvance(box.title());

    const QRect band(0, 0, 240, metrics.height());
    const QRect ink = inkBounds(image, band, [](QColor p) { return greenInk(p, yellow); });
    ASSERT_FALSE(ink.isEmpty());
    // The title's own font: its ink is as wide as the title measured in it.
    EXPECT_LE(std::abs(ink.width() - width), 4) << ink.width() << " against " << width;
    // Inside the title's place there is nothing but the title on the background.
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x)
            ASSERT_GE(coverage(image.pixelColor(x, y), yellow, green), 0.0) << x << "," << y;

    const int space = metrics.horizontalAdvance(QLatin1Char(' '));
    switch (GetParam().alignment) {
    case ui::HorizontalAlignment::Left:
        EXPECT_LE(std::abs(ink.left() - 8), space);
        break;
    case ui::HorizontalAlignment::Centre:
        EXPECT_LE(std::abs(ink.center().x() - 120), space);
        break;
    case ui::HorizontalAlignment::Right:
        EXPECT_LE(std::abs(ink.right() - (240 - 8)), space + 2);
        break;
    }
    // Below the title, inside the frame, only the background.
    EXPECT_EQ(image.pixel(120, 60), yellow.rgb());
    EXPECT_EQ(image.pixel(20, 90), yellow.rgb());
}

INSTANTIATE_TEST_SUITE_P(Alignments, GroupBoxTitle,
                         ::testing::Values(AlignmentCase{"Left", ui::HorizontalAlignment::Left},
                                           AlignmentCase{"Centred", ui::HorizontalAlignment::Centre},
                                           AlignmentCase{"Right", ui::HorizontalAlignment::Right}),
                         [](const ::testing::TestParamInfo<AlignmentCase>& info) {
                             return std::string(info.param.name);
                         });

using GroupBox = UiTest;

TEST_F(GroupBox, AnswersTheColourQueryForItselfWhateverItsParentRecorded) {
    ui::GroupBox outer(groupSettings(ui::HorizontalAlignment::Left, Qt::white), nullptr);
    ui::GroupBox inner(groupSettings(ui::HorizontalAlignment::Left, yellow), &outer);
    outer.setChildColours(inner, {Qt::red, Qt::blue, QBrush(Qt::blue)});

    const std::optional<ui::ControlColours> answer = ui::queryControlColours(inner);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, (ui::ControlColours{green, yellow, QBrush(yellow)}));
}

TEST_F(GroupBox, LetsTheControlsInsideKeepTheirOwnColours) {
    ui::GroupBox box(groupSettings(ui::HorizontalAlignment::Left, yellow), nullptr);
    box.resize(240, 120);
    const ui::EditBoxSettings editSettings{};
    ui::EditBox edit(editSettings, &box);
    edit.setGeometry(20, 30, 100, 24);
    edit.setText(QStringLiteral("1.5"));
    box.setChildColours(edit, {Qt::black, Qt::white, QBrush(Qt::white)});
    ui::TransLabel label({.text = "r：", .font = {.face = "宋体", .pixelHeight = 21, .weight = 400}}, &box);
    label.setGeometry(130, 30, 40, 40);

    EXPECT_EQ(ui::queryControlColours(edit), (ui::ControlColours{Qt::black, Qt::white, QBrush(Qt::white)}));
    EXPECT_EQ(ui::queryControlColours(label), std::nullopt);

    const QImage image = grabbed(box);
    // The edit box's white, not the group box's yellow, and its black text.
    EXPECT_EQ(image.pixel(110, 42), QColor(Qt::white).rgb());
    EXPECT_FALSE(
        inkBounds(image, QRect(20, 30, 100, 24), [](QColor p) { return p.lightness() < 80; }).isEmpty());
    // The label's black glyphs straight on the yellow.
    int ink = 0;
    for (int y = 30; y < 70; ++y)
        for (int x = 130; x < 170; ++x) {
            const double share = coverage(image.pixelColor(x, y), yellow, Qt::black);
            ASSERT_GE(share, 0.0) << x << "," << y;
            ink += share > 0.5;
        }
    EXPECT_GT(ink, 10);
}

} // namespace
} // namespace uitest
