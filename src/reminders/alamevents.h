#pragma once

#include <QEvent>

// What the operator chose in a reminder pop-up, posted to the window that
// carries it out: delete the reminder, mark it seen, or snooze it.
constexpr QEvent::Type WM_ALAMDELETE = QEvent::Type(QEvent::User + 1);
constexpr QEvent::Type WM_ALAMSEEN = QEvent::Type(QEvent::User + 2);
constexpr QEvent::Type WM_ALAMSNOOZE = QEvent::Type(QEvent::User + 3);

class TAlamEvent : public QEvent
{
public:
    TAlamEvent(Type type, int id, int snoozeKind = 0)
        : QEvent(type)
        , Id(id)
        , SnoozeKind(snoozeKind)
    {
    }

    // The reminder's ID.
    const int Id;
    // WM_ALAMSNOOZE: 0 to 4 for 3, 5, 10, 30 or 60 minutes.
    const int SnoozeKind;
};
