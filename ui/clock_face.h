#pragma once

#include <QPixmap>

namespace ui {

// The picture that the player taps: a watch dial whose hour positions lie
// under the marker cells.
QPixmap clockFace();

}  // namespace ui
