#include "testdatabase.h"

#include "common/clock.h"
#include "data/dbaccess.h"

#include <QTest>

// The dialect functions both engines give the program's SQL texts, read
// against a fixed clock: Friday 2024-01-05 09:07:03.
class TestDialect : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void localFileFunctions_data();
    void localFileFunctions();
    void serverNowFollowsTheProgramClock();
    void serverIsNull();

private:
    QString value(const QString& expression);
    std::unique_ptr<TestDatabase> m_db;
};

void TestDialect::init()
{
    Clock::setTestNow(QDateTime(QDate(2024, 1, 5), QTime(9, 7, 3)));
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
}

void TestDialect::cleanup()
{
    m_db.reset();
    Clock::useSystemClock();
}

QString TestDialect::value(const QString& expression)
{
    DbAccess->OpenQuery(QStringLiteral("select ") + expression);
    return DbAccess->QueryData.Fields(0).AsString();
}

void TestDialect::localFileFunctions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("result");
    QTest::newRow("Date") << "Date()" << "2024-01-05";
    QTest::newRow("Time") << "Time()" << "09:07:03";
    QTest::newRow("Hour of now") << "Hour(Time())" << "9";
    QTest::newRow("Minute of a date-time") << "Minute('2024-01-05 10:20:30')" << "20";
    QTest::newRow("Day") << "Day(Date())" << "5";
    QTest::newRow("WeekDay Sunday is 1") << "WeekDay('2024-01-07')" << "1";
    QTest::newRow("WeekDay of yesterday") << "WeekDay(AddDays(Date(),-1))" << "5";
    QTest::newRow("AddDays over a month end") << "AddDays('2024-01-31',1)" << "2024-02-01";
    QTest::newRow("Format") << "Format('2024-03-05','YYYY-MM-DD')" << "2024-03-05";
    QTest::newRow("Str non-negative has a leading blank") << "Str(9)" << " 9";
    QTest::newRow("Str negative") << "Str(-3)" << "-3";
    QTest::newRow("CStr") << "CStr(135)" << "135";
    QTest::newRow("InStr found") << "InStr(CStr(135),CStr(3))" << "2";
    QTest::newRow("InStr missing") << "InStr('135','2')" << "0";
    QTest::newRow("IIf true") << "IIf(1=1,'是','否')" << "是";
    QTest::newRow("IIf null") << "IIf(NULL,'是','否')" << "否";
    QTest::newRow("IsNull") << "[IsNull](NULL) || [IsNull]('')" << "10";
    QTest::newRow("built-in date still works") << "date('2024-01-05','+1 day')" << "2024-01-06";
}

void TestDialect::localFileFunctions()
{
    if (m_db->engine() != TestEngine::Sqlite)
        QSKIP("functions of the local-file dialect");
    QFETCH(QString, expression);
    QFETCH(QString, result);
    QCOMPARE(value(expression), result);
}

void TestDialect::serverNowFollowsTheProgramClock()
{
    if (m_db->engine() != TestEngine::Postgres)
        QSKIP("the server dialect's GetDate()");
    QCOMPARE(value(QStringLiteral("GetDate()")), QStringLiteral("2024-01-05 09:07:03"));
    Clock::advance(60);
    QCOMPARE(value(QStringLiteral("GetDate()")), QStringLiteral("2024-01-05 09:08:03"));
    // A new row's CreateDate is the same "now".
    DbExecute(QStringLiteral("insert into Customer (sGUID, TypeID) values ('A', 1)"));
    QCOMPARE(value(QStringLiteral("CreateDate from Customer")), QStringLiteral("2024-01-05 09:08:03"));
}

void TestDialect::serverIsNull()
{
    if (m_db->engine() != TestEngine::Postgres)
        QSKIP("the server dialect's two-argument IsNull");
    QCOMPARE(value(QStringLiteral("IsNull(NULL,'x') || IsNull('y','x') || IsNull(NULL::integer,3)")), QStringLiteral("xy3"));
}

KESP_DB_TEST(TestDialect)
#include "testdialect.moc"
