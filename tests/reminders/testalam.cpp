#include "alamtest.h"
#include "customerfixture.h"

#include "common/clock.h"
#include "common/exceptions.h"
#include "customers/customer.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "reminders/alam.h"

#include <QTest>
#include <QTreeWidget>

namespace {

const QString SeeOthersRight = QStringLiteral("允许查看其它登录账号数据");

struct Schedule
{
    int reDay;
    int hour;
    int minute;
    int monWeek;
    QDate date;
};

} // namespace

Q_DECLARE_METATYPE(Schedule)

// Reminder rows and their lists on both engines, with the program clock fixed.
class TestAlam : public CustomerTestCase
{
    Q_OBJECT

private slots:
    void scheduleTexts_data();
    void scheduleTexts();
    void dayFilters_data();
    void dayFilters();
    void kindFilters();
    void missedState_data();
    void missedState();
    void modifyClearsSeenAndKeepsOwner();
    void snooze_data();
    void snooze();
    void ownerFilter();
    void emptyTableEmptiesTheList();
    void textsComeBackUnchanged_data();
    void textsComeBackUnchanged();
    void failingListKeepsItems();
    void loadOfMissingReminderRaises();

private:
    // Adds a reminder through TAlam and returns its ID.
    QString add(const Schedule& schedule, const QString& title = QStringLiteral("回访"));
    // The IDs that a list under this filter shows.
    QStringList listed(int filter, const QString& customer = QString());

    QTreeWidget view;
};

QString TestAlam::add(const Schedule& schedule, const QString& title)
{
    Alam->ReDay = schedule.reDay;
    Alam->iHour = schedule.hour;
    Alam->iMinute = schedule.minute;
    Alam->iMonWeek = schedule.monWeek;
    Alam->AlamDate = QDateTime(schedule.date.isValid() ? schedule.date : Clock::now().date(), QTime(0, 0));
    Alam->ReTitle = title;
    Alam->ReMark = QStringLiteral("内容");
    Alam->Add();
    return QString::number(DbQueryInteger(QStringLiteral("select max(ID) from Alam")));
}

QStringList TestAlam::listed(int filter, const QString& customer)
{
    Alam->FillList(&view, filter, customer);
    return ListColumn(&view, 0);
}

void TestAlam::scheduleTexts_data()
{
    QTest::addColumn<Schedule>("schedule");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("sqliteText");
    QTest::addColumn<QString>("postgresText");

    const QDate day(2026, 12, 14);
    QTest::newRow("never") << Schedule{0, 10, 0, 1, day} << "不提醒" << "" << "";
    QTest::newRow("once") << Schedule{1, 10, 0, 1, day} << "只一次" << "2026-12-14  10时 0分" << "2026-12-14  10时0分";
    QTest::newRow("daily") << Schedule{2, 10, 0, 1, day} << "每天" << " 10时 0分" << "10时0分";
    QTest::newRow("weekly") << Schedule{3, 10, 0, 135, day} << "每周" << "每周 135  10时 0分" << "每周135  10时0分";
    QTest::newRow("monthly") << Schedule{4, 10, 0, 14, day} << "每月" << "每月 14号  10时 0分" << "每月14号   10时0分";
    QTest::newRow("morning") << Schedule{1, 9, 30, 1, day} << "只一次" << "2026-12-14  9时 30分" << "2026-12-14  9时30分";
}

void TestAlam::scheduleTexts()
{
    QFETCH(Schedule, schedule);
    QFETCH(QString, caption);
    QFETCH(QString, sqliteText);
    QFETCH(QString, postgresText);
    const QString id = add(schedule);

    QCOMPARE(listed(FilterCustomer), QStringList{id});
    const QTreeWidgetItem* item = view.topLevelItem(0);
    QCOMPARE(item->text(1), caption);
    QCOMPARE(item->text(2), fixture->db.engine() == TestEngine::Postgres ? postgresText : sqliteText);
    QCOMPARE(item->text(3), QStringLiteral("回访"));
    QCOMPARE(item->text(4), QStringLiteral("内容"));
}

