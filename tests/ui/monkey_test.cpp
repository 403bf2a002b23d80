// A long seeded random session on the real window: whatever is typed, committed, pasted or clicked, the
// window never crashes, keeps the focus on one of its controls, filters typed characters, and shows in its
// result boxes only what the calculation gives for the input boxes at the moment of a click.
#include "ui_fixture.h"

#include "ui/control_content.h"
#include "ui/window_definition.h"

#include "calc/volume.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QTest>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace uitest {
namespace {

// A failure names its seed and event; CORVALEN_MONKEY_SEED=<seed> replays that session event by event, and
// any other seed explores a new one.
constexpr std::uint64_t defaultSeed = 0x5eed'c0de'2026'0007;
constexpr int eventCount = 50000;

const char* const inputBoxes[] = {"编辑框r", "编辑框L", "编辑框h", "编辑框hi"};

bool isAccepted(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'-' || c == u'.';
}

// Characters a number box must never take from the keyboard; pasted text may bring them in.
int rejectedCount(const QString& text) {
    int count = 0;
    for (const QChar c : text)
        count += isAccepted(c) ? 0 : 1;
    return count;
}

// Every kind of character a keyboard or an input method delivers. Full-width forms, Chinese characters
// and characters that GB2312 cannot encode (the euro sign, an emoji outside the basic plane, a combining
// accent, a zero-width space) are where an encoding or filtering mistake would show.
const QStringList& characterPool() {
    static const QStringList pool = [] {
        QStringList chars;
        for (const char c : std::string_view("0123456789-.-.-."))
            chars << QString(QChar(c));
        for (const char c : std::string_view("abcdeEdDxyzZ +,;:!?\"#$%&'()*/<=>@[\\]^_`{|}~"))
            chars << QString(QChar(c));
        for (const char* s : {"１", "２", "０", "．", "－", "开", "始", "计", "算", "体", "积", "€", "😀", "é",
                              "\u0301", "\u200b", "Ω", "々"})
            chars << QString::fromUtf8(s);
        return chars;
    }();
    return pool;
}

class Monkey : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        if (const char* replay = std::getenv("CORVALEN_MONKEY_SEED"))
            seed_ = std::strtoull(replay, nullptr, 0);
        random_.seed(seed_);
        for (const ui::ControlDefinition& definition : ui::mainWindowDefinition().controls)
            names_.push_back(std::string(definition.name));
    }

    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    QString randomCharacter() {
        return characterPool()[static_cast<qsizetype>(below(characterPool().size()))];
    }

    QString randomText(std::size_t maxLength) {
        QString text;
        const std::size_t length = below(maxLength + 1);
        for (std::size_t i = 0; i < length; ++i)
            text += randomCharacter();
        return text;
    }

    // What a user pastes: mostly numbers, sometimes text that holds none, and now and then a long one.
    QString randomPaste() {
        switch (below(8)) {
        case 0:
            return QString::number(std::uniform_real_distribution<double>(-10, 100)(random_), 'g',
                                   1 + static_cast<int>(below(17)));
        case 1:
            return QString::number(static_cast<qlonglong>(below(100000)));
        case 2:
            return QStringLiteral("%1e%2").arg(below(1000)).arg(static_cast<int>(below(800)) - 400);
        case 3:
            return randomText(12);
        case 4:
            return QString::fromUtf8("１．５米 开始 € 😀 ") + randomText(4);
        case 5:
        case 6:
            // Sizes of a real vessel, so that many clicks compute a level inside the vessel.
            return QString::number(std::uniform_real_distribution<double>(0, 4)(random_), 'f',
                                   static_cast<int>(below(4)));
        default:
            // Long digit strings are the expensive events (layout, normalisation), so they stay rare.
            if (chance(0.3)) {
                QString digits = chance(0.5) ? QStringLiteral("0.") : QString();
                const std::size_t length = 200 + below(3000);
                for (std::size_t i = 0; i < length; ++i)
                    digits += QChar(u'0' + static_cast<char16_t>(below(10)));
                return digits;
            }
            return randomText(30);
        }
    }

    QWidget* focused() const { return QApplication::focusWidget(); }

    bool isInputBox(const QWidget* widget) {
        for (const char* name : inputBoxes)
            if (widget != nullptr && widget == mainWindow().control(name))
                return true;
        return false;
    }

    calc::VolumeTexts shownResults() {
        return {ui::readContent(mainWindow(), "编辑框V"), ui::readContent(mainWindow(), "编辑框Vh")};
    }

    calc::VolumeTexts expectedResults() {
        ui::MainWindow& window = mainWindow();
        return calc::computeVolumes(ui::readContent(window, "编辑框r"), ui::readContent(window, "编辑框L"),
                                    ui::readContent(window, "编辑框h"), ui::readContent(window, "编辑框hi"));
    }

    std::uint64_t seed_ = defaultSeed;
    std::mt19937_64 random_;
    std::vector<std::string> names_;
};

