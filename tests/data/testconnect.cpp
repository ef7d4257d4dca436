#include "configfile.h"
#include "testdatabase.h"

#include "app/globals.h"
#include "app/inifile.h"
#include "common/messages.h"
#include "common/scramble.h"
#include "data/dbaccess.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A login role of the test cluster that may read the test database, dropped
// again when the test ends.
class TestRole
{
public:
    TestRole(const QString& name, const QString& password, const TestDatabase& db)
        : m_name(name)
    {
        drop();
        m_created = TestDatabase::adminExec(
                        QStringLiteral("create role \"%1\" login password '%2'").arg(name, SqlEscape(password)))
            && db.exec(QStringLiteral("grant select on all tables in schema public to \"%1\"").arg(name));
    }
    ~TestRole() { drop(); }
    bool created() const { return m_created; }

private:
    void drop() { TestDatabase::adminExec(QStringLiteral("drop role if exists \"%1\"").arg(m_name)); }

    QString m_name;
    bool m_created = false;
};

} // namespace

// Connecting in both database modes, as Config.ini describes it.
class TestConnect : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void localFile();
    void localFileMissingOrBroken_data();
    void localFileMissingOrBroken();
    void unknownMode();
    void serverPasswordLogin_data();
    void serverPasswordLogin();
    void serverHostLookup();
    void serverOwnAuthenticationIgnoresLoginKeys();
    void serverDefaultsWithoutDatabaseSection();
    void saveServerSettingsKeepsOtherLines();
    void initdbTool();

private:
    bool connect();
    QString connectionFailure();
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestConnect::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetAppPath(m_dir->path());
    MessageTesting::takeShown();
}

void TestConnect::cleanup()
{
    delete DbAccess;
    DbAccess = nullptr;
}


bool TestConnect::connect()
{
    delete DbAccess;
    DbAccess = new TDbAccess;
    DbAccess->Connect();
    return DbAccess->IsConnected();
}

// The text of the one box a failed connect shows, or empty.
QString TestConnect::connectionFailure()
{
    const auto shown = MessageTesting::takeShown();
    return shown.size() == 1 ? shown[0].text : QString();
}

void TestConnect::localFile()
{
    CreateSqliteDatabase(AppPath + QStringLiteral("data.dat"));
    DbMode = 1;
    QVERIFY(connect());
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Oper where OperName='Admin'")), 1);
}

void TestConnect::localFileMissingOrBroken_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not a database") << QByteArray("this is a text file, not a database\n").repeated(100);
}

void TestConnect::localFileMissingOrBroken()
{
    QFETCH(QByteArray, content);
    const QString fileName = AppPath + QStringLiteral("data.dat");
    if (!content.isEmpty()) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    DbMode = 1;
    QVERIFY(!connect());
    QVERIFY(connectionFailure().startsWith(QStringLiteral("数据库连接失败！\r\n详细信息：")));
    // Nothing is created or changed in place of the database.
    QCOMPARE(QFile::exists(fileName), !content.isEmpty());
    if (!content.isEmpty()) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void TestConnect::unknownMode()
{
    DbMode = 3;
    QVERIFY(!connect());
    QVERIFY(connectionFailure().startsWith(QStringLiteral("数据库连接失败！")));
}

void TestConnect::serverPasswordLogin_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("right");
    QTest::newRow("blanks, quotes and backslash") << "p a'ss \"w\\ 中" << true;
    QTest::newRow("wrong password") << "wrong" << false;
}

void TestConnect::serverPasswordLogin()
{
    TestDatabase db(TestEngine::Postgres);
    REQUIRE_DATABASE(db);
    QFETCH(QString, password);
    QFETCH(bool, right);
    const QString stored = QStringLiteral("p a'ss \"w\\ 中");
    const QString role = QStringLiteral("kesp user %1").arg(QCoreApplication::applicationPid());
    const TestRole login(role, stored, db);
    QVERIFY(login.created());
    const QMap<QString, QString> server = TestDatabase::serverSettings();
    WriteConfigIni(QStringLiteral("[Config]\r\nDB=2\r\n[Database]\r\nConnectModel=1\r\nUserID=%1\r\nPassword=%2\r\n"
                               "Data Source=127.0.0.1\r\nDatabase=%3\r\nPort=%4\r\n")
                    .arg(role, EncryptText(password, QStringLiteral("wick")), db.databaseName(),
                         server.value(QStringLiteral("port"))));
    QCOMPARE(connect(), right);
    QCOMPARE(connectionFailure().startsWith(QStringLiteral("数据库连接失败！")), !right);
    if (right) {
        QCOMPARE(DbAccess->Password, stored);
        QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from DIY")), 14);
    }
}

