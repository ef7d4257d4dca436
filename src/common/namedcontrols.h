#pragma once

#include <QString>

class QLabel;
class QWidget;

// Gives a control its object name, by which code and tests find it.
template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A caption that names its input for the keyboard and for assistive technology.
QLabel* buddyLabel(const QString& text, QWidget* buddy, const char* name);
