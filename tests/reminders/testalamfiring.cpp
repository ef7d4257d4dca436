#include "alamtestutils.h"
#include "guitest.h"
#include "testdatabase.h"

#include "common/clock.h"
#include "common/messages.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "reminders/alam.h"
#include "reminders/alamfiring.h"
#include "reminders/alampopup.h"
#include "reminders/chime.h"

#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include <memory>

// The once-a-minute reminder check on both engines, driven by the test clock.
class TestAlamFiring : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firesOnItsMinutes_data();
    void firesOnItsMinutes();
    void seenThenChangedFiresAgain();
    void dueTogetherStackAtOnePlace();
    void gapPopsEachOnce();
    void serverClockBehind();
    void failingCheckShowsOneBox();

private:
    int addAlam(int reDay, const QString& dueAt, int monWeek = 1, const QString& title = QStringLiteral("回访"));
    // Ticks the reminder timer at this moment; the titles of the pop-ups it showed.
    QStringList tickAt(const QDateTime& now);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<PopupLog> m_popups;
    AlamEventLog m_events;
    std::unique_ptr<TAlamFiring> m_firing;
};

void TestAlamFiring::init()
{
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
    LoginOper = new TLoginOper;
    LoginOper->OperName = QStringLiteral("Admin");
    Alam = new TAlam;
    m_popups = std::make_unique<PopupLog>();
    m_firing = std::make_unique<TAlamFiring>(&m_events);
    TakeShownMessages();
}

void TestAlamFiring::cleanup()
{
    m_firing.reset();
    m_popups.reset();
    m_events.take();
    delete Alam;
    Alam = nullptr;
    delete LoginOper;
    LoginOper = nullptr;
    m_db.reset();
    Clock::useSystemClock();
    TakeShownMessages();
}

// dueAt is "2026-03-10 10:00": the date (of a one-time reminder), hour and minute.
int TestAlamFiring::addAlam(int reDay, const QString& dueAt, int monWeek, const QString& title)
{
    const QDateTime due = Moment(dueAt + QStringLiteral(":00"));
    Alam->ReDay = reDay;
    Alam->AlamDate = due;
    Alam->iHour = due.time().hour();
    Alam->iMinute = due.time().minute();
    Alam->iMonWeek = monWeek;
    Alam->ReTitle = title;
    Alam->ReMark = QStringLiteral("内容 ") + title;
    Alam->sGUID.clear();
    Alam->Add();
    return DbQueryInteger(QStringLiteral("select max(ID) from Alam"));
}

QStringList TestAlamFiring::tickAt(const QDateTime& now)
{
    Clock::setTestNow(now);
    m_firing->Tick();
    return m_popups->takeTitles();
}

void TestAlamFiring::firesOnItsMinutes_data()
{
    QTest::addColumn<int>("reDay");
    QTest::addColumn<QString>("dueAt");
    QTest::addColumn<int>("monWeek");
    QTest::addColumn<QStringList>("ticks");
    // Per tick: "." nothing, "x" a one-time pop-up, "r" a repeating one ("看到了" only).
    QTest::addColumn<QString>("fired");

    QTest::newRow("one-time: its minute, second 0 skipped")
        << 1 << "2026-03-10 10:00" << 1
        << QStringList{"2026-03-10 09:59:00", "2026-03-10 09:59:59.600", "2026-03-10 10:00:01",
                       "2026-03-10 10:00:30", "2026-03-10 10:01:00"}
        << "..x..";
    QTest::newRow("one-time: the 31st only")
        << 1 << "2026-03-31 10:00" << 1
        << QStringList{"2026-03-30 10:00:00", "2026-03-31 10:00:00", "2026-04-01 10:00:00"} << ".x.";
    QTest::newRow("daily") << 2 << "2026-03-10 10:00" << 1
                           << QStringList{"2026-03-09 10:00:00", "2026-03-10 10:00:00", "2026-03-11 10:00:00"}
                           << "rrr";
    QTest::newRow("weekly 135: Monday, Wednesday, Friday")
        << 3 << "2026-03-09 08:00" << 135
        << QStringList{"2026-03-09 07:59:00", "2026-03-09 08:00:00", "2026-03-10 07:59:00", "2026-03-10 08:00:00",
                       "2026-03-11 07:59:00", "2026-03-11 08:00:00", "2026-03-12 07:59:00", "2026-03-12 08:00:00",
                       "2026-03-13 07:59:00", "2026-03-13 08:00:00", "2026-03-14 07:59:00", "2026-03-14 08:00:00",
                       "2026-03-15 07:59:00", "2026-03-15 08:00:00"}
        << ".r .. .r .. .r .. ..";
    QTest::newRow("weekly 7: Sunday")
        << 3 << "2026-03-09 08:00" << 7
        << QStringList{"2026-03-14 08:00:00", "2026-03-15 08:00:00", "2026-03-16 08:00:00"} << ".r.";
    // Each tick covers the whole day before it, so no minute of April 30 or 31 escapes.
    QTest::newRow("monthly 31st: never in a 30-day month")
        << 4 << "2026-03-10 10:00" << 31
        << QStringList{"2026-04-29 10:00:00", "2026-04-30 10:00:00", "2026-05-01 10:00:00", "2026-05-31 10:00:00"}
        << "...r";
    QTest::newRow("not to be reminded") << 0 << "2026-03-10 10:00" << 1 << QStringList{"2026-03-10 10:00:00"}
                                        << ".";
}

