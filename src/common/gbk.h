#pragma once

#include <QByteArray>
#include <QString>

// The program's ANSI code page. GB18030 gives the same bytes as GBK for every
// GBK character and keeps the rest (emoji, rare characters) instead of "?".
QByteArray ToGbk(const QString& text);
QString FromGbk(const QByteArray& bytes);
