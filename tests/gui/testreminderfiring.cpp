#include "alamtest.h"
#include "customerfixture.h"
#include "guitest.h"
#include "mainwindowtest.h"

#include "common/clock.h"
#include "common/messages.h"
#include "data/dbaccess.h"
#include "mainwindow/mainwindow.h"
#include "reminders/alam.h"
#include "reminders/alamlist.h"
#include "reminders/alampopup.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

const int TitleColumn = 3;
const int StateColumn = 5;
const QDate Today(2026, 12, 11);

QList<TFormShowAlam*> openPopups()
{
    QList<TFormShowAlam*> popups;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* popup = qobject_cast<TFormShowAlam*>(window); popup && popup->isVisible())
            popups.append(popup);
    }
    return popups;
}

} // namespace

// Reminders coming due while the real main window runs: its one-second timer
// shows the pop-up, and the pop-up's choices reach the row and the page's list.
class TestReminderFiring : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firesDuringTheLogin();
    void choicesChangeTheRowAndTheList_data();
    void choicesChangeTheRowAndTheList();
    void snoozeUnderMissedLeavesTheList();
    void failingChoiceKeepsTheList();

private:
    // Logs in at `now` with the reminder page shown.
    void openMainWindow(const QDateTime& now);
    // Moves the clock to `now` and waits for the timer's next tick to show
    // one pop-up; null when it does not.
    TFormShowAlam* popUpAt(const QDateTime& now);
    TAlamListView* list() const { return Child<TAlamListView>(m_window.get(), "lv1"); }

    std::unique_ptr<CustomerFixture> m_fixture;
    std::unique_ptr<TFormMain> m_window;
};

void TestReminderFiring::init()
{
    MessageTesting::takeShown();
    m_fixture = std::make_unique<CustomerFixture>();
    REQUIRE_DATABASE(m_fixture->db);
}

void TestReminderFiring::cleanup()
{
    for (TFormShowAlam* popup : openPopups())
        delete popup;
    m_window.reset();
    m_fixture.reset();
}

void TestReminderFiring::openMainWindow(const QDateTime& now)
{
    Clock::setTestNow(now);
    OpenMainWindow(m_window);
    Child<QTabWidget>(m_window.get(), "pgcntrl1")->setCurrentIndex(1);
}

TFormShowAlam* TestReminderFiring::popUpAt(const QDateTime& now)
{
    Clock::setTestNow(now);
    return QTest::qWaitFor([] { return !openPopups().isEmpty(); }, 5000) && openPopups().size() == 1
        ? openPopups().first()
        : nullptr;
}

// The timer runs from the window's creation: a reminder due while the login
// window waits pops up over it.
void TestReminderFiring::firesDuringTheLogin()
{
    InsertAlam({RepeatDaily, Today, 9, 0, 0, QStringLiteral("早会")});
    Clock::setTestNow(QDateTime(Today, QTime(8, 59, 58)));
    m_window = std::make_unique<TFormMain>();
    TFormShowAlam* popup = nullptr;
    OnNextModal([this, &popup](QWidget* login) {
        popup = popUpAt(QDateTime(Today, QTime(9, 0, 0)));
        QTest::keyClick(login, Qt::Key_Return);
    });
    QVERIFY(m_window->FormShow());
    QVERIFY(popup);
    QCOMPARE(Child<QPushButton>(popup, "btnOkSave")->text(), QStringLiteral("看到了"));
}

void TestReminderFiring::choicesChangeTheRowAndTheList_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("snoozeItem");
    QTest::addColumn<QStringList>("row");
    QTest::addColumn<QStringList>("listedStates");

    QTest::newRow("seen") << "btnOkSave" << "" << QStringList{"2026-12-11", "23", "20", "1"}
                          << QStringList{StateSeen};
    QTest::newRow("deleted") << "btnOkDel" << "" << QStringList() << QStringList();
    QTest::newRow("an hour later") << "btnCon" << "N11" << QStringList{"2026-12-12", "0", "20", "0"}
                                   << QStringList{QString()};
    QTest::newRow("3 minutes later") << "btnCon" << "N31" << QStringList{"2026-12-11", "23", "23", "0"}
                                     << QStringList{QString()};
}

void TestReminderFiring::choicesChangeTheRowAndTheList()
{
    QFETCH(QString, button);
    QFETCH(QString, snoozeItem);
    QFETCH(QStringList, row);
    QFETCH(QStringList, listedStates);
    const QString id = InsertAlam({RepeatOnce, Today, 23, 20, 1, QStringLiteral("回访")});
    openMainWindow(QDateTime(Today, QTime(23, 19, 30)));
    QCOMPARE(ListColumn(list(), 0), QStringList{id});

    TFormShowAlam* popup = popUpAt(QDateTime(Today, QTime(23, 20, 30)));
    QVERIFY(popup);
    QTest::mouseClick(Child<QPushButton>(popup, qPrintable(button)), Qt::LeftButton);
    if (!snoozeItem.isEmpty())
        Child<QAction>(popup, qPrintable(snoozeItem))->trigger();

    const QString stored = QStringLiteral("select AlamDate,iHour,iMinute,bLook from Alam where ID=%1").arg(id);
    QTRY_COMPARE(CustomerFixture::rows(stored).value(0), row);
    QCOMPARE(ListColumn(list(), StateColumn), listedStates);
    QCOMPARE(openPopups().size(), 0);
    QCOMPARE(TakeShownMessages(), QStringList());
}

// A snooze refills the list under its filter: a snoozed reminder is no
// longer missed, so "错过" no longer lists it.
void TestReminderFiring::snoozeUnderMissedLeavesTheList()
{
    const QString id = InsertAlam({RepeatOnce, Today, 10, 0, 1, QStringLiteral("回访")});
    openMainWindow(QDateTime(Today, QTime(9, 59, 30)));
    TFormShowAlam* popup = popUpAt(QDateTime(Today, QTime(10, 0, 5)));
    QVERIFY(popup);

    Clock::setTestNow(QDateTime(Today, QTime(11, 0, 5)));
    ClickRadio(Child<QWidget>(m_window.get(), "rdAlam"), QStringLiteral("错过"));
    QCOMPARE(ListColumn(list(), 0), QStringList{id});

    Child<QAction>(popup, "N31")->trigger();
    QTRY_COMPARE(ListColumn(list(), 0), QStringList());
    QCOMPARE(CustomerFixture::rows(QStringLiteral("select iHour,iMinute from Alam")),
             (QList<QStringList>{{"11", "3"}}));
}

void TestReminderFiring::failingChoiceKeepsTheList()
{
    const QString id = InsertAlam({RepeatOnce, Today, 10, 0, 1, QStringLiteral("回访")});
    openMainWindow(QDateTime(Today, QTime(9, 59, 30)));
    TFormShowAlam* popup = popUpAt(QDateTime(Today, QTime(10, 0, 5)));
    QVERIFY(popup);
    DbExecute(QStringLiteral("drop table Alam"));

    QTest::mouseClick(Child<QPushButton>(popup, "btnOkSave"), Qt::LeftButton);
    QStringList shown;
    QVERIFY(QTest::qWaitFor([&shown] {
        shown += TakeShownMessages();
        return !shown.isEmpty();
    }));
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(QStringLiteral("错误:数据库操作失败！")), qPrintable(shown.first()));
    QCOMPARE(ListColumn(list(), 0), QStringList{id});
    QCOMPARE(ListColumn(list(), StateColumn), QStringList{QString()});
}

KESP_DB_TEST(TestReminderFiring)
#include "testreminderfiring.moc"
