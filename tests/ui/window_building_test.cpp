// Building the window from a definition: the order of the building steps, definitions that cannot be
// built, and what start-up does with each outcome.
#include "definition_copy.h"
#include "ui_fixture.h"

#include "ui/start_up.h"
#include "ui/window_builder.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include <algorithm>
#include <stdexcept>

#include <functional>
#include <vector>

#include <ostream>

namespace uitest {
namespace {

struct Snapshot {
    ui::Event event;
    bool windowVisible;
    int controlsShown; // controls that exist under their final parent and are not hidden
};

std::vector<Snapshot> snapshots;

void record(ui::MainWindow& window, ui::Event event) {
    int shown = 0;
    for (const ui::ControlDefinition& control : ui::mainWindowDefinition().controls) {
        const QWidget* widget = window.control(control.name);
        const QWidget* parent = control.parent.empty() ? &window : window.control(control.parent);
        if (widget != nullptr && widget->parentWidget() == parent && !widget->isHidden())
            ++shown;
    }
    snapshots.push_back({event, window.isVisible(), shown});
}

void recordCreated(ui::MainWindow& window) {
    record(window, ui::Event::Created);
}
void recordMoved(ui::MainWindow& window) {
    record(window, ui::Event::Moved);
}
void recordResized(ui::MainWindow& window) {
    record(window, ui::Event::Resized);
}

int clicks = 0;
void countClick(ui::MainWindow&) {
    ++clicks;
}

using WindowBuilding = UiTest;

TEST_F(WindowBuilding, RaisesCreatedThenMovedThenResizedWhileTheWindowIsHiddenWithAllControlsShown) {
    const ui::EventBinding recorders[] = {
        {ui::Event::Resized, &recordResized}, // bound first, raised last: the builder decides the order
        {ui::Event::Created, &recordCreated},
        {ui::Event::Moved, &recordMoved},
    };
    DefinitionCopy copy;
    copy.window.events = recorders;
    snapshots.clear();

    ui::BuildResult built = ui::buildMainWindow(copy.definition());
    ASSERT_NE(built.window, nullptr) << built.error.toStdString();

    ASSERT_GE(snapshots.size(), 3u);
    EXPECT_EQ(snapshots[0].event, ui::Event::Created);
    EXPECT_EQ(snapshots[1].event, ui::Event::Moved);
    EXPECT_EQ(snapshots[2].event, ui::Event::Resized);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(snapshots[i].windowVisible) << i;
        EXPECT_EQ(snapshots[i].controlsShown, 19) << i;
    }
    EXPECT_TRUE(built.window->isVisible());
}

TEST_F(WindowBuilding, TheButtonReportsOneClickPerClickOrSpaceButIgnoresEnter) {
    const ui::EventBinding counter[] = {{ui::Event::Clicked, &countClick}};
    DefinitionCopy copy;
    copy.entry("按钮1").events = counter;
    ui::BuildResult built = ui::buildMainWindow(copy.definition());
    ASSERT_NE(built.window, nullptr) << built.error.toStdString();
    QWidget* button = built.window->control("按钮1");
    clicks = 0;

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter);
    EXPECT_EQ(clicks, 2); // not a default button
}

const ui::EventBinding strayClick[] = {{ui::Event::Clicked, &countClick}};

struct BrokenDefinition {
    const char* name;
    std::function<void(DefinitionCopy&)> breakIt;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const BrokenDefinition& c, std::ostream* out) {
    *out << c.name;
}

const BrokenDefinition brokenDefinitions[] = {
    {"UnknownParent", [](DefinitionCopy& d) { d.entry("编辑框r").parent = "分组框9"; }},
    {"ParentThatIsNoGroupBox", [](DefinitionCopy& d) { d.entry("编辑框r").parent = "编辑框V"; }},
    {"GroupBoxesInsideEachOther",
     [](DefinitionCopy& d) {
         d.entry("分组框2").parent = "分组框1";
         d.entry("分组框1").parent = "分组框2";
     }},
    {"ControlItsOwnParent", [](DefinitionCopy& d) { d.entry("分组框1").parent = "分组框1"; }},
    {"NameUsedTwice", [](DefinitionCopy& d) { d.entry("编辑框L").name = "编辑框h"; }},
    {"EmptyName", [](DefinitionCopy& d) { d.entry("透明标签3").name = ""; }},
    {"UnknownKind", [](DefinitionCopy& d) { d.entry("图片框1").kind = static_cast<ui::ControlKind>(99); }},
    {"SettingsOfAnotherKind",
     [](DefinitionCopy& d) { d.entry("编辑框V").settings = ui::GroupBoxSettings{}; }},
    {"ClickBoundToAnEditBox", [](DefinitionCopy& d) { d.entry("编辑框r").events = strayClick; }},
    {"ClickBoundToTheWindow", [](DefinitionCopy& d) { d.window.events = strayClick; }},
};

class UnbuildableDefinition : public UiTest, public ::testing::WithParamInterface<BrokenDefinition> {};

TEST_P(UnbuildableDefinition, GivesNoWindowAndLeavesNoneBehind) {
    DefinitionCopy copy;
    GetParam().breakIt(copy);
    const ui::BuildResult built = ui::buildMainWindow(copy.definition());
    EXPECT_EQ(built.window, nullptr);
    EXPECT_FALSE(built.error.isEmpty());
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST_P(UnbuildableDefinition, MakesStartUpShowItsErrorWithoutOwnerAndReturnMinusOne) {
    DefinitionCopy copy;
    GetParam().breakIt(copy);
    EXPECT_EQ(ui::startUp(copy.definition()), -1);

    const std::vector<DialogSeen> seen = dialogs_->take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].className, QStringLiteral("QMessageBox"));
    EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    EXPECT_FALSE(seen[0].hasOwner);
    EXPECT_TRUE(seen[0].text.contains(QString::fromUtf8("加载启动窗口失败"))) << seen[0].text.toStdString();
    EXPECT_TRUE(std::ranges::none_of(QApplication::topLevelWidgets(),
                                     [](QWidget* w) { return qobject_cast<ui::MainWindow*>(w) != nullptr; }));
}

INSTANTIATE_TEST_SUITE_P(Definitions, UnbuildableDefinition, ::testing::ValuesIn(brokenDefinitions),
                         [](const ::testing::TestParamInfo<BrokenDefinition>& info) {
                             return std::string(info.param.name);
                         });

using StartUp = UiTest;

TEST_F(StartUp, ShowsTheWindowAndReturnsZeroOnceItIsClosed) {
    QString focusedAtStart;
    bool windowShown = false;
    // Runs as soon as the event loop takes its first message.
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* window = qobject_cast<ui::MainWindow*>(widget)) {
                    windowShown = window->isVisible();
                    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
                    if (QApplication::focusWidget() != nullptr)
                        focusedAtStart = QApplication::focusWidget()->objectName();
                    window->close();
                }
            }
        },
        Qt::QueuedConnection);

    EXPECT_EQ(ui::startUp(ui::mainWindowDefinition()), 0);
    EXPECT_TRUE(windowShown);
    EXPECT_EQ(focusedAtStart, QString::fromUtf8("编辑框r"));
}

} // namespace
} // namespace uitest
