#include "alamtestutils.h"
#include "testregistry.h"

#include "reminders/minutecheck.h"

#include <QTest>

// The reminder check's schedule, driven by the clocks alone. Each step is a
// tick of the program's clock, "program|database" where the database's clock
// differs, or "restart" (a failed check). Each tick gives "-" when it starts
// no new minute, "empty" when the database's minute is covered already, and
// otherwise the minutes covered as "after-upTo" (after excluded).
class TestMinuteCheck : public QObject
{
    Q_OBJECT

private slots:
    void schedule_data();
    void schedule();
};

namespace {

QString rangeText(const TMinuteRange& range)
{
    const QString format = range.After.date() == range.UpTo.date() ? QStringLiteral("hh:mm")
                                                                   : QStringLiteral("MM-dd hh:mm");
    return range.After.toString(format) + QLatin1Char('-') + range.UpTo.toString(format);
}

QStringList onDay(const QString& day, const QStringList& times)
{
    QStringList steps;
    for (const QString& time : times) {
        if (time == QLatin1String("restart")) {
            steps.append(time);
            continue;
        }
        QStringList clocks = time.split(QLatin1Char('|'));
        for (QString& clock : clocks) {
            if (!clock.contains(QLatin1Char(' ')))
                clock = day + QLatin1Char(' ') + clock;
        }
        steps.append(clocks.join(QLatin1Char('|')));
    }
    return steps;
}

} // namespace

void TestMinuteCheck::schedule_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("outcomes");

    const QString day = QStringLiteral("2026-03-09");
    QTest::newRow("the first tick of each minute, second 0 or not")
        << onDay(day, {"09:59:00", "09:59:30", "09:59:59.600", "10:00:01", "10:00:59.900", "10:01:00"})
        << "09:58-09:59 - - 09:59-10:00 - 10:00-10:01";
    QTest::newRow("started in mid-minute: that minute only")
        << onDay(day, {"10:00:30", "10:01:00"}) << "09:59-10:00 10:00-10:01";
    QTest::newRow("a gap of 90 minutes is covered whole")
        << onDay(day, {"10:00:00", "11:30:20", "11:31:00"}) << "09:59-10:00 10:00-11:30 11:30-11:31";
    QTest::newRow("a gap over midnight")
        << onDay(day, {"23:59:00", "2026-03-10 00:01:05"}) << "23:58-23:59 03-09 23:59-03-10 00:01";
    QTest::newRow("a gap of days: the last 24 hours only")
        << onDay(day, {"10:00:00", "2026-03-12 08:00:00"}) << "09:59-10:00 03-11 08:00-03-12 08:00";
    QTest::newRow("clock set backwards: its minute, then on from there")
        << onDay(day, {"10:00:00", "10:01:00", "09:30:10", "09:31:00"})
        << "09:59-10:00 10:00-10:01 09:29-09:30 09:30-09:31";
    QTest::newRow("server 20 seconds behind: the server's minutes")
        << onDay(day, {"09:59:00|09:58:40", "10:00:00|09:59:40", "10:01:00|10:00:40"})
        << "09:57-09:58 09:58-09:59 09:59-10:00";
    QTest::newRow("server minute not yet begun")
        << onDay(day, {"09:59:30|09:59:10", "10:00:00|09:59:40", "10:01:00|10:00:40"})
        << "09:58-09:59 empty 09:59-10:00";
    QTest::newRow("after a failed check: its own minute only")
        << onDay(day, {"10:00:00", "restart", "10:05:00"}) << "09:59-10:00 10:04-10:05";
}

void TestMinuteCheck::schedule()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, outcomes);

    TMinuteCheck check;
    QStringList got;
    for (const QString& step : steps) {
        if (step == QLatin1String("restart")) {
            check.Restart();
            continue;
        }
        const QStringList clocks = step.split(QLatin1Char('|'));
        if (!check.IsNewMinute(Moment(clocks.first()))) {
            got.append(QStringLiteral("-"));
            continue;
        }
        const TMinuteRange range = check.Cover(Moment(clocks.last()));
        got.append(range.IsEmpty() ? QStringLiteral("empty") : rangeText(range));
    }
    QCOMPARE(got.join(QLatin1Char(' ')), outcomes);
}

KESP_TEST(TestMinuteCheck)
#include "testminutecheck.moc"
