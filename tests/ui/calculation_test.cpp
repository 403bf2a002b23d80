// One calculation as the user makes it: typing into the four boxes, clicking the start button, reading the
// two result boxes.
#include "ui_fixture.h"

#include "ui/control_content.h"
#include "ui/edit_box.h"
#include "ui/event_handlers.h"
#include "ui/picture_button.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>

#include <ostream>

namespace uitest {
namespace {

struct WorkedExample {
    const char* name;
    const char* r;
    const char* L;
    const char* hi;
    const char* h;
    const char* V;
    const char* Vh;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const WorkedExample& c, std::ostream* out) {
    *out << c.name;
}

class TypingTest : public UiTest {
protected:
    void typeInto(const char* box, const char* text) {
        auto* edit = control<ui::EditBox>(box);
        QTest::mouseClick(edit, Qt::LeftButton);
        // QTest types ASCII only; other characters come as an input method commits them.
        for (const QChar c : QString::fromUtf8(text)) {
            if (c.unicode() < 0x80) {
                QTest::keyClicks(edit, QString(c));
                continue;
            }
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QCoreApplication::sendEvent(edit, &commit);
        }
    }
    void clickStart() { QTest::mouseClick(control<ui::PictureButton>("按钮1"), Qt::LeftButton); }
    QString shown(const char* box) { return control<ui::EditBox>(box)->text(); }
};

class Calculation : public TypingTest, public ::testing::WithParamInterface<WorkedExample> {};

TEST_P(Calculation, ShowsBothVolumesAfterTheClick) {
    const WorkedExample& example = GetParam();
    typeInto("编辑框r", example.r);
    typeInto("编辑框L", example.L);
    typeInto("编辑框hi", example.hi);
    typeInto("编辑框h", example.h);
    clickStart();
    EXPECT_EQ(shown("编辑框V"), QString::fromUtf8(example.V));
    EXPECT_EQ(shown("编辑框Vh"), QString::fromUtf8(example.Vh));
    // A written result is shown from its beginning.
    EXPECT_EQ(control<ui::EditBox>("编辑框V")->cursorPosition(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Calculation,
    ::testing::Values(WorkedExample{"HalfFullUnitVessel", "1", "1", "0.5", "1", "5.23599", "2.61799"},
                      WorkedExample{"PartlyFilled", "1.5", "6", "0.375", "1.2", "44.17865", "16.464"},
                      WorkedExample{"FlatHeads", "2", "10", "0", "1", "125.66371", "24.56739"},
                      WorkedExample{"EmptyRadius", "", "1", "0.5", "1", "-1.#IND", "-1.#IND"}),
    [](const ::testing::TestParamInfo<WorkedExample>& info) { return std::string(info.param.name); });

using CalculationInput = TypingTest;

TEST_F(CalculationInput, PastedFullWidthDigitReachesTheCalculationAsItsGb2312Bytes) {
    typeInto("编辑框L", "1");
    typeInto("编辑框hi", "0.5");
    typeInto("编辑框h", "1");
    QApplication::clipboard()->setText(QString::fromUtf8("１")); // U+FF11
    auto* radius = control<ui::EditBox>("编辑框r");
    QTest::mouseClick(radius, Qt::LeftButton);
    QTest::keyClick(radius, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框r"), "\xA3\xB1");

    // Run while 编辑框r keeps the focus: leaving it would rewrite the text into the number form, which
    // has no full-width digits (number_input_test.cpp).
    ui::onStartClicked(mainWindow());
    EXPECT_EQ(shown("编辑框V"), QStringLiteral("5.23599"));
    EXPECT_EQ(shown("编辑框Vh"), QStringLiteral("2.61799"));
}

using ControlContent = TypingTest;

TEST_F(ControlContent, ReadsTheTextAsGb2312WithQuestionMarksOutsideGbk) {
    // Pasted: typing would drop both characters.
    QApplication::clipboard()->setText(QString::fromUtf8("2开ก"));
    auto* length = control<ui::EditBox>("编辑框L");
    QTest::mouseClick(length, Qt::LeftButton);
    QTest::keyClick(length, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框L"), "2\xBF\xAA?");
    EXPECT_EQ(ui::readContent(mainWindow(), "按钮1"), "\xBF\xAA\xCA\xBC\xBC\xC6\xCB\xE3"); // 开始计算
}

TEST_F(ControlContent, WritingReplacesTheWholeTextUnchangedAndShowsItFromTheStart) {
    auto* box = control<ui::EditBox>("编辑框h");
    QTest::keyClicks(box, QStringLiteral("123"));
    int changes = 0;
    QObject::connect(box, &QLineEdit::textChanged, box, [&changes] { ++changes; });

    const std::string longText = "007." + std::string(60, '5'); // no number form is imposed
    EXPECT_TRUE(ui::writeContent(mainWindow(), "编辑框h", longText));
    EXPECT_EQ(box->text().toStdString(), longText);
    EXPECT_EQ(box->cursorPosition(), 0);
    EXPECT_EQ(changes, 1);

    EXPECT_TRUE(ui::writeContent(mainWindow(), "编辑框h", "\xA3\xBA"));
    EXPECT_EQ(box->text(), QString::fromUtf8("："));
}

TEST_F(ControlContent, UnknownNameReadsEmptyAndCannotBeWritten) {
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框x"), "");
    EXPECT_FALSE(ui::writeContent(mainWindow(), "编辑框x", "1"));
}

} // namespace
} // namespace uitest
