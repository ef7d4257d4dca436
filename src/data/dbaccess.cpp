#include "dbaccess.h"

#include "app/globals.h"
#include "app/inifile.h"
#include "common/clock.h"
#include "common/exceptions.h"
#include "common/messages.h"
#include "common/scramble.h"
#include "sqlitefunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <QSaveFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

TDbAccess* DbAccess = nullptr;

const QString ServerPasswordKey = QStringLiteral("wick");

namespace {

const QString QuerySummary = QStringLiteral("数据库查询错误,请检查!");
const QString BatchSummary = QStringLiteral("数据库操作失败！");
const QString Separator = QStringLiteral("@#@");

QString localDatabaseFile()
{
    return AppPath + QStringLiteral("data.dat");
}

bool isSqlite(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QSQLITE");
}

// The connection's own SQLite handle, for the functions of the local dialect
// and for reading long results directly.
sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    return *static_cast<sqlite3**>(db.driver()->handle().data());
}

QString errorText(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("未知错误") : text;
}

// Reads a SELECT through SQLite's own interface, keeping its UTF-8 texts: going
// through a QVariant per value costs several times the query itself on a list
// of 100,000 customers.
void loadSqlite(sqlite3* db, const QString& sql, TResultSet& resultSet)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), utf8.size(), &statement, nullptr) != SQLITE_OK)
        throw EDBException(QString::fromUtf8(sqlite3_errmsg(db)), QuerySummary, sql);
    const int columns = sqlite3_column_count(statement);
    QStringList names;
    for (int column = 0; column < columns; ++column)
        names.append(QString::fromUtf8(sqlite3_column_name(statement, column)));
    QVector<TTextRow> rows;
    TTextRowBuilder row;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int column = 0; column < columns; ++column) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            if (text)
                row.append(text, sqlite3_column_bytes(statement, column));
            else
                row.appendNull();
        }
        rows.append(row.take());
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        throw EDBException(QString::fromUtf8(sqlite3_errmsg(db)), QuerySummary, sql);
    resultSet.Assign(std::move(names), std::move(rows));
}

} // namespace

