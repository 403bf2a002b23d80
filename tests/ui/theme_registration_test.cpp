// Which controls the theme takes and for how long: those that exist when it goes on and those made later,
// until they are destroyed or the theme goes off; the flat look of the controls the main window does not
// have; and what applyTheme answers.
#include "jpeg_fixture.h"
#include "theme_fixture.h"

#include "ui/picture_button.h"
#include "ui/theme.h"
#include "ui/theme_scheme.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTest>

#include <functional>
#include <thread>

namespace uitest {
namespace {

const QColor schemeTwoRing(164, 185, 127);

TEST(ApplyTheme, AnswersWhetherItSwitchedOnOrRemovedATheme) {
    ThemeGuard theme;
    struct Call {
        int scheme;
        int result;
    };
    const Call calls[] = {{0, 0}, {2, 1}, {2, 1}, {1, 1}, {0, 1}, {0, 0}, {7, 0}, {3, 1}, {-1, 1}, {4, 0}};
    for (const Call& call : calls) {
        const int result = ui::applyTheme(call.scheme);
        if (call.result == 0)
            EXPECT_EQ(result, 0) << "applyTheme(" << call.scheme << ")";
        else
            EXPECT_NE(result, 0) << "applyTheme(" << call.scheme << ")";
        EXPECT_EQ(ui::themeScheme(), call.scheme);
    }
}

TEST(ApplyTheme, ChangesNothingFromAnotherThread) {
    ThemeGuard theme;
    QWidget host;
    new QLineEdit(&host);
    int result = -1;
    std::thread worker([&result] { result = ui::applyTheme(2); });
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ui::themeScheme(), 0);
    EXPECT_EQ(ui::themedControlCount(), 0u);
}

// A box that switches the theme off from inside its own paint, which the theme has handed to it.
class SwitchingOffBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    int result = -1;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLineEdit::paintEvent(event);
        if (result == -1 && ui::findThemedControl(this) != nullptr)
            result = ui::applyTheme(0);
    }
};

