#pragma once

#include <QString>

// Writes AppPath/Config.ini with this text, in GBK as the program keeps it.
void WriteConfigIni(const QString& text);
// The bytes of AppPath/Config.ini, or empty.
QByteArray ReadConfigIni();
