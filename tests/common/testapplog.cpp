#include "testregistry.h"

#include "app/globals.h"
#include "common/applog.h"
#include "common/clock.h"
#include "common/gbk.h"
#include "common/messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAppLog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void entriesGoToTheDaysFile();
    void errorDetailShowsAndLogs();
    void errorDetailWithoutLogText();
    void unwritableFolderStillShowsTheBox();

private:
    QString readLog(const QDate& day) const;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAppLog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetAppPath(m_dir->path());
    Clock::setTestNow(QDateTime(QDate(2024, 1, 5), QTime(23, 59, 58)));
    MessageTesting::takeShown();
}

void TestAppLog::cleanup()
{
    Clock::useSystemClock();
}

QString TestAppLog::readLog(const QDate& day) const
{
    QFile file(AppLogFileName(day));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return FromGbk(file.readAll());
}

void TestAppLog::entriesGoToTheDaysFile()
{
    QVERIFY(AppLogFileName(QDate(2024, 1, 5)).endsWith(QStringLiteral("/Config/AppErrorLog/Log20240105.log")));
    WriteAppLog(QStringLiteral("数据恢复！"));
    Clock::advance(1);
    WriteAppLog(QStringLiteral("第二条 😀"));
    QCOMPARE(readLog(QDate(2024, 1, 5)),
             QStringLiteral("2024-01-05 23:59:58：数据恢复！\r\n2024-01-05 23:59:59：第二条 😀\r\n"));

    Clock::advance(2); // just after midnight: a new file
    WriteAppLog(QStringLiteral("系统初始化！"));
    QCOMPARE(readLog(QDate(2024, 1, 6)), QStringLiteral("2024-01-06 00:00:01：系统初始化！\r\n"));
}

void TestAppLog::errorDetailShowsAndLogs()
{
    ShowErrorDetail(QStringLiteral("数据库查询错误,请检查!"), QStringLiteral("no such table: X"),
                    QStringLiteral("select * from X"));
    const auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].caption, QStringLiteral("错误"));
    QCOMPARE(shown[0].text, QStringLiteral("数据库查询错误,请检查!\r\n详细信息：no such table: X"));
    QCOMPARE(readLog(QDate(2024, 1, 5)),
             QStringLiteral("2024-01-05 23:59:58：数据库查询错误,请检查!\r\n详细信息：no such table: X\r\n"
                            "select * from X\r\n"));
}

void TestAppLog::errorDetailWithoutLogText()
{
    ShowErrorDetail(QStringLiteral("数据库连接失败！"), QStringLiteral("refused"), QString());
    QCOMPARE(MessageTesting::takeShown().size(), 1);
    QVERIFY(!QFile::exists(AppLogFileName(QDate(2024, 1, 5))));
}

void TestAppLog::unwritableFolderStillShowsTheBox()
{
    // A file where the Config folder should be: the log folder cannot be made.
    QFile blocker(AppPath + QStringLiteral("Config"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ShowErrorDetail(QStringLiteral("数据库操作失败！"), QStringLiteral("x"), QStringLiteral("delete from y"));
    QCOMPARE(MessageTesting::takeShown().size(), 1);
}

KESP_TEST(TestAppLog)
#include "testapplog.moc"
