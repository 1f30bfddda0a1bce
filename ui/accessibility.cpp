// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#include "accessibility.h"

#include <QAccessibleWidget>

#include "form1.h"
#include "widgets.h"

namespace ui {

namespace {

// The picture as a button: its one action, press, taps it exactly as a
// mouse click does, and like a click does nothing while it is disabled.
class PictureAccessible final : public QAccessibleWidget {
public:
    explicit PictureAccessible(Picture* picture) : QAccessibleWidget(picture, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<Picture*>(widget())->tap();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* interfaceFor(const QString&, QObject* object)
{
    if (auto* picture = qobject_cast<Picture*>(object))
        return new PictureAccessible(picture);
    if (auto* marker = qobject_cast<Marker*>(object))
        return new QAccessibleWidget(marker, QAccessible::Graphic);
    if (auto* frame = qobject_cast<Frame*>(object))
        return new QAccessibleWidget(frame, QAccessible::Grouping, frame->caption());
    // A plain top-level widget would be a filler; desktop windows are frames.
    if (auto* form = qobject_cast<Form1*>(object))
        return new QAccessibleWidget(form, QAccessible::Window);
    return nullptr;
}

}  // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace ui
