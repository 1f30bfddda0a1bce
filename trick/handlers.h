// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The event handlers of Form1. Each one acts only through Forms, keeps
// nothing between calls and performs its settings one at a time in a fixed
// order; a Failure thrown by an operation ends it where it stands.

#include <cstdint>

#include "forms.h"

namespace trick {

// Load of Form1: hides the markers, the base value, the answer field with
// its label, and the rules panel.
void form1Load(Forms& forms);

// Change of Text1, the count reaction: lights the marker for the new tap
// count and, from the seventh tap on, writes the answer into the hidden
// answer field.
void text1Change(Forms& forms);

// Click of Image1, one tap on the picture. The element index plays no part.
void image1Click(Forms& forms, std::int16_t index);

void command1Click(Forms& forms);  // "Выход": unloads the window
void command2Click(Forms& forms);  // "Стоп": reveals the answer
void command3Click(Forms& forms);  // "Загадать": starts a round
void command4Click(Forms& forms);  // "Правила": opens the rules panel
void command5Click(Forms& forms);  // "ОК": closes the rules panel

}  // namespace trick
