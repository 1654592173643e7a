#pragma once

#include <QLabel>
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

// A static text as the dialog templates place them: its text starts at the top left of its
// rectangle.
template <class Name>
QLabel* MakeStaticText(QWidget* parent, const Name& name, QRect place) {
    auto* label = MakeControl<QLabel>(parent, name, place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
