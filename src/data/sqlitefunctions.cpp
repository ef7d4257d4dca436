#include "sqlitefunctions.h"

#include "common/clock.h"

#include <QDateTime>
#include <QString>

#include <sqlite3.h>

#include <algorithm>

namespace {

QString argText(sqlite3_value* value)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? QString::fromUtf8(text, sqlite3_value_bytes(value)) : QString();
}

void resultText(sqlite3_context* context, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    }
    return false;
}

// Date columns hold 'YYYY-MM-DD' or 'YYYY-MM-DD HH:MM:SS' texts.
QDateTime argDateTime(sqlite3_value* value)
{
    const QString text = argText(value).trimmed();
    QDateTime dateTime = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!dateTime.isValid())
        dateTime = QDateTime::fromString(text, Qt::ISODate);
    if (!dateTime.isValid())
        dateTime = QDateTime(QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    if (!dateTime.isValid()) {
        const QTime time = QTime::fromString(text, QStringLiteral("hh:mm:ss"));
        if (time.isValid())
            dateTime = QDateTime(QDate(1899, 12, 30), time);
    }
    return dateTime;
}

void sqlIIf(sqlite3_context* context, int, sqlite3_value** argv)
{
    const bool condition = sqlite3_value_type(argv[0]) != SQLITE_NULL && sqlite3_value_double(argv[0]) != 0.0;
    sqlite3_result_value(context, argv[condition ? 1 : 2]);
}

void sqlFormat(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(context);
    const QDateTime dateTime = argDateTime(argv[0]);
    if (!dateTime.isValid())
        return sqlite3_result_value(context, argv[0]);
    // The local-file dialect's pattern letters in Qt's spelling; "nn" is minutes.
    QString pattern = argText(argv[1]);
    pattern.replace(QStringLiteral("YYYY"), QStringLiteral("yyyy"))
        .replace(QStringLiteral("DD"), QStringLiteral("dd"))
        .replace(QStringLiteral("nn"), QStringLiteral("mm"));
    resultText(context, dateTime.toString(pattern));
}

// Str and CStr work on SQLite's own text of the value: list statements call
// them several times a row.
void sqlStr(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(context);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int size = sqlite3_value_bytes(argv[0]);
    if (size > 0 && text[0] == '-')
        return sqlite3_result_text(context, text, size, SQLITE_TRANSIENT);
    QByteArray blankFirst(size + 1, ' ');
    std::copy(text, text + size, blankFirst.begin() + 1);
    sqlite3_result_text(context, blankFirst.constData(), blankFirst.size(), SQLITE_TRANSIENT);
}

void sqlCStr(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(context);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    sqlite3_result_text(context, text, sqlite3_value_bytes(argv[0]), SQLITE_TRANSIENT);
}

void sqlInStr(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(context);
    sqlite3_result_int(context, argText(argv[0]).indexOf(argText(argv[1])) + 1);
}

void sqlDate(sqlite3_context* context, int, sqlite3_value**)
{
    resultText(context, Clock::now().date().toString(QStringLiteral("yyyy-MM-dd")));
}

void sqlTime(sqlite3_context* context, int, sqlite3_value**)
{
    resultText(context, Clock::now().time().toString(QStringLiteral("hh:mm:ss")));
}

template <int (*part)(const QDateTime&)>
void sqlDatePart(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(context);
    const QDateTime dateTime = argDateTime(argv[0]);
    if (!dateTime.isValid())
        return sqlite3_result_null(context);
    sqlite3_result_int(context, part(dateTime));
}

int hourOf(const QDateTime& d) { return d.time().hour(); }
int minuteOf(const QDateTime& d) { return d.time().minute(); }
int dayOf(const QDateTime& d) { return d.date().day(); }
int weekDayOf(const QDateTime& d) { return d.date().dayOfWeek() % 7 + 1; } // Sunday = 1

void sqlIsNull(sqlite3_context* context, int, sqlite3_value** argv)
{
    sqlite3_result_int(context, sqlite3_value_type(argv[0]) == SQLITE_NULL ? 1 : 0);
}

void sqlAddDays(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(context);
    const QDateTime dateTime = argDateTime(argv[0]);
    if (!dateTime.isValid())
        return sqlite3_result_null(context);
    resultText(context, dateTime.date().addDays(sqlite3_value_int(argv[1])).toString(QStringLiteral("yyyy-MM-dd")));
}

struct FunctionEntry
{
    const char* name;
    int arguments;
    void (*function)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
};

const FunctionEntry Functions[] = {
    {"IIf", 3, sqlIIf, true},
    {"Format", 2, sqlFormat, true},
    {"Str", 1, sqlStr, true},
    {"CStr", 1, sqlCStr, true},
    {"InStr", 2, sqlInStr, true},
    {"Date", 0, sqlDate, false},
    {"Time", 0, sqlTime, false},
    {"Hour", 1, sqlDatePart<hourOf>, true},
    {"Minute", 1, sqlDatePart<minuteOf>, true},
    {"Day", 1, sqlDatePart<dayOf>, true},
    {"WeekDay", 1, sqlDatePart<weekDayOf>, true},
    {"IsNull", 1, sqlIsNull, true},
    {"AddDays", 2, sqlAddDays, true},
};

} // namespace

void RegisterSqliteFunctions(sqlite3* db)
{
    for (const FunctionEntry& entry : Functions) {
        const int flags = SQLITE_UTF8 | (entry.deterministic ? SQLITE_DETERMINISTIC : 0);
        sqlite3_create_function(db, entry.name, entry.arguments, flags, nullptr, entry.function, nullptr, nullptr);
    }
}