// Which day lists show a reminder, by the day it is now. The weekday digit
// of a day is 1 for Monday to 7 for Sunday.
void TestAlam::dayFilters_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<Schedule>("schedule");
    QTest::addColumn<bool>("underToday");
    QTest::addColumn<bool>("underTomorrow");

    const Schedule weekly135{3, 8, 0, 135, {}};
    const QDate monday(2026, 12, 7);
    const char* days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (int day = 0; day < 7; ++day) {
        const bool chosen = day == 0 || day == 2 || day == 4;
        const bool tomorrowChosen = day == 6 || day == 1 || day == 3;
        QTest::addRow("135 on %s", days[day]) << monday.addDays(day) << weekly135 << chosen << tomorrowChosen;
    }
    QTest::newRow("17 on Sunday") << QDate(2026, 12, 13) << Schedule{3, 8, 0, 17, {}} << true << true;

    const QDate lastOfNovember(2026, 11, 30);
    QTest::newRow("day 1 on the 30th of November") << lastOfNovember << Schedule{4, 8, 0, 1, {}} << false << true;
    QTest::newRow("day 31 on the 30th of November") << lastOfNovember << Schedule{4, 8, 0, 31, {}} << false << false;
    QTest::newRow("day 30 on the 30th of November") << lastOfNovember << Schedule{4, 8, 0, 30, {}} << true << false;
    QTest::newRow("day 31 on the 1st of December") << QDate(2026, 12, 1) << Schedule{4, 8, 0, 31, {}} << false
                                                   << false;
    QTest::newRow("day 31 on the 31st of December") << QDate(2026, 12, 31) << Schedule{4, 8, 0, 31, {}} << true
                                                    << false;

    QTest::newRow("once today") << monday << Schedule{1, 23, 59, 1, monday} << true << false;
    QTest::newRow("once tomorrow") << monday << Schedule{1, 0, 0, 1, monday.addDays(1)} << false << true;
    QTest::newRow("once at new year") << QDate(2026, 12, 31) << Schedule{1, 0, 0, 1, QDate(2027, 1, 1)} << false
                                      << true;
    QTest::newRow("once yesterday") << monday << Schedule{1, 8, 0, 1, monday.addDays(-1)} << false << false;
    QTest::newRow("daily") << monday << Schedule{2, 8, 0, 1, monday} << false << false;
    QTest::newRow("never") << monday << Schedule{0, 8, 0, 1, monday} << false << false;
}

void TestAlam::dayFilters()
{
    QFETCH(QDate, today);
    QFETCH(Schedule, schedule);
    QFETCH(bool, underToday);
    QFETCH(bool, underTomorrow);
    Clock::setTestNow(QDateTime(today, QTime(23, 59, 30)));
    const QString id = add(schedule);

    QCOMPARE(listed(FilterToday), underToday ? QStringList{id} : QStringList());
    QCOMPARE(listed(FilterTomorrow), underTomorrow ? QStringList{id} : QStringList());
}

