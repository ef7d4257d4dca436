#include "guitest.h"
#include "testdatabase.h"

#include "app/globals.h"
#include "common/clock.h"
#include "common/messages.h"
#include "customers/customer.h"
#include "customers/usertype.h"
#include "mainwindow/customerpage.h"
#include "mainwindow/mainwindow.h"
#include "operators/loginoper.h"
#include "reminders/alam.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

// The main window frame after a real login, on both engines.
class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void cancelledLoginOpensNothing();
    void frameAfterLogin();
    void clockAndHintTicker();
    void keepAliveTimerOnlyForTheServer();
    void escapePopsUpTheSystemMenuOnTheCustomerPage();
    void exitQuestion();
    void hintPrefixShowsCompleteCharacters_data();
    void hintPrefixShowsCompleteCharacters();

private:
    // A logged-in main window, shown.
    void openMainWindow();
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TFormMain> m_window;
};

void TestMainWindow::init()
{
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
    LoginOper = new TLoginOper;
    UserType = new TUserType;
    Customer = new TCustomer;
    Alam = new TAlam;
    MessageTesting::takeShown();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    delete Alam;
    Alam = nullptr;
    delete Customer;
    Customer = nullptr;
    delete UserType;
    UserType = nullptr;
    delete LoginOper;
    LoginOper = nullptr;
    m_db.reset();
    Clock::useSystemClock();
}

void TestMainWindow::openMainWindow()
{
    m_window = std::make_unique<TFormMain>();
    OnNextModal([](QWidget* login) { QTest::keyClick(login, Qt::Key_Return); });
    QVERIFY(m_window->FormShow());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::cancelledLoginOpensNothing()
{
    TFormMain window;
    OnNextModal([](QWidget* login) { login->close(); });
    QVERIFY(!window.FormShow());
    QVERIFY(!window.isVisible());
}

void TestMainWindow::frameAfterLogin()
{
    openMainWindow();
    QCOMPARE(m_window->size(), QSize(800, 520));
    auto* pages = m_window->findChild<QTabWidget*>(QStringLiteral("pgcntrl1"));
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->tabText(0), QStringLiteral("客户信息"));
    QCOMPARE(pages->tabText(1), QStringLiteral("回访提醒"));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("statPanel0"))->text(), QStringLiteral("登录账号：Admin"));
    QVERIFY(!m_window->windowTitle().isEmpty());

    auto* menu = m_window->findChild<QMenu*>(QStringLiteral("pmSystem"));
    QStringList items;
    for (QAction* action : menu->actions())
        items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items, (QStringList{"登录账号管理", "-", "数据维护", "-", "软件主页"}));
}

void TestMainWindow::clockAndHintTicker()
{
    Clock::setTestNow(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    openMainWindow();
    auto* clock = m_window->findChild<QLabel*>(QStringLiteral("statPanel2"));
    QCOMPARE(clock->text(), QStringLiteral("当前时间："));
    QTRY_COMPARE(clock->text(), QStringLiteral("当前时间：2024-03-05日 14:07:09"));

    // The hint grows half a character per tick and shows whole characters only.
    auto* hint = m_window->findChild<QLabel*>(QStringLiteral("statHintPanel"));
    QTRY_VERIFY(hint->text().size() >= 2);
    QVERIFY(CategoryTreeHint.startsWith(hint->text()));
}

void TestMainWindow::keepAliveTimerOnlyForTheServer()
{
    openMainWindow();
    auto* timer = m_window->findChild<QTimer*>(QStringLiteral("TimerDB"));
    QTest::qWait(1300);
    QCOMPARE(timer->isActive(), DbMode == 2);
}

void TestMainWindow::escapePopsUpTheSystemMenuOnTheCustomerPage()
{
    openMainWindow();
    auto* menu = m_window->findChild<QMenu*>(QStringLiteral("pmSystem"));
    auto* pages = m_window->findChild<QTabWidget*>(QStringLiteral("pgcntrl1"));
    pages->setCurrentIndex(1);
    QTest::keyClick(pages->currentWidget(), Qt::Key_Escape);
    QVERIFY(!menu->isVisible());
    pages->setCurrentIndex(0);
    m_window->findChild<QPushButton*>(QStringLiteral("btnSystem"))->setFocus();
    QTest::keyClick(m_window->findChild<QPushButton*>(QStringLiteral("btnSystem")), Qt::Key_Escape);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
}

void TestMainWindow::exitQuestion()
{
    openMainWindow();
    MessageTesting::setNextAnswer(false);
    m_window->close();
    QVERIFY(m_window->isVisible());
    auto shown = MessageTesting::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].caption, QStringLiteral("确认"));
    QCOMPARE(shown[0].text, QStringLiteral("确认退出程序吗?"));
    QVERIFY(m_window->findChild<QTimer*>(QStringLiteral("tmrTime"))->isActive());

    MessageTesting::setNextAnswer(true);
    m_window->close();
    QVERIFY(!m_window->isVisible());
}

void TestMainWindow::hintPrefixShowsCompleteCharacters_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nothing") << 0 << "";
    QTest::newRow("half a character") << 1 << "";
    QTest::newRow("one character") << 2 << "点";
    QTest::newRow("three halves") << 3 << "点";
    QTest::newRow("whole hint") << 26 << "点右键新建、修改和删除类别";
}

void TestMainWindow::hintPrefixShowsCompleteCharacters()
{
    QFETCH(int, bytes);
    QFETCH(QString, shown);
    QCOMPARE(GbkPrefix(CategoryTreeHint, bytes), shown);
}

KESP_DB_TEST(TestMainWindow)
#include "testmainwindow.moc"
