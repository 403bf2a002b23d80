// The theme in the program's own window, read pixel by pixel from what the window shows: the rings of
// the six edit boxes and the frames of the two group boxes in each scheme, the standard look back at once
// when the theme goes off, and the start button untouched throughout.
#include "definition_copy.h"
#include "theme_fixture.h"
#include "ui_fixture.h"

#include "ui/group_box.h"
#include "ui/theme.h"
#include "ui/theme_scheme.h"

#include <QCoreApplication>
#include <QLineEdit>

#include <optional>

namespace uitest {
namespace {

const QColor white(255, 255, 255);
const QColor green(0, 128, 0);
const QColor groupFrame(191, 184, 191);

struct Box {
    const char* name;
    bool readOnly;
};

constexpr Box editBoxes[] = {{"编辑框r", false},  {"编辑框L", false}, {"编辑框h", false},
                             {"编辑框hi", false}, {"编辑框V", true},  {"编辑框Vh", true}};
constexpr const char* groupBoxes[] = {"分组框1", "分组框2"};

class ThemedWindow : public UiTest {
protected:
    // Before the window is built, so its focused box never blinks between two pictures.
    SteadyCaret caret_;
    ThemeGuard theme_;

    QWidget& widget(const char* name) {
        QWidget* found = mainWindow().control(name);
        if (found == nullptr)
            throw std::invalid_argument(name);
        return *found;
    }

