// Where the focus goes: Tab and Shift+Tab through the window's edit boxes in the order its definition
// gives, and back to the last focused control when the window is activated again.
#include "definition_copy.h"
#include "ui_fixture.h"

#include "ui/control_content.h"
#include "ui/edit_box.h"
#include "ui/picture_button.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace uitest {
namespace {

QString focusedName() {
    const QWidget* focused = QApplication::focusWidget();
    return focused != nullptr ? focused->objectName() : QStringLiteral("(none)");
}

// Presses the key on whatever has the focus and names where the focus went, `count` times.
std::vector<QString> visits(Qt::Key key, Qt::KeyboardModifiers modifiers, int count) {
    std::vector<QString> names;
    for (int i = 0; i < count; ++i) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        names.push_back(focusedName());
    }
    return names;
}

std::vector<QString> names(const std::vector<const char*>& utf8) {
    std::vector<QString> result;
    for (const char* name : utf8)
        result.push_back(QString::fromUtf8(name));
    return result;
}

using FocusOrder = UiTest;

TEST_F(FocusOrder, TabVisitsTheSixEditBoxesAndWrapsRound) {
    mainWindow();
    ASSERT_EQ(focusedName(), QString::fromUtf8("编辑框r"));
    EXPECT_EQ(visits(Qt::Key_Tab, Qt::NoModifier, 12),
              names({"编辑框L", "编辑框h", "编辑框hi", "编辑框V", "编辑框Vh", "编辑框r", "编辑框L", "编辑框h",
                     "编辑框hi", "编辑框V", "编辑框Vh", "编辑框r"}));
}

// QTest reports Shift+Tab as Tab with Shift; X11 reports it as Backtab.
TEST_F(FocusOrder, ShiftTabVisitsThemBackwardsHoweverItIsReported) {
    mainWindow();
    const std::vector<QString> backwards =
        names({"编辑框Vh", "编辑框V", "编辑框hi", "编辑框h", "编辑框L", "编辑框r", "编辑框Vh"});
    EXPECT_EQ(visits(Qt::Key_Tab, Qt::ShiftModifier, 7), backwards);
    control<ui::EditBox>("编辑框r")->setFocus();
    EXPECT_EQ(visits(Qt::Key_Backtab, Qt::ShiftModifier, 7), backwards);
    control<ui::EditBox>("编辑框r")->setFocus();
    EXPECT_EQ(visits(Qt::Key_Backtab, Qt::NoModifier, 7), backwards);
}

TEST_F(FocusOrder, FromTheStartButtonTabGoesToTheRadiusAndShiftTabToTheLastResult) {
    auto* button = control<ui::PictureButton>("按钮1");
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(button->hasFocus());
    EXPECT_EQ(visits(Qt::Key_Tab, Qt::NoModifier, 1), names({"编辑框r"}));

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(visits(Qt::Key_Tab, Qt::ShiftModifier, 1), names({"编辑框Vh"}));
}

TEST_F(FocusOrder, TabKeepsEachBoxsCaretAndSelectsNothing) {
    auto* length = control<ui::EditBox>("编辑框L");
    auto* volume = control<ui::EditBox>("编辑框V");
    QTest::mouseClick(length, Qt::LeftButton);
    QTest::keyClicks(length, QStringLiteral("12345"));
    length->setCursorPosition(2);
    ui::writeContent(mainWindow(), "编辑框V", "44.17865");
    volume->setCursorPosition(3);

    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const auto* box = qobject_cast<const ui::EditBox*>(QApplication::focusWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->hasSelectedText()) << box->objectName().toStdString();
    }
    ASSERT_TRUE(length->hasFocus());
    EXPECT_EQ(length->cursorPosition(), 2);
    for (int i = 0; i < 3; ++i) // to 编辑框r, 编辑框Vh, 编辑框V
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_TRUE(volume->hasFocus());
    EXPECT_EQ(volume->cursorPosition(), 3);
}

struct OrderVariant {
    const char* name;
    std::function<void(DefinitionCopy&)> change;
    std::vector<const char*> order; // from the initial focus on
};

void PrintTo(const OrderVariant& c, std::ostream* out) {
    *out << c.name;
}

