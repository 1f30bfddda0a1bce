// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "face.h"

#include <initializer_list>

namespace win {

// The classic face where it has Cyrillic letters, else its TrueType
// successor, else the metric-compatible face that the desktop uses; asked
// for by name without Cyrillic, Windows would draw the Russian texts in
// whatever face it maps them to.
const wchar_t* windowFamily()
{
    static const wchar_t* chosen = [] {
        HDC screen = GetDC(nullptr);
        const wchar_t* found = L"Arial";
        for (const wchar_t* family : {L"MS Sans Serif", L"Microsoft Sans Serif", L"Liberation Sans"}) {
            LOGFONTW wanted{};
            wanted.lfCharSet = RUSSIAN_CHARSET;
            lstrcpynW(wanted.lfFaceName, family, LF_FACESIZE);
            bool has = false;
            EnumFontFamiliesExW(
                screen, &wanted,
                [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM has) {
                    *reinterpret_cast<bool*>(has) = true;
                    return 0;
                },
                reinterpret_cast<LPARAM>(&has), 0);
            if (has) {
                found = family;
                break;
            }
        }
        ReleaseDC(nullptr, screen);
        return found;
    }();
    return chosen;
}

}  // namespace win
