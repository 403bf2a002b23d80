// The keys the main window handles before the focused control: Esc, Enter, F1 and Alt with a character
// (Tab and Shift+Tab are in focus_order_test.cpp), and keys that a control claims for itself.
#include "definition_copy.h"
#include "ui_fixture.h"

#include "ui/control_content.h"
#include "ui/edit_box.h"
#include "ui/picture_button.h"
#include "ui/start_up.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace uitest {
namespace {

// Counts the close requests a window receives, as its close button sends them.
class CloseRequests : public QObject {
public:
    explicit CloseRequests(QWidget& window) { window.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close)
            ++count;
        return false;
    }
};

int clicks = 0;
void countClick(ui::MainWindow&) {
    ++clicks;
}
const ui::EventBinding clickCounter[] = {{ui::Event::Clicked, &countClick}};

QString focusedName() {
    const QWidget* focused = QApplication::focusWidget();
    return focused != nullptr ? focused->objectName() : QStringLiteral("(none)");
}

class KeyPreview : public UiTest {
protected:
    void typeInto(const char* name, const char* text) {
        QWidget* box = mainWindow().control(name);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClicks(box, QString::fromLatin1(text));
    }
    void fillInputs() {
        typeInto("编辑框r", "1");
        typeInto("编辑框L", "1");
        typeInto("编辑框hi", "0.5");
        typeInto("编辑框h", "1");
    }
};

class EscFrom : public KeyPreview, public ::testing::WithParamInterface<const char*> {};

TEST_P(EscFrom, ClosesTheWindowAsItsCloseButtonDoes) {
    ui::MainWindow& window = mainWindow();
    QWidget* control = window.control(GetParam());
    QTest::mouseClick(control, Qt::LeftButton);
    ASSERT_TRUE(control->hasFocus());
    CloseRequests requests(window);
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_EQ(requests.count, 1);
    EXPECT_FALSE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Controls, EscFrom,
                         ::testing::Values("编辑框r", "编辑框L", "编辑框h", "编辑框hi", "编辑框V", "编辑框Vh",
                                           "按钮1"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::to_string(info.index);
                         });

TEST_F(KeyPreview, EscWithModifiersOrWithoutItsSettingLeavesTheWindowOpen) {
    ui::MainWindow& window = mainWindow();
    for (const Qt::KeyboardModifiers modifiers : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape, modifiers);
    EXPECT_TRUE(window.isVisible());

    DefinitionCopy copy;
    copy.window.escapeCloses = false;
    const std::unique_ptr<ui::MainWindow> stays = buildActive(copy);
    ASSERT_NE(stays, nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(stays->isVisible());
}

TEST_F(KeyPreview, EscEndsTheProgramWithExitCodeZero) {
    bool closedByEsc = false;
    QMetaObject::invokeMethod(
        qApp,
        [&closedByEsc] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* window = qobject_cast<ui::MainWindow*>(widget);
                if (window == nullptr || !window->isVisible())
                    continue;
                EXPECT_TRUE(QTest::qWaitForWindowActive(window));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                closedByEsc = !window->isVisible();
                if (!closedByEsc)
                    window->close(); // so that the event loop ends and the failure shows
            }
        },
        Qt::QueuedConnection);

    EXPECT_EQ(ui::startUp(ui::mainWindowDefinition()), 0);
    EXPECT_TRUE(closedByEsc);
}

class EnterOn : public KeyPreview, public ::testing::WithParamInterface<const char*> {};

TEST_P(EnterOn, DoesNothing) {
    fillInputs();
    ui::MainWindow& window = mainWindow();
    QWidget* control = window.control(GetParam());
    QTest::mouseClick(control, Qt::LeftButton);
    ui::writeContent(window, "编辑框V", ""); // the click on 按钮1 computed
    CloseRequests requests(window);

    QTest::keyClick(control, Qt::Key_Return);
    QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), control);
    EXPECT_EQ(ui::readContent(window, "编辑框V"), "");
    EXPECT_EQ(ui::readContent(window, "编辑框r"), "1");
    EXPECT_EQ(requests.count, 0);
}

