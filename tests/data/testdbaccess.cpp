#include "testdatabase.h"

#include "app/globals.h"
#include "common/applog.h"
#include "common/exceptionhandler.h"
#include "common/exceptions.h"
#include "common/gbk.h"
#include "common/messages.h"
#include "data/dbaccess.h"

#include <QFile>
#include <QTest>
#include <QTreeWidget>

// The data layer on both engines: queries, statement batches, fillers.
class TestDbAccess : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void batchIsAllOrNothing();
    void failedBatchIsShownAndLogged();
    void blankPiecesAreSkipped();
    void valuesKeepQuotesSeparatorsAndPercent_data();
    void valuesKeepQuotesSeparatorsAndPercent();
    void fieldsByNameWithoutRegardToCase();
    void emptyResult();
    void failedQuery();
    void closedConnectionReopensOnNextUse();
    void keepAliveReopensAndWaitsWhileBusy();
    void fillers();

private:
    int count(const QString& table) { return DbQueryInteger(QStringLiteral("select count(*) from %1").arg(table)); }
    std::unique_ptr<TestDatabase> m_db;
};

void TestDbAccess::init()
{
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
    MessageTesting::takeShown();
}

void TestDbAccess::cleanup()
{
    m_db.reset();
}

void TestDbAccess::batchIsAllOrNothing()
{
    const QString batch = QStringLiteral("insert into UserType (TypeName) values ('甲')@#@insert into NoSuchTable values (1)");
    try {
        DbExecute(batch);
        QFAIL("the batch should fail");
    } catch (const EDBException& failure) {
        QCOMPARE(failure.Summary, QStringLiteral("数据库操作失败！"));
        QCOMPARE(failure.Sql, batch);
        QVERIFY(!failure.Message.isEmpty());
    }
    QCOMPARE(count(QStringLiteral("UserType")), 0);
    QVERIFY(!DbAccess->Busy);
    // The connection is usable afterwards: no transaction was left open.
    DbExecute(QStringLiteral("insert into UserType (TypeName) values ('乙')"));
    QCOMPARE(count(QStringLiteral("UserType")), 1);
}

void TestDbAccess::failedBatchIsShownAndLogged()
{
    const QString batch = QStringLiteral("delete from Oper@#@update NoSuchTable set x=1");
    try {
        DbExecute(batch);
    } catch (const std::exception& failure) {
        ExceptionHandler->ReportException(failure);
    }
    const auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].text.startsWith(QStringLiteral("数据库操作失败！\r\n详细信息：")));
    QFile log(AppLogFileName(QDate::currentDate()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(FromGbk(log.readAll()).endsWith(batch + QStringLiteral("\r\n")));
    QCOMPARE(count(QStringLiteral("Oper")), 1);
}

void TestDbAccess::blankPiecesAreSkipped()
{
    DbExecute(QStringLiteral("insert into UserType (TypeName) values ('a')@#@ @#@insert into UserType (TypeName) values ('b')@#@"));
    QCOMPARE(count(QStringLiteral("UserType")), 2);
}

void TestDbAccess::valuesKeepQuotesSeparatorsAndPercent_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("single quotes") << "O'Brien's ''shop''";
    QTest::newRow("separator inside a value") << "a@#@b";
    QTest::newRow("percent and underscore") << "100% _x_";
    QTest::newRow("chinese and emoji") << "客户😀𠀀";
    QTest::newRow("backslash") << "C:\\data\\";
    QTest::newRow("long") << QString(20000, QChar(0x5BA2));
}

void TestDbAccess::valuesKeepQuotesSeparatorsAndPercent()
{
    QFETCH(QString, value);
    DbExecute(QStringLiteral("insert into UserType (TypeName) values ('%1')@#@insert into UserType (TypeName) values ('%1')")
                  .arg(SqlEscape(value)));
    DbAccess->OpenQuery(QStringLiteral("select TypeName from UserType where TypeName='%1'").arg(SqlEscape(value)));
    QCOMPARE(DbAccess->QueryData.RecordCount(), 2);
    QCOMPARE(DbAccess->QueryData.FieldByName(QStringLiteral("typename")).AsString(), value);
}

