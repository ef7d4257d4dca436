#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// The program's message boxes and file dialogs. Every Part talks to the
// operator through these, so tests can answer them without a real box.
void ShowInfo(const QString& text);
bool AskYesNo(const QString& text);
void ShowError(const QString& text);
void ShowErrorDetail(const QString& summary, const QString& details, const QString& logText);

// File dialogs; an empty result means the operator cancelled.
QString SelectSaveFile(QWidget* parent, const QString& filter);
QString SelectOpenFile(QWidget* parent, const QString& filter);

// Hands a file or web address to the desktop's "open" action.
void OpenDocument(QWidget* owner, const QString& target);

// Test mode: boxes and file dialogs are recorded instead of shown. AskYesNo
// takes the next queued answer (No when none is queued), the file dialogs the
// next queued file name (cancel when none is queued). whileNextShown runs an
// action once while the next box is open, the way timers go on while a real
// box waits for the operator.
namespace MessageTesting {
struct ShownMessage
{
    QString caption;
    QString text;
};
void begin();
void end();
void setNextAnswer(bool yes);
void setNextFileName(const QString& fileName);
void whileNextShown(std::function<void()> action);
QList<ShownMessage> takeShown();
} // namespace MessageTesting
