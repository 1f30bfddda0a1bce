#pragma once

// The two kinds of control that Qt has no widget for: the picture, whose
// clicks are the taps, and the red markers that light over it.

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace ui {

// Shows an SVG picture unscaled and reports every left click on it. A
// disabled picture receives no mouse events from Qt, so it takes no clicks.
class Picture final : public QWidget {
    Q_OBJECT

public:
    Picture(const QString& svg, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString svg_;
    QPixmap pixmap_;  // rendered for the screen the picture was last shown on
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

}  // namespace ui