void TestConnect::serverHostLookup()
{
    TestDatabase db(TestEngine::Postgres);
    REQUIRE_DATABASE(db);
    const QString role = QStringLiteral("kesp_www_%1").arg(QCoreApplication::applicationPid());
    const TestRole login(role, QStringLiteral("pw"), db);
    QVERIFY(login.created());
    const QString config = QStringLiteral("[Config]\r\nDB=2\r\n[Database]\r\nConnectModel=1\r\nConnectWWW=1\r\n"
                                          "UserID=%1\r\nPassword=%2\r\nData Source=%3\r\nDatabase=%4\r\nPort=%5\r\n");
    const QString port = TestDatabase::serverSettings().value(QStringLiteral("port"));
    const QString password = EncryptText(QStringLiteral("pw"), QStringLiteral("wick"));

    WriteConfigIni(config.arg(role, password, QStringLiteral("localhost"), db.databaseName(), port));
    QVERIFY(connect());
    QCOMPARE(DbAccess->Server, QStringLiteral("127.0.0.1"));

    WriteConfigIni(config.arg(role, password, QStringLiteral("no-such-host.invalid"), db.databaseName(), port));
    QVERIFY(!connect());
    const auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].caption, QStringLiteral("提示"));
    QCOMPARE(shown[0].text, QStringLiteral("域名解析失败！"));
}

void TestConnect::serverOwnAuthenticationIgnoresLoginKeys()
{
    TestDatabase db(TestEngine::Postgres);
    REQUIRE_DATABASE(db);
    WriteConfigIni(QStringLiteral("[Config]\r\nDB=2\r\n[Database]\r\nConnectModel=0\r\nConnectWWW=1\r\nUserID=nobody\r\n"
                               "Password=ZZ\r\nPort=1\r\nDatabase=%1\r\n")
                    .arg(db.databaseName()));
    QVERIFY(connect());
}

void TestConnect::serverDefaultsWithoutDatabaseSection()
{
    TestDatabase db(TestEngine::Postgres);
    REQUIRE_DATABASE(db);
    TestDatabase::adminExec(QStringLiteral("drop database if exists \"Dravlok\""));
    QVERIFY(TestDatabase::adminExec(QStringLiteral("create database \"Dravlok\"")));
    WriteConfigIni(QStringLiteral("[Config]\r\nDB=2\r\n"));
    QVERIFY(connect());
    QCOMPARE(DbAccess->Database, QStringLiteral("Dravlok"));
    QCOMPARE(DbAccess->Server, QStringLiteral("(Local)"));
    QCOMPARE(DbAccess->ConnectModel, 0);
    delete DbAccess;
    DbAccess = nullptr;
    TestDatabase::adminExec(QStringLiteral("drop database if exists \"Dravlok\""));
}

void TestConnect::saveServerSettingsKeepsOtherLines()
{
    WriteConfigIni(QStringLiteral("[Config]\r\nDB=2\r\n[Database]\r\nPort=5433\r\nUserID=old\r\n"));
    TDbAccess access;
    QVERIFY(access.SaveServerSettings(1, true, QStringLiteral("操作员"), QStringLiteral("0A1B"),
                                      QStringLiteral("db.example"), QStringLiteral("kesp")));
    const TIniFile ini(ConfigFileName());
    QCOMPARE(ini.ReadInteger(QStringLiteral("Config"), QStringLiteral("DB"), 0), 2);
    QCOMPARE(ini.ReadInteger(QStringLiteral("Database"), QStringLiteral("Port"), 0), 5433);
    QCOMPARE(ini.ReadInteger(QStringLiteral("Database"), QStringLiteral("ConnectModel"), 0), 1);
    QCOMPARE(ini.ReadBool(QStringLiteral("Database"), QStringLiteral("ConnectWWW"), false), true);
    QCOMPARE(ini.ReadString(QStringLiteral("Database"), QStringLiteral("UserID"), QString()), QStringLiteral("操作员"));
    QCOMPARE(ini.ReadString(QStringLiteral("Database"), QStringLiteral("Data Source"), QString()),
             QStringLiteral("db.example"));
}

void TestConnect::initdbTool()
{
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/../kesp-initdb");
    QProcess process;
    process.start(tool, {m_dir->path()});
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 0);
    QFile file(AppPath + QStringLiteral("data.dat"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray created = file.readAll();

    process.start(tool, {m_dir->path()});
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(!process.readAllStandardError().isEmpty());
    file.seek(0);
    QCOMPARE(file.readAll(), created);

    if (TestDatabase::serverSettings().isEmpty())
        return;
    const QString name = TestDatabase::newDatabaseName();
    QVERIFY(TestDatabase::adminExec(QStringLiteral("create database %1").arg(name)));
    const QMap<QString, QString> server = TestDatabase::serverSettings();
    const QString conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                 .arg(server.value(QStringLiteral("host")), server.value(QStringLiteral("port")),
                                      server.value(QStringLiteral("user")), name);
    process.start(tool, {QStringLiteral("--postgresql"), conninfo});
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 0);
    // A database that already has tables is refused and left alone.
    process.start(tool, {QStringLiteral("--postgresql"), conninfo});
    QVERIFY(process.waitForFinished());
    QCOMPARE(process.exitCode(), 1);
    TestDatabase::adminExec(QStringLiteral("drop database %1").arg(name));
}

KESP_TEST(TestConnect)
#include "testconnect.moc"
