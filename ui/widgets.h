#pragma once

// The two kinds of control that Qt has no widget for: the picture, whose
// clicks are the taps, and the red markers that light over it.

#include <QPixmap>
#include <QWidget>

namespace ui {

// Shows a pixmap unscaled and reports every left click on it. A disabled
// picture receives no mouse events from Qt, so it takes no clicks.
class Picture final : public QWidget {
    Q_OBJECT

public:
    explicit Picture(QWidget* parent = nullptr);

    void setPixmap(const QPixmap& pixmap);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap pixmap_;
    bool pressed_ = false;
};

// A solid spot filling its cell. Clicks pass through it to the picture
// below, so tapping on the lit marker counts like tapping anywhere else.
class Marker final : public QWidget {
    Q_OBJECT

public:
    explicit Marker(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ui
