#include "schema.h"

#include "common/exceptions.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <sqlite3.h>

// Resources of a static library are registered by hand.
static void initSchemaResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

QString readScript(const QString& name)
{
    initSchemaResources();
    QFile file(QStringLiteral(":/data/schema/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("程序缺少建表脚本 %1").arg(name));
    return QString::fromUtf8(file.readAll());
}

// The engine's tables followed by the first rows both engines share.
QString schemaScript(const QString& tables)
{
    return readScript(tables) + QLatin1Char('\n') + readScript(QStringLiteral("rows.sql"));
}

// A QSqlDatabase connection that is removed again however the work ends.
class ScopedConnection
{
public:
    explicit ScopedConnection(const QString& driver)
        : m_name(QStringLiteral("kesp-schema-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase::addDatabase(driver, m_name);
    }
    ~ScopedConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

} // namespace

void CreateSqliteDatabase(const QString& fileName)
{
    if (QFileInfo::exists(fileName))
        throw Exception(QStringLiteral("数据库文件已经存在，不会覆盖：%1").arg(fileName));

    // Build the file under a temporary name, so a failure leaves nothing behind.
    const QByteArray script = "begin;\n" + schemaScript(QStringLiteral("sqlite.sql")).toUtf8() + "\ncommit;";
    const QString partial = fileName + QStringLiteral(".partial");
    QFile::remove(partial);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(partial).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* error = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, script.constData(), nullptr, nullptr, &error);
    const QString message = error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        QFile::remove(partial);
        throw Exception(QStringLiteral("无法创建数据库文件 %1：%2").arg(fileName, message));
    }
    if (!QFile::rename(partial, fileName)) {
        QFile::remove(partial);
        throw Exception(QStringLiteral("无法创建数据库文件 %1").arg(fileName));
    }
}

void CreatePostgresDatabase(const QString& connectionInfo)
{
    ScopedConnection connection(QStringLiteral("QPSQL"));
    QSqlDatabase db = connection.db();
    db.setConnectOptions(connectionInfo);
    if (!db.open())
        throw Exception(QStringLiteral("无法连接数据库：%1").arg(db.lastError().text()));

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select count(*) from information_schema.tables where table_schema = current_schema()"))
        || !query.next())
        throw Exception(QStringLiteral("无法读取数据库：%1").arg(query.lastError().text()));
    if (query.value(0).toInt() > 0)
        throw Exception(QStringLiteral("数据库不是空的，不会改动其中的表"));

    // One multi-statement string runs as one implicit transaction: all or nothing.
    if (!query.exec(schemaScript(QStringLiteral("postgresql.sql"))))
        throw Exception(QStringLiteral("无法创建数据表：%1").arg(query.lastError().text()));
}
