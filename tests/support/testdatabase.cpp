#include "testdatabase.h"

#include "app/globals.h"
#include "app/inifile.h"
#include "common/exceptions.h"
#include "data/dbaccess.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

QString adminConnectionInfo(const QString& database)
{
    const QMap<QString, QString> settings = TestDatabase::serverSettings();
    QStringList pairs;
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        pairs.append(it.key() + QLatin1Char('=') + it.value());
    pairs.append(QStringLiteral("dbname=") + database);
    return pairs.join(QLatin1Char(' '));
}

// The template every test database is copied from: schema loaded once per run.
QString templateDatabase()
{
    static QString name;
    if (name.isEmpty()) {
        const QString candidate = QStringLiteral("kesp_template_%1").arg(QCoreApplication::applicationPid());
        TestDatabase::adminExec(QStringLiteral("drop database if exists %1").arg(candidate));
        QString error;
        if (!TestDatabase::adminExec(QStringLiteral("create database %1").arg(candidate), &error))
            qFatal("cannot create the template database: %s", qPrintable(error));
        CreatePostgresDatabase(adminConnectionInfo(candidate));
        name = candidate;
    }
    return name;
}

} // namespace

QMap<QString, QString> TestDatabase::serverSettings()
{
    QMap<QString, QString> settings;
    const QString text = qEnvironmentVariable("KESP_TEST_PG");
    for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int equals = pair.indexOf(QLatin1Char('='));
        if (equals > 0)
            settings.insert(pair.left(equals), pair.mid(equals + 1));
    }
    return settings;
}

QString TestDatabase::newDatabaseName()
{
    static int counter = 0;
    return QStringLiteral("kesp_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

namespace {

bool execOn(const QString& database, const QString& sql, QString* error)
{
    const QString name = QStringLiteral("kesp-test-admin-") + database;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                       : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setConnectOptions(adminConnectionInfo(database));
        if (!db.isOpen() && !db.open()) {
            if (error)
                *error = db.lastError().text();
            return false;
        }
        QSqlQuery query(db);
        ok = query.exec(sql);
        if (!ok && error)
            *error = query.lastError().text();
    }
    return ok;
}

} // namespace

bool TestDatabase::adminExec(const QString& sql, QString* error)
{
    return execOn(QStringLiteral("postgres"), sql, error);
}

bool TestDatabase::exec(const QString& sql) const
{
    const bool ok = execOn(m_databaseName, sql, nullptr);
    QSqlDatabase::removeDatabase(QStringLiteral("kesp-test-admin-") + m_databaseName);
    return ok;
}

TestDatabase::TestDatabase(TestEngine engine)
    : m_engine(engine)
{
    SetAppPath(m_dir.path());
    if (engine == TestEngine::Postgres) {
        const QMap<QString, QString> settings = serverSettings();
        if (settings.isEmpty()) {
            // CI always starts a server: there a missing one is a failure, not a skip.
            if (qEnvironmentVariableIsSet("CI"))
                qFatal("KESP_TEST_PG is not set, but CI must run the PostgreSQL cases");
            m_skipReason = QStringLiteral("KESP_TEST_PG is not set: no PostgreSQL server for this run");
            return;
        }
        // The program reaches "(Local)" the way libpq does: through these.
        qputenv("PGHOST", settings.value(QStringLiteral("host")).toUtf8());
        qputenv("PGPORT", settings.value(QStringLiteral("port")).toUtf8());
        qputenv("PGUSER", settings.value(QStringLiteral("user")).toUtf8());
        m_databaseName = newDatabaseName();
        QString error;
        if (!adminExec(QStringLiteral("create database %1 template %2").arg(m_databaseName, templateDatabase()), &error))
            qFatal("cannot create a test database: %s", qPrintable(error));
        TIniFile ini(ConfigFileName());
        ini.WriteInteger(QStringLiteral("Config"), QStringLiteral("DB"), 2);
        ini.WriteString(QStringLiteral("Database"), QStringLiteral("Database"), m_databaseName);
        ini.UpdateFile();
        DbMode = 2;
    } else {
        CreateSqliteDatabase(AppPath + QStringLiteral("data.dat"));
        DbMode = 1;
    }
    DbAccess = new TDbAccess;
    DbAccess->Connect();
    m_available = DbAccess->IsConnected();
    if (!m_available)
        m_skipReason = QStringLiteral("the test database did not open");
}

TestDatabase::~TestDatabase()
{
    delete DbAccess;
    DbAccess = nullptr;
    if (!m_databaseName.isEmpty())
        adminExec(QStringLiteral("drop database if exists %1").arg(m_databaseName));
}
