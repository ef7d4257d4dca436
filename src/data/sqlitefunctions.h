#pragma once

struct sqlite3;

// Functions of the local-file dialect that the program's SQL texts use in
// database mode 1: IIf, Format(d,'YYYY-MM-DD'), Str, CStr, InStr, Date, Time,
// Hour, Minute, Day, WeekDay (Sunday = 1), one-argument IsNull (a keyword in
// SQLite, so statements call it as [IsNull]), and AddDays
// (SQLite's "+" adds numbers only). Date and Time read the program's Clock.
void RegisterSqliteFunctions(sqlite3* db);
