#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Writes one worksheet of text cells to an .xls (BIFF8) file. rows[r][c] is the
// text of row r, column c (row 0 is the header row); every cell is a text cell
// formatted "@"; columnWidths[c] is the width of column c in characters (0 = default).
// Raises Exception (src/common/exceptions.h) with a clear Chinese message on failure
// and leaves no partial file behind.
void WriteXlsFile(const QString& fileName, const QString& sheetName,
                  const QVector<QStringList>& rows, const QVector<int>& columnWidths);
