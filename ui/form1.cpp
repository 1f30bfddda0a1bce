#include "form1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <vector>

#include "clock_face.h"
#include "control_table.h"
#include "widgets.h"

namespace ui {

namespace {

QRect pixels(const ControlSpec& spec)
{
    return {spec.left / kTwipsPerPixel, spec.top / kTwipsPerPixel, spec.width / kTwipsPerPixel,
            spec.height / kTwipsPerPixel};
}

QWidget* createControl(const ControlSpec& spec, QWidget* container)
{
    const QString text = QString::fromUtf8(spec.text ? spec.text : "");
    switch (spec.type) {
    case ControlType::Frame: {
        // The rules panel hides what lies under it.
        auto* frame = new QGroupBox(text, container);
        frame->setAutoFillBackground(true);
        return frame;
    }
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
    case ControlType::TextBox:
        return new QLineEdit(text, container);
    case ControlType::Shape:
        return new Marker(container);
    case ControlType::Image: {
        auto* picture = new Picture(container);
        picture->setPixmap(clockFace());
        return picture;
    }
    }
    return nullptr;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvelo"));
    resize(kClientWidth, kClientHeight);

    for (const ControlSpec& spec : kControls) {
        QWidget* container = spec.container ? controls_.value(QString::fromLatin1(spec.container)) : this;
        QWidget* widget = createControl(spec, container);
        widget->setObjectName(QString::fromLatin1(spec.name));
        widget->setGeometry(pixels(spec));
        controls_.insert(widget->objectName(), widget);
    }

    // Siblings stack in the order they are raised: raising from the back of
    // the table to its front leaves the first-listed control on top.
    for (auto spec = kControls.rbegin(); spec != kControls.rend(); ++spec)
        controls_.value(QString::fromLatin1(spec->name))->raise();

    std::vector<const ControlSpec*> tabOrder;
    for (const ControlSpec& spec : kControls) {
        if (spec.tabIndex >= 0)
            tabOrder.push_back(&spec);
    }
    std::ranges::sort(tabOrder, {}, &ControlSpec::tabIndex);
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(control(QString::fromLatin1(tabOrder[i - 1]->name)),
                    control(QString::fromLatin1(tabOrder[i]->name)));

    control(QStringLiteral("Text1"))->setFocus();

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
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
