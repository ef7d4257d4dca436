#pragma once

#include "textrow.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class QSqlQuery;

// One column of the current row. NULL reads as empty text and as 0.
class TField
{
public:
    explicit TField(const QString& value)
        : m_value(value)
    {
    }

    QString AsString() const { return m_value.isNull() ? QString(QLatin1String("")) : m_value; }
    int AsInteger() const;
    QDateTime AsDateTime() const;
    bool IsNull() const { return m_value.isNull(); }

private:
    QString m_value;
};

// The rows of one query, read fully when it is opened. After opening, the
// cursor stands on the first row; Eof is true at once for an empty result.
class TResultSet
{
public:
    bool Eof() const { return m_row >= RecordCount(); }
    void Next() { ++m_row; }
    void First() { m_row = 0; }
    int RecordCount() const { return m_rows.size(); }
    int FieldCount() const { return m_names.size(); }
    QString FieldName(int column) const { return m_names.at(column); }
    const QStringList& FieldNames() const { return m_names; }

    TField Fields(int column) const;
    // Names are compared without regard to case; an unknown name raises Exception.
    TField FieldByName(const QString& name) const;
    // The text of any cell, for fillers that walk the whole result.
    QString Cell(int row, int column) const { return m_rows.at(row).text(column); }

    void Load(QSqlQuery& query);
    // Takes the column names and the rows.
    void Assign(QStringList names, QVector<TTextRow> rows);
    // Hands the rows over; the result keeps its columns and has no rows
    // afterwards. For fillers that keep every text of a long list.
    QVector<TTextRow> TakeRows();
    void Close();

private:
    QStringList m_names;
    QVector<TTextRow> m_rows;
    int m_row = 0;
};
