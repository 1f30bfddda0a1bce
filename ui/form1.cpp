// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "form1.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <stdexcept>
#include <string>
#include <vector>

#include "artwork.h"
#include "style.h"
#include "widgets.h"

namespace ui {

namespace {

using layout::ControlSpec;
using layout::Font;
using layout::Type;

QRect qRect(const layout::Rect& rect)
{
    return {rect.left, rect.top, rect.width, rect.height};
}

// The classic face where it is installed, else a metric-compatible one with
// Cyrillic glyphs. Asking for the missing face by name would send Qt on a
// costly search for substitutes, so the choice is made once, up front, among
// the installed families: hasFamily() would ask fontconfig for aliases too.
const QString& windowFamily()
{
    static const QString family = QFontDatabase::families().contains(QStringLiteral("MS Sans Serif"))
                                      ? QStringLiteral("MS Sans Serif")
                                      : QStringLiteral("Liberation Sans");
    return family;
}

// "XXX" in bold Liberation Sans at 13 px is 26 px wide, more than the 23 px
// inside the answer field's border. The narrow cut of the same face draws
// it 21 px wide (22 px at fractional scales), so with the text margins of
// the answer field every answer fits whole at any scale without squeezing
// the letters into each other. The narrow cut was last released as 1.07;
// every Debian release ships that one (12 in fonts-liberation, 13 and later
// in fonts-liberation-sans-narrow), so the answer looks the same on each.
const QString& answerFamily()
{
    static const QString family =
        windowFamily() == QLatin1String("MS Sans Serif") ? windowFamily() : QStringLiteral("Liberation Sans Narrow");
    return family;
}

QFont fontFor(Font font)
{
    QFont result(font == Font::Answer ? answerFamily() : windowFamily());
    result.setStyleHint(QFont::SansSerif);
    result.setPixelSize(font == Font::Large || font == Font::Answer ? 13 : 11);
    result.setBold(true);
    result.setItalic(font == Font::Italic);
    return result;
}

// QLineEdit keeps 2 px free inside each side of its border. The answer
// field gives back all but 1 px on the left, so its text runs from x = 2 to
// x = 23 of its 25 px, just inside the border; it never scrolls, since
// nothing but the handlers writes it.
constexpr QMargins kAnswerMargins{-1, 0, -2, 0};

QColor colour(layout::Colour rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

void applyColours(QWidget& widget, const ControlSpec& spec)
{
    QPalette palette = widget.palette();
    if (spec.type == Type::CommandButton) {
        palette.setColor(QPalette::Button, colour(spec.back));  // the face, as the style paints it
        widget.setPalette(palette);
        return;
    }
    const bool isTextBox = spec.type == Type::TextBox;
    if (spec.fore != layout::kDefault)
        palette.setColor(isTextBox ? QPalette::Text : QPalette::WindowText, colour(spec.fore));
    if (spec.back != layout::kDefault) {
        palette.setColor(isTextBox ? QPalette::Base : QPalette::Window, colour(spec.back));
        widget.setAutoFillBackground(true);
    }
    widget.setPalette(palette);
}

QWidget* createControl(const ControlSpec& spec, QWidget* container)
{
    const QString text = QString::fromUtf8(spec.text ? spec.text : "");
    switch (spec.type) {
    case Type::Frame: return new Frame(text, container);
    case Type::CommandButton: {
        auto* button = new QPushButton(text, container);
        // Enter presses a focused button, as Space does.
        button->setAutoDefault(true);
        return button;
    }
    case Type::Label: {
        auto* label = new QLabel(text, container);
        // Plain text keeps the run of spaces that breaks the rules text.
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Type::TextBox: {
        auto* edit = new QLineEdit(text, container);
        // Still selectable and copyable, and written by the handlers.
        edit->setReadOnly(spec.locked);
        if (spec.font == Font::Answer)
            edit->setTextMargins(kAnswerMargins);
        return edit;
    }
    case Type::Shape: return new Marker(colour(spec.back), container);
    case Type::Image: return new Picture(container);
    }
    throw std::invalid_argument("no widget for a control of type " + std::to_string(int(spec.type)));
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setUpWindow();
    createControls();
    relateLabels();
    stackFrontToBack();
    orderTabs();
    widget(trick::Text1).setFocus();
}

void Form1::setUpWindow()
{
    setObjectName(QString::fromStdString(trick::to_string(trick::Form1)));
    setWindowTitle(QString::fromUtf8(layout::kWindow.caption));
    // A small tool window: a slim caption bar with a close button only.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowIcon(appIcon());
    const layout::Size client = layout::clientSize();
    resize(client.width, client.height);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour(layout::kWindow.back));
    setPalette(palette);
    setAutoFillBackground(true);
    // One style for the window and all its controls; a child of the window,
    // so that it lives as long as they do.
    auto* flat = new FlatStyle;
    flat->setParent(this);
    setStyle(flat);
}

void Form1::createControls()
{
    for (const ControlSpec& spec : layout::kControls) {
        QWidget* container =
            spec.container == trick::Form1 ? this : widgets_[layout::slotOf(layout::at(spec.container))];
        if (container == nullptr)
            throw std::logic_error(trick::to_string(spec.id) + " is listed before its container");
        QWidget* made = createControl(spec, container);
        made->setObjectName(QString::fromStdString(trick::to_string(spec.id)));
        made->setStyle(style());
        made->setGeometry(qRect(layout::pixels(spec)));
        if (spec.font != Font::System)
            made->setFont(fontFor(spec.font));
        if (spec.type != Type::Shape)
            applyColours(*made, spec);
        if (spec.accessibleName)
            made->setAccessibleName(QString::fromUtf8(spec.accessibleName));
        widgets_[layout::slotOf(spec)] = made;
    }
}

void Form1::relateLabels()
{
    for (const auto& [label, box] : layout::kLabels)
        static_cast<QLabel&>(widget(label, Type::Label)).setBuddy(&widget(box));
}

// Siblings stack in the order they are raised: raising from the back of the
// table to its front leaves the first-listed control on top.
void Form1::stackFrontToBack()
{
    for (auto made = widgets_.rbegin(); made != widgets_.rend(); ++made)
        (*made)->raise();
}

// Labels and the frame keep their tab index but never take the focus.
void Form1::orderTabs()
{
    const std::vector<const ControlSpec*> order = layout::tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(&widget(order[i - 1]->id), &widget(order[i]->id));
}

QWidget& Form1::widget(trick::Control control) const
{
    return *widgets_[layout::slotOf(layout::at(control))];
}

QWidget& Form1::widget(trick::Control control, Type type) const
{
    const ControlSpec& spec = layout::at(control);
    if (spec.type != type)
        throw std::out_of_range(trick::to_string(control) + " is not of the kind asked for");
    return *widgets_[layout::slotOf(spec)];
}

// Each kind of control was made as one class of widget, so the casts below
// cannot miss.
QLineEdit& Form1::textBox(trick::Control control) const
{
    return static_cast<QLineEdit&>(widget(control, Type::TextBox));
}

QPushButton& Form1::button(trick::Control control) const
{
    return static_cast<QPushButton&>(widget(control, Type::CommandButton));
}

Picture& Form1::picture() const
{
    return static_cast<Picture&>(widget(layout::kPicture, Type::Image));
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

}  // namespace ui
