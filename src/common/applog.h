#pragma once

#include <QString>

// Appends one entry to today's log file Config/AppErrorLog/LogYYYYMMDD.log.
// Never fails towards the caller.
void WriteAppLog(const QString& text);

class QDate;

// The log file of one calendar day.
QString AppLogFileName(const QDate& day);
