#pragma once

#include "resultset.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QTreeWidget;

// The server password is kept in Config.ini scrambled with this key.
extern const QString ServerPasswordKey;

// The [Database] section of Config.ini with its defaults, the password
// unscrambled. Read by the connection and by the server settings window.
struct TServerSettings
{
    int ConnectModel = 0;
    bool ConnectWWW = false;
    QString UserID;
    QString Password;
    QString DataSource;
    QString Database;
    int Port = 5432;
};
TServerSettings ReadServerSettings();

// The program's one database connection: the SQLite file AppPath/data.dat in
// database mode 1, a PostgreSQL database described in Config.ini in mode 2.
// Queries are read fully into a result set; changes run as statement batches
// ("@#@" between statements) in one transaction, all or nothing.
class TDbAccess
{
public:
    TDbAccess();
    ~TDbAccess();
    TDbAccess(const TDbAccess&) = delete;
    TDbAccess& operator=(const TDbAccess&) = delete;

    // Opens the connection for DbMode. Never raises: a failure shows
    // "数据库连接失败！" and leaves the connection closed.
    void Connect();
    bool IsConnected() const;

    bool SaveServerSettings(int connectModel, bool connectWWW, const QString& userID, const QString& password,
                            const QString& dataSource, const QString& database);

    void OpenQuery(const QString& sql);
    void OpenTimerQuery(const QString& sql);
    int QueryInteger(const QString& sql);
    void ExecuteBatch(const QString& batch);
    void KeepAlive();
    static bool ResolveHost(const QString& hostName, QString* address);
    // Database mode 1 only: copy the database file to a file, or replace it
    // by a backup that opens as this program's database. Other modes: nothing.
    void Backup(const QString& target);
    void Restore(const QString& source);

    QSqlDatabase Connection() const;

    int ConnectModel = 0;
    bool ConnectWWW = false;
    QString UserID;
    QString Password;
    QString Server;
    QString Database;
    TResultSet QueryData;
    TResultSet TimerData;
    bool Busy = false;

private:
    bool configure(QString* failure);
    bool open(QString* failure);
    // Reopens a closed connection once it has been configured; raises the
    // operation's own EDBException when that fails.
    void ensureOpen(const QString& summary, const QString& sql);
    void openInto(TResultSet& resultSet, const QString& sql);
    void copyClockToSession();

    QString m_connectionName;
    bool m_configured = false;
    int m_clockListener = 0;
};

extern TDbAccess* DbAccess;

void DbExecute(const QString& batch);
int DbQueryInteger(const QString& sql);
void DbBackup(const QString& target);
void DbRestore(const QString& source);

// A text value ready to go between single quotes in a statement.
QString SqlEscape(const QString& value);

// The pieces of text between occurrences of separator, empty pieces included.
QStringList SplitString(const QString& text, const QString& separator);
// Splits a statement batch at "@#@" outside quoted text only, so a value
// holding "@#@" stays whole.
QStringList SplitBatch(const QString& batch);

// Fills a list from one named column of a query, skipping blank values.
void FillStrings(const QString& statement, const QString& column, QStringList& list);
// Fills a report-style list: caption from column 0, one sub-item per further column.
void FillListView(const QString& statement, QTreeWidget* listView);
