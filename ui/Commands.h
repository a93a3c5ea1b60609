#pragma once
// Command ids of the main menu, the accelerators and the commands the command bars post.
#include <array>

namespace vork {

namespace command {
inline constexpr int about = 104;
inline constexpr int exit = 105;
inline constexpr int newAnimation = 1001;
inline constexpr int newPicture = 32774;
inline constexpr int importGif = 32778;
inline constexpr int exportPng = 32781;
inline constexpr int insertFromFile = 32783;
inline constexpr int keyReference = 32784;
inline constexpr int animationPictureSize = 32785;
inline constexpr int animationCanvasSize = 32786;
inline constexpr int picturePictureSize = 32787;
inline constexpr int pictureCanvasSize = 32788;
inline constexpr int merge = 32794;
// The exports for people who post animations and hand them to games.
inline constexpr int exportGif = 32795;
inline constexpr int exportSpriteSheet = 32796;

// The command bars' file buttons post these, so their choosers and dialogs open after the paint
// that saw the click rather than inside it. They are in no menu.
inline constexpr int openPicture = 2001;
inline constexpr int openAnimation = 2002;
inline constexpr int savePicture = 2003;
inline constexpr int saveAnimation = 2004;
inline constexpr int insertImagePainter = 2005;
inline constexpr int insertImageAnimator = 2006;
inline constexpr int openImageAsPicture = 2007;
inline constexpr int exportPicture = 2008;
// Posted when a copy of an unsaved document could not be written, so that the message box
// opens after the paint.
inline constexpr int autosaveFailed = 2009;
} // namespace command

// One entry of a popup of the main menu; id 0 is a separator.
struct MenuItem {
    const char* text;
    int id;
};

struct MenuPopup {
    const char* title;
    const MenuItem* items;
    int count;
};

inline constexpr MenuItem animatorMenu[] = {
    {"Импорт Gif", command::importGif},
    {"Вставка из файла", command::insertFromFile},
    {"Экспорт Png", command::exportPng},
    {"Экспорт Gif", command::exportGif},
    {"Экспорт листа спрайтов", command::exportSpriteSheet},
    {nullptr, 0},
    {"Размер рисунка", command::animationPictureSize},
    {"Размер холста", command::animationCanvasSize},
    {nullptr, 0},
    {"Слияние", command::merge},
    {nullptr, 0},
    {"Выход", command::exit},
};
inline constexpr MenuItem painterMenu[] = {
    {"Размер рисунка", command::picturePictureSize},
    {"Размер холста", command::pictureCanvasSize},
};
inline constexpr MenuItem helpMenu[] = {
    {"О программе", command::about},
    {nullptr, 0},
    {"Используемые клавиши", command::keyReference},
};

// Menu 109, the main menu, in its order.
inline constexpr std::array<MenuPopup, 3> mainMenu = {{
    {"Animator", animatorMenu, int(std::size(animatorMenu))},
    {"Painter", painterMenu, int(std::size(painterMenu))},
    {"Справка", helpMenu, int(std::size(helpMenu))},
}};

} // namespace vork
