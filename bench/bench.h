#pragma once

#include <QString>

// Each prints its figures as name=value lines on standard output.

// The customer list of a fresh local database of count customers, made in directory.
void RunCustomersBench(int count, const QString& directory);
// The reminder lists of count reminders on SQLite, and on PostgreSQL when
// KESP_BENCH_PG holds a libpq connection string of a database it may fill and empty.
void RunRemindersBench(int count, const QString& directory);