void TestAlam::kindFilters()
{
    Clock::setTestNow(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    const QDate today = Clock::now().date();
    const QString never = add({0, 8, 0, 1, today});
    const QString once = add({1, 10, 0, 1, today});
    const QString daily = add({2, 8, 0, 1, today});
    const QString weekly = add({3, 8, 0, 1, today});
    const QString monthly = add({4, 8, 0, 7, today});

    QCOMPARE(listed(FilterCustomer), (QStringList{never, once, daily, weekly, monthly}));
    QCOMPARE(listed(FilterAll), (QStringList{once, daily, weekly, monthly}));
    QCOMPARE(listed(FilterToday), (QStringList{once, weekly, monthly}));
    QCOMPARE(listed(FilterDaily), QStringList{daily});
    QCOMPARE(listed(FilterWeekly), QStringList{weekly});
    QCOMPARE(listed(FilterMonthly), QStringList{monthly});
}

// The missed test works in whole hours; a seen reminder is never missed.
void TestAlam::missedState_data()
{
    QTest::addColumn<QTime>("now");
    QTest::addColumn<Schedule>("schedule");
    QTest::addColumn<bool>("seen");
    QTest::addColumn<QString>("state");

    const QDate today(2026, 12, 11);
    const Schedule halfPastTen{1, 10, 30, 1, today};
    QTest::newRow("10:30 at 10:59") << QTime(10, 59, 59) << halfPastTen << false << "";
    QTest::newRow("10:30 at 11:00") << QTime(11, 0) << halfPastTen << false << "错过的";
    QTest::newRow("10:30 seen at 11:00") << QTime(11, 0) << halfPastTen << true << "看过的";
    QTest::newRow("yesterday") << QTime(0, 0) << Schedule{1, 23, 59, 1, today.addDays(-1)} << false << "错过的";
    QTest::newRow("seen yesterday") << QTime(0, 0) << Schedule{1, 23, 59, 1, today.addDays(-1)} << true << "看过的";
    QTest::newRow("tomorrow") << QTime(23, 0) << Schedule{1, 0, 0, 1, today.addDays(1)} << false << "";
    QTest::newRow("daily at 10:00, now 11:00") << QTime(11, 0) << Schedule{2, 10, 0, 1, today} << false << "";
}

void TestAlam::missedState()
{
    QFETCH(QTime, now);
    QFETCH(Schedule, schedule);
    QFETCH(bool, seen);
    QFETCH(QString, state);
    Clock::setTestNow(QDateTime(QDate(2026, 12, 11), now));
    const QString id = add(schedule);
    if (seen)
        Alam->MarkSeen(id);

    QCOMPARE(listed(FilterAll), QStringList{id});
    QCOMPARE(view.topLevelItem(0)->text(5), state);
    QCOMPARE(listed(FilterMissed), state == StateMissed ? QStringList{id} : QStringList());
}

void TestAlam::modifyClearsSeenAndKeepsOwner()
{
    const QString customer = TCustomer::NewGuidString();
    Alam->sGUID = customer;
    const QString id = add({1, 10, 0, 1, QDate(2026, 12, 14)});
    Alam->MarkSeen(id);
    QCOMPARE(CustomerFixture::rows(QStringLiteral("select bLook from Alam")), QList<QStringList>{{"1"}});

    LoginOper->OperName = QStringLiteral("张三");
    Alam->sGUID.clear();
    Alam->Load(id);
    Alam->iHour = 11;
    Alam->ReTitle = QStringLiteral("改过");
    Alam->Modify(id);

    QCOMPARE(CustomerFixture::rows(QStringLiteral("select bLook,OperName,sGUID,iHour,ReTitle from Alam")),
             (QList<QStringList>{{"0", "Admin", customer, "11", "改过"}}));
}

void TestAlam::snooze_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("dueDate");
    QTest::addColumn<int>("dueHour");
    QTest::addColumn<int>("dueMinute");

    const QDate day(2026, 12, 11);
    QTest::newRow("3 minutes") << QDateTime(day, QTime(10, 1, 40)) << 0 << "2026-12-11" << 10 << 4;
    QTest::newRow("5 minutes, seconds dropped") << QDateTime(day, QTime(10, 1, 40)) << 1 << "2026-12-11" << 10 << 6;
    QTest::newRow("10 minutes") << QDateTime(day, QTime(10, 55)) << 2 << "2026-12-11" << 11 << 5;
    QTest::newRow("30 minutes") << QDateTime(day, QTime(10, 0)) << 3 << "2026-12-11" << 10 << 30;
    QTest::newRow("an hour at 23:30") << QDateTime(day, QTime(23, 30)) << 4 << "2026-12-12" << 0 << 30;
    QTest::newRow("an hour at 23:20:30") << QDateTime(day, QTime(23, 20, 30)) << 4 << "2026-12-12" << 0 << 20;
    QTest::newRow("an hour on New Year's Eve") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)) << 4
                                               << "2027-01-01" << 0 << 59;
}

