#pragma once

#include <QString>

// Creates a new database with the program's tables and first rows. Both raise
// Exception with a clear message and change nothing when they fail.

// A new SQLite file; an existing file is never overwritten.
void CreateSqliteDatabase(const QString& fileName);

// The tables of an empty PostgreSQL database named by a libpq connection
// string in key=value form ("host=... dbname=... user=...").
void CreatePostgresDatabase(const QString& connectionInfo);