// One random user action; `description` says what it was, for the failure message.
struct Action {
    std::string description;
    bool clicksStart = false;    // 按钮1 is clicked by it
    bool typesCharacter = false; // one printable character typed on the keyboard
    bool commitsText = false;    // an input-method commit
    QString character;           // the typed character
};

TEST_F(Monkey, RandomSessionKeepsTheWindowConsistent) {
    ui::MainWindow& window = mainWindow();
    QWidget* start = window.control("按钮1");
    ASSERT_NE(start, nullptr);
    for (const std::string& name : names_)
        ASSERT_NE(window.control(name), nullptr) << name;

    // How much of the window the session reached, so that a session that never got anywhere cannot pass.
    int computedClicks = 0;  // clicks of 按钮1 that showed a liquid volume that is a number
    int typedIntoBoxes = 0;  // typed characters that an input box took
    int focusedControls = 0; // focus changes
    QWidget* lastFocused = focused();

    for (int index = 0; index < eventCount; ++index) {
        QWidget* target = focused();
        ASSERT_NE(target, nullptr) << "seed " << seed_ << " event " << index << ": nothing has the focus";
        auto* box = qobject_cast<QLineEdit*>(target);
        const QString textBefore = box != nullptr ? box->text() : QString();
        const calc::VolumeTexts resultsBefore = shownResults();

        Action action;
        const std::size_t kind = below(100);
        if (kind < 40) {
            action.typesCharacter = true;
            action.character = randomCharacter();
            action.description = "type '" + action.character.toStdString() + "'";
            if (action.character.size() == 1 && action.character[0].unicode() < 0x80) {
                QTest::keyClick(target, action.character[0].toLatin1());
            } else {
                // As a keyboard layout delivers a character without a key code of its own.
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, action.character);
                QCoreApplication::sendEvent(target, &press);
                QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, action.character);
                QCoreApplication::sendEvent(target, &release);
            }
            // Space on the focused button is a click of it.
            action.clicksStart = target == start && action.character == QStringLiteral(" ");
        } else if (kind < 55) {
            // Enter is among them because it must not compute: no control of the window takes it.
            static const Qt::Key editing[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home,  Qt::Key_End,
                                              Qt::Key_Left,      Qt::Key_Right,  Qt::Key_Return};
            const Qt::Key key = editing[below(std::size(editing))];
            const Qt::KeyboardModifiers modifiers = chance(0.3) ? Qt::ShiftModifier : Qt::NoModifier;
            action.description = "key " + QKeySequence(key | modifiers).toString().toStdString();
            QTest::keyClick(target, key, modifiers);
        } else if (kind < 63) {
            static const Qt::Key shortcuts[] = {Qt::Key_A, Qt::Key_C, Qt::Key_X, Qt::Key_V, Qt::Key_Z};
            const Qt::Key key = shortcuts[below(std::size(shortcuts))];
            action.description = "Ctrl+" + QKeySequence(key).toString().toStdString();
            QTest::keyClick(target, key, Qt::ControlModifier);
        } else if (kind < 71) {
            action.commitsText = true;
            const QString text = randomText(6);
            // Sometimes the commit replaces characters before the caret, as a correcting input method does.
            const bool replaces = chance(0.3);
            const int replaceFrom = replaces ? -static_cast<int>(below(4)) : 0;
            const int replaceLength = replaces ? static_cast<int>(below(4)) : 0;
            action.description = "commit '" + text.toStdString() + "' replacing " +
                                 std::to_string(replaceLength) + " from " + std::to_string(replaceFrom);
            QInputMethodEvent event;
            event.setCommitString(text, replaceFrom, replaceLength);
            QCoreApplication::sendEvent(target, &event);
        } else if (kind < 79) {
            const QString text = randomPaste();
            action.description =
                "paste " + std::to_string(text.size()) + " characters '" + text.left(40).toStdString() + "'";
            QApplication::clipboard()->setText(text);
            // Pasted over everything selected, the text replaces the content instead of growing it.
            if (chance(0.4)) {
                action.description = "Ctrl+A, " + action.description;
                QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            }
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        } else if (kind < 87) {
            const bool backwards = chance(0.5);
            action.description = backwards ? "Shift+Tab" : "Tab";
            QTest::keyClick(target, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
        } else {
            const std::string& name = names_[below(names_.size())];
            QWidget* control = window.control(name);
            action.description = "click " + name;
            action.clicksStart = control == start;
            QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
        }
        // Queued work (a rejected dialog, a deferred focus change) runs as it would between real events.
        if (index % 64 == 0)
            QCoreApplication::processEvents();

        const std::string where = "seed " + std::to_string(seed_) + " event " + std::to_string(index) + " (" +
                                  action.description + " on " + target->objectName().toStdString() + ")";

        QWidget* now = focused();
        ASSERT_TRUE(now != nullptr && (now == &window || window.isAncestorOf(now)))
            << where << ": the focus left the window for "
            << (now != nullptr ? now->metaObject()->className() : "nothing");

        const calc::VolumeTexts results = shownResults();
        if (action.clicksStart) {
            const calc::VolumeTexts expected = expectedResults();
            ASSERT_EQ(results.V, expected.V) << where;
            ASSERT_EQ(results.Vh, expected.Vh) << where;
            computedClicks += results.Vh.find('#') == std::string::npos ? 1 : 0;
        } else {
            ASSERT_EQ(results.V, resultsBefore.V) << where << ": V changed without a click of 按钮1";
            ASSERT_EQ(results.Vh, resultsBefore.Vh) << where << ": Vh changed without a click of 按钮1";
        }

        if (isInputBox(target) && focused() == target) {
            const QString textAfter = box->text();
            typedIntoBoxes += action.typesCharacter && textAfter != textBefore ? 1 : 0;
            if (action.typesCharacter && !isAccepted(action.character[0])) {
                ASSERT_EQ(textAfter.toStdString(), textBefore.toStdString())
                    << where << ": a rejected character changed the box";
            }
            if (action.typesCharacter || action.commitsText) {
                ASSERT_LE(rejectedCount(textAfter), rejectedCount(textBefore))
                    << where << ": typed text brought in a rejected character: '" << textAfter.toStdString()
                    << "'";
            }
        }
        ASSERT_TRUE(dialogs_->take().empty()) << where << ": a modal dialog appeared";
        focusedControls += now != lastFocused ? 1 : 0;
        lastFocused = now;
    }
    std::printf(
        "seed %llu: %d events, %d computing clicks, %d characters typed into boxes, %d focus changes\n",
        static_cast<unsigned long long>(seed_), eventCount, computedClicks, typedIntoBoxes, focusedControls);
    EXPECT_GT(computedClicks, 20);
    EXPECT_GT(typedIntoBoxes, 200);
    EXPECT_GT(focusedControls, 200);

    QTest::keyClick(focused(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible()) << "seed " << seed_ << ": Esc did not close the window";
}

} // namespace
} // namespace uitest
