#include "guitest.h"
#include "testdatabase.h"

#include "app/globals.h"
#include "common/messages.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "operators/loginwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The login window driven as an operator would, on both engines.
class TestLoginWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void adminLogsInWithEnter();
    void failedLoginsShowTheAdminHint();
    void escapeCancels();
    void emptyAccountTable();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestLoginWindow::init()
{
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
    LoginOper = new TLoginOper;
    MessageTesting::takeShown();
}

void TestLoginWindow::cleanup()
{
    delete LoginOper;
    LoginOper = nullptr;
    m_db.reset();
}

void TestLoginWindow::adminLogsInWithEnter()
{
    bool serverButtonVisible = false;
    QString title;
    OnNextModal([&](QWidget* window) {
        title = window->windowTitle();
        QCOMPARE(Child<QComboBox>(window, "cbbUserID")->currentText(), QStringLiteral("Admin"));
        serverButtonVisible = Child<QPushButton>(window, "btnServer")->isVisible();
        QTest::keyClick(window, Qt::Key_Return);
    });
    QCOMPARE(ShowLogin(), 1);
    QCOMPARE(title, QStringLiteral("系统登录"));
    QCOMPARE(serverButtonVisible, DbMode == 2);
    QCOMPARE(LoginOper->OperName, QStringLiteral("Admin"));
}

void TestLoginWindow::failedLoginsShowTheAdminHint()
{
    DbExecute(QStringLiteral("insert into Oper (OperName, OperPass, Remark) values ('李四', '123', '')"));
    OnNextModal([&](QWidget* window) {
        auto* names = Child<QComboBox>(window, "cbbUserID");
        auto* password = Child<QLineEdit>(window, "edtPass");
        auto* hint = Child<QLabel>(window, "LabLogin");
        QVERIFY(!hint->isVisible());

        QTest::keyClicks(password, QStringLiteral("wrong"));
        QTest::mouseClick(Child<QPushButton>(window, "btnOK"), Qt::LeftButton);
        QVERIFY(hint->isVisible());
        QCOMPARE(password->text(), QStringLiteral("wrong"));
        QVERIFY(password->hasFocus());

        names->setCurrentText(QStringLiteral("李四"));
        QTest::mouseClick(Child<QPushButton>(window, "btnOK"), Qt::LeftButton);
        QVERIFY(!hint->isVisible());

        password->clear();
        QTest::keyClicks(password, QStringLiteral("123"));
        QTest::mouseClick(Child<QPushButton>(window, "btnOK"), Qt::LeftButton);
    });
    QCOMPARE(ShowLogin(), 1);
    QCOMPARE(LoginOper->OperName, QStringLiteral("李四"));
    const auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].caption, QStringLiteral("提示"));
    QCOMPARE(shown[0].text, QStringLiteral("选择账号或输入密码错误!"));
}

void TestLoginWindow::escapeCancels()
{
    OnNextModal([](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
    QCOMPARE(ShowLogin(), 2);
    QVERIFY(LoginOper->OperName.isEmpty());
}

void TestLoginWindow::emptyAccountTable()
{
    DbExecute(QStringLiteral("delete from Oper"));
    OnNextModal([](QWidget* window) {
        QCOMPARE(Child<QComboBox>(window, "cbbUserID")->count(), 0);
        QTest::keyClick(window, Qt::Key_Return);
        QTest::keyClick(window, Qt::Key_Escape);
    });
    QCOMPARE(ShowLogin(), 2);
    const auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QStringLiteral("选择账号或输入密码错误!"));
}

KESP_DB_TEST(TestLoginWindow)
#include "testloginwindow.moc"
