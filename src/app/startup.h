#pragma once

#include <QString>

// The program's life: the process-wide objects come into being in a fixed
// order, start-up decides between the main window, the server settings window
// and nothing, and shutdown frees everything in reverse order.
void UnitStartup(const QString& applicationDirectory);
// Reads the database mode, connects and runs the program; returns the exit code.
int MainSequence();
void UnitShutdown();