INSTANTIATE_TEST_SUITE_P(Controls, EnterOn, ::testing::Values("编辑框r", "编辑框V", "按钮1"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::to_string(info.index);
                         });

TEST_F(KeyPreview, SpaceOnTheFocusedButtonClicksIt) {
    fillInputs();
    auto* button = control<ui::PictureButton>("按钮1");
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(ui::readContent(mainWindow(), "编辑框V"), "5.23599");
    ui::writeContent(mainWindow(), "编辑框V", "");

    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框V"), "5.23599");
    EXPECT_TRUE(button->hasFocus());
}

struct EnterRule {
    const char* name;
    bool buttonIsDefault;
    bool enterMovesFocus;
    const char* focused;
    int clicks;
    const char* focusedAfter;
};

void PrintTo(const EnterRule& c, std::ostream* out) {
    *out << c.name;
}

const EnterRule enterRules[] = {
    {"FocusedDefaultButtonIsClicked", true, true, "按钮1", 1, "按钮1"},
    {"DefaultButtonIsClickedFromAnEditBox", true, false, "编辑框r", 1, "编辑框r"},
    {"MovingTheFocusComesBeforeTheDefaultButton", true, true, "编辑框r", 0, "编辑框L"},
    {"MovingTheFocusFromTheLastBoxWrapsRound", false, true, "编辑框Vh", 0, "编辑框r"},
    {"NonDefaultFocusedButtonLetsTheFocusMove", false, true, "按钮1", 0, "编辑框r"},
    {"WithNeitherEnterGoesToTheControl", false, false, "编辑框r", 0, "编辑框r"},
};

class EnterFollows : public UiTest, public ::testing::WithParamInterface<EnterRule> {};

