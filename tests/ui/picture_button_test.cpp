// The start button's face: its picture centred and clipped to the inside of its frame, or its caption
// when the picture cannot be decoded.
#include "jpeg_fixture.h"
#include "ui_fixture.h"

#include "ui/picture_button.h"

#include <QTest>

namespace uitest {
namespace {

const QColor pictureGreen(0, 200, 0);

using PictureButton = UiTest;

TEST_F(PictureButton, PictureAsLargeAsTheButtonLosesOnlyWhatLiesUnderTheFrame) {
    ui::PictureButton button(QStringLiteral("开始计算"), flatJpeg(168, 56, pictureGreen), nullptr);
    button.resize(168, 56);
    const QImage face = button.grab().toImage();
    const QRect inside = button.pictureArea();
    ASSERT_LT(inside.width(), 168);

    for (const QPoint point : {inside.topLeft(), inside.bottomRight(), inside.center(),
                               QPoint(inside.left(), inside.bottom()), QPoint(inside.right(), inside.top())})
        EXPECT_TRUE(near(face.pixelColor(point), pictureGreen)) << point.x() << "," << point.y();
    for (const QPoint point : {QPoint(0, 0), QPoint(84, 0), QPoint(0, 28), QPoint(167, 55), QPoint(84, 55)})
        EXPECT_FALSE(near(face.pixelColor(point), pictureGreen)) << point.x() << "," << point.y();
}

TEST_F(PictureButton, SmallerPictureSitsInTheMiddle) {
    ui::PictureButton button(QStringLiteral("开始计算"), flatJpeg(100, 30, pictureGreen), nullptr);
    button.resize(168, 56);
    const QImage face = button.grab().toImage();
    // Offsets (168 - 100) / 2 = 34 and (56 - 30) / 2 = 13.
    EXPECT_TRUE(near(face.pixelColor(34, 13), pictureGreen));
    EXPECT_TRUE(near(face.pixelColor(133, 42), pictureGreen));
    EXPECT_FALSE(near(face.pixelColor(33, 28), pictureGreen));
    EXPECT_FALSE(near(face.pixelColor(134, 28), pictureGreen));
    EXPECT_FALSE(near(face.pixelColor(84, 12), pictureGreen));
    EXPECT_FALSE(near(face.pixelColor(84, 43), pictureGreen));
}

TEST_F(PictureButton, ShowsItsCaptionWhenThePictureCannotBeDecoded) {
    ui::PictureButton broken(QStringLiteral("开始计算"), QByteArray("not a picture"), nullptr);
    ui::PictureButton blank(QString(), QByteArray("not a picture"), nullptr);
    broken.resize(168, 56);
    blank.resize(168, 56);
    EXPECT_TRUE(broken.picture().isNull());
    EXPECT_EQ(broken.text(), QString::fromUtf8("开始计算"));
    // The caption is the only difference between the two faces.
    EXPECT_NE(broken.grab().toImage(), blank.grab().toImage());
}

TEST_F(PictureButton, TheStartButtonShowsItsOwnPicture) {
    auto* button = control<ui::PictureButton>("按钮1");
    EXPECT_EQ(button->picture().size(), QSize(168, 56));
    EXPECT_EQ(button->text(), QString::fromUtf8("开始计算"));
}

} // namespace
} // namespace uitest
