#pragma once

#include <QString>

// "星期日" to "星期六" for a date's weekday.
QString WeekdayName(const class QDate& date);

// The reminder editor, run modally. offset is 1 from the reminder page (the
// choice "不提醒" is not offered) and 0 from the customer editor. Both return
// 1 when a reminder was stored, 2 otherwise.
int ShowAddAlam(const QString& customerGuid, int offset);
int ShowModAlam(const QString& id, int offset);
