// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "forms.h"

namespace trick {

namespace {

std::string_view kindText(Failure::Kind kind) noexcept
{
    switch (kind) {
    case Failure::Kind::TypeMismatch: return "type mismatch";
    case Failure::Kind::NoSuchElement: return "no such control array element";
    case Failure::Kind::NotSupported: return "operation not supported";
    }
    return "failure";
}

}  // namespace

Failure::Failure(Kind kind, const std::string& detail) : std::runtime_error(std::string(kindText(kind)) + ": " + detail)
{
}

std::string_view nameOf(Name name) noexcept
{
    switch (name) {
    case Name::Form1: return "Form1";
    case Name::Frame1: return "Frame1";
    case Name::Command1: return "Command1";
    case Name::Command2: return "Command2";
    case Name::Command3: return "Command3";
    case Name::Command4: return "Command4";
    case Name::Command5: return "Command5";
    case Name::Label1: return "Label1";
    case Name::Label2: return "Label2";
    case Name::Text1: return "Text1";
    case Name::Text6: return "Text6";
    case Name::Text7: return "Text7";
    case Name::Shape1: return "Shape1";
    case Name::Image1: return "Image1";
    }
    return "?";
}

std::string to_string(Control control)
{
    std::string text(nameOf(control.name));
    if (elementCount(control.name) > 0)
        text += "_" + std::to_string(control.index);
    return text;
}

Control Forms::element(Name array, int index)
{
    const int count = elementCount(array);
    if (count == 0)
        throw Failure(Failure::Kind::NotSupported, std::string(nameOf(array)) + " is not a control array");
    if (index < 0 || index >= count)
        throw Failure(Failure::Kind::NoSuchElement, to_string({array, index}));
    return {array, index};
}

}  // namespace trick
