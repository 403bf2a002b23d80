// The four number boxes as the user types into them and leaves them: which typed characters they take,
// and the form into which they rewrite their text when they lose the focus.
#include "definition_copy.h"
#include "ui_fixture.h"

#include "ui/control_content.h"
#include "ui/edit_box.h"
#include "ui/picture_button.h"

#include "calc/volume.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace uitest {
namespace {

void pasteInto(QLineEdit& box, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
}

// One key press for each character: QTest's own key events for ASCII, and for anything else a key event
// that carries the character as its text, as a keyboard layout delivers it.
void typeKeys(QLineEdit& box, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(&box, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&box, &press);
    }
}

void commit(QLineEdit& box, const QString& text, int replaceFrom = 0, int replaceLength = 0) {
    QInputMethodEvent event;
    event.setCommitString(text, replaceFrom, replaceLength);
    QCoreApplication::sendEvent(&box, &event);
}

class NumberBox : public UiTest {
protected:
    // 编辑框r, focused by a click.
    ui::EditBox& radius() {
        auto* box = control<ui::EditBox>("编辑框r");
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_TRUE(box->hasFocus());
        return *box;
    }
    // Leaves 编辑框r for 编辑框L with a click.
    void leaveRadius() {
        QTest::mouseClick(control<ui::EditBox>("编辑框L"), Qt::LeftButton);
        EXPECT_FALSE(control<ui::EditBox>("编辑框r")->hasFocus());
    }
};

struct TypingCase {
    const char* name;
    const char* typed; // UTF-8, one key press per character
    const char* shown;
};

void PrintTo(const TypingCase& c, std::ostream* out) {
    *out << c.name;
}

const TypingCase typingCases[] = {
    {"Digits", "0123456789", "0123456789"},
    {"MinusAndFullStopAnywhereAndRepeatedly", "--1..2-.", "--1..2-."},
    {"LettersSpacePlusAndComma", "a Z+,", ""},
    {"ExponentLetters", "eEdD", ""},
    {"OtherPunctuation", "!\"#$%&'()*/:;<=>?@[\\]^_`{|}~", ""},
    {"MixedKeepsTheAcceptedInOrder", "1a2 3,4+5e-6", "12345-6"},
    {"FullWidthDigitsAndFullStop", "１．５", ""},
    {"ChineseCharacters", "开始", ""},
    {"CharacterOutsideTheBasicPlane", "7😀8", "78"},
};

