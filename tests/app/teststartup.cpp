#include "guitest.h"
#include "configfile.h"
#include "testdatabase.h"

#include "app/globals.h"
#include "app/startup.h"
#include "common/exceptionhandler.h"
#include "common/messages.h"
#include "data/dbaccess.h"
#include "data/schema.h"
#include "mainwindow/mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The three outcomes of start-up, run through the program's own main sequence.
class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loginThenMainWindowThenExit();
    void cancelledLoginEnds();
    void unknownModeEndsAfterTheErrorBox();
    void unreachableServerOpensTheSettingsWindow();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    TKespException* m_testHandler = nullptr;
};

void TestStartup::init()
{
    m_testHandler = ExceptionHandler;
    m_dir = std::make_unique<QTemporaryDir>();
    UnitStartup(m_dir->path());
    MessageTesting::takeShown();
}

void TestStartup::cleanup()
{
    UnitShutdown();
    ExceptionHandler = m_testHandler;
}


void TestStartup::loginThenMainWindowThenExit()
{
    CreateSqliteDatabase(AppPath + QStringLiteral("data.dat"));
    QString operatorPanel;
    OnNextModal([&](QWidget* login) {
        QTest::keyClick(login, Qt::Key_Return);
        QTimer::singleShot(0, [&] {
            QVERIFY(FormMain && FormMain->isVisible());
            operatorPanel = FormMain->findChild<QLabel*>(QStringLiteral("statPanel0"))->text();
            MessageTesting::setNextAnswer(true);
            FormMain->close();
        });
    });
    QCOMPARE(MainSequence(), 0);
    QCOMPARE(DbMode, 1);
    QCOMPARE(operatorPanel, QStringLiteral("登录账号：Admin"));
    QVERIFY(!DbAccess);
    QCOMPARE(MessageTesting::takeShown().size(), 1); // the exit question only
}

void TestStartup::cancelledLoginEnds()
{
    CreateSqliteDatabase(AppPath + QStringLiteral("data.dat"));
    OnNextModal([](QWidget* login) { QTest::keyClick(login, Qt::Key_Escape); });
    QCOMPARE(MainSequence(), 0);
    QCOMPARE(MessageTesting::takeShown().size(), 0);
}

void TestStartup::unknownModeEndsAfterTheErrorBox()
{
    WriteConfigIni(QStringLiteral("[Config]\r\nDB=3\r\n"));
    QCOMPARE(MainSequence(), 0);
    QCOMPARE(DbMode, 3);
    const auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].text.startsWith(QStringLiteral("数据库连接失败！")));
}

void TestStartup::unreachableServerOpensTheSettingsWindow()
{
    // Port 1 on this machine: nothing listens there.
    WriteConfigIni(QStringLiteral("[Config]\r\nDB=2\r\n[Database]\r\nConnectModel=1\r\nUserID=op\r\n"
                               "Data Source=127.0.0.1\r\nDatabase=客户\r\nPort=1\r\n"));
    QString windowTitle;
    QString database;
    OnNextModal([&](QWidget* window) {
        windowTitle = window->windowTitle();
        database = Child<QLineEdit>(window, "EditDB")->text();
        QTest::mouseClick(Child<QPushButton>(window, "BitBtnOK"), Qt::LeftButton);
    });
    QCOMPARE(MainSequence(), 0);
    QCOMPARE(windowTitle, QStringLiteral("服务器信息配置"));
    QCOMPARE(database, QStringLiteral("客户"));
    const auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[0].text.startsWith(QStringLiteral("数据库连接失败！")));
    QCOMPARE(shown[1].text, QStringLiteral("数据库连接参数配置成功,请重新运行系统!"));
}

KESP_TEST(TestStartup)
#include "teststartup.moc"
