// The nineteen controls of the main window as the user meets them: names, kinds, parents, places, stacking,
// focus and pointers.
#include "ui_fixture.h"

#include "ui/edit_box.h"
#include "ui/picture_button.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <vector>

namespace uitest {
namespace {

enum class Kind { NumberBox, ResultBox, Button, Decoration };

struct ExpectedControl {
    const char* name;
    Kind kind;
    const char* parent; // "" for the window
    QRect place;        // relative to the parent
};

// In definition order, which is also the stacking order from the top down.
const ExpectedControl expectedControls[] = {
    {"透明标签8", Kind::Decoration, "", {0, 440, 520, 24}},
    {"透明标签7", Kind::Decoration, "", {16, -8, 488, 80}},
    {"编辑框Vh", Kind::ResultBox, "", {384, 384, 96, 24}},
    {"透明标签6", Kind::Decoration, "", {352, 384, 32, 24}},
    {"编辑框V", Kind::ResultBox, "", {384, 344, 96, 24}},
    {"透明标签5", Kind::Decoration, "", {352, 344, 32, 24}},
    {"编辑框hi", Kind::NumberBox, "", {384, 184, 96, 24}},
    {"透明标签4", Kind::Decoration, "", {352, 184, 32, 24}},
    {"编辑框h", Kind::NumberBox, "", {384, 152, 96, 24}},
    {"透明标签3", Kind::Decoration, "", {352, 144, 32, 32}},
    {"编辑框L", Kind::NumberBox, "", {384, 120, 96, 24}},
    {"透明标签2", Kind::Decoration, "", {352, 112, 32, 32}},
    {"编辑框r", Kind::NumberBox, "分组框1", {48, 24, 96, 24}},
    {"透明标签1", Kind::Decoration, "分组框1", {16, 16, 32, 32}},
    {"按钮1", Kind::Button, "", {336, 248, 168, 56}},
    {"分组框2", Kind::Decoration, "", {336, 312, 168, 112}},
    {"分组框1", Kind::Decoration, "", {336, 64, 168, 176}},
    {"图片框2", Kind::Decoration, "", {16, 240, 312, 192}},
    {"图片框1", Kind::Decoration, "", {8, 56, 320, 176}},
};

// The controls of one parent from the top of its stack down. Qt stacks children in the order of its
// children list, the last one on top.
std::vector<QString> stackFromTop(const QWidget& parent) {
    std::vector<QString> names;
    for (const QObject* child : parent.children())
        if (child->isWidgetType())
            names.insert(names.begin(), child->objectName());
    return names;
}

std::vector<QString> expectedStack(const char* parent) {
    std::vector<QString> names;
    for (const ExpectedControl& control : expectedControls)
        if (QString::fromUtf8(control.parent) == QString::fromUtf8(parent))
            names.push_back(QString::fromUtf8(control.name));
    return names;
}

using MainWindowControls = UiTest;

TEST_F(MainWindowControls, HaveTheirNamesKindsParentsAndPlaces) {
    ui::MainWindow& window = mainWindow();
    for (const ExpectedControl& expected : expectedControls) {
        SCOPED_TRACE(expected.name);
        QWidget* control = window.control(expected.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->objectName(), QString::fromUtf8(expected.name));
        EXPECT_EQ(control->accessibleName(), QString::fromUtf8(expected.name));
        const QWidget* parent = *expected.parent ? window.control(expected.parent) : &window;
        EXPECT_EQ(control->parentWidget(), parent);
        EXPECT_EQ(control->geometry(), expected.place);
        EXPECT_TRUE(control->isVisible());
        EXPECT_TRUE(control->isEnabled());

        auto* edit = qobject_cast<ui::EditBox*>(control);
        switch (expected.kind) {
        case Kind::NumberBox:
        case Kind::ResultBox:
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->isReadOnly(), expected.kind == Kind::ResultBox);
            EXPECT_EQ(edit->text(), QString());
            EXPECT_EQ(edit->cursorPosition(), 0);
            EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::white));
            EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(Qt::black));
            EXPECT_EQ(edit->focusPolicy(), Qt::StrongFocus); // a tab stop, and takes a click
            break;
        case Kind::Button:
            ASSERT_NE(qobject_cast<ui::PictureButton*>(control), nullptr);
            EXPECT_EQ(control->focusPolicy(), Qt::ClickFocus); // takes a click, but is no tab stop
            EXPECT_EQ(control->cursor().shape(), Qt::PointingHandCursor);
            break;
        case Kind::Decoration:
            EXPECT_EQ(edit, nullptr);
            EXPECT_EQ(qobject_cast<QAbstractButton*>(control), nullptr);
            EXPECT_EQ(control->focusPolicy(), Qt::NoFocus);
            EXPECT_FALSE(control->testAttribute(Qt::WA_SetCursor)); // the window's arrow
            break;
        }
    }
}

TEST_F(MainWindowControls, StackInDefinitionOrderWithTheFirstOnTop) {
    ui::MainWindow& window = mainWindow();
    EXPECT_EQ(stackFromTop(window), expectedStack(""));
    EXPECT_EQ(stackFromTop(*window.control("分组框1")), expectedStack("分组框1"));
    EXPECT_TRUE(stackFromTop(*window.control("分组框2")).empty());
}

TEST_F(MainWindowControls, ControlsInTheGroupBoxLieAtTheirWindowPlaces) {
    ui::MainWindow& window = mainWindow();
    EXPECT_EQ(window.control("编辑框r")->mapTo(&window, QPoint(0, 0)), QPoint(384, 88));
    EXPECT_EQ(window.control("透明标签1")->mapTo(&window, QPoint(0, 0)), QPoint(352, 80));
}

TEST_F(MainWindowControls, FocusStartsInTheRadiusBoxWithTheCaretAtItsStart) {
    ui::MainWindow& window = mainWindow();
    auto* radius = control<ui::EditBox>("编辑框r");
    EXPECT_EQ(QApplication::focusWidget(), radius);
    EXPECT_EQ(QApplication::activeWindow(), &window);
    EXPECT_EQ(radius->cursorPosition(), 0);
    EXPECT_FALSE(radius->hasSelectedText());
}

TEST_F(MainWindowControls, TheButtonTakesTheFocusWhenClicked) {
    auto* button = control<ui::PictureButton>("按钮1");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), button);
}

TEST_F(MainWindowControls, ResizingTheWindowMovesNoControl) {
    ui::MainWindow& window = mainWindow();
    for (const QSize size : {QSize(900, 700), QSize(200, 150), QSize(522, 498)}) {
        window.resize(size);
        for (const ExpectedControl& expected : expectedControls)
            EXPECT_EQ(window.control(expected.name)->geometry(), expected.place)
                << expected.name << " at window size " << size.width() << "x" << size.height();
    }
}

} // namespace
} // namespace uitest
