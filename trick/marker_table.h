// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

#include <array>
#include <string_view>

namespace trick {

// What the count reaction does for one tap count: the marker it lights
// and, from the seventh tap on, how much it takes off the base value.
struct MarkerRow {
    std::string_view count;  // the exact text of Text1 that selects the row
    int marker;              // index into Shape1; marker i sits at 12 - i o'clock
    int offset;              // subtracted from the base value; 0: no answer yet
};

// Up to the tenth tap the marker alternates between the two halves of the
// dial, each counting down; after that the order is deliberately irregular.
// No marker ever points at the hour that equals the answer.
// clang-format off
inline constexpr std::array<MarkerRow, 19> kMarkerTable{{
    {"1", 0, 0},
    {"2", 5, 0},
    {"3", 1, 0},
    {"4", 6, 0},
    {"5", 2, 0},
    {"6", 7, 0},
    {"7", 3, 1},
    {"8", 8, 2},
    {"9", 4, 3},
    {"10", 9, 4},
    {"11", 0, 5},
    {"12", 10, 6},
    {"13", 4, 7},
    {"14", 11, 8},
    {"15", 5, 9},
    {"16", 0, 10},
    {"17", 7, 11},
    {"18", 3, 12},
    {"19", 10, 13},
}};
// clang-format on

}  // namespace trick