    void expectSchemeLook(const QImage& shown, const QColor& ring) {
        for (const Box& box : editBoxes) {
            const QRect place = placeInWindow(widget(box.name));
            EXPECT_TRUE(ringIs(shown, place, 0, ring)) << box.name;
            EXPECT_TRUE(ringIs(shown, place, 1, box.readOnly ? ui::faceColour() : white)) << box.name;
        }
        for (const char* name : groupBoxes) {
            auto& group = static_cast<ui::GroupBox&>(widget(name));
            const GroupBoxExpectation look{group.title(), group.titleFont(), ui::TitleAlignment::Left, white,
                                           green,         groupFrame};
            EXPECT_TRUE(groupBoxIsThemed(shown, placeInWindow(group), look)) << name;
        }
    }
};

TEST_F(ThemedWindow, IsThemedWithSchemeTwoFromItsFirstAppearance) {
    const QImage shown = onScreen(mainWindow());
    EXPECT_EQ(ui::themeScheme(), 2);
    expectSchemeLook(shown, QColor(164, 185, 127));
}

class ThemedWindowScheme : public ThemedWindow, public ::testing::WithParamInterface<int> {};

TEST_P(ThemedWindowScheme, EditRingsFollowTheSchemeAndGroupFramesStayTheSame) {
    ui::MainWindow& window = mainWindow();
    ASSERT_EQ(ui::applyTheme(GetParam()), 1);
    // No event is handled in between: switching repaints at once.
    expectSchemeLook(onScreen(window), ui::schemeColours(GetParam())->editRing);
}

INSTANTIATE_TEST_SUITE_P(Schemes, ThemedWindowScheme, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "Scheme" + std::to_string(info.param); });

TEST_F(ThemedWindow, SwitchingOffRestoresTheStandardLookAtOnce) {
    ui::MainWindow& window = mainWindow();
    EXPECT_NE(ui::applyTheme(0), 0);
    QCoreApplication::processEvents();
    const QImage standard = onScreen(window);
    EXPECT_EQ(ui::themedControlCount(), 0u);

    ASSERT_EQ(ui::applyTheme(2), 1);
    const QImage themed = onScreen(window);
    EXPECT_NE(themed, standard);
    expectSchemeLook(themed, QColor(164, 185, 127));
    // Inside the rings each box shows what it drew itself.
    for (const Box& box : editBoxes) {
        const QRect inside = placeInWindow(widget(box.name)).adjusted(2, 2, -2, -2);
        EXPECT_EQ(themed.copy(inside), standard.copy(inside)) << box.name;
    }

    EXPECT_NE(ui::applyTheme(0), 0);
    EXPECT_EQ(onScreen(window), standard);
    EXPECT_EQ(ui::applyTheme(0), 0);
    EXPECT_EQ(ui::themeScheme(), 0);
}

TEST_F(ThemedWindow, LeavesTheStartButtonInItsStandardLook) {
    ui::MainWindow& window = mainWindow();
    const QRect button = placeInWindow(widget("按钮1"));
    const QImage themed = onScreen(window).copy(button);
    ui::applyTheme(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(onScreen(window).copy(button), themed);
    ASSERT_EQ(ui::applyTheme(3), 1);
    EXPECT_EQ(onScreen(window).copy(button), themed);
}

TEST_F(ThemedWindow, TakesTheEditBoxesAndGroupBoxesOnly) {
    mainWindow();
    const std::pair<const char*, std::optional<ui::ThemedKind>> expected[] = {
        {"编辑框r", ui::ThemedKind::EditBox},
        {"编辑框Vh", ui::ThemedKind::EditBox},
        {"分组框1", ui::ThemedKind::GroupBox},
        {"分组框2", ui::ThemedKind::GroupBox},
        {"按钮1", std::nullopt},
        {"透明标签1", std::nullopt},
        {"透明标签7", std::nullopt},
        {"图片框1", std::nullopt},
        {"图片框2", std::nullopt},
    };
    for (const auto& [name, kind] : expected) {
        const ui::ThemedControl* record = ui::findThemedControl(&widget(name));
        EXPECT_EQ(record != nullptr, kind.has_value()) << name;
        if (record != nullptr && kind) {
            EXPECT_EQ(record->kind, *kind) << name;
        }
    }
    EXPECT_EQ(ui::findThemedControl(&mainWindow()), nullptr);
    EXPECT_EQ(ui::themedControlCount(), 8u);
}

TEST_F(ThemedWindow, RecordsKeepTheColoursTheParentGives) {
    mainWindow();
    const ui::ThemedControl* group = ui::findThemedControl(&widget("分组框1"));
    const ui::ThemedControl* box = ui::findThemedControl(&widget("编辑框r"));
    ASSERT_NE(group, nullptr);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(group->brush.has_value());
    EXPECT_EQ(group->brush->color().rgb(), white.rgb());
    EXPECT_EQ(group->textColour.rgb(), green.rgb());
    EXPECT_EQ(group->background.rgb(), white.rgb()); // read back from its top-left pixel
    ASSERT_TRUE(box->brush.has_value());
    EXPECT_EQ(box->brush->color().rgb(), white.rgb());
    EXPECT_EQ(box->textColour.rgb(), QColor(0, 0, 0).rgb());
}

TEST_F(ThemedWindow, TracksFocusInTheRecords) {
    mainWindow();
    auto* first = &widget("编辑框r");
    auto* second = &widget("编辑框L");
    ASSERT_TRUE(first->hasFocus());
    EXPECT_TRUE(ui::findThemedControl(first)->focused);
    second->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(ui::findThemedControl(first)->focused);
    EXPECT_TRUE(ui::findThemedControl(second)->focused);
}

TEST_F(ThemedWindow, ReadOnlyIsTakenAtRegistrationAndAfreshWhenTheSchemeIsApplied) {
    ui::MainWindow& window = mainWindow();
    auto& box = static_cast<QLineEdit&>(widget("编辑框L"));
    const QRect place = placeInWindow(box);
    box.setReadOnly(true);
    box.repaint();
    EXPECT_TRUE(ringIs(onScreen(window), place, 1, white));
    ASSERT_EQ(ui::applyTheme(2), 1);
    EXPECT_TRUE(ringIs(onScreen(window), place, 1, ui::faceColour()));
}

TEST(ThemedDisabledBox, ShowsTheDisabledRingsBuiltDisabledOrDisabledLater) {
    SteadyCaret caret;
    ThemeGuard theme;
    DefinitionCopy copy;
    copy.entry("编辑框L").disabled = true;
    const std::unique_ptr<ui::MainWindow> window = buildActive(copy);
    ASSERT_NE(window, nullptr);
    const QColor outer = ui::darken(ui::faceColour(), 32);

    QWidget* builtDisabled = window->control("编辑框L");
    EXPECT_TRUE(ringIs(onScreen(*window), placeInWindow(*builtDisabled), 0, outer));
    EXPECT_TRUE(ringIs(onScreen(*window), placeInWindow(*builtDisabled), 1, ui::faceColour()));
    EXPECT_TRUE(ui::findThemedControl(builtDisabled)->disabled);

    QWidget* later = window->control("编辑框h");
    later->setEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ui::findThemedControl(later)->disabled);
    EXPECT_TRUE(ringIs(onScreen(*window), placeInWindow(*later), 0, outer));
    EXPECT_TRUE(ringIs(onScreen(*window), placeInWindow(*later), 1, ui::faceColour()));

    later->setEnabled(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ringIs(onScreen(*window), placeInWindow(*later), 0, QColor(164, 185, 127)));
    EXPECT_TRUE(ringIs(onScreen(*window), placeInWindow(*later), 1, white));
}

struct TitleCase {
    const char* name;
    ui::HorizontalAlignment setting;
    ui::TitleAlignment drawn;
};

class ThemedGroupBoxTitle : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ThemedGroupBoxTitle, StartsWhereItsAlignmentPutsIt) {
    SteadyCaret caret;
    ThemeGuard theme;
    DefinitionCopy copy;
    std::get<ui::GroupBoxSettings>(copy.entry("分组框2").settings).titleAlignment = GetParam().setting;
    const std::unique_ptr<ui::MainWindow> window = buildActive(copy);
    ASSERT_NE(window, nullptr);
    auto* group = static_cast<ui::GroupBox*>(window->control("分组框2"));
    const GroupBoxExpectation look{group->title(), group->titleFont(), GetParam().drawn, white,
                                   green,          groupFrame};
    EXPECT_TRUE(groupBoxIsThemed(onScreen(*window), placeInWindow(*group), look));
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, ThemedGroupBoxTitle,
    ::testing::Values(TitleCase{"Left", ui::HorizontalAlignment::Left, ui::TitleAlignment::Left},
                      TitleCase{"Centre", ui::HorizontalAlignment::Centre, ui::TitleAlignment::Centre},
                      TitleCase{"Right", ui::HorizontalAlignment::Right, ui::TitleAlignment::Right}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace uitest
