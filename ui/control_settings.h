// The settings each kind of control carries in the window definition: plain data, no widgets. Texts are
// UTF-8 (the source's own encoding); they become GB2312 only where they cross into the numeric core.
#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

namespace ui {

// An RGB colour, or the toolkit's button-face colour where a setting allows it.
struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool buttonFace = false;
};

constexpr Colour rgb(int red, int green, int blue) {
    return Colour{red, green, blue, false};
}
constexpr Colour buttonFace() {
    return Colour{0, 0, 0, true};
}

// A font by face name and character height in pixels (the height without internal leading), or, with an
// empty face, the default GUI font. How a missing face is replaced, and which settings fall back to the
// default GUI font, is makeFont's business (font_setting.h).
struct FontSetting {
    std::string_view face = {};
    int pixelHeight = 0;
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

constexpr FontSetting defaultGuiFont{};

enum class ControlKind {
    TransLabel,    // 透明标签: text drawn without a background of its own
    EditBox,       // 编辑框: a one-line edit box
    PictureButton, // 按钮: a push button that shows a picture instead of its caption
    GroupBox,      // 分组框: a titled frame that holds other controls
    PicBox,        // 图片框: a picture on a background
};

enum class HorizontalAlignment { Left = 0, Centre = 1, Right = 2 };
enum class VerticalAlignment { Top = 0, Centre = 1, Bottom = 2 };

struct TransLabelSettings {
    std::string_view text = "透明标签";
    Colour textColour = rgb(0, 0, 0);
    FontSetting font = defaultGuiFont;
    HorizontalAlignment horizontal = HorizontalAlignment::Left;
    VerticalAlignment vertical = VerticalAlignment::Centre; // one-line text only
    bool wordWrap = false;
    // 0 none; 1 a white copy one pixel right and down, then the text; 2 a white copy in place, then the text
    // one pixel right and down; 3 a black copy two pixels right and down, then the text.
    int effect = 0;
};

enum class EditInputMode {
    Number,   // the user types a number
    ReadOnly, // takes the focus and can be selected and copied; only the program changes it
};

enum class EditBorder { None, Sunken };

struct EditBoxSettings {
    EditInputMode mode = EditInputMode::Number;
    EditBorder border = EditBorder::Sunken;
    Colour textColour = rgb(0, 0, 0);
    Colour background = rgb(255, 255, 255);
    FontSetting font = defaultGuiFont;
    std::string_view text = {}; // initial content
    bool hideSelection = true;  // the selection shows only while the box has the focus
};

struct PictureButtonSettings {
    std::string_view caption = {};
    std::string_view picture =
        {};                 // Qt resource path of a baseline JPEG; the caption shows if it cannot be decoded
    bool isDefault = false; // a default button would answer Enter
    FontSetting font = defaultGuiFont;
};

struct GroupBoxSettings {
    std::string_view title = {};
    HorizontalAlignment titleAlignment = HorizontalAlignment::Left;
    Colour textColour = rgb(0, 0, 0);
    Colour background = buttonFace();
    FontSetting font = defaultGuiFont;
};

enum class PicBoxBorder {
    None = 0,
    Sunken = 1,
    RaisedDouble = 2,
    ThinSunken = 3,
    SunkenInRaisedDouble = 4,
    ThinLine = 5,
};

enum class PicBoxDisplay {
    NaturalSize = 0, // at the top-left corner, cut off where it does not fit
    Stretched = 1,
    ShrunkToFit = 2, // proportions kept, centred, never enlarged
};

struct PicBoxSettings {
    std::string_view picture = {}; // Qt resource path, or empty for none
    PicBoxBorder border = PicBoxBorder::None;
    Colour background = buttonFace();
    PicBoxDisplay display = PicBoxDisplay::NaturalSize;
    bool animate = true;
};

using KindSettings = std::variant<TransLabelSettings, EditBoxSettings, PictureButtonSettings,
                                  GroupBoxSettings, PicBoxSettings>;

// Whether a settings record belongs to a kind: each kind has exactly one settings type.
constexpr bool settingsFitKind(ControlKind kind, const KindSettings& settings) {
    switch (kind) {
    case ControlKind::TransLabel:
        return std::holds_alternative<TransLabelSettings>(settings);
    case ControlKind::EditBox:
        return std::holds_alternative<EditBoxSettings>(settings);
    case ControlKind::PictureButton:
        return std::holds_alternative<PictureButtonSettings>(settings);
    case ControlKind::GroupBox:
        return std::holds_alternative<GroupBoxSettings>(settings);
    case ControlKind::PicBox:
        return std::holds_alternative<PicBoxSettings>(settings);
    }
    return false;
}

} // namespace ui