TEST(ApplyTheme, CanSwitchOffFromInsideAThemedControlsOwnPaint) {
    ThemeGuard theme;
    QWidget host;
    auto* box = new SwitchingOffBox(&host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_EQ(ui::applyTheme(2), 1);
    QCoreApplication::processEvents();
    EXPECT_NE(box->result, 0);
    EXPECT_EQ(ui::themedControlCount(), 0u);
    // The filter that was busy with the paint is gone once the events have run; the box paints as usual.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    box->repaint();
    EXPECT_EQ(ui::findThemedControl(box), nullptr);
}

TEST(ThemeRegistration, MessageBoxOpenedLaterIsThemedFromItsFirstPaint) {
    SteadyCaret caret;
    ThemeGuard theme;
    ASSERT_EQ(ui::applyTheme(2), 1);

    QMessageBox box(QMessageBox::Information, QStringLiteral("Corvalen"), QStringLiteral("计算完成"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    auto* layout = qobject_cast<QGridLayout*>(box.layout());
    ASSERT_NE(layout, nullptr);
    auto* edit = new QLineEdit;
    auto* group = new QGroupBox(QStringLiteral("结果"));
    group->setMinimumSize(160, 60);
    layout->addWidget(edit, layout->rowCount(), 0, 1, layout->columnCount());
    layout->addWidget(group, layout->rowCount(), 0, 1, layout->columnCount());
    QAbstractButton* ok = box.button(QMessageBox::Ok);

    // Nothing of the box has been painted before it is shown, and by then each control has its record.
    box.show();
    for (QWidget* control :
         {static_cast<QWidget*>(edit), static_cast<QWidget*>(group), static_cast<QWidget*>(ok)})
        EXPECT_NE(ui::findThemedControl(control), nullptr) << control->metaObject()->className();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

    const QImage shown = onScreen(box);
    EXPECT_TRUE(ringIs(shown, placeInWindow(*edit), 0, schemeTwoRing));
    EXPECT_TRUE(ringIs(shown, placeInWindow(*edit), 1, ui::windowColour()));
    EXPECT_TRUE(ringIs(shown, placeInWindow(*ok), 0, schemeTwoRing));
    // A message box does not answer the colour query: the group box has its palette's colours.
    const QPalette& palette = group->palette();
    const GroupBoxExpectation look{group->title(),
                                   group->font(),
                                   ui::TitleAlignment::Left,
                                   palette.color(QPalette::Window),
                                   palette.color(QPalette::WindowText),
                                   QColor(191, 184, 191)};
    EXPECT_TRUE(groupBoxIsThemed(shown, placeInWindow(*group), look));
}

TEST(ThemeRegistration, DestroyingAControlRemovesItsRecord) {
    ThemeGuard theme;
    QWidget host;
    auto* early = new QLineEdit(&host);
    host.resize(300, 200);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    ASSERT_EQ(ui::applyTheme(2), 1);
    auto* group = new QGroupBox(QStringLiteral("组"), &host);
    auto* inside = new QPushButton(QStringLiteral("确定"), group);
    group->setGeometry(10, 40, 200, 100);
    group->show();
    ASSERT_NE(ui::findThemedControl(early), nullptr);
    ASSERT_NE(ui::findThemedControl(group), nullptr);
    ASSERT_NE(ui::findThemedControl(inside), nullptr);
    ASSERT_EQ(ui::themedControlCount(), 3u);

    delete early;
    EXPECT_EQ(ui::findThemedControl(early), nullptr);
    EXPECT_EQ(ui::themedControlCount(), 2u);
    delete group;
    EXPECT_EQ(ui::findThemedControl(group), nullptr);
    EXPECT_EQ(ui::findThemedControl(inside), nullptr);
    EXPECT_EQ(ui::themedControlCount(), 0u);
}

TEST(ThemeRegistration, PushButtonShowingAPictureIsNotTaken) {
    ThemeGuard theme;
    ASSERT_EQ(ui::applyTheme(2), 1);
    QWidget host;
    auto* picture = new ui::PictureButton(QStringLiteral("开始计算"), flatJpeg(168, 56, Qt::green), &host);
    auto* broken = new ui::PictureButton(QStringLiteral("开始计算"), QByteArray("not a picture"), &host);
    auto* iconOnly = new QPushButton(&host);
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    iconOnly->setIcon(icon);
    host.show();
    ASSERT_FALSE(picture->picture().isNull());
    EXPECT_EQ(ui::findThemedControl(picture), nullptr);
    EXPECT_EQ(ui::findThemedControl(iconOnly), nullptr);
    // Without its picture it shows its caption like any push button.
    ASSERT_NE(ui::findThemedControl(broken), nullptr);
    EXPECT_EQ(ui::findThemedControl(broken)->kind, ui::ThemedKind::PushButton);
}

// Where a flat control shows the scheme's ring: its whole outline, or its indicator's.
using RingArea = std::function<QRect(QWidget&)>;

QRect wholeControl(QWidget& control) {
    return control.rect();
}

QRect indicator(QWidget& control, QStyle::SubElement element) {
    QStyleOptionButton option;
    option.initFrom(&control);
    const QRect area = control.style()->subElementRect(element, &option, &control);
    const int side = std::min(area.width(), area.height());
    return QRect(area.left() + (area.width() - side) / 2, area.top() + (area.height() - side) / 2, side,
                 side);
}

struct FlatCase {
    const char* name;
    std::function<QWidget*(QWidget&)> make;
    ui::ThemedKind kind;
    RingArea ring;
    bool roundRing = false; // only the topmost pixel of a round indicator is checked
};

class FlatLook : public ::testing::TestWithParam<FlatCase> {};

TEST_P(FlatLook, DrawsTheSchemeRingAndGoesBackToTheStandardLookAtOnce) {
    SteadyCaret caret;
    ThemeGuard theme;
    QWidget host;
    host.resize(200, 60);
    QWidget* control = GetParam().make(host);
    control->setGeometry(10, 10, 150, 30);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const QImage standard = onScreen(host);

    ASSERT_EQ(ui::applyTheme(2), 1);
    const ui::ThemedControl* record = ui::findThemedControl(control);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, GetParam().kind);
    const QImage themed = onScreen(host);
    const QRect ring = GetParam().ring(*control).translated(control->pos());
    if (GetParam().roundRing)
        EXPECT_EQ(themed.pixelColor(ring.left() + ring.width() / 2, ring.top()).rgb(), schemeTwoRing.rgb());
    else
        EXPECT_TRUE(ringIs(themed, ring, 0, schemeTwoRing));

    ASSERT_NE(ui::applyTheme(0), 0);
    EXPECT_EQ(onScreen(host), standard);
    EXPECT_FALSE(control->testAttribute(Qt::WA_SetStyle)); // back on the application's style
}

INSTANTIATE_TEST_SUITE_P(
    Controls, FlatLook,
    ::testing::Values(
        FlatCase{"PushButton", [](QWidget& host) { return new QPushButton(QStringLiteral("确定"), &host); },
                 ui::ThemedKind::PushButton, wholeControl},
        FlatCase{"CheckBox", [](QWidget& host) { return new QCheckBox(QStringLiteral("选项"), &host); },
                 ui::ThemedKind::CheckBox,
                 [](QWidget& c) { return indicator(c, QStyle::SE_CheckBoxIndicator); }},
        FlatCase{"RadioButton", [](QWidget& host) { return new QRadioButton(QStringLiteral("选项"), &host); },
                 ui::ThemedKind::RadioButton,
                 [](QWidget& c) { return indicator(c, QStyle::SE_RadioButtonIndicator); }, true},
        FlatCase{"ComboBox",
                 [](QWidget& host) {
                     auto* combo = new QComboBox(&host);
                     combo->addItems({QStringLiteral("一"), QStringLiteral("二")});
                     return combo;
                 },
                 ui::ThemedKind::ComboBox, wholeControl},
        FlatCase{"SpinBox", [](QWidget& host) { return new QSpinBox(&host); }, ui::ThemedKind::SpinBox,
                 wholeControl}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlatLookOff, GivesAControlItsOwnStyleBack) {
    ThemeGuard theme;
    const std::unique_ptr<QStyle> own(QStyleFactory::create(QStringLiteral("Windows")));
    ASSERT_NE(own, nullptr);
    QWidget host;
    auto* button = new QPushButton(QStringLiteral("确定"), &host);
    button->setStyle(own.get());
    host.show();
    ASSERT_EQ(ui::applyTheme(2), 1);
    EXPECT_NE(button->style(), own.get());
    ui::applyTheme(0);
    EXPECT_EQ(button->style(), own.get());
}

TEST(FlatComboList, IsFramedInTheSchemeWhenItDropsDown) {
    ThemeGuard theme;
    ASSERT_EQ(ui::applyTheme(2), 1);
    QWidget host;
    auto* combo = new QComboBox(&host);
    combo->addItems({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")});
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));

    combo->showPopup();
    QWidget* list = combo->view()->window();
    ASSERT_NE(list, &host);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    const ui::ThemedControl* record = ui::findThemedControl(list);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, ui::ThemedKind::ComboList);
    EXPECT_TRUE(ringIs(onScreen(*list), list->rect(), 0, schemeTwoRing));
    combo->hidePopup();
}

} // namespace
} // namespace uitest
