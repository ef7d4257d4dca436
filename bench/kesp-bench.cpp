// kesp-bench customers N [--keep DIR]
//
// Makes a fresh local database of N customers in 50 categories with 12 used
// fields of realistic Chinese and numeric text, then measures the customer
// list and prints one name=value per line:
//   fill_ms      FillCustomerList into a grid, all customers
//   select_ms    the same SELECT run by the sqlite3 shell, output to /dev/null
//   sort_ms      SortByColumn on a Chinese text column
//   export_ms    ExportToExcel to a file (an .xls sheet holds at most 65,536
//                rows: a larger list is cut to that for this figure, and
//                export_rows says how many rows were written)
//   peak_rss_mb  the process's peak resident memory
// With --keep DIR the database and the exported .xls stay in DIR.
//
// kesp-bench reminders N
//
// N reminders: half of them one-time, spread over 30 days either side of
// today (some missed, some seen), the rest daily, weekly and monthly. On
// SQLite, and on PostgreSQL when KESP_BENCH_PG holds a libpq connection
// string ("host=... port=... dbname=... user=...") of a database with the
// program's tables (made by kesp-initdb) that the bench may fill and empty,
// it prints the median of five runs, prefixed sqlite_ or pg_:
//   fill_all_ms      the reminder page's list under "全部提醒", state included
//   fill_missed_ms   the same under "错过"
//   fill_per_row_ms  the "全部提醒" list with one count query per one-time
//                    reminder for its state, for comparison
//   fire_ms          the firing query for one minute

#include "bench.h"

#include "common/exceptionhandler.h"
#include "common/messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: kesp-bench customers N [--keep DIR]\n"
                           "       kesp-bench reminders N\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TKespApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return usage();
    bool ok = false;
    const int count = args[1].toInt(&ok);
    if (!ok || count < 0)
        return usage();
    QTemporaryDir temporary;
    QString directory = temporary.path();
    if (args.size() == 4 && args[2] == QLatin1String("--keep") && args[0] == QLatin1String("customers")) {
        directory = args[3];
        QDir().mkpath(directory);
        QFile::remove(QDir(directory).filePath(QStringLiteral("data.dat")));
    } else if (args.size() != 2) {
        return usage();
    }

    TKespException handler;
    ExceptionHandler = &handler;
    MessageTesting::begin();
    if (args[0] == QLatin1String("customers"))
        RunCustomersBench(count, directory);
    else if (args[0] == QLatin1String("reminders"))
        RunRemindersBench(count, directory);
    else
        return usage();
    return 0;
}
