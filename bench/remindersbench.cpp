#include "bench.h"

#include "app/globals.h"
#include "app/inifile.h"
#include "common/clock.h"
#include "data/dbaccess.h"
#include "data/schema.h"
#include "operators/loginoper.h"
#include "reminders/alam.h"
#include "reminders/alamfiring.h"
#include "reminders/alamlist.h"
#include "reminders/minutecheck.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

const int RowsPerInsert = 500;
const int Runs = 5;

// Fills Alam through the program's own connection; making the data is not what is measured.
void makeReminders(int count)
{
    QRandomGenerator random(20261211);
    const QDate today = Clock::now().date();
    QStringList values;
    const auto flush = [&values] {
        if (values.isEmpty())
            return;
        DbExecute(QStringLiteral("insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,ReTitle,Remark,OperName,"
                                 "sGUID,bLook) values ")
                  + values.join(QLatin1Char(',')));
        values.clear();
    };
    for (int i = 0; i < count; ++i) {
        int reDay = 1;
        int monWeek = 1;
        QDate date = today;
        int seen = 0;
        if (i % 2 == 0) {
            date = today.addDays(random.bounded(61) - 30);
            seen = random.bounded(4) == 0 ? 1 : 0;
        } else {
            reDay = 2 + (i / 2) % 3;
            if (reDay == RepeatWeekly) {
                QString digits;
                for (int day = 1; day <= 7; ++day) {
                    if (random.bounded(2))
                        digits += QString::number(day);
                }
                monWeek = digits.isEmpty() ? 1 : digits.toInt();
            } else if (reDay == RepeatMonthly) {
                monWeek = random.bounded(31) + 1;
            }
        }
        values.append(QStringLiteral("(%1,%2,%3,%4,'%5','客户回访 %6','电话联系，确认上次的订单和售后服务',"
                                     "'Admin','',%7)")
                          .arg(random.bounded(24))
                          .arg(random.bounded(60))
                          .arg(monWeek)
                          .arg(reDay)
                          .arg(date.toString(QStringLiteral("yyyy-MM-dd")))
                          .arg(i + 1)
                          .arg(seen));
        if (values.size() == RowsPerInsert)
            flush();
    }
    flush();
}

// The state marking done the costly way: one count query per one-time reminder.
void markMissedRowByRow(QTreeWidget* view)
{
    const QString statement = DbMode == 2
        ? QStringLiteral("select count(ID) from Alam where ID=%1 and   ( (AlamDate=GetDate()::date and "
                         "extract(hour from GetDate())>iHour ) or  (AlamDate<GetDate()::date)  )  and bLook=0 and "
                         "ReDay = 1")
        : QStringLiteral("select count(ID) from Alam where ID=%1 and  ((date(AlamDate)=Date() and "
                         "Hour(Time())>iHour ) Or (date(AlamDate)<Date()) ) and bLook=0 and ReDay = 1");
    for (int row = 0; row < view->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = view->topLevelItem(row);
        if (item->text(1) == RepeatCaptions.at(RepeatOnce) && DbQueryInteger(statement.arg(item->text(0))) > 0)
            item->setText(5, StateMissed);
    }
}

// The median of a few runs, in milliseconds to a tenth: the firing query takes less than one.
QString median(const std::function<void()>& run)
{
    QVector<qint64> times;
    QElapsedTimer timer;
    for (int i = 0; i < Runs; ++i) {
        timer.start();
        run();
        times.append(timer.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    return QString::number(times.at(Runs / 2) / 1e6, 'f', 1);
}

void measure(const QString& prefix, int count)
{
    DbAccess = new TDbAccess;
    DbAccess->Connect();
    if (!DbAccess->IsConnected())
        qFatal("%s: the database did not open", qPrintable(prefix));
    DbExecute(QStringLiteral("delete from Alam"));
    makeReminders(count);

    // The reminder page's list.
    TAlamListView view({{1, false}, {80, false}, {180, true}, {150, true}, {280, true}, {72, true}}, 16);
    QTextStream out(stdout);
    out << prefix << "fill_all_ms=" << median([&view] { Alam->FillList(&view, FilterAll, QString()); }) << '\n';
    out << prefix << "rows=" << view.topLevelItemCount() << '\n';
    out << prefix << "fill_missed_ms=" << median([&view] { Alam->FillList(&view, FilterMissed, QString()); })
        << '\n';
    out << prefix << "missed_rows=" << view.topLevelItemCount() << '\n';
    out << prefix << "fill_per_row_ms=" << median([&view] {
        Alam->FillList(&view, FilterAll, QString());
        markMissedRowByRow(&view);
    }) << '\n';
    const TMinuteRange minute = TMinuteRange::Minute(Clock::now());
    out << prefix << "fire_ms=" << median([&minute] { TAlamFiring::OpenDue(minute); }) << '\n';
    out << prefix << "fire_rows=" << DbAccess->TimerData.RecordCount() << '\n';
    out.flush();

    DbExecute(QStringLiteral("delete from Alam"));
    delete DbAccess;
    DbAccess = nullptr;
}

// Reaches the server named by a libpq connection string the way the program
// does: Config.ini names the database, libpq's variables the rest.
bool configurePostgres(const QString& connectionInfo)
{
    QString database;
    for (const QString& pair : connectionInfo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString key = pair.section(QLatin1Char('='), 0, 0);
        const QString value = pair.section(QLatin1Char('='), 1);
        if (key == QLatin1String("dbname"))
            database = value;
        else if (key == QLatin1String("host") || key == QLatin1String("port") || key == QLatin1String("user")
                 || key == QLatin1String("password"))
            qputenv(qPrintable(QStringLiteral("PG") + key.toUpper()), value.toUtf8());
    }
    if (database.isEmpty()) {
        QTextStream(stderr) << "KESP_BENCH_PG names no dbname\n";
        return false;
    }
    TIniFile ini(ConfigFileName());
    ini.WriteInteger(QStringLiteral("Config"), QStringLiteral("DB"), 2);
    ini.WriteInteger(QStringLiteral("Database"), QStringLiteral("ConnectModel"), 0);
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("Data Source"), QStringLiteral("(Local)"));
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("Database"), database);
    ini.UpdateFile();
    DbMode = 2;
    return true;
}

} // namespace

void RunRemindersBench(int count, const QString& directory)
{
    SetAppPath(directory);
    LoginOper = new TLoginOper;
    LoginOper->OperName = QStringLiteral("Admin");
    Alam = new TAlam;

    DbMode = 1;
    CreateSqliteDatabase(AppPath + QStringLiteral("data.dat"));
    measure(QStringLiteral("sqlite_"), count);

    const QString server = qEnvironmentVariable("KESP_BENCH_PG");
    if (!server.isEmpty() && configurePostgres(server))
        measure(QStringLiteral("pg_"), count);

    delete Alam;
    Alam = nullptr;
    delete LoginOper;
    LoginOper = nullptr;
}
