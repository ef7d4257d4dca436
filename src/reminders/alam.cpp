#include "alam.h"

#include "app/globals.h"
#include "common/clock.h"
#include "common/exceptions.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "reminders/minutecheck.h"

TAlam* Alam = nullptr;

const QStringList RepeatCaptions{QStringLiteral("不提醒"), QStringLiteral("只一次"), QStringLiteral("每天"),
                                 QStringLiteral("每周"), QStringLiteral("每月")};
const QString StateSeen = QStringLiteral("看过的");
const QString StateMissed = QStringLiteral("错过的");

namespace {

const QString SeeOthersRight = QStringLiteral("允许查看其它登录账号数据");
const QString DateFormat = QStringLiteral("yyyy-MM-dd");

// The statements that differ by engine. Each gives the texts of its dialect:
// SQLite those of the local file (Str writes a leading blank), PostgreSQL
// those of the server. The state column folds in the missed test, so the
// list needs one query however many one-time reminders it shows.
struct TAlamDialect
{
    QString listSelect;
    // Filters 0 to 6, appended behind the list select.
    QString filters[7];
    // The reminders due in the %2 minutes after %1, one statement over a
    // series of those minutes: each minute's own date decides. The series
    // is counted, so PostgreSQL knows how short it is and uses the time index.
    QString dueSelect;
    // Reads the database's clock; empty where the program's clock is the database's.
    QString clockSelect;
};

// SQLite: the local dialect's functions, registered on the connection; texts
// joined with ||, days added with AddDays, dates compared as 'YYYY-MM-DD'.
// The clock's values are read once per statement (Now), not once per row.
const TAlamDialect SqliteDialect{
    QStringLiteral(
        "with Now as materialized (select Date() as Today,AddDays(Date(),1) as Tomorrow,Hour(Time()) as NowHour,"
        "CStr(WeekDay(AddDays(Date(),-1))) as TodayDigit,CStr(WeekDay(Date())) as TomorrowDigit,"
        "Day(Date()) as TodayDay,Day(AddDays(Date(),1)) as TomorrowDay) "
        "select ID,case ReDay when 0 then '不提醒' when 1 then '只一次' when 2 then '每天' when 3 then '每周' "
        "else '每月' end,  case ReDay when 0 then ''  "
        "when 1 then date(AlamDate)||' '||Str(iHour)||'时'||Str(iMinute)||'分'  "
        "when 2 then Str(iHour)||'时'||Str(iMinute)||'分'  "
        "when 3 then '每周'||Str(iMonWeek)||' '||Str(iHour)||'时'||Str(iMinute)||'分'  "
        "else '每月'||Str(iMonWeek)||'号 '||Str(iHour)||'时'||Str(iMinute)||'分' end,  "
        "ReTitle,Remark,case when bLook<>0 then '看过的' when ReDay=1 and "
        "((date(AlamDate)=Today and NowHour>iHour) or date(AlamDate)<Today) then '错过的' "
        "else '' end from  Alam,Now where 1=1   "),
    {
        QStringLiteral(" and ReDay <> 0"),
        QStringLiteral("and ((date(AlamDate)=Today and ReDay=1) or "
                       " (ReDay=3 and InStr(CStr(iMonWeek),TodayDigit)<>0 ) or "
                       " (ReDay=4 and TodayDay=iMonWeek ) )"),
        QStringLiteral("and ((date(AlamDate)=Tomorrow and ReDay=1) or "
                       " (ReDay=3 and InStr(CStr(iMonWeek),TomorrowDigit)<>0 ) or "
                       " (ReDay=4 and TomorrowDay=iMonWeek ) )"),
        QStringLiteral("and ((date(AlamDate)=Today and NowHour>iHour ) Or (date(AlamDate)<Today) ) "
                       "and bLook=0 and ReDay = 1 "),
        QStringLiteral("and ReDay = 2 "),
        QStringLiteral("and ReDay = 3 "),
        QStringLiteral("and ReDay = 4 "),
    },
    QStringLiteral(
        "with recursive Minutes(m,k) as (select datetime('%1','+1 minute'),1 union all "
        "select datetime(m,'+1 minute'),k+1 from Minutes where k<%2), "
        "Due(m,h,n,d,md,wd) as materialized (select m,Hour(m),Minute(m),date(m),Day(m),"
        "CStr(WeekDay(AddDays(m,-1))) from Minutes) "
        "select ID,ReDay,ReTitle,Remark from Due join Alam on h=iHour and n=iMinute "
        "and ((date(AlamDate)=d and ReDay=1) or (ReDay=2) or "
        " (ReDay=3 and InStr(CStr(iMonWeek),wd)<>0 ) or "
        " (ReDay=4 and md=iMonWeek ) ) order by m,ID"),
    QString(),
};

// PostgreSQL: GetDate() is the server's now (or the session's test clock);
// the weekday digit of a day is the Sunday-based number of the day before.
const TAlamDialect PostgresDialect{
    QStringLiteral(
        "select ID,case  ReDay when 0 then '不提醒' when 1 then '只一次' when 2 then '每天' when 3 then '每周' "
        "else '每月' end,  case ReDay when 0 then ''  "
        "when 1 then to_char(AlamDate,'YYYY-MM-DD')||'  '||iHour||'时'||iMinute||'分'  "
        "when 2 then iHour||'时'||iMinute||'分'  "
        "when 3 then '每周'||iMonWeek||'  '||iHour||'时'||iMinute||'分'  "
        "else '每月'||iMonWeek||'号 '||'  '||iHour||'时'||iMinute||'分' end,  "
        "ReTitle,Remark,case when bLook<>0 then '看过的' when ReDay=1 and "
        "((AlamDate=GetDate()::date and extract(hour from GetDate())>iHour) or AlamDate<GetDate()::date) "
        "then '错过的' else '' end from  Alam where 1=1   "),
    {
        QStringLiteral(" and ReDay <> 0"),
        QStringLiteral("and ((AlamDate=GetDate()::date and ReDay=1) or "
                       " (ReDay=3 and strpos(iMonWeek::text,(extract(dow from GetDate()::date-1)::int+1)::text)<>0 ) or "
                       " (ReDay=4 and extract(day from GetDate())=iMonWeek ) )"),
        QStringLiteral("and ((AlamDate=GetDate()::date+1 and ReDay=1) or "
                       " (ReDay=3 and strpos(iMonWeek::text,(extract(dow from GetDate()::date)::int+1)::text)<>0 ) or "
                       " (ReDay=4 and extract(day from GetDate()::date+1)=iMonWeek ) )"),
        QStringLiteral("and ( (AlamDate=GetDate()::date and extract(hour from GetDate())>iHour ) or "
                       " (AlamDate<GetDate()::date)  )  and bLook=0 and ReDay = 1 "),
        QStringLiteral("and ReDay = 2 "),
        QStringLiteral("and ReDay = 3 "),
        QStringLiteral("and ReDay = 4 "),
    },
    QStringLiteral(
        "select ID,ReDay,ReTitle,Remark from (select timestamp '%1'+n*interval '1 minute' as m "
        "from generate_series(1,%2) as Step(n)) as Due join Alam on extract(hour from m)::int=iHour "
        "and extract(minute from m)::int=iMinute and ((AlamDate=m::date and ReDay=1) or (ReDay=2) or "
        " (ReDay=3 and strpos(iMonWeek::text,(extract(dow from m::date-1)::int+1)::text)<>0 ) or "
        " (ReDay=4 and extract(day from m)::int=iMonWeek ) ) order by m,ID"),
    QStringLiteral("select to_char(GetDate(),'YYYY-MM-DD HH24:MI:SS')"),
};

const TAlamDialect& dialect()
{
    return DbMode == 2 ? PostgresDialect : SqliteDialect;
}

QString quoted(const QString& text)
{
    return QLatin1Char('\'') + SqlEscape(text) + QLatin1Char('\'');
}

// IDs go into statements unquoted: only their number is taken.
QString idLiteral(const QString& id)
{
    return QString::number(id.trimmed().toLongLong());
}

QString dateText(const QDateTime& dateTime)
{
    return dateTime.date().toString(DateFormat);
}

QString dateTimeText(const QDateTime& dateTime)
{
    return dateTime.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

QString DueAlamStatement(const TMinuteRange& range)
{
    return dialect().dueSelect.arg(dateTimeText(range.After), QString::number(range.After.secsTo(range.UpTo) / 60));
}

QDateTime DatabaseNow()
{
    const QString& sql = dialect().clockSelect;
    if (sql.isEmpty())
        return Clock::now();
    DbAccess->OpenTimerQuery(sql);
    return DbAccess->TimerData.Fields(0).AsDateTime();
}

int SnoozeMinutes(int kind)
{
    static const int minutes[] = {3, 5, 10, 30, 60};
    return kind >= 0 && kind < 5 ? minutes[kind] : minutes[0];
}

void TAlam::Add()
{
    SQL = QStringLiteral("Insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,ReTitle,ReMark,OperName,sGUID)  "
                         "values(%1,%2,%3,%4,'%5',%6,%7,%8,%9) ")
              .arg(QString::number(iHour), QString::number(iMinute), QString::number(iMonWeek),
                   QString::number(ReDay), dateText(AlamDate), quoted(ReTitle), quoted(ReMark),
                   quoted(LoginOper->OperName), quoted(sGUID));
    DbExecute(SQL);
}

void TAlam::FillList(QTreeWidget* view, int filter, const QString& customer)
{
    const TAlamDialect& sql = dialect();
    QString statement = sql.listSelect;
    if (filter >= FilterAll && filter <= FilterMonthly)
        statement += sql.filters[filter];
    if (!customer.isEmpty())
        statement += QStringLiteral(" and sGUID=%1 ").arg(quoted(customer));
    if (!LoginOper->HasRight(SeeOthersRight))
        statement += QStringLiteral(" and OperName=%1 ").arg(quoted(LoginOper->OperName));
    // The database's order is the rows' key order; PostgreSQL would move an updated row to the end.
    statement += QStringLiteral(" order by ID");
    SQL = statement;
    FillListView(SQL, view);
}

void TAlam::Delete(const QString& id)
{
    SQL = QStringLiteral("delete from Alam where ID=%1 ").arg(idLiteral(id));
    DbExecute(SQL);
}

void TAlam::Load(const QString& id)
{
    SQL = QStringLiteral("select * from Alam where ID=%1 ").arg(idLiteral(id));
    DbAccess->OpenQuery(SQL);
    const TResultSet& data = DbAccess->QueryData;
    if (data.Eof())
        throw Exception(QStringLiteral("该提醒已不存在，可能已被删除！"));
    iHour = data.FieldByName(QStringLiteral("iHour")).AsInteger();
    iMinute = data.FieldByName(QStringLiteral("iMinute")).AsInteger();
    iMonWeek = data.FieldByName(QStringLiteral("iMonWeek")).AsInteger();
    ReDay = data.FieldByName(QStringLiteral("ReDay")).AsInteger();
    AlamDate = data.FieldByName(QStringLiteral("AlamDate")).AsDateTime();
    ReTitle = data.FieldByName(QStringLiteral("ReTitle")).AsString();
    ReMark = data.FieldByName(QStringLiteral("ReMark")).AsString();
}

void TAlam::Modify(const QString& id)
{
    SQL = QStringLiteral("update Alam set iHour=%1,iMinute=%2,iMonWeek=%3,ReDay=%4,  "
                         "AlamDate='%5',ReTitle=%6,Remark=%7,bLook=0 where ID=%8  ")
              .arg(QString::number(iHour), QString::number(iMinute), QString::number(iMonWeek),
                   QString::number(ReDay), dateText(AlamDate), quoted(ReTitle), quoted(ReMark), idLiteral(id));
    DbExecute(SQL);
}

void TAlam::MarkSeen(const QString& id)
{
    SQL = QStringLiteral("update Alam set bLook=1 where ID=%1").arg(idLiteral(id));
    DbExecute(SQL);
}

void TAlam::Snooze(const QString& id, int kind)
{
    const QDateTime due = Clock::now().addSecs(60 * SnoozeMinutes(kind));
    SQL = QStringLiteral("update Alam set AlamDate='%1',iHour=%2,iMinute=%3 where ID=%4  ")
              .arg(dateText(due), QString::number(due.time().hour()), QString::number(due.time().minute()),
                   idLiteral(id));
    DbExecute(SQL);
}