void TestAlamFiring::firesOnItsMinutes()
{
    QFETCH(int, reDay);
    QFETCH(QString, dueAt);
    QFETCH(int, monWeek);
    QFETCH(QStringList, ticks);
    QFETCH(QString, fired);

    addAlam(reDay, dueAt, monWeek);
    QString got;
    for (const QString& tick : ticks) {
        Clock::setTestNow(Moment(tick));
        m_firing->Tick();
        const QList<TFormShowAlam*> shown = m_popups->take();
        QVERIFY2(shown.size() <= 1, qPrintable(tick));
        if (shown.isEmpty()) {
            got += QLatin1Char('.');
            continue;
        }
        TFormShowAlam* popup = shown.first();
        const bool onlyAcknowledged = popup->Repeating && popup->btnOkSave->text() == QStringLiteral("看到了")
            && popup->btnOkDel->isHidden() && popup->btnCon->isHidden();
        got += onlyAcknowledged ? QLatin1Char('r') : QLatin1Char('x');
    }
    QCOMPARE(got, QString(fired).remove(QLatin1Char(' ')));
}

void TestAlamFiring::seenThenChangedFiresAgain()
{
    const int id = addAlam(1, QStringLiteral("2026-03-10 10:00"));
    QCOMPARE(tickAt(Moment("2026-03-10 10:00:00")), QStringList{"回访"});
    Alam->MarkSeen(QString::number(id));

    Alam->Load(QString::number(id));
    Alam->iMinute = 5;
    Alam->ReTitle = QStringLiteral("改过的");
    Alam->Modify(QString::number(id));
    QCOMPARE(tickAt(Moment("2026-03-10 10:04:00")), QStringList());
    QCOMPARE(tickAt(Moment("2026-03-10 10:05:00")), QStringList{"改过的"});
}

void TestAlamFiring::dueTogetherStackAtOnePlace()
{
    const int first = addAlam(1, QStringLiteral("2026-03-10 10:00"), 1, QStringLiteral("甲"));
    const int second = addAlam(2, QStringLiteral("2026-03-10 10:00"), 1, QStringLiteral("乙"));
    const int chimes = TChime::Instance().PlayCount();
    Clock::setTestNow(Moment("2026-03-10 10:00:00"));
    m_firing->Tick();
    const QList<TFormShowAlam*> shown = m_popups->take();
    QCOMPARE(shown.size(), 2);
    // Shown in this order, the later one lies on top.
    QCOMPARE(shown[0]->AlamId, QString::number(first));
    QCOMPARE(shown[1]->AlamId, QString::number(second));
    QCOMPARE(shown[0]->frameGeometry(), shown[1]->frameGeometry());
    QCOMPARE(TChime::Instance().PlayCount(), chimes + 2);

    // Their choices go to the receiver.
    QTest::mouseClick(shown[0]->btnOkDel, Qt::LeftButton);
    QCOMPARE(m_events.take(), QStringList{QStringLiteral("delete %1").arg(first)});
}

