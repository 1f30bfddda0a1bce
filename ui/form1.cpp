#include "form1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <vector>

#include "artwork.h"
#include "control_table.h"
#include "widgets.h"

namespace ui {

namespace {

QRect pixels(const ControlSpec& spec)
{
    return {spec.left / kTwipsPerPixel, spec.top / kTwipsPerPixel, spec.width / kTwipsPerPixel,
            spec.height / kTwipsPerPixel};
}

// Every face the window uses asks for the classic face first and falls back
// to a metric-compatible one with Cyrillic glyphs.
QFont fontFor(Font font)
{
    QFont result;
    result.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    result.setStyleHint(QFont::SansSerif);
    result.setPixelSize(font == Font::Large ? 13 : 11);
    result.setBold(true);
    result.setItalic(font == Font::Italic);
    return result;
}

// Flat faces with a thin border, whatever the desktop's style; %1 is the
// face colour.
const QString kButtonStyle = QStringLiteral(
    "QPushButton { background-color: %1; border: 1px solid #8a8a8a; border-radius: 2px; padding: 0px; }"
    "QPushButton:hover { border-color: #505050; }"
    "QPushButton:focus { border-color: #2a62b8; }"
    "QPushButton:pressed { background-color: #e4e4e4; }");

// Flat text boxes with a thin border. The text may use the box's whole
// width: the answer field is 25 px wide and must still show "XXX" whole.
const QString kTextBoxStyle = QStringLiteral(
    "QLineEdit { border: 1px solid #8a8a8a; padding: 0px; }"
    "QLineEdit:focus { border-color: #2a62b8; }");
constexpr QMargins kTextBoxMargins{-2, 0, -2, 0};  // cancels QLineEdit's own inner margin

QColor colour(Colour rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

void applyColours(QWidget& widget, const ControlSpec& spec)
{
    if (spec.type == ControlType::CommandButton) {
        widget.setStyleSheet(kButtonStyle.arg(colour(spec.back).name()));
        return;
    }
    QPalette palette = widget.palette();
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
    case ControlType::Frame:
        return new QGroupBox(text, container);
    case ControlType::CommandButton:
        return new QPushButton(text, container);
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
        edit->setStyleSheet(kTextBoxStyle);
        edit->setTextMargins(kTextBoxMargins);
        return edit;
    }
    case ControlType::Shape:
        return new Marker(colour(spec.back), container);
    case ControlType::Image:
        return new Picture(kClockFace, container);
    }
    return nullptr;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
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

    for (const ControlSpec& spec : kControls) {
        QWidget* container = spec.container ? controls_.value(QString::fromLatin1(spec.container)) : this;
        QWidget* widget = createControl(spec, container);
        widget->setObjectName(QString::fromLatin1(spec.name));
        widget->setGeometry(pixels(spec));
        if (spec.font != Font::System)
            widget->setFont(fontFor(spec.font));
        if (spec.type != ControlType::Shape)
            applyColours(*widget, spec);
        if (spec.accessibleName)
            widget->setAccessibleName(QString::fromUtf8(spec.accessibleName));
        controls_.insert(widget->objectName(), widget);
    }

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

    if (const QScreen* screen = this->screen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
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
