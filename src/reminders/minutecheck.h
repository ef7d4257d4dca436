#pragma once

#include <QDateTime>

// Whole minutes after After up to and including UpTo.
struct TMinuteRange
{
    QDateTime After;
    QDateTime UpTo;

    bool IsEmpty() const { return !(After < UpTo); }
    // The one minute that begins at the start of minute's minute.
    static TMinuteRange Minute(const QDateTime& minute);
};

// The start of the minute that moment falls into.
QDateTime StartOfMinute(const QDateTime& moment);

// Decides when the reminder check runs and which minutes it looks at, from
// the clocks alone. The check runs on the first tick of each new minute of
// the program's clock, so a tick that misses second 0 loses nothing. It
// covers the minutes of the database's clock (on a server, the server's)
// since the last one covered, so after a gap (sleep, a busy thread, the clock
// set forward) every minute in it is looked at once, at most the last 24
// hours. The first check covers only its own minute: minutes before the
// program started are not made up.
class TMinuteCheck
{
public:
    // Fed the program's clock at every tick: whether this tick starts a minute
    // not yet checked. A clock set backwards starts one too.
    bool IsNewMinute(const QDateTime& now);
    // The minutes a check that reads databaseNow covers; they count as
    // covered from then on. Empty when the database's minute is covered
    // already (a server clock behind the program's). A clock set backwards
    // re-bases: only its current minute is covered and the next checks go
    // on from there.
    TMinuteRange Cover(const QDateTime& databaseNow);
    // Forgets what was covered: the next check covers only its own minute.
    void Restart();

private:
    QDateTime m_tickMinute;
    QDateTime m_covered;
};