const OrderVariant orderVariants[] = {
    {"AllNumbersEqual",
     [](DefinitionCopy&) {},
     {"编辑框r", "编辑框L", "编辑框h", "编辑框hi", "编辑框V", "编辑框Vh"}},
    {"TabOrderNumbersComeFirst",
     [](DefinitionCopy& d) {
         d.entry("编辑框r").tabOrder = 1;
         d.entry("编辑框h").tabOrder = 2;
         d.entry("编辑框Vh").tabOrder = 1;
     },
     {"编辑框L", "编辑框hi", "编辑框V", "编辑框r", "编辑框Vh", "编辑框h"}},
    {"DisabledAndHiddenControlsArePassedOver",
     [](DefinitionCopy& d) {
         d.entry("编辑框L").disabled = true;
         d.entry("编辑框hi").visible = false;
     },
     {"编辑框r", "编辑框h", "编辑框V", "编辑框Vh"}},
    {"ControlWithoutTabStopIsPassedOver",
     [](DefinitionCopy& d) { d.entry("编辑框V").tabStop = false; },
     {"编辑框r", "编辑框L", "编辑框h", "编辑框hi", "编辑框Vh"}},
    {"ButtonWithTabStopTakesItsDefinitionPlace",
     [](DefinitionCopy& d) { d.entry("按钮1").tabStop = true; },
     {"按钮1", "编辑框r", "编辑框L", "编辑框h", "编辑框hi", "编辑框V", "编辑框Vh"}},
    {"ControlsInsideADisabledGroupBoxArePassedOver",
     [](DefinitionCopy& d) { d.entry("分组框1").disabled = true; },
     {"编辑框L", "编辑框h", "编辑框hi", "编辑框V", "编辑框Vh"}},
};

class FocusOrderOfDefinition : public UiTest, public ::testing::WithParamInterface<OrderVariant> {};

TEST_P(FocusOrderOfDefinition, StartsAtTheFirstCandidateAndCyclesBothWays) {
    DefinitionCopy copy;
    GetParam().change(copy);
    const std::unique_ptr<ui::MainWindow> window = buildActive(copy);
    ASSERT_NE(window, nullptr);
    std::vector<QString> forward = names(GetParam().order);
    ASSERT_EQ(focusedName(), forward.front());

    const int count = static_cast<int>(forward.size());
    std::rotate(forward.begin(), forward.begin() + 1, forward.end());
    EXPECT_EQ(visits(Qt::Key_Tab, Qt::NoModifier, count), forward);
    std::vector<QString> backward(forward.rbegin() + 1, forward.rend());
    backward.push_back(forward.back());
    EXPECT_EQ(visits(Qt::Key_Tab, Qt::ShiftModifier, count), backward);
}

INSTANTIATE_TEST_SUITE_P(Variants, FocusOrderOfDefinition, ::testing::ValuesIn(orderVariants),
                         [](const ::testing::TestParamInfo<OrderVariant>& info) {
                             return std::string(info.param.name);
                         });

// Activates a window of its own, which takes the focus away from the main window.
class OtherWindow {
public:
    OtherWindow() {
        widget_.show();
        widget_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&widget_));
    }

private:
    QWidget widget_;
};

void activateAgain(QWidget& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

using InitialFocus = UiTest;

TEST_F(InitialFocus, ReturnsToTheControlThatHadTheFocusWhenTheWindowWasDeactivated) {
    ui::MainWindow& window = mainWindow();
    for (const char* name : {"编辑框L", "编辑框Vh", "按钮1", "编辑框r"}) {
        SCOPED_TRACE(name);
        QWidget* control = window.control(name);
        QTest::mouseClick(control, Qt::LeftButton);
        ASSERT_TRUE(control->hasFocus());
        {
            OtherWindow other;
            EXPECT_FALSE(control->hasFocus());
        }
        activateAgain(window);
        EXPECT_EQ(QApplication::focusWidget(), control);
    }
}

TEST_F(InitialFocus, KeepsTheCaretOfTheBoxItReturnsTo) {
    auto* height = control<ui::EditBox>("编辑框h");
    QTest::mouseClick(height, Qt::LeftButton);
    QTest::keyClicks(height, QStringLiteral("1.25"));
    height->setCursorPosition(1);
    { OtherWindow other; }
    activateAgain(mainWindow());
    ASSERT_TRUE(height->hasFocus());
    EXPECT_EQ(height->cursorPosition(), 1);
    EXPECT_FALSE(height->hasSelectedText());
}

struct LostControl {
    const char* name;
    std::function<void(QWidget*&)> lose;
};

void PrintTo(const LostControl& c, std::ostream* out) {
    *out << c.name;
}

const LostControl lostControls[] = {
    {"Destroyed",
     [](QWidget*& control) {
         delete control;
         control = nullptr;
     }},
    {"Disabled", [](QWidget*& control) { control->setEnabled(false); }},
    {"Hidden", [](QWidget*& control) { control->hide(); }},
};

class InitialFocusWithout : public UiTest, public ::testing::WithParamInterface<LostControl> {};

TEST_P(InitialFocusWithout, TheRememberedControlGoesToTheFirstCandidate) {
    ui::MainWindow& window = mainWindow();
    QWidget* length = window.control("编辑框L");
    QTest::mouseClick(length, Qt::LeftButton);
    {
        OtherWindow other;
        GetParam().lose(length);
    }
    activateAgain(window);
    EXPECT_EQ(focusedName(), QString::fromUtf8("编辑框r"));
}

INSTANTIATE_TEST_SUITE_P(Ways, InitialFocusWithout, ::testing::ValuesIn(lostControls),
                         [](const ::testing::TestParamInfo<LostControl>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace uitest
