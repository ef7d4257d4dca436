#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;

// Runs action on the next modal window as soon as it is shown, so a test can
// drive a dialog that a call opens with exec().
void OnNextModal(std::function<void(QWidget*)> action);

// The boxes shown since the last call, each as "caption:text".
QStringList TakeShownMessages();

// The texts of a drop-down box's items.
QStringList ItemTexts(const QComboBox* box);

// The child of window with this object name, or null.
template <typename T>
T* Child(QWidget* window, const char* name)
{
    return window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
}
