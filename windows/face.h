// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The family of the window's bold face on this system, chosen once: the
// game and the bench's text floor draw with the same.

#include <windows.h>

namespace win {

const wchar_t* windowFamily();

}  // namespace win
