#pragma once

#include "testregistry.h"

#include <QMap>
#include <QString>
#include <QTemporaryDir>

// A fresh database on the current engine behind a new global DbAccess, in a
// temporary application directory (AppPath, ConfigPath, DbMode are set to it).
// SQLite: a new data.dat. PostgreSQL: a new database in the throwaway cluster
// named by KESP_TEST_PG, reached as the program reaches it (Config.ini with
// DB=2 and the local server); without KESP_TEST_PG it is unavailable and the
// test skips itself.
class TestDatabase
{
public:
    explicit TestDatabase(TestEngine engine = CurrentTestEngine());
    ~TestDatabase();

    bool available() const { return m_available; }
    QString skipReason() const { return m_skipReason; }
    QString appDir() const { return m_dir.path(); }
    TestEngine engine() const { return m_engine; }
    // PostgreSQL only: the database's name and a libpq connection string for it.
    QString databaseName() const { return m_databaseName; }

    // Runs SQL on a separate administrative connection to the server's
    // "postgres" database, or to this test database (PostgreSQL only).
    static bool adminExec(const QString& sql, QString* error = nullptr);
    bool exec(const QString& sql) const;
    // The key=value pairs of KESP_TEST_PG (host, port, user); empty without it.
    static QMap<QString, QString> serverSettings();
    static QString newDatabaseName();

private:
    TestEngine m_engine;
    QTemporaryDir m_dir;
    bool m_available = false;
    QString m_skipReason;
    QString m_databaseName;
};

// Skips the running test function when the current engine is not available.
#define REQUIRE_DATABASE(db) \
    do { \
        if (!(db).available()) \
            QSKIP(qPrintable((db).skipReason())); \
    } while (false)