void TestDbAccess::fieldsByNameWithoutRegardToCase()
{
    DbExecute(QStringLiteral("insert into Oper (OperName, OperPass, Remark) values ('张三', NULL, '备注')"));
    DbAccess->OpenQuery(QStringLiteral("select OperName, OperPass, Remark, 12 as Num, '' as Blank from Oper where OperName='张三'"));
    TResultSet& data = DbAccess->QueryData;
    QCOMPARE(data.FieldCount(), 5);
    QCOMPARE(data.FieldName(3).toLower(), QStringLiteral("num"));
    QCOMPARE(data.FieldByName(QStringLiteral("remark")).AsString(), QStringLiteral("备注"));
    QCOMPARE(data.FieldByName(QStringLiteral("OPERNAME")).AsString(), QStringLiteral("张三"));
    QVERIFY(data.FieldByName(QStringLiteral("OperPass")).IsNull());
    QCOMPARE(data.FieldByName(QStringLiteral("OperPass")).AsString(), QString(QLatin1String("")));
    QCOMPARE(data.FieldByName(QStringLiteral("num")).AsInteger(), 12);
    QVERIFY(!data.FieldByName(QStringLiteral("blank")).IsNull());
    QVERIFY_THROWS_EXCEPTION(Exception, data.FieldByName(QStringLiteral("Missing")));
    data.Next();
    QVERIFY(data.Eof());
    data.First();
    QVERIFY(!data.Eof());
}

void TestDbAccess::emptyResult()
{
    DbAccess->OpenQuery(QStringLiteral("select * from Oper where 1=0"));
    QVERIFY(DbAccess->QueryData.Eof());
    QCOMPARE(DbAccess->QueryData.RecordCount(), 0);
    QCOMPARE(DbAccess->QueryData.FieldCount(), 3);
    QCOMPARE(MessageTesting::takeShown().size(), 0);
}

void TestDbAccess::failedQuery()
{
    const QString sql = QStringLiteral("select * from NoSuchTable");
    try {
        DbAccess->OpenQuery(sql);
        QFAIL("the query should fail");
    } catch (const EDBException& failure) {
        QCOMPARE(failure.Summary, QStringLiteral("数据库查询错误,请检查!"));
        QCOMPARE(failure.Sql, sql);
    }
    QVERIFY_THROWS_EXCEPTION(EDBException, DbAccess->OpenTimerQuery(sql));
}

void TestDbAccess::closedConnectionReopensOnNextUse()
{
    DbAccess->Connection().close();
    QVERIFY(!DbAccess->IsConnected());
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from DIY")), 14);
    DbAccess->Connection().close();
    DbExecute(QStringLiteral("update DIY set DIYName='x' where DIYID='200014'"));
    DbAccess->OpenTimerQuery(QStringLiteral("select DIYName from DIY where DIYID='200014'"));
    QCOMPARE(DbAccess->TimerData.Fields(0).AsString(), QStringLiteral("x"));
}

void TestDbAccess::keepAliveReopensAndWaitsWhileBusy()
{
    DbAccess->Connection().close();
    DbAccess->Busy = true;
    DbAccess->KeepAlive();
    QVERIFY(!DbAccess->IsConnected());
    DbAccess->Busy = false;
    DbAccess->KeepAlive();
    QVERIFY(DbAccess->IsConnected());
}

void TestDbAccess::fillers()
{
    DbExecute(QStringLiteral("insert into DiyRemark (DiyText, Remark) values ('Kesp200003', ' 男 ')@#@"
                             "insert into DiyRemark (DiyText, Remark) values ('Kesp200003', '  ')@#@"
                             "insert into DiyRemark (DiyText, Remark) values ('Kesp200003', NULL)@#@"
                             "insert into DiyRemark (DiyText, Remark) values ('Kesp200003', '女')"));
    QStringList list{QStringLiteral("old")};
    FillStrings(QStringLiteral("select Remark from DiyRemark where DiyText='Kesp200003'"), QStringLiteral("REMARK"), list);
    QCOMPARE(list, (QStringList{QStringLiteral(" 男 "), QStringLiteral("女")}));

    QTreeWidget view;
    view.setColumnCount(2);
    FillListView(QStringLiteral("select DiyText, Remark from DiyRemark where Remark is not null order by Remark"), &view);
    QCOMPARE(view.topLevelItemCount(), 3);
    QCOMPARE(view.columnCount(), 2);
    QCOMPARE(view.topLevelItem(0)->text(0), QStringLiteral("Kesp200003"));
}

KESP_DB_TEST(TestDbAccess)
#include "testdbaccess.moc"
