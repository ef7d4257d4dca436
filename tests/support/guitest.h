#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

class QAction;
class QComboBox;

// Runs action on the next modal window as soon as it is shown, so a test can
// drive a dialog that a call opens with exec().
void OnNextModal(std::function<void(QWidget*)> action);

// Whether action opens a modal dialog; one that opens is cancelled at once.
bool OpensModal(const std::function<void()>& action);

// Pops up the menu holding item in the middle of the menu's window and clicks item.
void ChooseFromMenu(QAction* item);

// Clicks the radio button with this caption among the group's children.
void ClickRadio(QWidget* group, const QString& caption);

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
