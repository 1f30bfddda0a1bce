// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "window.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace layout {

namespace {

// The run of spaces pushes the example onto a line of its own when the
// label wraps its text.
constexpr const char* kRulesText =
    "Загадайте число от 1 до 12. Затем щелкайте по любым цифрам (20-n)раз, "
    "где n-загаданное число. Нажмите СТОП."
    "                                           "
    "Пример: Загаданна цифра 7. Надо щелкнуть 13 раз и нажать СТОП. ";

using enum Type;
using enum Font;
using trick::Form1;

}  // namespace

// clang-format off
const std::array<ControlSpec, 24> kControls{{
    // id             type           container      left  top   width height text           font     fore      back      tab locked accessible name
    {trick::Frame1,   Frame,         Form1,         480,  120,  2895, 2775, "Правила",     Italic,  kDarkRed, kWhite,   8,  false, nullptr},
    {trick::Command5, CommandButton, trick::Frame1, 960,  2160, 735,  375,  "ОК",          Regular, kDefault, kWhite,   10, false, nullptr},
    {trick::Label2,   Label,         trick::Frame1, 120,  240,  2655, 1935, kRulesText,    Italic,  kRed,     kWhite,   9,  false, nullptr},
    {trick::Command4, CommandButton, Form1,         2760, 2160, 975,  375,  "Правила",     Regular, kDefault, kWhite,   7,  false, nullptr},
    {trick::Command3, CommandButton, Form1,         120,  2640, 975,  375,  "Загадать",    Regular, kDefault, kWhite,   5,  false, nullptr},
    {trick::Command2, CommandButton, Form1,         120,  2160, 975,  375,  "Стоп",        Regular, kDefault, kWhite,   4,  false, nullptr},
    {trick::Command1, CommandButton, Form1,         2760, 2640, 975,  375,  "Выход",       Regular, kDefault, kWhite,   3,  false, nullptr},
    {trick::Text7,    TextBox,       Form1,         2280, 120,  375,  285,  "",            Answer,  kRed,     kDefault, 2,  true,  "Ваше число"},
    {trick::Text6,    TextBox,       Form1,         1560, 2640, 375,  375,  "14",          System,  kDefault, kDefault, 1,  true,  "Основа"},
    {trick::Text1,    TextBox,       Form1,         1680, 1440, 495,  285,  "0",           Regular, kDefault, kDefault, 0,  false, "Число нажатий"},
    {marker(11),      Shape,         Form1,         2280, 840,  135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 1"},
    {marker(10),      Shape,         Form1,         2520, 1200, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 2"},
    {marker(9),       Shape,         Form1,         2640, 1560, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 3"},
    {marker(8),       Shape,         Form1,         2520, 1920, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 4"},
    {marker(7),       Shape,         Form1,         2280, 2160, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 5"},
    {marker(6),       Shape,         Form1,         1920, 2280, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 6"},
    {marker(5),       Shape,         Form1,         1440, 2160, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 7"},
    {marker(4),       Shape,         Form1,         1200, 1920, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 8"},
    {marker(3),       Shape,         Form1,         1080, 1560, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 9"},
    {marker(2),       Shape,         Form1,         1200, 1200, 135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 10"},
    {marker(1),       Shape,         Form1,         1440, 960,  135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 11"},
    {marker(0),       Shape,         Form1,         1800, 840,  135,  135,  nullptr,       System,  kDefault, kRed,     -1, false, "Метка на 12"},
    {trick::Label1,   Label,         Form1,         840,  120,  1455, 255,  "Ваше число:", Large,   kRed,     kDefault, 6,  false, nullptr},
    {kPicture,        Image,         Form1,         120,  120,  3660, 2955, nullptr,       System,  kDefault, kDefault, -1, false, "Часы, по которым щёлкать"},
}};
// clang-format on

const ControlSpec* find(trick::Control id) noexcept
{
    // Classic algorithms rather than ranges: Debian 12's emscripten (3.1.6)
    // has a C++ library without the ranges ones.
    const auto found =
        std::find_if(kControls.begin(), kControls.end(), [id](const ControlSpec& control) { return control.id == id; });
    return found == kControls.end() ? nullptr : &*found;
}

const ControlSpec* find(std::string_view name) noexcept
{
    const auto found = std::find_if(kControls.begin(), kControls.end(), [name](const ControlSpec& control) {
        return trick::to_string(control.id) == name;
    });
    return found == kControls.end() ? nullptr : &*found;
}

const ControlSpec& at(trick::Control id)
{
    if (const ControlSpec* control = find(id))
        return *control;
    throw std::out_of_range("the window has no " + trick::to_string(id));
}

const ControlSpec& at(std::string_view name)
{
    if (const ControlSpec* control = find(name))
        return *control;
    throw std::out_of_range("the window has no " + std::string(name));
}

std::size_t slotOf(const ControlSpec& control) noexcept
{
    return static_cast<std::size_t>(&control - kControls.data());
}

Size clientSize() noexcept
{
    return {kWindow.clientWidth / kTwipsPerPixel, kWindow.clientHeight / kTwipsPerPixel};
}

Rect pixels(const ControlSpec& control) noexcept
{
    return {control.left / kTwipsPerPixel, control.top / kTwipsPerPixel, control.width / kTwipsPerPixel,
            control.height / kTwipsPerPixel};
}

Rect inWindow(const ControlSpec& control) noexcept
{
    const Rect box = pixels(control);
    const ControlSpec* container = find(control.container);
    return container ? box.translated(inWindow(*container).topLeft()) : box;
}

Rect inWindow(trick::Control id)
{
    return inWindow(at(id));
}

std::vector<const ControlSpec*> tabOrder()
{
    std::vector<const ControlSpec*> order;
    for (const ControlSpec& control : kControls) {
        if (control.type == TextBox || control.type == CommandButton)
            order.push_back(&control);
    }
    std::sort(order.begin(), order.end(),
              [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

Size pictureSize()
{
    return pixels(at(kPicture)).size();
}

Point inWindow(Point inPicture)
{
    return inWindow(kPicture).topLeft() + inPicture;
}

Rect markerCell(int index)
{
    return inWindow(marker(index)).translated(Point{} - inWindow(kPicture).topLeft());
}

}  // namespace layout
