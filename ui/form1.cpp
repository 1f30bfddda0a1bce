// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "form1.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

#include "accessibility.h"
#include "artwork.h"
#include "control_table.h"
#include "style.h"
#include "widgets.h"

namespace ui {

namespace {

QRect pixels(const ControlSpec& spec)
{
    return {spec.left / kTwipsPerPixel, spec.top / kTwipsPerPixel, spec.width / kTwipsPerPixel,
            spec.height / kTwipsPerPixel};
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

QColor colour(Colour rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

void applyColours(QWidget& widget, const ControlSpec& spec)
{
    QPalette palette = widget.palette();
    if (spec.type == ControlType::CommandButton) {
        palette.setColor(QPalette::Button, colour(spec.back));  // the face, as the style paints it
        widget.setPalette(palette);
        return;
    }
    const bool isTextBox = spec.type == ControlType::TextBox;
    if (spec.fore != kDefault)
        palette.setColor(isTextBox ? QPalette::Text : QPalette::WindowText, colour(spec.fore));
    if (spec.back != kDefault) {
        palette.setColor(isTextBox ? QPalette::Base : QPalette::Window, colour(spec.back));
        widget.setAutoFillBackground(true);
    }
    widget.setPalette(palette);
}

QWidget* createControl(const ControlSpec& spec, QWidget* container)
{
    const QString text = QString::fromUtf8(spec.text ? spec.text : "");
    switch (spec.type) {
    case ControlType::Frame: return new Frame(text, container);
    case ControlType::CommandButton: {
        auto* button = new QPushButton(text, container);
        // Enter presses a focused button, as Space does.
        button->setAutoDefault(true);
        return button;
    }
    case ControlType::Label: {
        auto* label = new QLabel(text, container);
        // Plain text keeps the run of spaces that breaks the rules text.
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlType::TextBox: {
        auto* edit = new QLineEdit(text, container);
        // Still selectable and copyable, and written by the handlers.
        edit->setReadOnly(spec.locked);
        if (spec.font == Font::Answer)
            edit->setTextMargins(kAnswerMargins);
        return edit;
    }
    case ControlType::Shape: return new Marker(colour(spec.back), container);
    case ControlType::Image: return new Picture(container);
    }
    return nullptr;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    installAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvelo"));
    // A small tool window: a slim caption bar with a close button only.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowIcon(appIcon());
    resize(kClientWidth, kClientHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour(kFormBack));
    setPalette(palette);
    setAutoFillBackground(true);

    // One style for the window and all its controls, made with it.
    auto* flat = new FlatStyle;
    flat->setParent(this);
    setStyle(flat);

    for (const ControlSpec& spec : kControls) {
        QWidget* container = spec.container ? controls_.value(QString::fromLatin1(spec.container)) : this;
        QWidget* widget = createControl(spec, container);
        widget->setObjectName(QString::fromLatin1(spec.name));
        widget->setStyle(flat);
        widget->setGeometry(pixels(spec));
        if (spec.font != Font::System)
            widget->setFont(fontFor(spec.font));
        if (spec.type != ControlType::Shape)
            applyColours(*widget, spec);
        if (spec.accessibleName)
            widget->setAccessibleName(QString::fromUtf8(spec.accessibleName));
        controls_.insert(widget->objectName(), widget);
    }

    for (const auto& [label, box] : kLabels)
        qobject_cast<QLabel*>(control(QString::fromLatin1(label)))->setBuddy(control(QString::fromLatin1(box)));

    // Siblings stack in the order they are raised: raising from the back of
    // the table to its front leaves the first-listed control on top.
    for (auto spec = kControls.rbegin(); spec != kControls.rend(); ++spec)
        controls_.value(QString::fromLatin1(spec->name))->raise();

    // Labels and the frame keep their tab index but never take the focus.
    std::vector<const ControlSpec*> tabOrder;
    for (const ControlSpec& spec : kControls) {
        if (spec.type == ControlType::TextBox || spec.type == ControlType::CommandButton)
            tabOrder.push_back(&spec);
    }
    std::ranges::sort(tabOrder, {}, &ControlSpec::tabIndex);
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(control(QString::fromLatin1(tabOrder[i - 1]->name)),
                    control(QString::fromLatin1(tabOrder[i]->name)));

    control(QStringLiteral("Text1"))->setFocus();
}

QWidget* Form1::control(const QString& name) const
{
    return controls_.value(name);
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

}  // namespace ui
