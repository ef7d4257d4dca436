#include "testdatabase.h"

#include "data/dbaccess.h"
#include "operators/loginoper.h"

#include <QTest>

// Logging in and answering rights, on both engines.
class TestLoginOper : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void login_data();
    void login();
    void failedLoginKeepsThePreviousOperator();
    void rights();
    void listNames();

private:
    std::unique_ptr<TestDatabase> m_db;
    TLoginOper m_oper;
};

void TestLoginOper::init()
{
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
    m_oper = TLoginOper();
    DbExecute(QStringLiteral(
        "insert into Oper (OperName, OperPass, Remark) values ('无密码', NULL, '')@#@"
        "insert into Oper (OperName, OperPass, Remark) values ('王五', 'it''s 秘密', '')@#@"
        "insert into Oper (OperName, OperPass, Remark) values ('admin', '', '')@#@"
        "insert into authority (OperName, Rules) values ('admin', '新建客户')@#@"
        "insert into authority (OperName, Rules) values ('王五', '导出EXCEL')@#@"
        "insert into authority (OperName, Rules) values ('王五', '不在规则树里')"));
}

void TestLoginOper::cleanup()
{
    m_db.reset();
}

void TestLoginOper::login_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Admin with its empty password") << "Admin" << "" << true;
    QTest::newRow("Admin with a password") << "Admin" << "x" << false;
    QTest::newRow("NULL password, empty typed") << "无密码" << "" << true;
    QTest::newRow("NULL password never matches a typed one") << "无密码" << "x" << false;
    QTest::newRow("password with a quote") << "王五" << "it's 秘密" << true;
    QTest::newRow("password is not trimmed") << "王五" << "it's 秘密 " << false;
    QTest::newRow("name case matters") << "ADMIN" << "" << false;
    QTest::newRow("unknown") << "nobody" << "" << false;
    QTest::newRow("quote in the name") << "x' or '1'='1" << "" << false;
}

void TestLoginOper::login()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    QCOMPARE(m_oper.Login(name, password), accepted);
    QCOMPARE(m_oper.OperName, accepted ? name : QString());
    QCOMPARE(m_oper.OperPass, accepted ? password : QString());
}

void TestLoginOper::failedLoginKeepsThePreviousOperator()
{
    QVERIFY(m_oper.Login(QStringLiteral("王五"), QStringLiteral("it's 秘密")));
    QVERIFY(!m_oper.Login(QStringLiteral("Admin"), QStringLiteral("wrong")));
    QCOMPARE(m_oper.OperName, QStringLiteral("王五"));
    QCOMPARE(m_oper.Rights.size(), 2);
}

void TestLoginOper::rights()
{
    QVERIFY(!m_oper.HasRight(QStringLiteral("新建客户"))); // nobody logged in yet

    QVERIFY(m_oper.Login(QStringLiteral("Admin"), QString()));
    QVERIFY(m_oper.HasRight(QStringLiteral("数据维护")));
    QVERIFY(m_oper.HasRight(QStringLiteral("无此权限")));
    QVERIFY(m_oper.Rights.isEmpty());

    QVERIFY(m_oper.Login(QStringLiteral("admin"), QString()));
    QVERIFY(m_oper.HasRight(QStringLiteral("新建客户")));
    QVERIFY(!m_oper.HasRight(QStringLiteral("数据维护")));

    QVERIFY(m_oper.Login(QStringLiteral("王五"), QStringLiteral("it's 秘密")));
    QVERIFY(m_oper.HasRight(QStringLiteral("导出Excel")));
    QVERIFY(m_oper.HasRight(QStringLiteral("不在规则树里")));
    QVERIFY(!m_oper.HasRight(QStringLiteral("新建客户")));
}

void TestLoginOper::listNames()
{
    QStringList names{QStringLiteral("stale")};
    m_oper.ListNames(names);
    QCOMPARE(names.size(), 4);
    QVERIFY(names.contains(QStringLiteral("Admin")));
    DbExecute(QStringLiteral("delete from Oper"));
    m_oper.ListNames(names);
    QVERIFY(names.isEmpty());
}

KESP_DB_TEST(TestLoginOper)
#include "testloginoper.moc"
