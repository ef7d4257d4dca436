#include "guitest.h"
#include "testdatabase.h"

#include "app/globals.h"
#include "common/applog.h"
#include "common/clock.h"
#include "common/gbk.h"
#include "common/messages.h"
#include "controls/checktreeview.h"
#include "data/datamaintenancewindow.h"
#include "data/dbaccess.h"
#include "mainwindow/mainwindow.h"
#include "operators/loginoper.h"
#include "operators/oper.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

const char* const LocalFileOnly = "backup and restore copy the local database file";

const QString RestoreQuestion = QStringLiteral("确认:你确定要恢复数据吗？你做的操作可能会覆盖最新的数据！");
const QString ClearQuestion = QStringLiteral("确认:你确定要清除数据吗？你做的操作将无法还原！");

QByteArray fileBytes(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString databaseFile()
{
    return AppPath + QStringLiteral("data.dat");
}

QString todaysLog()
{
    return FromGbk(fileBytes(AppLogFileName(Clock::now().date())));
}

QStringList typeNames()
{
    QStringList names;
    FillStrings(QStringLiteral("select TypeName from UserType order by TypeName"), QStringLiteral("TypeName"), names);
    return names;
}

int count(const QString& table)
{
    return DbQueryInteger(QStringLiteral("select count(*) from %1").arg(table));
}

// Shows the page that holds the button, as the operator does, and clicks it.
void clickOnPage(QWidget* window, const char* page, const char* button)
{
    auto* pages = Child<QTabWidget>(window, "pgc1");
    pages->setCurrentWidget(Child<QWidget>(window, page));
    QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
}

// Answers the question with yes and chooses the file to restore from.
void restoreFrom(QWidget* window, const QString& fileName)
{
    MessageTesting::setNextAnswer(true);
    MessageTesting::setNextFileName(fileName);
    clickOnPage(window, "ts2", "btnAdd");
}

// A database of another program: SQLite, but without this program's tables.
void createOtherDatabase(const QString& fileName)
{
    const QString connection = QStringLiteral("other-program");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        other.setDatabaseName(fileName);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("create table Oper (OperName text)")));
        other.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace

// Backup, restore and clearing through the data maintenance window, on both engines.
class TestDataMaintenance : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pagesByDatabaseMode();
    void backupCopiesTheDatabase_data();
    void backupCopiesTheDatabase();
    void failedBackupShowsNoSuccess();
    void restoreReplacesTheDatabase();
    void restoreRefusesAFileThatIsNoDatabase_data();
    void restoreRefusesAFileThatIsNoDatabase();
    void clearingKeepsOnlyAdmin();
    void clearingAnsweredNoChangesNothing();
    void failedSafetyCopyStopsTheClearing();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestDataMaintenance::init()
{
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
    DbExecute(QStringLiteral("insert into UserType (TypeName) values ('甲')"));
    MessageTesting::takeShown();
}

void TestDataMaintenance::cleanup()
{
    m_db.reset();
}

void TestDataMaintenance::pagesByDatabaseMode()
{
    TFormDataMgr window;
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("数据维护"));
    auto* pages = Child<QTabWidget>(&window, "pgc1");
    QStringList visible;
    for (int i = 0; i < pages->count(); ++i) {
        if (pages->isTabVisible(i))
            visible.append(pages->tabText(i));
    }
    if (DbMode == 1) {
        QCOMPARE(visible, (QStringList{"数据备份", "数据恢复", "数据清除"}));
    } else {
        QCOMPARE(visible, QStringList{"数据清除"});
        QCOMPARE(pages->currentWidget(), Child<QWidget>(&window, "ts3"));
        // Nothing to copy on a server.
        DbBackup(m_db->appDir() + QStringLiteral("/backup.dat"));
        QVERIFY(QDir(m_db->appDir()).entryList({QStringLiteral("*.dat")}).isEmpty());
    }
}

void TestDataMaintenance::backupCopiesTheDatabase_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("new file") << "备份 1" << "备份 1.dat" << false;
    QTest::newRow("the extension is always added") << "备份.dat" << "备份.dat.dat" << false;
    QTest::newRow("an existing file is replaced") << "备份" << "备份.dat" << true;
}

