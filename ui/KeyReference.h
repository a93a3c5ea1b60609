// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed texts of the About box and of the key reference, in UTF-8. Plain C++ so the
// program logic and its tests can use them without Qt.
#include <array>

namespace vork {

inline constexpr const char* aboutTitle = "   О программе";
inline constexpr const char* aboutVersionLine = "vork version 2.0";

inline constexpr const char* keyReferenceTitle = "     Используемые клавиши";

// Shown top to bottom, one line each; the runs of spaces are part of the look.
inline constexpr std::array<const char*, 15> keyReferenceLines{
    "W - видимость предидущего кадра",
    "E - серость предидущего кадра",
    "K - видимость текущего слоя",
    "Z - переход к предидущему кадру",
    "X - переход к следующему кадру",
    "SPACE - остановка, проигрывание анимации",
    "<  , >   -   UNDO, REDO   для текущего слоя",
    "G - смена    аниматор - пэйнтер",
    "\" + ,  -  ,  / \"     -   масштаб: увеличение, уменьшение, норма.",
    "A - выделение всей области",
    "Курсорные клавиши - перемещение выделенного",
    "C  ,  V  -  копирование выделенного, вставка  копированного",
    "ENTER - печать выделенного",
    "DELETE - удаление выделенного",
    "CONTROL -  режим заливки",
};

} // namespace vork