TDbAccess::TDbAccess()
    : m_connectionName(QStringLiteral("kesp-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

TDbAccess::~TDbAccess()
{
    if (m_clockListener)
        Clock::removeListener(m_clockListener);
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase TDbAccess::Connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool TDbAccess::IsConnected() const
{
    return Connection().isOpen();
}

bool TDbAccess::configure(QString* failure)
{
    if (DbMode == 1) {
        const QString fileName = localDatabaseFile();
        if (!QFileInfo::exists(fileName)) {
            *failure = QStringLiteral("找不到数据库文件 %1").arg(fileName);
            return false;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        // mode=rw: never create an empty database in place of a missing file.
        db.setDatabaseName(QUrl::fromLocalFile(fileName).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        return true;
    }
    if (DbMode != 2) {
        *failure = QStringLiteral("无效的数据库模式 %1").arg(DbMode);
        return false;
    }

    const TServerSettings settings = ReadServerSettings();
    ConnectModel = settings.ConnectModel;
    ConnectWWW = settings.ConnectWWW;
    Server = settings.DataSource;
    Database = settings.Database;
    UserID = settings.UserID;
    Password = settings.Password;

    if (ConnectModel != 0 && ConnectModel != 1) {
        *failure = QStringLiteral("无效的身份验证方式 %1").arg(ConnectModel);
        return false;
    }
    if (ConnectModel == 1 && ConnectWWW) {
        QString address;
        if (!ResolveHost(Server, &address)) {
            ShowInfo(QStringLiteral("域名解析失败！"));
            failure->clear();
            return false;
        }
        Server = address;
    }

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
    // "(Local)" is the server on this machine, reached through its local socket.
    if (Server.compare(QStringLiteral("(Local)"), Qt::CaseInsensitive) != 0)
        db.setHostName(Server);
    db.setDatabaseName(Database);
    if (ConnectModel == 1) {
        db.setUserName(UserID);
        db.setPassword(Password);
        db.setPort(settings.Port);
    }
    db.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=kesp"));
    return true;
}

bool TDbAccess::open(QString* failure)
{
    QSqlDatabase db = Connection();
    if (!db.open()) {
        *failure = errorText(db.lastError());
        db.close();
        return false;
    }
    if (isSqlite(db)) {
        // SQLite opens any file lazily; make sure this one is a database.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
            *failure = errorText(probe.lastError());
            probe.finish();
            db.close();
            return false;
        }
        RegisterSqliteFunctions(sqliteHandle(db));
    } else {
        copyClockToSession();
    }
    return true;
}

void TDbAccess::Connect()
{
    QString failure;
    m_configured = configure(&failure);
    if (m_configured && open(&failure)) {
        if (DbMode == 2 && !m_clockListener)
            m_clockListener = Clock::addListener([this] { copyClockToSession(); });
        return;
    }
    if (failure.isEmpty())
        return; // the host lookup failed and has said so
    ShowErrorDetail(QStringLiteral("数据库连接失败！"), failure, QString());
}

// The server's GetDate() honours kesp.now, so a fixed program clock is also
// the server's "now" for this session.
void TDbAccess::copyClockToSession()
{
    QSqlDatabase db = Connection();
    if (!db.isOpen() || isSqlite(db))
        return;
    const QString now = Clock::isTestClock() ? Clock::now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : QString();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("select set_config('kesp.now', ?, false)"));
    query.addBindValue(now);
    query.exec();
}

void TDbAccess::ensureOpen(const QString& summary, const QString& sql)
{
    if (IsConnected())
        return;
    QString failure = QStringLiteral("数据库未连接");
    if (!m_configured || !open(&failure))
        throw EDBException(failure, summary, sql);
}

TServerSettings ReadServerSettings()
{
    const TIniFile ini(ConfigFileName());
    const QString section = QStringLiteral("Database");
    TServerSettings settings;
    settings.ConnectModel = ini.ReadInteger(section, QStringLiteral("ConnectModel"), 0);
    settings.ConnectWWW = ini.ReadBool(section, QStringLiteral("ConnectWWW"), false);
    settings.DataSource = ini.ReadString(section, QStringLiteral("Data Source"), QStringLiteral("(Local)"));
    settings.Database = ini.ReadString(section, QStringLiteral("Database"), QStringLiteral("Dravlok"));
    settings.UserID = ini.ReadString(section, QStringLiteral("UserID"), QStringLiteral("sa"));
    settings.Password = DecryptText(ini.ReadString(section, QStringLiteral("Password"), QString()), ServerPasswordKey);
    settings.Port = ini.ReadInteger(section, QStringLiteral("Port"), 5432);
    return settings;
}

bool TDbAccess::SaveServerSettings(int connectModel, bool connectWWW, const QString& userID,
                                   const QString& password, const QString& dataSource, const QString& database)
{
    TIniFile ini(ConfigFileName());
    const QString section = QStringLiteral("Database");
    ini.WriteInteger(section, QStringLiteral("ConnectModel"), connectModel);
    ini.WriteBool(section, QStringLiteral("ConnectWWW"), connectWWW);
    ini.WriteString(section, QStringLiteral("UserID"), userID);
    ini.WriteString(section, QStringLiteral("Password"), password);
    ini.WriteString(section, QStringLiteral("Data Source"), dataSource);
    ini.WriteString(section, QStringLiteral("Database"), database);
    ini.UpdateFile();
    return true;
}

void TDbAccess::openInto(TResultSet& resultSet, const QString& sql)
{
    resultSet.Close();
    ensureOpen(QuerySummary, sql);
    QSqlDatabase db = Connection();
    if (isSqlite(db))
        return loadSqlite(sqliteHandle(db), sql, resultSet);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw EDBException(errorText(query.lastError()), QuerySummary, sql);
    resultSet.Load(query);
}

void TDbAccess::OpenQuery(const QString& sql)
{
    openInto(QueryData, sql);
}

void TDbAccess::OpenTimerQuery(const QString& sql)
{
    openInto(TimerData, sql);
}

int TDbAccess::QueryInteger(const QString& sql)
{
    OpenQuery(sql);
    return QueryData.Fields(0).AsInteger();
}

void TDbAccess::ExecuteBatch(const QString& batch)
{
    struct BusyFlag
    {
        explicit BusyFlag(bool& flag)
            : busy(flag)
        {
            busy = true;
        }
        ~BusyFlag() { busy = false; }
        bool& busy;
    } busyFlag(Busy);

    ensureOpen(BatchSummary, batch);
    QSqlDatabase db = Connection();
    if (!db.transaction())
        throw EDBException(errorText(db.lastError()), BatchSummary, batch);
    QSqlQuery query(db);
    for (const QString& piece : SplitBatch(batch)) {
        if (piece.trimmed().isEmpty())
            continue;
        if (!query.exec(piece)) {
            const QString failure = errorText(query.lastError());
            query.finish();
            db.rollback();
            throw EDBException(failure, BatchSummary, batch);
        }
    }
    query.finish();
    if (!db.commit()) {
        const QString failure = errorText(db.lastError());
        db.rollback();
        throw EDBException(failure, BatchSummary, batch);
    }
}

void TDbAccess::KeepAlive()
{
    if (Busy)
        return;
    QSqlDatabase db = Connection();
    bool alive = db.isOpen();
    if (alive) {
        QSqlQuery probe(db);
        alive = probe.exec(QStringLiteral("Select GetDate()"));
    }
    if (!alive && m_configured) {
        db.close();
        QString ignored;
        open(&ignored);
    }
}

bool TDbAccess::ResolveHost(const QString& hostName, QString* address)
{
    const QHostInfo info = QHostInfo::fromName(hostName.left(255));
    for (const QHostAddress& candidate : info.addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
            *address = candidate.toString();
            return true;
        }
    }
    return false;
}

namespace {

const QString BackupSummary = QStringLiteral("数据库备份失败！");
const QString RestoreSummary = QStringLiteral("数据库恢复失败！");

QString fileFailure(const QString& fileName, const QString& reason)
{
    return QStringLiteral("%1：%2").arg(QDir::toNativeSeparators(fileName), reason);
}

// Copies into a temporary file next to target and renames it over target, so
// target is always either the old file or the whole copy.
bool copyFileOver(const QString& source, const QString& target, QString* failure)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *failure = fileFailure(source, in.errorString());
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        *failure = fileFailure(target, out.errorString());
        return false;
    }
    char buffer[64 * 1024];
    qint64 length = 0;
    while ((length = in.read(buffer, sizeof buffer)) > 0) {
        if (out.write(buffer, length) != length) {
            *failure = fileFailure(target, out.errorString());
            return false;
        }
    }
    if (length < 0) {
        *failure = fileFailure(source, in.errorString());
        return false;
    }
    if (!out.commit()) {
        *failure = fileFailure(target, out.errorString());
        return false;
    }
    return true;
}

// Whether the file opens, read-only, as an SQLite database holding every
// table of this program.
bool isProgramDatabase(const QString& fileName)
{
    QStringList missing = {QStringLiteral("customer"), QStringLiteral("usertype"), QStringLiteral("alam"),
                           QStringLiteral("diy"),      QStringLiteral("diyremark"), QStringLiteral("oper"),
                           QStringLiteral("authority"), QStringLiteral("rules")};
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(fileName.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(handle, "select lower(name) from sqlite_master where type='table'", -1, &statement,
                               nullptr)
            == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW)
                missing.removeAll(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(handle);
    return missing.isEmpty();
}

} // namespace

void TDbAccess::Backup(const QString& target)
{
    if (DbMode != 1)
        return;
    QString failure;
    if (!copyFileOver(localDatabaseFile(), target, &failure))
        throw EDBException(failure, BackupSummary, QString());
}

void TDbAccess::Restore(const QString& source)
{
    if (DbMode != 1)
        return;
    // Checked before anything is closed: a refused file leaves the database
    // as it was, still open.
    if (!isProgramDatabase(source))
        throw EDBException(fileFailure(source, QStringLiteral("不是本系统的数据库文件")), RestoreSummary, QString());
    Connection().close();
    QString failure;
    if (!copyFileOver(source, localDatabaseFile(), &failure) || !open(&failure))
        throw EDBException(failure, RestoreSummary, QString());
}

void DbExecute(const QString& batch)
{
    DbAccess->ExecuteBatch(batch);
}

int DbQueryInteger(const QString& sql)
{
    return DbAccess->QueryInteger(sql);
}

void DbBackup(const QString& target)
{
    DbAccess->Backup(target);
}

void DbRestore(const QString& source)
{
    DbAccess->Restore(source);
}

QString SqlEscape(const QString& value)
{
    QString escaped = value;
    return escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
}

QStringList SplitString(const QString& text, const QString& separator)
{
    return text.split(separator, Qt::KeepEmptyParts);
}

QStringList SplitBatch(const QString& batch)
{
    QStringList pieces;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < batch.size(); ++i) {
        const QChar c = batch.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted; // a doubled quote toggles twice and stays inside
        } else if (!quoted && QStringView(batch).sliced(i).startsWith(Separator)) {
            pieces.append(batch.mid(start, i - start));
            i += Separator.size() - 1;
            start = i + 1;
        }
    }
    pieces.append(batch.mid(start));
    return pieces;
}