void TestDataMaintenance::backupCopiesTheDatabase()
{
    if (DbMode != 1)
        QSKIP(LocalFileOnly);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(bool, targetExists);
    const QString folder = m_db->appDir() + QStringLiteral("/backups/");
    QVERIFY(QDir().mkpath(folder));
    if (targetExists)
        writeFile(folder + written, QByteArrayLiteral("an older backup, longer than nothing"));

    TFormDataMgr window;
    window.show();
    MessageTesting::setNextFileName(folder + chosen);
    clickOnPage(&window, "ts1", "btnSave");

    QCOMPARE(TakeShownMessages(), QStringList{QStringLiteral("提示:备份成功!")});
    QCOMPARE(fileBytes(folder + written), fileBytes(databaseFile()));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{written});
    QVERIFY(window.isVisible());
}

void TestDataMaintenance::failedBackupShowsNoSuccess()
{
    if (DbMode != 1)
        QSKIP(LocalFileOnly);
    TFormDataMgr window;
    window.show();
    MessageTesting::setNextFileName(m_db->appDir() + QStringLiteral("/no such folder/备份"));
    clickOnPage(&window, "ts1", "btnSave");

    const QStringList shown = TakeShownMessages();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].startsWith(QStringLiteral("错误:数据库备份失败！")), qPrintable(shown[0]));
    QVERIFY(window.isVisible());
    // File failures carry no SQL text and are not logged.
    QCOMPARE(todaysLog(), QString());
}

void TestDataMaintenance::restoreReplacesTheDatabase()
{
    if (DbMode != 1)
        QSKIP(LocalFileOnly);
    const QString backup = m_db->appDir() + QStringLiteral("/备份.dat");
    DbBackup(backup);
    DbExecute(QStringLiteral("insert into UserType (TypeName) values ('乙')"));
    // Each restore replaces the previous safety copy.
    writeFile(SafetyCopyFileName(), QByteArrayLiteral("an older safety copy"));
    const QByteArray beforeRestore = fileBytes(databaseFile());

    TFormDataMgr window;
    window.show();
    restoreFrom(&window, backup);

    QCOMPARE(TakeShownMessages(), (QStringList{RestoreQuestion, QStringLiteral("提示:数据恢复成功!")}));
    QVERIFY(!window.isVisible());
    QVERIFY(DbAccess->IsConnected());
    QCOMPARE(typeNames(), QStringList{QStringLiteral("甲")});
    QCOMPARE(fileBytes(databaseFile()), fileBytes(backup));
    QCOMPARE(fileBytes(SafetyCopyFileName()), beforeRestore);
    QVERIFY(todaysLog().contains(QStringLiteral("数据恢复！")));
    // The reopened connection speaks the program's dialect again.
    QCOMPARE(DbQueryInteger(QStringLiteral("select IIf(1=1, 7, 0)")), 7);
}

void TestDataMaintenance::restoreRefusesAFileThatIsNoDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << "text";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("another program's database") << "other";
    QTest::newRow("missing file") << "missing";
}

void TestDataMaintenance::restoreRefusesAFileThatIsNoDatabase()
{
    if (DbMode != 1)
        QSKIP(LocalFileOnly);
    QFETCH(QString, kind);
    const QString chosen = m_db->appDir() + QStringLiteral("/备份.dat");
    if (kind == QLatin1String("text"))
        writeFile(chosen, QByteArrayLiteral("SQLite format 3 is what this file is not."));
    else if (kind == QLatin1String("empty"))
        writeFile(chosen, QByteArray());
    else if (kind == QLatin1String("other"))
        createOtherDatabase(chosen);
    const QByteArray before = fileBytes(databaseFile());

    TFormDataMgr window;
    window.show();
    restoreFrom(&window, chosen);

    const QStringList shown = TakeShownMessages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], RestoreQuestion);
    QVERIFY2(shown[1].startsWith(QStringLiteral("错误:数据库恢复失败！")), qPrintable(shown[1]));
    QVERIFY(window.isVisible());
    QVERIFY(DbAccess->IsConnected());
    QCOMPARE(fileBytes(databaseFile()), before);
    QCOMPARE(typeNames(), QStringList{QStringLiteral("甲")});
    QVERIFY(!todaysLog().contains(QStringLiteral("数据恢复！")));
}

