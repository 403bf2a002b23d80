// The result boxes: the user can focus, select and copy them, and nothing the user does changes them.
#include "ui_fixture.h"

#include "ui/control_content.h"
#include "ui/edit_box.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <functional>
#include <memory>

#include <ostream>

namespace uitest {
namespace {

constexpr const char* shownResult = "44.17865";

class ReadOnlyBox : public UiTest {
protected:
    ui::EditBox* resultBox() {
        auto* box = control<ui::EditBox>("编辑框V");
        // Two writes, so that an undo would have something to go back to.
        ui::writeContent(mainWindow(), "编辑框V", "1");
        ui::writeContent(mainWindow(), "编辑框V", shownResult);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        return box;
    }
};

struct EditingAttempt {
    const char* name;
    std::function<void(ui::EditBox&)> attempt;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const EditingAttempt& c, std::ostream* out) {
    *out << c.name;
}

void keys(ui::EditBox& box, std::initializer_list<QKeyCombination> combinations) {
    for (const QKeyCombination combination : combinations)
        QTest::keyClick(&box, combination.key(), combination.keyboardModifiers());
}

const EditingAttempt editingAttempts[] = {
    {"Typing", [](ui::EditBox& box) { QTest::keyClicks(&box, QStringLiteral("12a.-")); }},
    {"BackspaceAndDelete",
     [](ui::EditBox& box) {
         keys(box, {Qt::Key_End, Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete});
         keys(box, {Qt::ControlModifier | Qt::Key_Backspace, Qt::ControlModifier | Qt::Key_Delete});
     }},
    {"DeletingASelection",
     [](ui::EditBox& box) {
         keys(box, {Qt::ControlModifier | Qt::Key_A, Qt::Key_Delete, Qt::Key_X});
     }},
    {"LineKillKeys",
     [](ui::EditBox& box) {
         keys(box, {Qt::Key_Home, Qt::ControlModifier | Qt::Key_K, Qt::ControlModifier | Qt::Key_U});
     }},
    {"Paste",
     [](ui::EditBox& box) {
         QApplication::clipboard()->setText(QStringLiteral("999"));
         keys(box, {Qt::ControlModifier | Qt::Key_V, Qt::ShiftModifier | Qt::Key_Insert});
     }},
    {"Cut",
     [](ui::EditBox& box) {
         keys(box, {Qt::ControlModifier | Qt::Key_A, Qt::ControlModifier | Qt::Key_X,
                    Qt::ShiftModifier | Qt::Key_Delete});
     }},
    {"UndoAndRedo",
     [](ui::EditBox& box) {
         keys(box, {Qt::ControlModifier | Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z,
                    Qt::ControlModifier | Qt::Key_Y});
         box.undo(); // even the programmatic undo finds nothing the user could revert
     }},
    {"InputMethodCommit",
     [](ui::EditBox& box) {
         QInputMethodEvent event;
         event.setCommitString(QString::fromUtf8("７"), -2, 2);
         QCoreApplication::sendEvent(&box, &event);
     }},
    {"DragAndDrop",
     [](ui::EditBox& box) {
         QMimeData data;
         data.setText(QStringLiteral("777"));
         const QPointF at(10, box.height() / 2);
         QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
         QCoreApplication::sendEvent(&box, &enter);
         EXPECT_FALSE(enter.isAccepted());
         QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
         QCoreApplication::sendEvent(&box, &drop);
         EXPECT_FALSE(drop.isAccepted());
     }},
    {"EveryContextMenuEntry",
     [](ui::EditBox& box) {
         QApplication::clipboard()->setText(QStringLiteral("999"));
         box.selectAll();
         const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
         for (QAction* action : menu->actions()) {
             if (action->isEnabled())
                 action->trigger();
             box.selectAll();
         }
     }},
};

class ReadOnlyBoxEditing : public ReadOnlyBox, public ::testing::WithParamInterface<EditingAttempt> {};

TEST_P(ReadOnlyBoxEditing, LeavesTheTextUnchanged) {
    ui::EditBox* box = resultBox();
    ASSERT_TRUE(box->hasFocus());
    GetParam().attempt(*box);
    EXPECT_EQ(box->text(), QString::fromLatin1(shownResult));
    EXPECT_EQ(ui::readContent(mainWindow(), "编辑框V"), shownResult);
}

INSTANTIATE_TEST_SUITE_P(Attempts, ReadOnlyBoxEditing, ::testing::ValuesIn(editingAttempts),
                         [](const ::testing::TestParamInfo<EditingAttempt>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ReadOnlyBox, CanBeSelectedAndCopied) {
    ui::EditBox* box = resultBox();
    QApplication::clipboard()->clear();
    keys(*box, {Qt::ControlModifier | Qt::Key_A, Qt::ControlModifier | Qt::Key_C});
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromLatin1(shownResult));

    keys(*box, {Qt::Key_Home, Qt::ShiftModifier | Qt::Key_Right, Qt::ShiftModifier | Qt::Key_Right});
    EXPECT_EQ(box->selectedText(), QStringLiteral("44"));
    keys(*box, {Qt::ControlModifier | Qt::Key_Insert});
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("44"));
}

// The number of dark pixels in the box's text area, where the caret would be drawn.
int darkPixels(QWidget& box) {
    const QImage image = box.grab().toImage();
    int dark = 0;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            if (qGray(image.pixel(x, y)) < 96)
                ++dark;
    return dark;
}

TEST_F(ReadOnlyBox, TakesTheFocusAndShowsACaret) {
    auto* box = control<ui::EditBox>("编辑框Vh"); // empty: every dark pixel inside is the caret
    EXPECT_EQ(darkPixels(*box), 0);
    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_TRUE(box->hasFocus());
    EXPECT_TRUE(box->readOnlyCaretShown());
    EXPECT_GE(darkPixels(*box), 8);

    QTest::mouseClick(control<ui::EditBox>("编辑框V"), Qt::LeftButton);
    EXPECT_FALSE(box->readOnlyCaretShown());
    EXPECT_EQ(darkPixels(*box), 0);
}

} // namespace
} // namespace uitest
