#pragma once

#include <QString>

// Set once at start-up and only read afterwards.
extern QString AppPath;    // the executable's directory, with a trailing separator
extern QString ConfigPath; // AppPath + "Config/"
extern int DbMode;         // 1 = local SQLite file, 2 = PostgreSQL server

void SetAppPath(const QString& directory);