void FillStrings(const QString& statement, const QString& column, QStringList& list)
{
    DbAccess->OpenQuery(statement);
    list.clear();
    TResultSet& data = DbAccess->QueryData;
    for (; !data.Eof(); data.Next()) {
        const QString value = data.FieldByName(column).AsString();
        if (!value.trimmed().isEmpty())
            list.append(value);
    }
}

namespace {

// A list item whose texts stay in the row the query read: a long list costs
// one allocation per row, and a text becomes a QString only when it is drawn.
class TTextRowItem : public QTreeWidgetItem
{
public:
    explicit TTextRowItem(TTextRow row)
        : m_row(std::move(row))
    {
    }

    QVariant data(int column, int role) const override
    {
        if (holdsText(column, role))
            return TField(m_row.text(column)).AsString();
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant& value) override
    {
        if (!holdsText(column, role))
            return QTreeWidgetItem::setData(column, role, value);
        m_row.setText(column, value.toString());
        emitDataChanged();
    }

private:
    bool holdsText(int column, int role) const
    {
        return (role == Qt::DisplayRole || role == Qt::EditRole) && column >= 0 && column < m_row.size();
    }

    TTextRow m_row;
};

} // namespace

void FillListView(const QString& statement, QTreeWidget* listView)
{
    DbAccess->OpenQuery(statement);
    QVector<TTextRow> rows = DbAccess->QueryData.TakeRows();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (TTextRow& row : rows)
        items.append(new TTextRowItem(std::move(row)));
    listView->setUpdatesEnabled(false);
    listView->clear();
    listView->addTopLevelItems(items);
    listView->setUpdatesEnabled(true);
}