class NumberBoxTyping : public NumberBox, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(NumberBoxTyping, KeepsOnlyDigitsMinusAndFullStop) {
    ui::EditBox& box = radius();
    typeKeys(box, QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(box.text(), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Keys, NumberBoxTyping, ::testing::ValuesIn(typingCases),
                         [](const ::testing::TestParamInfo<TypingCase>& info) {
                             return std::string(info.param.name);
                         });

class NumberBoxCommit : public NumberBox, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(NumberBoxCommit, FiltersEachCharacterOfAnInputMethodCommit) {
    ui::EditBox& box = radius();
    commit(box, QString::fromUtf8(GetParam().typed));
    EXPECT_EQ(box.text(), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(InputMethod, NumberBoxCommit, ::testing::ValuesIn(typingCases),
                         [](const ::testing::TestParamInfo<TypingCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(NumberBox, KeyThatTypesSeveralCharactersKeepsTheAcceptedOnes) {
    ui::EditBox& box = radius();
    QKeyEvent compose(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("4x-"));
    QCoreApplication::sendEvent(&box, &compose);
    EXPECT_EQ(box.text(), QStringLiteral("4-"));
}

TEST_F(NumberBox, InputMethodKeepsItsReplacementWhenItsCommitIsDropped) {
    ui::EditBox& box = radius();
    typeKeys(box, QStringLiteral("123"));
    commit(box, QString::fromUtf8("开9"), -1, 1); // replaces the "3" before the caret
    EXPECT_EQ(box.text(), QStringLiteral("129"));
}

struct EditingCase {
    const char* name;
    std::function<void(QLineEdit&)> keys; // on "12345" with the caret at the end
    const char* shown;
};

void PrintTo(const EditingCase& c, std::ostream* out) {
    *out << c.name;
}

void keys(QLineEdit& box, std::initializer_list<QKeyCombination> combinations) {
    for (const QKeyCombination combination : combinations)
        QTest::keyClick(&box, combination.key(), combination.keyboardModifiers());
}

// As X11 reports these keys: with their control character as the text.
void controlCodeKey(QLineEdit& box, Qt::Key key, Qt::KeyboardModifiers modifiers, char16_t code) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(QChar(code)));
    QCoreApplication::sendEvent(&box, &press);
}

const EditingCase editingCases[] = {
    {"Backspace", [](QLineEdit& b) { keys(b, {Qt::Key_Backspace}); }, "1234"},
    {"Delete",
     [](QLineEdit& b) {
         keys(b, {Qt::Key_Home, Qt::Key_Delete});
     },
     "2345"},
    {"DeleteWithItsDelCharacter",
     [](QLineEdit& b) {
         keys(b, {Qt::Key_Home});
         controlCodeKey(b, Qt::Key_Delete, Qt::NoModifier, 0x7F);
     },
     "2345"},
    {"TypingAtTheStart",
     [](QLineEdit& b) {
         keys(b, {Qt::Key_Home});
         typeKeys(b, QStringLiteral("-x"));
     },
     "-12345"},
    {"SelectAllThenType",
     [](QLineEdit& b) {
         keys(b, {Qt::ControlModifier | Qt::Key_A});
         typeKeys(b, QStringLiteral("9"));
     },
     "9"},
    {"CutThenPasteTwice",
     [](QLineEdit& b) {
         keys(b, {Qt::ControlModifier | Qt::Key_A, Qt::ControlModifier | Qt::Key_X});
         keys(b, {Qt::ControlModifier | Qt::Key_V, Qt::ControlModifier | Qt::Key_V});
     },
     "1234512345"},
    {"CopyThenPaste",
     [](QLineEdit& b) {
         keys(b, {Qt::ShiftModifier | Qt::Key_Left, Qt::ControlModifier | Qt::Key_C, Qt::Key_Right,
                  Qt::ControlModifier | Qt::Key_V});
     },
     "123455"},
    {"PasteWithItsControlCode",
     [](QLineEdit& b) {
         QApplication::clipboard()->setText(QStringLiteral("ab"));
         controlCodeKey(b, Qt::Key_V, Qt::ControlModifier, 0x16);
     },
     "12345ab"},
    {"Undo",
     [](QLineEdit& b) {
         keys(b, {Qt::Key_Backspace, Qt::Key_Backspace, Qt::ControlModifier | Qt::Key_Z});
     },
     "12345"},
};

class NumberBoxEditing : public NumberBox, public ::testing::WithParamInterface<EditingCase> {};

TEST_P(NumberBoxEditing, ControlKeysKeepTheirEffect) {
    ui::EditBox& box = radius();
    typeKeys(box, QStringLiteral("12345"));
    GetParam().keys(box);
    EXPECT_EQ(box.text(), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Keys, NumberBoxEditing, ::testing::ValuesIn(editingCases),
                         [](const ::testing::TestParamInfo<EditingCase>& info) {
                             return std::string(info.param.name);
                         });

struct InsertionCase {
    const char* name;
    std::function<void(QLineEdit&, const QString&)> insert;
};

void PrintTo(const InsertionCase& c, std::ostream* out) {
    *out << c.name;
}

QAction* contextMenuAction(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->text().startsWith(text))
            return action;
    return nullptr;
}

const InsertionCase insertionCases[] = {
    {"CtrlV", [](QLineEdit& b, const QString& t) { pasteInto(b, t); }},
    {"ShiftInsert",
     [](QLineEdit& b, const QString& t) {
         QApplication::clipboard()->setText(t);
         QTest::keyClick(&b, Qt::Key_Insert, Qt::ShiftModifier);
     }},
    {"ContextMenuPaste",
     [](QLineEdit& b, const QString& t) {
         QApplication::clipboard()->setText(t);
         const std::unique_ptr<QMenu> menu(b.createStandardContextMenu());
         QAction* paste = contextMenuAction(*menu, QStringLiteral("&Paste"));
         ASSERT_NE(paste, nullptr);
         paste->trigger();
     }},
    {"Drop",
     [](QLineEdit& b, const QString& t) {
         QMimeData data;
         data.setText(t);
         const QPointF at(4, b.height() / 2);
         QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
         QCoreApplication::sendEvent(&b, &enter);
         QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
         QCoreApplication::sendEvent(&b, &move);
         QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
         QCoreApplication::sendEvent(&b, &drop);
     }},
};

class NumberBoxInsertion : public NumberBox, public ::testing::WithParamInterface<InsertionCase> {};

TEST_P(NumberBoxInsertion, TakesPastedAndDroppedTextUnfiltered) {
    ui::EditBox& box = radius();
    const QString text = QString::fromUtf8("1e3 abc１开");
    GetParam().insert(box, text);
    EXPECT_EQ(box.text(), text);
}

INSTANTIATE_TEST_SUITE_P(Ways, NumberBoxInsertion, ::testing::ValuesIn(insertionCases),
                         [](const ::testing::TestParamInfo<InsertionCase>& info) {
                             return std::string(info.param.name);
                         });

struct NormalForm {
    const char* name;
    const char* inBox; // UTF-8
    const char* afterLeaving;
};

void PrintTo(const NormalForm& c, std::ostream* out) {
    *out << c.name;
}

const NormalForm normalForms[] = {
    {"SecondPointEndsTheNumber", "1.2.3", "1.2"},
    {"LeadingZeros", "007", "7"},
    {"TrailingZero", "0.50", "0.5"},
    {"TrailingPoint", "3.", "3"},
    {"MinusAfterTheDigits", "12-3", "12"},
    {"TwoMinusSigns", "--5", ""},
    {"LoneMinus", "-", ""},
    {"LoneFullStop", ".", ""},
    {"ZeroWithDecimals", "0.000", ""},
    {"NegativeZero", "-0", ""},
    {"NegativeZeroWithDecimals", "-0.0", ""},
    {"Zero", "0", ""},
    {"SmallestPositional", "0.0001", "0.0001"},
    {"ExponentFormBelowTheFourthDecimal", "0.00001", "1e-005"},
    {"SeventeenDigits", "12345678901234567", "1.234567890123e+016"},
    {"ExponentE", "1e3", "1000"},
    {"ExponentD", "2d2", "200"},
    {"ExponentWithoutDigits", "5e", "5"},
    {"NoNumber", "abc", ""},
    {"LeadingBlanks", " \t5", "5"},
    {"NumberThenText", "1.5m", "1.5"},
    {"FullWidthDigitIsNoDigitHere", "１", ""},
    {"LargestPowerOfTenInRange", "1e308", "1e+308"},
    {"Underflow", "-1e-400", ""},
    {"NegativeNumber", "-2.50", "-2.5"},
};

class NumberBoxLeaving : public NumberBox, public ::testing::WithParamInterface<NormalForm> {};

TEST_P(NumberBoxLeaving, RewritesTheTextIntoNormalForm) {
    ui::EditBox& box = radius();
    pasteInto(box, QString::fromUtf8(GetParam().inBox));
    leaveRadius();
    EXPECT_EQ(box.text(), QString::fromUtf8(GetParam().afterLeaving));
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框r"), GetParam().afterLeaving);
}

INSTANTIATE_TEST_SUITE_P(Texts, NumberBoxLeaving, ::testing::ValuesIn(normalForms),
                         [](const ::testing::TestParamInfo<NormalForm>& info) {
                             return std::string(info.param.name);
                         });

// Written as "1.#INF" the number would read back as 1; leaving the box again would make it "1".
TEST_F(NumberBox, NumberBeyondTheRangeOfADoubleStaysAsTypedHoweverOftenTheBoxIsLeft) {
    const std::string digits = "1" + std::string(309, '0');
    for (const std::string& text :
         {std::string("1e999"), std::string("-1e999"), digits, std::string("2e400kg")}) {
        SCOPED_TRACE(text.substr(0, 12));
        ui::EditBox& box = radius();
        box.clear();
        pasteInto(box, QString::fromStdString(text));
        for (int leaving = 0; leaving < 2; ++leaving) {
            leaveRadius();
            EXPECT_EQ(box.text().toStdString(), text);
            QTest::mouseClick(&box, Qt::LeftButton);
        }
    }
}

TEST_F(NumberBox, CalculationReadsTheInfinityTheBoxShows) {
    for (const char* name : {"编辑框r", "编辑框L", "编辑框h"}) {
        auto* box = control<ui::EditBox>(name);
        QTest::mouseClick(box, Qt::LeftButton);
        typeKeys(*box, QStringLiteral("1"));
    }
    auto* headDepth = control<ui::EditBox>("编辑框hi");
    QTest::mouseClick(headDepth, Qt::LeftButton);
    pasteInto(*headDepth, QStringLiteral("1e999"));
    QTest::mouseClick(control<ui::PictureButton>("按钮1"), Qt::LeftButton);

    EXPECT_EQ(headDepth->text(), QStringLiteral("1e999"));
    const calc::VolumeTexts expected = calc::computeVolumes("1", "1", "1", "1e999");
    EXPECT_EQ(expected.V, "1.#INF");
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框V"), expected.V);
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框Vh"), expected.Vh);
}

struct CaretCase {
    const char* name;
    const char* inBox;
    int selectionStart;
    int selectionLength; // 0: only the caret, at selectionStart; negative: selected towards the start
    const char* afterLeaving;
    int caret;
};

void PrintTo(const CaretCase& c, std::ostream* out) {
    *out << c.name;
}

const CaretCase caretCases[] = {
    {"CaretKeepsItsPlace", "0.50", 2, 0, "0.5", 2},
    {"CaretBeyondTheNewEndIsClamped", "007", 3, 0, "7", 1},
    {"SelectionGivesItsStart", "1.2.3", 1, 3, "1.2", 1},
    {"BackwardSelectionGivesItsLowerEnd", "0.2500", 6, -4, "0.25", 2},
    {"WholeTextSelected", "12345678901234567", 0, 17, "1.234567890123e+016", 0},
    {"EmptiedBox", "abc", 2, 0, "", 0},
};

class NumberBoxCaret : public NumberBox, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(NumberBoxCaret, GoesWhereTheSelectionBeganWithoutSelection) {
    const CaretCase& c = GetParam();
    ui::EditBox& box = radius();
    pasteInto(box, QString::fromLatin1(c.inBox));
    if (c.selectionLength == 0)
        box.setCursorPosition(c.selectionStart);
    else
        box.setSelection(c.selectionStart, c.selectionLength);
    leaveRadius();
    EXPECT_EQ(box.text(), QString::fromLatin1(c.afterLeaving));
    EXPECT_EQ(box.cursorPosition(), c.caret);
    EXPECT_FALSE(box.hasSelectedText());
}

INSTANTIATE_TEST_SUITE_P(Selections, NumberBoxCaret, ::testing::ValuesIn(caretCases),
                         [](const ::testing::TestParamInfo<CaretCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(NumberBox, TextAlreadyInNormalFormIsLeftUntouched) {
    ui::EditBox& box = radius();
    typeKeys(box, QStringLiteral("2.5"));
    box.setCursorPosition(1);
    int changes = 0;
    QObject::connect(&box, &QLineEdit::textChanged, &box, [&changes] { ++changes; });
    leaveRadius();
    EXPECT_EQ(box.text(), QStringLiteral("2.5"));
    EXPECT_EQ(box.cursorPosition(), 1);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(box.isUndoAvailable()); // a rewrite would have cleared the typing's history
}

struct LeavingWay {
    const char* name;
    // A window that the way opens is kept in `other` until the test has looked at the box.
    std::function<void(ui::MainWindow&, std::unique_ptr<QWidget>& other)> leave;
};

void PrintTo(const LeavingWay& c, std::ostream* out) {
    *out << c.name;
}

const LeavingWay leavingWays[] = {
    {"ClickOnAnotherBox",
     [](ui::MainWindow& w, auto&) { QTest::mouseClick(w.control("编辑框hi"), Qt::LeftButton); }},
    {"ClickOnAResultBox",
     [](ui::MainWindow& w, auto&) { QTest::mouseClick(w.control("编辑框Vh"), Qt::LeftButton); }},
    {"ClickOnTheStartButton",
     [](ui::MainWindow& w, auto&) { QTest::mouseClick(w.control("按钮1"), Qt::LeftButton); }},
    {"Tab", [](ui::MainWindow& w, auto&) { QTest::keyClick(w.control("编辑框r"), Qt::Key_Tab); }},
    {"ShiftTab",
     [](ui::MainWindow& w, auto&) { QTest::keyClick(w.control("编辑框r"), Qt::Key_Tab, Qt::ShiftModifier); }},
    {"AnotherWindowActivated",
     [](ui::MainWindow&, std::unique_ptr<QWidget>& other) {
         other = std::make_unique<QWidget>();
         other->show();
         other->activateWindow();
         EXPECT_TRUE(QTest::qWaitForWindowActive(other.get()));
     }},
};

class NumberBoxLeftBy : public NumberBox, public ::testing::WithParamInterface<LeavingWay> {};

TEST_P(NumberBoxLeftBy, RewritesTheText) {
    ui::EditBox& box = radius();
    pasteInto(box, QStringLiteral("007"));
    std::unique_ptr<QWidget> other;
    GetParam().leave(mainWindow(), other);
    EXPECT_FALSE(box.hasFocus());
    EXPECT_EQ(box.text(), QStringLiteral("7"));
}

INSTANTIATE_TEST_SUITE_P(Ways, NumberBoxLeftBy, ::testing::ValuesIn(leavingWays),
                         [](const ::testing::TestParamInfo<LeavingWay>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(NumberBox, ContextMenuOverTheBoxDoesNotRewriteIt) {
    ui::EditBox& box = radius();
    pasteInto(box, QStringLiteral("007"));
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    menu->popup(box.mapToGlobal(QPoint(4, 4)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.get()));
    EXPECT_EQ(box.text(), QStringLiteral("007"));
    menu->close();
    EXPECT_TRUE(box.hasFocus());
    EXPECT_EQ(box.text(), QStringLiteral("007"));

    leaveRadius();
    EXPECT_EQ(box.text(), QStringLiteral("7"));
}

TEST_F(NumberBox, ResultBoxesAreNeverRewritten) {
    for (const char* name : {"编辑框V", "编辑框Vh"}) {
        SCOPED_TRACE(name);
        ui::writeContent(mainWindow(), name, "007");
        auto* box = control<ui::EditBox>(name);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_FALSE(box->hasFocus());
        EXPECT_EQ(box->text(), QStringLiteral("007"));
    }
}

TEST_F(NumberBox, TextWrittenByTheProgramIsNotRewrittenOnItsWayIn) {
    ui::EditBox& box = radius();
    ASSERT_TRUE(ui::writeContent(mainWindow(), "编辑框r", "007abc"));
    EXPECT_TRUE(box.hasFocus());
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框r"), "007abc");
    ASSERT_TRUE(ui::writeContent(mainWindow(), "编辑框h", "0.50"));
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框h"), "0.50");

    // It is the box's text from then on, and leaving the box rewrites it like any other.
    leaveRadius();
    EXPECT_EQ(box.text(), QStringLiteral("7"));
}

// The box is left while it is still whole; the sanitizer build sees any use of a half-destroyed one.
TEST_F(NumberBox, FocusedBoxCanBeDestroyed) {
    ui::EditBox* box = &radius();
    pasteInto(*box, QStringLiteral("007"));
    QString lastText;
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [&lastText](const QString& text) { lastText = text; });
    delete box;
    EXPECT_EQ(lastText, QStringLiteral("7"));
    EXPECT_EQ(mainWindow().control("编辑框r"), nullptr);
}

std::string radiusAtClick;
void recordRadius(ui::MainWindow& window) {
    radiusAtClick = ui::readContent(window, "编辑框r");
}

TEST_F(NumberBox, StartButtonHandlerReadsTheRewrittenText) {
    const ui::EventBinding recorder[] = {{ui::Event::Clicked, &recordRadius}};
    DefinitionCopy copy;
    copy.entry("按钮1").events = recorder;
    const std::unique_ptr<ui::MainWindow> window = buildActive(copy);
    ASSERT_NE(window, nullptr);
    auto* box = qobject_cast<QLineEdit*>(window->control("编辑框r"));
    ASSERT_TRUE(box->hasFocus());
    pasteInto(*box, QStringLiteral("1.50.7"));
    radiusAtClick.clear();

    QTest::mouseClick(window->control("按钮1"), Qt::LeftButton);
    EXPECT_EQ(radiusAtClick, "1.5");
}

} // namespace
} // namespace uitest
