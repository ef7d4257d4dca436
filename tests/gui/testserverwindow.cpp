#include "guitest.h"
#include "configfile.h"
#include "testregistry.h"

#include "app/globals.h"
#include "app/inifile.h"
#include "common/gbk.h"
#include "common/messages.h"
#include "common/scramble.h"
#include "data/dbaccess.h"
#include "data/serverwindow.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

// The server settings window against real Config.ini files.
class TestServerWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsTheFile_data();
    void showsTheFile();
    void windowsAuthenticationEmptiesLoginKeys();
    void passwordIsTrimmedAndScrambled();
    void domainCheckBoxSwitchesTheLabel();
    void cancelWritesNothing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestServerWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetAppPath(m_dir->path());
    DbAccess = new TDbAccess;
    MessageTesting::takeShown();
}

void TestServerWindow::cleanup()
{
    delete DbAccess;
    DbAccess = nullptr;
}



void TestServerWindow::showsTheFile_data()
{
    QTest::addColumn<QString>("config");
    QTest::addColumn<bool>("sqlLogin");
    QTest::addColumn<bool>("domain");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("database");
    const QString password = EncryptText(QStringLiteral("密码 1"), QStringLiteral("wick"));
    QTest::newRow("no file: the defaults") << "" << false << false << "服务器:" << "sa" << "" << "(Local)" << "Dravlok";
    QTest::newRow("own authentication ignores the login keys")
        << "[Database]\r\nConnectModel=0\r\nConnectWWW=1\r\nUserID=x\r\nPassword=" + password + "\r\nData Source=h\r\nDatabase=d\r\n"
        << false << false << "服务器:" << "sa" << "" << "h" << "d";
    QTest::newRow("password login with a host name")
        << "[Database]\r\nConnectModel=1\r\nConnectWWW=1\r\nUserID=op\r\nPassword=" + password + "\r\nData Source=db.lan\r\n"
        << true << true << "域  名：" << "op" << "密码 1" << "db.lan" << "Dravlok";
}

void TestServerWindow::showsTheFile()
{
    QFETCH(QString, config);
    QFETCH(bool, sqlLogin);
    QFETCH(bool, domain);
    QFETCH(QString, label);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, server);
    QFETCH(QString, database);
    if (!config.isEmpty())
        WriteConfigIni(config);
    OnNextModal([&](QWidget* window) {
        QCOMPARE(window->windowTitle(), QStringLiteral("服务器信息配置"));
        QCOMPARE(Child<QRadioButton>(window, "RadioButton2")->isChecked(), sqlLogin);
        QCOMPARE(Child<QRadioButton>(window, "RadioButton1")->isChecked(), !sqlLogin);
        QCOMPARE(Child<QLineEdit>(window, "EditUser")->isEnabled(), sqlLogin);
        QCOMPARE(Child<QCheckBox>(window, "CWWW")->isChecked(), domain);
        QCOMPARE(Child<QLabel>(window, "LabWWW")->text(), label);
        QCOMPARE(Child<QLineEdit>(window, "EditUser")->text(), user);
        QCOMPARE(Child<QLineEdit>(window, "EditPwd")->text(), password);
        QCOMPARE(Child<QLineEdit>(window, "EditServer")->text(), server);
        QCOMPARE(Child<QLineEdit>(window, "EditDB")->text(), database);
        // Neither Enter nor Escape closes the window.
        QTest::keyClick(window, Qt::Key_Escape);
        QTest::keyClick(window, Qt::Key_Return);
        QVERIFY(window->isVisible());
        QTest::mouseClick(Child<QPushButton>(window, "BitBtnCancel"), Qt::LeftButton);
    });
    QCOMPARE(ShowServerSettings(), 2);
}

