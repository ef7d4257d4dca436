#pragma once

#include <QDateTime>

#include <functional>

// The program's one clock. The SQLite date functions, the timers and the log
// read it; tests fix it so that "now" is known.
namespace Clock {
QDateTime now();

void setTestNow(const QDateTime& now);
void advance(qint64 seconds);
void useSystemClock();
bool isTestClock();

// Called whenever the test clock is set, moved or released (the PostgreSQL
// connection copies it into its session).
using Listener = std::function<void()>;
int addListener(Listener listener);
void removeListener(int id);
} // namespace Clock
