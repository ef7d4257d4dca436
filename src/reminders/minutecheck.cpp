#include "minutecheck.h"

namespace {

const qint64 MaxGapSeconds = 24 * 60 * 60;

} // namespace

QDateTime StartOfMinute(const QDateTime& moment)
{
    const QTime time = moment.time();
    return QDateTime(moment.date(), QTime(time.hour(), time.minute()));
}

TMinuteRange TMinuteRange::Minute(const QDateTime& minute)
{
    const QDateTime start = StartOfMinute(minute);
    return {start.addSecs(-60), start};
}

bool TMinuteCheck::IsNewMinute(const QDateTime& now)
{
    const QDateTime minute = StartOfMinute(now);
    if (minute == m_tickMinute)
        return false;
    m_tickMinute = minute;
    return true;
}

TMinuteRange TMinuteCheck::Cover(const QDateTime& databaseNow)
{
    TMinuteRange range = TMinuteRange::Minute(databaseNow);
    if (m_covered.isValid() && m_covered <= range.UpTo)
        range.After = qMax(m_covered, range.UpTo.addSecs(-MaxGapSeconds));
    m_covered = range.UpTo;
    return range;
}

void TMinuteCheck::Restart()
{
    m_covered = QDateTime();
}