void TestServerWindow::windowsAuthenticationEmptiesLoginKeys()
{
    WriteConfigIni(QStringLiteral("[Config]\r\nDB=2\r\n[Database]\r\nConnectModel=1\r\nUserID=op\r\nPassword=0011\r\nPort=5433\r\n"));
    OnNextModal([](QWidget* window) {
        QTest::mouseClick(Child<QRadioButton>(window, "RadioButton1"), Qt::LeftButton);
        QVERIFY(!Child<QLineEdit>(window, "EditUser")->isEnabled());
        Child<QLineEdit>(window, "EditServer")->setText(QStringLiteral("  srv  "));
        QTest::mouseClick(Child<QPushButton>(window, "BitBtnOK"), Qt::LeftButton);
    });
    QCOMPARE(ShowServerSettings(), 1);
    const auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QStringLiteral("数据库连接参数配置成功,请重新运行系统!"));
    QCOMPARE(ReadConfigIni(), QByteArray("[Config]\r\nDB=2\r\n[Database]\r\nConnectModel=0\r\nUserID=\r\nPassword=\r\n"
                                      "Port=5433\r\nConnectWWW=0\r\nData Source=srv\r\nDatabase=Dravlok\r\n"));
}

void TestServerWindow::passwordIsTrimmedAndScrambled()
{
    OnNextModal([](QWidget* window) {
        QTest::mouseClick(Child<QRadioButton>(window, "RadioButton2"), Qt::LeftButton);
        QVERIFY(!Child<QRadioButton>(window, "RadioButton1")->isChecked());
        auto* user = Child<QLineEdit>(window, "EditUser");
        user->setText(QStringLiteral(" 操作员 "));
        QTest::keyClicks(Child<QLineEdit>(window, "EditPwd"), QStringLiteral("  p'w 1  "));
        QTest::mouseClick(Child<QPushButton>(window, "BitBtnOK"), Qt::LeftButton);
    });
    QCOMPARE(ShowServerSettings(), 1);
    const TIniFile ini(ConfigFileName());
    QCOMPARE(ini.ReadInteger(QStringLiteral("Database"), QStringLiteral("ConnectModel"), -1), 1);
    QCOMPARE(ini.ReadString(QStringLiteral("Database"), QStringLiteral("UserID"), QString()), QStringLiteral("操作员"));
    const QString stored = ini.ReadString(QStringLiteral("Database"), QStringLiteral("Password"), QString());
    QVERIFY(!stored.contains(QStringLiteral("p'w")));
    QCOMPARE(DecryptText(stored, QStringLiteral("wick")), QStringLiteral("p'w 1"));

    // The next showing displays the password without the blanks.
    OnNextModal([](QWidget* window) {
        QCOMPARE(Child<QLineEdit>(window, "EditPwd")->text(), QStringLiteral("p'w 1"));
        QTest::mouseClick(Child<QPushButton>(window, "BitBtnCancel"), Qt::LeftButton);
    });
    ShowServerSettings();
}

void TestServerWindow::domainCheckBoxSwitchesTheLabel()
{
    OnNextModal([](QWidget* window) {
        auto* domain = Child<QCheckBox>(window, "CWWW");
        auto* label = Child<QLabel>(window, "LabWWW");
        domain->click();
        QCOMPARE(label->text(), QStringLiteral("域  名："));
        domain->click();
        QCOMPARE(label->text(), QStringLiteral("服务器："));
        window->close();
    });
    QCOMPARE(ShowServerSettings(), 2);
}

void TestServerWindow::cancelWritesNothing()
{
    const QString config = QStringLiteral("[Database]\r\nConnectModel=1\r\nUserID=op\r\n");
    WriteConfigIni(config);
    OnNextModal([](QWidget* window) {
        Child<QLineEdit>(window, "EditDB")->setText(QStringLiteral("other"));
        QTest::mouseClick(Child<QPushButton>(window, "BitBtnCancel"), Qt::LeftButton);
    });
    ShowServerSettings();
    QCOMPARE(ReadConfigIni(), ToGbk(config));
}

KESP_TEST(TestServerWindow)
#include "testserverwindow.moc"
