#include "namedcontrols.h"

#include <QLabel>

QLabel* buddyLabel(const QString& text, QWidget* buddy, const char* name)
{
    auto* label = named(new QLabel(text), name);
    label->setBuddy(buddy);
    return label;
}
