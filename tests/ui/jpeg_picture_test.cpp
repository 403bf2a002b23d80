// Decoding JPEG pictures with libjpeg, and refusing what cannot be decoded without harm to the process.
#include "jpeg_fixture.h"

#include "ui/jpeg_picture.h"

#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <span>

namespace uitest {
namespace {

QImage decode(const QByteArray& bytes) {
    return ui::decodeJpeg(
        std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

TEST(JpegPicture, DecodesToAnRgbImageOfItsSize) {
    QImage drawn(168, 56, QImage::Format_RGB888);
    drawn.fill(QColor(168, 210, 127));
    for (int y = 16; y < 40; ++y)
        for (int x = 32; x < 64; ++x)
            drawn.setPixelColor(x, y, QColor(248, 100, 0));

    const QImage decoded = decode(encodeJpeg(drawn));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), QSize(168, 56));
    EXPECT_EQ(decoded.format(), QImage::Format_RGB888);
    EXPECT_TRUE(near(decoded.pixelColor(4, 4), QColor(168, 210, 127)));
    EXPECT_TRUE(near(decoded.pixelColor(48, 28), QColor(248, 100, 0)));
    EXPECT_TRUE(near(decoded.pixelColor(150, 50), QColor(168, 210, 127)));
}

TEST(JpegPicture, DecodesAGreyscalePictureToRgb) {
    QImage grey(40, 24, QImage::Format_Grayscale8);
    grey.fill(QColor(90, 90, 90));
    const QImage decoded = decode(encodeJpeg(grey));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_TRUE(near(decoded.pixelColor(20, 12), QColor(90, 90, 90)));
}

struct Undecodable {
    const char* name;
    std::function<QByteArray(const QByteArray& valid)> make;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const Undecodable& c, std::ostream* out) {
    *out << c.name;
}

const Undecodable undecodable[] = {
    {"Empty", [](const QByteArray&) { return QByteArray(); }},
    {"NotAJpeg", [](const QByteArray&) { return QByteArray("GIF89a this is no JPEG at all"); }},
    {"StartMarkerOnly", [](const QByteArray&) { return QByteArray("\xFF\xD8", 2); }},
    {"HeaderOnly", [](const QByteArray& valid) { return valid.left(valid.indexOf("\xFF\xDA") + 2); }},
    {"CutInTheMiddle", [](const QByteArray& valid) { return valid.left(valid.size() / 2); }},
    {"CutBeforeTheEndMarker", [](const QByteArray& valid) { return valid.left(valid.size() - 2); }},
    {"MarkerInsideTheScan",
     [](const QByteArray& valid) {
         QByteArray broken = valid;
         const qsizetype scan = broken.indexOf("\xFF\xDA") + 40;
         broken[scan] = '\xFF';
         broken[scan + 1] = '\xC4'; // a table marker where entropy-coded data belongs
         return broken;
     }},
    {"ImpossibleSize",
     [](const QByteArray& valid) {
         QByteArray broken = valid;
         const qsizetype frame = broken.indexOf("\xFF\xC0");
         broken[frame + 5] = 0; // height 0
         broken[frame + 6] = 0;
         return broken;
     }},
};

class UndecodableJpeg : public ::testing::TestWithParam<Undecodable> {};

TEST_P(UndecodableJpeg, GivesNoPicture) {
    const QByteArray valid = flatJpeg(168, 56, QColor(40, 120, 200));
    ASSERT_FALSE(decode(valid).isNull());
    EXPECT_TRUE(decode(GetParam().make(valid)).isNull());
}

INSTANTIATE_TEST_SUITE_P(Data, UndecodableJpeg, ::testing::ValuesIn(undecodable),
                         [](const ::testing::TestParamInfo<Undecodable>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace uitest
