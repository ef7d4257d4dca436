#include "alamfiring.h"

#include "alam.h"
#include "alampopup.h"

#include "common/clock.h"
#include "common/exceptionhandler.h"
#include "data/dbaccess.h"

#include <QScopedValueRollback>

TAlamFiring::TAlamFiring(QObject* receiver, QObject* parent)
    : QObject(parent)
    , m_receiver(receiver)
{
}

void TAlamFiring::OpenDue(const TMinuteRange& range)
{
    DbAccess->OpenTimerQuery(DueAlamStatement(range));
}

void TAlamFiring::Tick()
{
    if (!m_check.IsNewMinute(Clock::now()))
        return;
    try {
        const TMinuteRange range = m_check.Cover(DatabaseNow());
        if (range.IsEmpty())
            return;
        OpenDue(range);
    } catch (const std::exception& failure) {
        // The failed minutes count as checked and are not tried again: the
        // next check covers its own minute only, as after a start.
        m_check.Restart();
        report(failure);
        return;
    }
    TResultSet& due = DbAccess->TimerData;
    for (; !due.Eof(); due.Next()) {
        ShowAlamPopup(due.Fields(0).AsString(), due.Fields(2).AsString(), due.Fields(3).AsString(),
                      due.Fields(1).AsInteger() != RepeatOnce, m_receiver);
    }
}

// The error box waits for the operator while the timer goes on ticking; a
// check failing meanwhile adds no second box on top of the first.
void TAlamFiring::report(const std::exception& failure)
{
    if (m_reporting)
        return;
    const QScopedValueRollback<bool> reporting(m_reporting, true);
    ExceptionHandler->ReportException(failure);
}
