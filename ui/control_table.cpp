// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "control_table.h"

namespace ui {

namespace {

// The run of spaces pushes the example onto a line of its own when the
// label wraps its text.
constexpr const char* kRulesText =
    "Загадайте число от 1 до 12. Затем щелкайте по любым цифрам (20-n)раз, "
    "где n-загаданное число. Нажмите СТОП."
    "                                           "
    "Пример: Загаданна цифра 7. Надо щелкнуть 13 раз и нажать СТОП. ";

using enum ControlType;
using enum Font;

}  // namespace

// clang-format off
const std::array<ControlSpec, 24> kControls{{
    // name       type           container left  top   width height text          font     fore      back      tab locked accessible name
    {"Frame1",    Frame,         nullptr,  480,  120,  2895, 2775, "Правила",     Italic,  kDarkRed, kWhite,   8,  false, nullptr},
    {"Command5",  CommandButton, "Frame1", 960,  2160, 735,  375,  "ОК",          Regular, kDefault, kWhite,   10, false, nullptr},
    {"Label2",    Label,         "Frame1", 120,  240,  2655, 1935, kRulesText,    Italic,  kRed,     kWhite,   9,  false, nullptr},
    {"Command4",  CommandButton, nullptr,  2760, 2160, 975,  375,  "Правила",     Regular, kDefault, kWhite,   7,  false, nullptr},
    {"Command3",  CommandButton, nullptr,  120,  2640, 975,  375,  "Загадать",    Regular, kDefault, kWhite,   5,  false, nullptr},
    {"Command2",  CommandButton, nullptr,  120,  2160, 975,  375,  "Стоп",        Regular, kDefault, kWhite,   4,  false, nullptr},
    {"Command1",  CommandButton, nullptr,  2760, 2640, 975,  375,  "Выход",       Regular, kDefault, kWhite,   3,  false, nullptr},
    {"Text7",     TextBox,       nullptr,  2280, 120,  375,  285,  "",            Answer,  kRed,     kDefault, 2,  true,  "Ваше число"},
    {"Text6",     TextBox,       nullptr,  1560, 2640, 375,  375,  "14",          System,  kDefault, kDefault, 1,  true,  "Основа"},
    {"Text1",     TextBox,       nullptr,  1680, 1440, 495,  285,  "0",           Regular, kDefault, kDefault, 0,  false, "Число нажатий"},
    {"Shape1_11", Shape,         nullptr,  2280, 840,  135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 1"},
    {"Shape1_10", Shape,         nullptr,  2520, 1200, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 2"},
    {"Shape1_9",  Shape,         nullptr,  2640, 1560, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 3"},
    {"Shape1_8",  Shape,         nullptr,  2520, 1920, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 4"},
    {"Shape1_7",  Shape,         nullptr,  2280, 2160, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 5"},
    {"Shape1_6",  Shape,         nullptr,  1920, 2280, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 6"},
    {"Shape1_5",  Shape,         nullptr,  1440, 2160, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 7"},
    {"Shape1_4",  Shape,         nullptr,  1200, 1920, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 8"},
    {"Shape1_3",  Shape,         nullptr,  1080, 1560, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 9"},
    {"Shape1_2",  Shape,         nullptr,  1200, 1200, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 10"},
    {"Shape1_1",  Shape,         nullptr,  1440, 960,  135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 11"},
    {"Shape1_0",  Shape,         nullptr,  1800, 840,  135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 12"},
    {"Label1",    Label,         nullptr,  840,  120,  1455, 255,  "Ваше число:", Large,   kRed,     kDefault, 6,  false, nullptr},
    {"Image1_0",  Image,         nullptr,  120,  120,  3660, 2955, nullptr,       System,  kDefault, kDefault, -1, false, "Часы, по которым щёлкать"},
}};
// clang-format on

}  // namespace ui
