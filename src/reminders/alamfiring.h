#pragma once

#include "minutecheck.h"

#include <QObject>
#include <QPointer>

#include <exception>

// The reminder check behind the main window's one-second timer: once a
// minute it looks for the reminders due since the last check and shows a
// pop-up for each, whose choices go to receiver.
class TAlamFiring : public QObject
{
    Q_OBJECT
public:
    explicit TAlamFiring(QObject* receiver, QObject* parent = nullptr);

    // The timer's tick, every second.
    void Tick();
    // Runs the firing statement for range into DbAccess->TimerData.
    static void OpenDue(const TMinuteRange& range);

private:
    void report(const std::exception& failure);

    TMinuteCheck m_check;
    QPointer<QObject> m_receiver;
    bool m_reporting = false;
};