void TestDataMaintenance::clearingKeepsOnlyAdmin()
{
    DbExecute(QStringLiteral(
        "insert into Customer (sGUID, TypeID, Kesp200001, OperName) values ('G1', 1, '张三', '王五')@#@"
        "insert into Alam (iHour, iMinute, iMonWeek, ReDay, AlamDate, ReTitle, Remark, OperName, sGUID, bLook) "
        "values (9, 30, 0, 1, '2024-03-05', '回访', '', '王五', 'G1', 0)@#@"
        "insert into DiyRemark (DiyText, Remark) values ('Kesp200003', '男')@#@"
        "insert into Oper (OperName, OperPass, Remark) values ('王五', 'pw', '')@#@"
        "insert into authority (OperName, Rules) values ('王五', '新建客户')@#@"
        "update Oper set OperPass='secret' where OperName='Admin'"));
    const QByteArray beforeClearing = fileBytes(databaseFile());

    // Clearing ends the program: run it from the main window's menu inside
    // the application's event loop, which it must end.
    TFormMain mainWindow;
    FormMain = &mainWindow;
    MessageTesting::setNextAnswer(true);
    OnNextModal([](QWidget* window) { clickOnPage(window, "ts3", "Button1"); });
    QTimer::singleShot(0, &mainWindow, [&mainWindow] { mainWindow.findChild<QAction*>(QStringLiteral("NData"))->trigger(); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(60000);
    const int exitCode = QCoreApplication::exec();
    FormMain = nullptr;
    QCOMPARE(exitCode, 0);

    QCOMPARE(TakeShownMessages(), (QStringList{ClearQuestion, QStringLiteral("提示:清除成功,请重启软件!")}));
    for (const QString& table : QStringList{"Customer", "UserType", "Alam", "DiyRemark"})
        QCOMPARE(count(table), 0);
    QCOMPARE(count(QStringLiteral("Oper")), 1);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Oper where OperName='Admin' and OperPass=''")), 1);
    QCOMPARE(count(QStringLiteral("DIY")), 14);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from DIY where DIYName='QQ'")), 1);
    QCOMPARE(count(QStringLiteral("Rules")), 14);
    QCOMPARE(count(QStringLiteral("authority")), 0);
    QVERIFY(todaysLog().contains(QStringLiteral("系统初始化！")));
    // A server has no file to copy: the safety copy is made in mode 1 only.
    QCOMPARE(QFile::exists(SafetyCopyFileName()), DbMode == 1);
    if (DbMode == 1)
        QCOMPARE(fileBytes(SafetyCopyFileName()), beforeClearing);

    TLoginOper login;
    QVERIFY(login.Login(QStringLiteral("Admin"), QString()));
    // A new account of a removed account's name starts with no rights.
    TKespCheckTreeView emptyTree;
    TOper oper(&emptyTree);
    oper.OperName = QStringLiteral("王五");
    oper.Insert();
    QVERIFY(login.Login(QStringLiteral("王五"), QString()));
    QCOMPARE(login.Rights, QStringList());
}

void TestDataMaintenance::clearingAnsweredNoChangesNothing()
{
    TFormDataMgr window;
    window.show();
    MessageTesting::setNextAnswer(false);
    clickOnPage(&window, "ts3", "Button1");

    QCOMPARE(TakeShownMessages(), QStringList{ClearQuestion});
    QCOMPARE(typeNames(), QStringList{QStringLiteral("甲")});
    QVERIFY(!QFile::exists(SafetyCopyFileName()));
    QVERIFY(window.isVisible());
}

void TestDataMaintenance::failedSafetyCopyStopsTheClearing()
{
    if (DbMode != 1)
        QSKIP(LocalFileOnly);
    // A folder where the safety copy should go makes the copy fail.
    QVERIFY(QDir().mkpath(SafetyCopyFileName()));
    TFormDataMgr window;
    window.show();
    MessageTesting::setNextAnswer(true);
    clickOnPage(&window, "ts3", "Button1");

    const QStringList shown = TakeShownMessages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], ClearQuestion);
    QVERIFY2(shown[1].startsWith(QStringLiteral("错误:数据库备份失败！")), qPrintable(shown[1]));
    QCOMPARE(typeNames(), QStringList{QStringLiteral("甲")});
    QCOMPARE(count(QStringLiteral("Oper")), 1);
    QVERIFY(!todaysLog().contains(QStringLiteral("系统初始化！")));
}

KESP_DB_TEST(TestDataMaintenance)
#include "testdatamaintenance.moc"
