#include "clock.h"

#include <QMap>

namespace {

struct ClockState
{
    QDateTime testNow;
    QMap<int, Clock::Listener> listeners;
    int nextListenerId = 1;
};

ClockState& state()
{
    static ClockState clockState;
    return clockState;
}

void notifyListeners()
{
    const auto listeners = state().listeners;
    for (const auto& listener : listeners)
        listener();
}

} // namespace

namespace Clock {

QDateTime now()
{
    return state().testNow.isValid() ? state().testNow : QDateTime::currentDateTime();
}

void setTestNow(const QDateTime& now)
{
    state().testNow = now;
    notifyListeners();
}

void advance(qint64 seconds)
{
    setTestNow(now().addSecs(seconds));
}

void useSystemClock()
{
    setTestNow(QDateTime());
}

bool isTestClock()
{
    return state().testNow.isValid();
}

int addListener(Listener listener)
{
    const int id = state().nextListenerId++;
    state().listeners.insert(id, std::move(listener));
    return id;
}

void removeListener(int id)
{
    state().listeners.remove(id);
}

} // namespace Clock
