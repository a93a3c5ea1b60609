// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of the main menu, of the accelerators and those the command bars post. The
// window runs each through onCommand (app/WindowProcedure.h), which finds its handler in one
// table, a row per command.
#include <array>
#include <cstddef>

namespace vork {

enum class Command {
    // Help menu.
    About,
    KeyReference,
    // Animator menu.
    ImportGif,
    InsertFromFile,
    ExportPng,
    // The exports for people who post animations and hand them to games.
    ExportGif,
    ExportWebp,
    ExportSpriteSheet,
    AnimationPictureSize,
    AnimationCanvasSize,
    Merge,
    Exit,
    // Painter menu.
    PicturePictureSize,
    PictureCanvasSize,
    // The command bars' file buttons post these, so that their choosers and dialogs open after
    // the paint that saw the click rather than inside it. They are in no menu.
    NewPicture,
    NewAnimation,
    OpenPicture,
    OpenAnimation,
    SavePicture,
    SaveAnimation,
    InsertImagePainter,
    InsertImageAnimator,
    OpenImageAsPicture,
    ExportPicture,
    // Posted when a copy of an unsaved document could not be written, so that the message box
    // opens after the paint.
    AutosaveFailed,
    // The save shortcut posts these: the document written over its own file, without a
    // chooser. They are in no menu.
    SavePictureInPlace,
    SaveAnimationInPlace,
};
inline constexpr size_t commandCount = size_t(Command::SaveAnimationInPlace) + 1;

// One entry of a popup of the main menu; an entry without text is a separator.
struct MenuItem {
    const char* text = nullptr;
    Command id = Command::About;
    bool separator() const { return text == nullptr; }
};

struct MenuPopup {
    const char* title;
    const MenuItem* items;
    int count;
};

inline constexpr MenuItem animatorMenu[] = {
    {"Импорт Gif", Command::ImportGif},
    {"Вставка из файла", Command::InsertFromFile},
    {"Экспорт Png", Command::ExportPng},
    {"Экспорт Gif", Command::ExportGif},
    {"Экспорт WebP", Command::ExportWebp},
    {"Экспорт листа спрайтов", Command::ExportSpriteSheet},
    {},
    {"Размер рисунка", Command::AnimationPictureSize},
    {"Размер холста", Command::AnimationCanvasSize},
    {},
    {"Слияние", Command::Merge},
    {},
    {"Выход", Command::Exit},
};
inline constexpr MenuItem painterMenu[] = {
    {"Размер рисунка", Command::PicturePictureSize},
    {"Размер холста", Command::PictureCanvasSize},
};
inline constexpr MenuItem helpMenu[] = {
    {"О программе", Command::About},
    {},
    {"Используемые клавиши", Command::KeyReference},
};

// The main menu, in its order.
inline constexpr std::array<MenuPopup, 3> mainMenu = {{
    {"Animator", animatorMenu, int(std::size(animatorMenu))},
    {"Painter", painterMenu, int(std::size(painterMenu))},
    {"Справка", helpMenu, int(std::size(helpMenu))},
}};

} // namespace vork
