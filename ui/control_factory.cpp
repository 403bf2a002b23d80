#include "ui/control_factory.h"

#include "ui/edit_box.h"
#include "ui/group_box.h"
#include "ui/pic_box.h"
#include "ui/picture_button.h"
#include "ui/setting_conversion.h"
#include "ui/trans_label.h"

#include <QFile>
#include <QWidget>

namespace ui {
namespace {

QByteArray resourceBytes(std::string_view path) {
    QFile file(toQString(path));
    if (path.empty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QWidget* createPictureButton(const PictureButtonSettings& settings, QWidget* parent) {
    auto* button = new PictureButton(toQString(settings.caption), resourceBytes(settings.picture), parent);
    button->setFont(makeFont(settings.font));
    button->setDefault(settings.isDefault);
    return button;
}

} // namespace

QWidget* createControl(const ControlDefinition& definition, QWidget* parent) {
    if (!settingsFitKind(definition.kind, definition.settings))
        return nullptr;
    switch (definition.kind) {
    case ControlKind::EditBox:
        return new EditBox(std::get<EditBoxSettings>(definition.settings), parent);
    case ControlKind::PictureButton:
        return createPictureButton(std::get<PictureButtonSettings>(definition.settings), parent);
    case ControlKind::TransLabel:
        return new TransLabel(std::get<TransLabelSettings>(definition.settings), parent);
    case ControlKind::GroupBox:
        return new GroupBox(std::get<GroupBoxSettings>(definition.settings), parent);
    case ControlKind::PicBox: {
        const auto& settings = std::get<PicBoxSettings>(definition.settings);
        return new PicBox(settings, resourceBytes(settings.picture), parent);
    }
    }
    return nullptr;
}

Qt::FocusPolicy ownFocusPolicy(ControlKind kind) {
    switch (kind) {
    case ControlKind::EditBox:
    case ControlKind::PictureButton:
        return Qt::ClickFocus;
    case ControlKind::TransLabel:
    case ControlKind::GroupBox:
    case ControlKind::PicBox:
        return Qt::NoFocus;
    }
    return Qt::NoFocus;
}

} // namespace ui