TEST_P(EnterFollows, TheDefaultButtonRule) {
    const EnterRule& rule = GetParam();
    DefinitionCopy copy;
    copy.window.enterMovesFocus = rule.enterMovesFocus;
    ui::ControlDefinition& button = copy.entry("按钮1");
    std::get<ui::PictureButtonSettings>(button.settings).isDefault = rule.buttonIsDefault;
    button.events = clickCounter;
    const std::unique_ptr<ui::MainWindow> window = buildActive(copy);
    ASSERT_NE(window, nullptr);

    for (const QKeyCombination enter :
         {QKeyCombination(Qt::Key_Return), Qt::KeypadModifier | Qt::Key_Enter}) {
        window->control(rule.focused)->setFocus();
        clicks = 0;
        QTest::keyClick(QApplication::focusWidget(), enter.key(), enter.keyboardModifiers());
        EXPECT_EQ(clicks, rule.clicks);
        EXPECT_EQ(focusedName(), QString::fromUtf8(rule.focusedAfter));
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, EnterFollows, ::testing::ValuesIn(enterRules),
                         [](const ::testing::TestParamInfo<EnterRule>& info) {
                             return std::string(info.param.name);
                         });

struct MnemonicCase {
    const char* name;
    std::function<void(DefinitionCopy&)> change;
    const char* focused;
    Qt::Key key; // with Alt
    int clicks;
    const char* focusedAfter;
};

void PrintTo(const MnemonicCase& c, std::ostream* out) {
    *out << c.name;
}

void caption(DefinitionCopy& d, const char* name, std::string_view text) {
    std::visit(
        [text](auto& settings) {
            using Settings = std::decay_t<decltype(settings)>;
            if constexpr (std::is_same_v<Settings, ui::TransLabelSettings>)
                settings.text = text;
            else if constexpr (std::is_same_v<Settings, ui::GroupBoxSettings>)
                settings.title = text;
            else if constexpr (std::is_same_v<Settings, ui::PictureButtonSettings>)
                settings.caption = text;
            else
                ADD_FAILURE() << "no caption";
        },
        d.entry(name).settings);
}

const MnemonicCase mnemonicCases[] = {
    {"NoCaptionOfTheWindowMarksALetter", [](DefinitionCopy&) {}, "编辑框r", Qt::Key_S, 0, "编辑框r"},
    {"NoCaptionOfTheWindowMarksADigit", [](DefinitionCopy&) {}, "编辑框r", Qt::Key_1, 0, "编辑框r"},
    {"ButtonIsClicked", [](DefinitionCopy& d) { caption(d, "按钮1", "开始计算(&S)"); }, "编辑框L", Qt::Key_S,
     1, "编辑框L"},
    {"LabelHandsTheFocusToTheControlAfterIt", [](DefinitionCopy& d) { caption(d, "透明标签2", "&L："); },
     "编辑框r", Qt::Key_L, 0, "编辑框L"},
    {"DigitInAGroupBoxTitle", [](DefinitionCopy& d) { caption(d, "分组框2", "计算结果&2"); }, "编辑框V",
     Qt::Key_2, 0, "编辑框r"},
    {"FirstInDefinitionOrderWins",
     [](DefinitionCopy& d) {
         caption(d, "透明标签6", "&Vh：");
         caption(d, "透明标签5", "&V：");
     },
     "编辑框r", Qt::Key_V, 0, "编辑框Vh"},
    {"DisabledButtonIsPassedOver",
     [](DefinitionCopy& d) {
         caption(d, "按钮1", "&S");
         d.entry("按钮1").disabled = true;
     },
     "编辑框r", Qt::Key_S, 0, "编辑框r"},
    {"DoubledAmpersandMarksNothing", [](DefinitionCopy& d) { caption(d, "按钮1", "&&S"); }, "编辑框r",
     Qt::Key_S, 0, "编辑框r"},
};

class AltWithACharacter : public UiTest, public ::testing::WithParamInterface<MnemonicCase> {};

TEST_P(AltWithACharacter, LooksForTheControlWhoseCaptionMarksIt) {
    const MnemonicCase& c = GetParam();
    DefinitionCopy copy;
    copy.entry("按钮1").events = clickCounter;
    c.change(copy);
    const std::unique_ptr<ui::MainWindow> window = buildActive(copy);
    ASSERT_NE(window, nullptr);
    auto* focused = qobject_cast<QLineEdit*>(window->control(c.focused));
    focused->setFocus();
    clicks = 0;

    QTest::keyClick(focused, c.key, Qt::AltModifier);
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_EQ(focusedName(), QString::fromUtf8(c.focusedAfter));
    EXPECT_EQ(focused->text(), QString()); // the character is never typed
}

INSTANTIATE_TEST_SUITE_P(Captions, AltWithACharacter, ::testing::ValuesIn(mnemonicCases),
                         [](const ::testing::TestParamInfo<MnemonicCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(KeyPreview, F1DoesNothing) {
    typeInto("编辑框L", "12");
    auto* length = control<ui::EditBox>("编辑框L");
    CloseRequests requests(mainWindow());
    QTest::keyClick(length, Qt::Key_F1);
    EXPECT_TRUE(length->hasFocus());
    EXPECT_EQ(length->text(), QStringLiteral("12"));
    EXPECT_EQ(requests.count, 0);
    EXPECT_TRUE(mainWindow().isVisible());
}

// No control of the window claims a key; a multi-line text edit, put into the window here, claims Tab and
// Enter while it is editable.
TEST_F(KeyPreview, ControlThatClaimsAKeyKeepsIt) {
    ui::MainWindow& window = mainWindow();
    auto* notes = new QPlainTextEdit(&window);
    notes->show();
    notes->setFocus();
    QTest::keyClicks(notes, QStringLiteral("a"));
    QTest::keyClick(notes, Qt::Key_Tab);
    QTest::keyClick(notes, Qt::Key_Return);
    EXPECT_TRUE(notes->hasFocus());
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("a\t\n"));

    // Read-only it claims neither: Enter finds nothing to do, and Tab leaves it for the first candidate.
    notes->setReadOnly(true);
    QTest::keyClick(notes, Qt::Key_Return);
    EXPECT_TRUE(notes->hasFocus());
    QTest::keyClick(notes, Qt::Key_Tab);
    EXPECT_EQ(focusedName(), QString::fromUtf8("编辑框r"));

    // Esc it never claims.
    notes->setReadOnly(false);
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace uitest
