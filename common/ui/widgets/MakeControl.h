#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

// A child control of parent, named for the tests and placed at its rectangle in pixels.
template <class Control>
Control* MakeControl(QWidget* parent, const QString& name, QRect place) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(place);
    return control;
}

template <class Control>
Control* MakeControl(QWidget* parent, const char* name, QRect place) {
    return MakeControl<Control>(parent, QString::fromLatin1(name), place);
}