void TestAlamFiring::gapPopsEachOnce()
{
    addAlam(1, QStringLiteral("2026-03-10 09:59"), 1, QStringLiteral("before"));
    addAlam(1, QStringLiteral("2026-03-10 10:40"), 1, QStringLiteral("10:40"));
    addAlam(1, QStringLiteral("2026-03-10 10:10"), 1, QStringLiteral("10:10"));
    addAlam(2, QStringLiteral("2026-03-10 11:00"), 1, QStringLiteral("daily 11:00"));
    addAlam(1, QStringLiteral("2026-03-10 11:29"), 1, QStringLiteral("11:29"));
    addAlam(1, QStringLiteral("2026-03-10 11:31"), 1, QStringLiteral("after"));

    QCOMPARE(tickAt(Moment("2026-03-10 09:59:00")), QStringList{"before"});
    // The computer slept for 90 minutes.
    QCOMPARE(tickAt(Moment("2026-03-10 11:29:30")), (QStringList{"10:10", "10:40", "daily 11:00", "11:29"}));
    QCOMPARE(tickAt(Moment("2026-03-10 11:29:50")), QStringList());
    QCOMPARE(tickAt(Moment("2026-03-10 11:30:00")), QStringList());
    QCOMPARE(tickAt(Moment("2026-03-10 11:31:00")), QStringList{"after"});
}

// The server's clock here is GetDate(), which reads the session's kesp.now.
void TestAlamFiring::serverClockBehind()
{
    if (m_db->engine() != TestEngine::Postgres)
        QSKIP("the local file has no clock of its own");
    addAlam(1, QStringLiteral("2026-03-10 10:00"));
    const auto tickWithServerBehind = [this](const QDateTime& now) {
        Clock::setTestNow(now);
        QSqlQuery query(DbAccess->Connection());
        query.prepare(QStringLiteral("select set_config('kesp.now', ?, false)"));
        query.addBindValue(now.addSecs(-20).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        QVERIFY(query.exec());
        m_firing->Tick();
    };
    for (const char* now : {"2026-03-10 09:59:00", "2026-03-10 10:00:00"}) {
        tickWithServerBehind(Moment(now));
        QCOMPARE(m_popups->takeTitles(), QStringList());
    }
    tickWithServerBehind(Moment("2026-03-10 10:01:00"));
    QCOMPARE(m_popups->takeTitles(), QStringList{"回访"});
    tickWithServerBehind(Moment("2026-03-10 10:02:00"));
    QCOMPARE(m_popups->takeTitles(), QStringList());
}

void TestAlamFiring::failingCheckShowsOneBox()
{
    addAlam(2, QStringLiteral("2026-03-10 10:01"), 1, QStringLiteral("10:01"));
    addAlam(2, QStringLiteral("2026-03-10 10:02"), 1, QStringLiteral("10:02"));
    addAlam(2, QStringLiteral("2026-03-10 10:04"), 1, QStringLiteral("10:04"));
    QCOMPARE(tickAt(Moment("2026-03-10 09:59:00")), QStringList());
    const auto breakQuery = [](bool broken) {
        DbExecute(broken ? QStringLiteral("alter table Alam rename to AlamAway")
                         : QStringLiteral("alter table AlamAway rename to Alam"));
    };

    breakQuery(true);
    QStringList whileOpen;
    MessageTesting::whileNextShown([&] {
        // The box of 10:00 is still open: the check of 10:01 fails without a box
        // of its own, the one of 10:02 works again.
        whileOpen += tickAt(Moment("2026-03-10 10:01:00"));
        breakQuery(false);
        whileOpen += tickAt(Moment("2026-03-10 10:02:00"));
    });
    QCOMPARE(tickAt(Moment("2026-03-10 10:00:00")), QStringList());
    const QStringList boxes = TakeShownMessages();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().startsWith(QStringLiteral("错误:数据库查询错误,请检查!")), qPrintable(boxes.first()));
    // A failed minute counts as checked: 10:01 is not made up.
    QCOMPARE(whileOpen, QStringList{"10:02"});

    // With the box closed, the next failure shows again, and the check after it works.
    breakQuery(true);
    QCOMPARE(tickAt(Moment("2026-03-10 10:03:00")), QStringList());
    QCOMPARE(TakeShownMessages().size(), 1);
    breakQuery(false);
    QCOMPARE(tickAt(Moment("2026-03-10 10:04:00")), QStringList{"10:04"});
    QVERIFY(TakeShownMessages().isEmpty());
}

KESP_DB_TEST(TestAlamFiring)
#include "testalamfiring.moc"