void TestAlam::snooze()
{
    QFETCH(QDateTime, now);
    QFETCH(int, kind);
    QFETCH(QString, dueDate);
    QFETCH(int, dueHour);
    QFETCH(int, dueMinute);
    Clock::setTestNow(now);
    const QString id = add({1, 9, 0, 1, now.date()});
    Alam->MarkSeen(id);

    Alam->Snooze(id, kind);
    Alam->Load(id);
    QCOMPARE(Alam->AlamDate.date().toString(Qt::ISODate), dueDate);
    QCOMPARE(Alam->iHour, dueHour);
    QCOMPARE(Alam->iMinute, dueMinute);
    QCOMPARE(Alam->ReDay, 1);
    QCOMPARE(DbQueryInteger(QStringLiteral("select bLook from Alam")), 1);
}

// Without the right to see other accounts' data an operator lists only his
// own reminders, under every filter and for a customer.
void TestAlam::ownerFilter()
{
    Clock::setTestNow(QDateTime(QDate(2026, 12, 7), QTime(12, 0)));
    const QDate today = Clock::now().date();
    const QString customer = TCustomer::NewGuidString();
    const QList<Schedule> schedules{{1, 8, 0, 1, today}, {1, 8, 0, 1, today.addDays(1)}, {2, 8, 0, 1, today},
                                    {3, 8, 0, 12, today}, {4, 8, 0, 7, today},          {0, 8, 0, 1, today}};
    QStringList mine;
    for (const QString& owner : {QStringLiteral("Admin"), QStringLiteral("O'Neil")}) {
        LoginOper->OperName = owner;
        Alam->sGUID = customer;
        for (const Schedule& schedule : schedules) {
            const QString id = add(schedule);
            if (owner != QStringLiteral("Admin"))
                mine.append(id);
        }
    }

    LoginOper->Rights.clear();
    for (int filter = FilterCustomer; filter <= FilterMonthly; ++filter) {
        const QStringList ids = listed(filter);
        QVERIFY2(!ids.isEmpty(), qPrintable(QString::number(filter)));
        for (const QString& id : ids)
            QVERIFY2(mine.contains(id), qPrintable(QStringLiteral("filter %1 lists %2").arg(filter).arg(id)));
    }
    QCOMPARE(listed(FilterCustomer, customer), mine);

    LoginOper->Rights = QStringList{SeeOthersRight};
    QCOMPARE(listed(FilterCustomer, customer).size(), 2 * schedules.size());
}

void TestAlam::emptyTableEmptiesTheList()
{
    for (int filter = FilterCustomer; filter <= FilterMonthly; ++filter) {
        view.clear();
        view.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("99")}));
        QCOMPARE(listed(filter), QStringList());
    }
}

void TestAlam::textsComeBackUnchanged_data()
{
    AddHostileTextRows();
}

void TestAlam::textsComeBackUnchanged()
{
    QFETCH(QString, text);
    const QString customer = text.left(36);
    Alam->sGUID = customer;
    const QString id = add({1, 10, 0, 1, QDate(2026, 12, 14)}, text);
    Alam->Load(id);
    QCOMPARE(Alam->ReTitle, text);

    Alam->ReMark = text;
    Alam->Modify(id);
    Alam->Load(id);
    QCOMPARE(Alam->ReTitle, text);
    QCOMPARE(Alam->ReMark, text);
    QCOMPARE(listed(FilterCustomer, customer), QStringList{id});
    QCOMPARE(view.topLevelItem(0)->text(3), text);
    QCOMPARE(view.topLevelItem(0)->text(4), text);
}

void TestAlam::failingListKeepsItems()
{
    const QString id = add({2, 10, 0, 1, {}});
    QCOMPARE(listed(FilterAll), QStringList{id});
    DbExecute(QStringLiteral("drop table Alam"));

    QVERIFY_THROWS_EXCEPTION(EDBException, Alam->FillList(&view, FilterAll, QString()));
    QCOMPARE(ListColumn(&view, 0), QStringList{id});
}

void TestAlam::loadOfMissingReminderRaises()
{
    const QString id = add({2, 10, 0, 1, {}});
    Alam->Delete(id);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam")), 0);
    QVERIFY_THROWS_EXCEPTION(Exception, Alam->Load(id));

    // An ID goes into a statement only as a number.
    add({2, 10, 0, 1, {}});
    Alam->Delete(QStringLiteral("1 or 1=1"));
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam")), 1);
}

KESP_DB_TEST(TestAlam)
#include "testalam.moc"
