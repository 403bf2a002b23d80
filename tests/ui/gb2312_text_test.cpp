// The conversion between Qt's text and the GB2312 bytes the numeric core reads.
#include "ui/gb2312_text.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

struct Conversion {
    const char* name;
    QString text;
    std::string bytes;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const Conversion& c, std::ostream* out) {
    *out << c.name;
}

class Gb2312RoundTrip : public ::testing::TestWithParam<Conversion> {};

TEST_P(Gb2312RoundTrip, GivesTheGb2312BytesAndBack) {
    const Conversion& c = GetParam();
    EXPECT_EQ(ui::toGb2312(c.text), c.bytes);
    EXPECT_EQ(ui::fromGb2312(c.bytes), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Gb2312RoundTrip,
    ::testing::Values(
        Conversion{"Empty", QString(), ""}, Conversion{"Ascii", "1.5e-3", "1.5e-3"},
        Conversion{"FullWidthDigit", QString::fromUtf8("１"), "\xA3\xB1"},
        Conversion{"FullWidthNumber", QString::fromUtf8("１．５"), "\xA3\xB1\xA3\xAE\xA3\xB5"},
        Conversion{"FullWidthColon", QString::fromUtf8("r："), "r\xA3\xBA"},
        Conversion{"Caption", QString::fromUtf8("开始计算"), "\xBF\xAA\xCA\xBC\xBC\xC6\xCB\xE3"},
        Conversion{"TitleWithEmDashes", QString::fromUtf8("Corvalen——P"), "Corvalen\xA1\xAA\xA1\xAAP"}),
    [](const ::testing::TestParamInfo<Conversion>& info) { return std::string(info.param.name); });

class OutsideGbk : public ::testing::TestWithParam<Conversion> {};

TEST_P(OutsideGbk, BecomesOneQuestionMarkPerCharacter) {
    EXPECT_EQ(ui::toGb2312(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Texts, OutsideGbk,
                         ::testing::Values(Conversion{"Thai", QString::fromUtf8("1ก2"), "1?2"},
                                           Conversion{"BeyondTheBasicPlane", QString::fromUtf8("a😀b"), "a?b"},
                                           Conversion{"LoneSurrogate", QString(QChar(0xD800)) + "7", "?7"},
                                           Conversion{"SeveralInARow", QString::fromUtf8("กขค"), "???"}),
                         [](const ::testing::TestParamInfo<Conversion>& info) {
                             return std::string(info.param.name);
                         });

class BadGbkBytes : public ::testing::TestWithParam<Conversion> {};

TEST_P(BadGbkBytes, BecomeQuestionMarksWithoutSwallowingWhatFollows) {
    EXPECT_EQ(ui::fromGb2312(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Bytes, BadGbkBytes,
                         ::testing::Values(Conversion{"LeadByteAtTheEnd", "5?", "5\x81"},
                                           Conversion{"LeadByteBeforeAscii", "?1",
                                                      "\x81"
                                                      "1"},
                                           Conversion{"ByteFF", "?2",
                                                      "\xFF"
                                                      "2"}),
                         [](const ::testing::TestParamInfo<Conversion>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
