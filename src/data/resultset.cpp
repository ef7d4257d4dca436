#include "resultset.h"

#include "common/exceptions.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <utility>

namespace {

// Dates and times read as the texts the SQLite file keeps, so both engines
// give the operator the same look.
QString cellText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default: {
        QString text = value.toString();
        // Empty text read from the database is not NULL.
        return text.isNull() ? QString(QLatin1String("")) : text;
    }
    }
}

} // namespace

int TField::AsInteger() const
{
    bool ok = false;
    const int number = m_value.toInt(&ok);
    return ok ? number : static_cast<int>(m_value.toDouble());
}

QDateTime TField::AsDateTime() const
{
    QDateTime dateTime = QDateTime::fromString(m_value, Qt::ISODate);
    if (!dateTime.isValid())
        dateTime = QDateTime::fromString(m_value, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!dateTime.isValid())
        dateTime = QDateTime(QDate::fromString(m_value, Qt::ISODate), QTime(0, 0));
    return dateTime;
}

TField TResultSet::Fields(int column) const
{
    // Past the last row there is no value: it reads as NULL.
    if (Eof() || column < 0 || column >= FieldCount())
        return TField(QString());
    return TField(Cell(m_row, column));
}

TField TResultSet::FieldByName(const QString& name) const
{
    for (int column = 0; column < m_names.size(); ++column) {
        if (m_names[column].compare(name, Qt::CaseInsensitive) == 0)
            return Fields(column);
    }
    throw Exception(QStringLiteral("查询结果中没有字段 %1").arg(name));
}

void TResultSet::Load(QSqlQuery& query)
{
    Close();
    const QSqlRecord record = query.record();
    const int columns = record.count();
    for (int column = 0; column < columns; ++column)
        m_names.append(record.fieldName(column));
    TTextRowBuilder row;
    while (query.next()) {
        for (int column = 0; column < columns; ++column)
            row.append(cellText(query.value(column)));
        m_rows.append(row.take());
    }
}

void TResultSet::Assign(QStringList names, QVector<TTextRow> rows)
{
    m_names = std::move(names);
    m_rows = std::move(rows);
    m_row = 0;
}

QVector<TTextRow> TResultSet::TakeRows()
{
    m_row = 0;
    return std::exchange(m_rows, {});
}

void TResultSet::Close()
{
    m_names.clear();
    m_rows.clear();
    m_row = 0;
}
