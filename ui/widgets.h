// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// The kinds of control that Qt has no widget for: the picture, whose clicks
// are the taps, the red markers that light over it, and the rules panel's
// frame.

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

namespace ui {

// Shows the clock face unscaled; a left click on it is a tap.
class Picture final : public QWidget {
    Q_OBJECT

public:
    explicit Picture(QWidget* parent = nullptr);

    // The one way to tap the picture, for the mouse and for assistive
    // technology alike: a disabled picture takes no tap.
    void tap();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;  // for the pixel ratio of the screen it was last shown on
    bool pressed_ = false;
};

// A solid spot filling its cell. Clicks pass through it to the picture
// below, so tapping on the lit marker counts like tapping anywhere else.
class Marker final : public QWidget {
    Q_OBJECT

public:
    Marker(QColor colour, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

// A frame that is white inside, closed on all four sides by a thin line,
// with its caption set into the top line. Qt's group box draws its title
// above the frame and its inside in the style's own shade, which set the
// white rules text off as a whiter block; it also measured its title in
// fonts as it was made, hidden or not.
class Frame final : public QWidget {
    Q_OBJECT

public:
    Frame(const QString& caption, QWidget* parent = nullptr);

    const QString& caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

}  // namespace ui
