// Making fonts from the definition's font settings: the Song face's stand-in, the character height as
// the em height, the style flags, and the settings that fall back to the default GUI font.
#include "ui/font_setting.h"

#include <QApplication>
#include <QFontInfo>

#include <gtest/gtest.h>

#include <ostream>

namespace uitest {
namespace {

struct FontCase {
    const char* name;
    ui::FontSetting setting;
    const char* family; // nullptr: the default GUI font
};

void PrintTo(const FontCase& c, std::ostream* out) {
    *out << c.name;
}

class MakeFont : public ::testing::TestWithParam<FontCase> {};

TEST_P(MakeFont, GivesTheFaceAtTheCharacterHeightOrTheDefaultGuiFont) {
    const FontCase& c = GetParam();
    const QFont font = ui::makeFont(c.setting);
    if (c.family == nullptr) {
        EXPECT_EQ(font, QApplication::font());
        return;
    }
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), QString::fromUtf8(c.family));
    // The character height is the em height: the line is taller by the face's leading.
    EXPECT_EQ(font.pixelSize(), c.setting.pixelHeight);
    EXPECT_EQ(info.pixelSize(), c.setting.pixelHeight);
    EXPECT_EQ(info.weight(), c.setting.weight);
    EXPECT_EQ(font.italic(), c.setting.italic);
    EXPECT_EQ(font.underline(), c.setting.underline);
    EXPECT_EQ(font.strikeOut(), c.setting.strikeOut);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MakeFont,
    ::testing::Values(
        FontCase{
            "FieldLabelSongFace", {.face = "宋体", .pixelHeight = 21, .weight = 400}, "Noto Serif CJK SC"},
        FontCase{
            "HeadlineSongFaceBold", {.face = "宋体", .pixelHeight = 32, .weight = 700}, "Noto Serif CJK SC"},
        FontCase{"SongFaceByItsLatinName",
                 {.face = "SimSun", .pixelHeight = 16, .weight = 400},
                 "Noto Serif CJK SC"},
        FontCase{"StyleFlags",
                 {.face = "宋体",
                  .pixelHeight = 18,
                  .weight = 400,
                  .italic = true,
                  .underline = true,
                  .strikeOut = true},
                 "Noto Serif CJK SC"},
        FontCase{"InstalledFaceIsKept",
                 {.face = "DejaVu Serif", .pixelHeight = 14, .weight = 700},
                 "DejaVu Serif"},
        FontCase{"EmptyFaceIsTheDefaultGuiFont", {}, nullptr},
        FontCase{"ZeroHeight", {.face = "宋体", .pixelHeight = 0, .weight = 400}, nullptr},
        FontCase{"NegativeHeight", {.face = "宋体", .pixelHeight = -21, .weight = 400}, nullptr},
        FontCase{"WeightZero", {.face = "宋体", .pixelHeight = 21, .weight = 0}, nullptr},
        FontCase{"WeightAboveTheScale", {.face = "宋体", .pixelHeight = 21, .weight = 1001}, nullptr}),
    [](const ::testing::TestParamInfo<FontCase>& info) { return std::string(info.param.name); });

TEST(MakeFontFace, AMissingFaceThatIsNoSongFaceIsLeftToFontMatching) {
    EXPECT_EQ(ui::resolvedFace(QStringLiteral("No Such Face 7")), QStringLiteral("No Such Face 7"));
    const QFont font = ui::makeFont({.face = "No Such Face 7", .pixelHeight = 19, .weight = 700});
    EXPECT_EQ(QFontInfo(font).pixelSize(), 19);
    EXPECT_EQ(QFontInfo(font).weight(), 700);
}

} // namespace
} // namespace uitest
