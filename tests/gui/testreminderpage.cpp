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

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

const int TitleColumn = 3;
const int StateColumn = 5;

// Monday 4 March 2024, half past ten.
const QDate Today(2024, 3, 4);
const QDateTime Now(Today, QTime(10, 30));

// One reminder of each case the filters tell apart, in ID order; each title
// names its case.
const QList<AlamRow> Reminders{
    {RepeatNever, Today, 9, 0, 0, QStringLiteral("不提醒")},
    {RepeatOnce, Today, 9, 0, 0, QStringLiteral("今天九点")},
    {RepeatOnce, Today, 15, 0, 0, QStringLiteral("今天下午")},
    {RepeatOnce, Today.addDays(1), 9, 30, 0, QStringLiteral("明天")},
    {RepeatOnce, Today.addDays(-3), 8, 0, 0, QStringLiteral("上周五")},
    {RepeatOnce, Today.addDays(-3), 8, 0, 0, QStringLiteral("看过"), QString(), AdminName, true},
    {RepeatDaily, Today, 8, 0, 0, QStringLiteral("每天")},
    {RepeatWeekly, Today, 9, 30, 13, QStringLiteral("周一周三")},
    {RepeatWeekly, Today, 9, 30, 2, QStringLiteral("周二")},
    {RepeatMonthly, Today, 8, 0, 4, QStringLiteral("四号")},
    {RepeatMonthly, Today, 8, 0, 5, QStringLiteral("五号")},
};

const QStringList EveryShownReminder{"今天九点", "今天下午", "明天", "上周五", "看过", "每天",
                                     "周一周三", "周二",     "四号", "五号"};

// The pixel of the cell's text that differs most from the background: the
// colour its strokes are drawn in.
QColor inkColour(const QImage& image, const QRect& cell)
{
    const QRgb background = image.pixel(cell.topLeft());
    QRgb ink = background;
    int farthest = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int distance = qAbs(qRed(pixel) - qRed(background)) + qAbs(qGreen(pixel) - qGreen(background))
                + qAbs(qBlue(pixel) - qBlue(background));
            if (distance > farthest) {
                farthest = distance;
                ink = pixel;
            }
        }
    }
    return QColor(ink);
}

bool near(const QColor& a, const QColor& b)
{
    const int tolerance = 60;
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

// The main window's reminder page after a real login, on both engines, at a
// fixed "now" with one reminder of each kind.
class TestReminderPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showListsEveryReminderButTheSilentOnes();
    void filtersRefill_data();
    void filtersRefill();
    void keyboardChoosesTheFilter();
    void refreshShowsNewRows();
    void deleteAsksWithTheScheduleText();
    void failedDeleteKeepsTheItem();
    void commandsNeedASelection();
    void menuOpensFromTheKeyboard();
    void rowColourByRepeatKind_data();
    void rowColourByRepeatKind();
    void newReminderShowsUnderAMatchingFilter_data();
    void newReminderShowsUnderAMatchingFilter();
    void modifyRefillsUnderTheFilter();
    void cancelledEditorsChangeNothing();
    void otherOperatorsRemindersNeedTheRight_data();
    void otherOperatorsRemindersNeedTheRight();

private:
    void openMainWindow(const QString& oper = AdminName);
    TAlamListView* list() const { return Child<TAlamListView>(m_window.get(), "lv1"); }
    QStringList titles() const { return ListColumn(list(), TitleColumn); }
    QTreeWidgetItem* item(const QString& title) const;
    void chooseFilter(const QString& caption);
    // Clicks the item in the list's pop-up menu.
    void choose(const char* item);

    std::unique_ptr<CustomerFixture> m_fixture;
    std::unique_ptr<TFormMain> m_window;
};

void TestReminderPage::init()
{
    MessageTesting::takeShown();
    Clock::setTestNow(Now);
    m_fixture = std::make_unique<CustomerFixture>();
    REQUIRE_DATABASE(m_fixture->db);
    for (const AlamRow& row : Reminders)
        InsertAlam(row);
}

void TestReminderPage::cleanup()
{
    m_window.reset();
    m_fixture.reset();
    Clock::useSystemClock();
}

void TestReminderPage::openMainWindow(const QString& oper)
{
    OpenMainWindow(m_window, oper);
    Child<QTabWidget>(m_window.get(), "pgcntrl1")->setCurrentIndex(1);
}

QTreeWidgetItem* TestReminderPage::item(const QString& title) const
{
    return list()->findItems(title, Qt::MatchExactly, TitleColumn).value(0);
}

void TestReminderPage::chooseFilter(const QString& caption)
{
    ClickRadio(Child<QWidget>(m_window.get(), "rdAlam"), caption);
}

void TestReminderPage::choose(const char* item)
{
    ChooseFromMenu(Child<QAction>(m_window.get(), item));
}

void TestReminderPage::showListsEveryReminderButTheSilentOnes()
{
    openMainWindow();
    QCOMPARE(titles(), EveryShownReminder);
    QCOMPARE(item(QStringLiteral("今天九点"))->text(StateColumn), StateMissed);
    QCOMPARE(item(QStringLiteral("上周五"))->text(StateColumn), StateMissed);
    QCOMPARE(item(QStringLiteral("看过"))->text(StateColumn), StateSeen);
    QCOMPARE(item(QStringLiteral("今天下午"))->text(StateColumn), QString());
    QCOMPARE(item(QStringLiteral("每天"))->text(1), QStringLiteral("每天"));

    QStringList headers;
    QList<int> widths;
    for (int column = 0; column < list()->columnCount(); ++column) {
        headers.append(list()->headerItem()->text(column));
        widths.append(list()->header()->sectionSize(column));
    }
    QCOMPARE(headers, (QStringList{"ID", "重复频率", "提醒时间", "标题", "内容", "状态"}));
    // The schedule column is at least as designed and wide enough for its texts in this font.
    const int scheduleWidth = widths.takeAt(2);
    QCOMPARE(widths, (QList<int>{1, 80, 150, 280, 72}));
    QVERIFY(scheduleWidth >= 180);
    QVERIFY(scheduleWidth > list()->fontMetrics().horizontalAdvance(item(QStringLiteral("今天九点"))->text(2)));
    QCOMPARE(list()->font().pixelSize(), 16);
    QCOMPARE(list()->toolTip(), QStringLiteral("点右键新建、修改和删除提醒"));

    auto* filters = Child<QWidget>(m_window.get(), "rdAlam");
    QStringList captions;
    for (const QRadioButton* button : filters->findChildren<QRadioButton*>())
        captions.append(button->text() + (button->isChecked() ? QStringLiteral("*") : QString()));
    QCOMPARE(captions, (QStringList{"全部提醒*", "今天", "明天", "错过", "每天", "每周", "每月"}));
    QCOMPARE(Child<QWidget>(m_window.get(), "pnl7")->height(), 41);

    QStringList items;
    for (const QAction* action : Child<QMenu>(m_window.get(), "NAlam")->actions())
        items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items, (QStringList{"新建提醒", "修改", "删除", "-", "刷新"}));
    QVERIFY(takeShown().isEmpty());
}

void TestReminderPage::filtersRefill_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("全部提醒") << "全部提醒" << EveryShownReminder;
    QTest::newRow("今天") << "今天" << QStringList{"今天九点", "今天下午", "周一周三", "四号"};
    QTest::newRow("明天") << "明天" << QStringList{"明天", "周二", "五号"};
    QTest::newRow("错过") << "错过" << QStringList{"今天九点", "上周五"};
    QTest::newRow("每天") << "每天" << QStringList{"每天"};
    QTest::newRow("每周") << "每周" << QStringList{"周一周三", "周二"};
    QTest::newRow("每月") << "每月" << QStringList{"四号", "五号"};
}

// The list is emptied first, so only a refill can bring rows back.
void TestReminderPage::filtersRefill()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, shown);
    openMainWindow();
    list()->clear();
    chooseFilter(filter);
    QCOMPARE(titles(), shown);
}

void TestReminderPage::keyboardChoosesTheFilter()
{
    openMainWindow();
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Tab);
    auto* focused = qobject_cast<QRadioButton*>(QApplication::focusWidget());
    QVERIFY(focused);
    QCOMPARE(focused->text(), QStringLiteral("全部提醒"));
    QTest::keyClick(focused, Qt::Key_Right);
    QCOMPARE(titles(), (QStringList{"今天九点", "今天下午", "周一周三", "四号"}));
}

// "刷新" and F5 refill under the chosen filter.
void TestReminderPage::refreshShowsNewRows()
{
    openMainWindow();
    chooseFilter(QStringLiteral("每天"));
    InsertAlam({RepeatDaily, Today, 7, 0, 0, QStringLiteral("新的每天")});
    InsertAlam({RepeatMonthly, Today, 7, 0, 4, QStringLiteral("新的每月")});
    QCOMPARE(titles(), QStringList{"每天"});
    choose("N2");
    QCOMPARE(titles(), (QStringList{"每天", "新的每天"}));

    InsertAlam({RepeatDaily, Today, 6, 0, 0, QStringLiteral("又一个")});
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_F5);
    QCOMPARE(titles(), (QStringList{"每天", "新的每天", "又一个"}));
}

// The question names the schedule text in the engine's own form. On Yes the
// row goes from the table and its item from the list, without a refill.
void TestReminderPage::deleteAsksWithTheScheduleText()
{
    openMainWindow();
    const QString weekly = m_fixture->db.engine() == TestEngine::Postgres ? QStringLiteral("每周13  9时30分")
                                                                         : QStringLiteral("每周 13  9时 30分");
    const Shown question{{QStringLiteral("确认"), QStringLiteral("确实要删除 %1 的提醒吗？").arg(weekly)}};
    QTreeWidgetItem* chosen = item(QStringLiteral("周一周三"));
    QCOMPARE(chosen->text(2), weekly);
    const QString id = chosen->text(0);
    list()->setCurrentItem(chosen);

    MessageTesting::setNextAnswer(false);
    choose("NDelAlam");
    QCOMPARE(takeShown(), question);
    QCOMPARE(titles(), EveryShownReminder);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam where ID=%1").arg(id)), 1);

    InsertAlam({RepeatDaily, Today, 7, 0, 0, QStringLiteral("未刷新")});
    MessageTesting::setNextAnswer(true);
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Delete);
    QCOMPARE(takeShown(), question);
    QStringList remaining = EveryShownReminder;
    remaining.removeOne(QStringLiteral("周一周三"));
    QCOMPARE(titles(), remaining);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam where ID=%1").arg(id)), 0);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam")), int(Reminders.size()));
}

void TestReminderPage::failedDeleteKeepsTheItem()
{
    openMainWindow();
    list()->setCurrentItem(item(QStringLiteral("周二")));
    DbExecute(QStringLiteral("drop table Alam"));
    MessageTesting::setNextAnswer(true);
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Delete);
    const Shown shown = takeShown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).first, QStringLiteral("错误"));
    QCOMPARE(titles(), EveryShownReminder);
}

// Nothing chosen: neither a question nor the editor, by menu, key or double-click.
void TestReminderPage::commandsNeedASelection()
{
    openMainWindow();
    list()->clearSelection();
    choose("NDelAlam");
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Delete);
    QVERIFY(takeShown().isEmpty());
    QVERIFY(!OpensModal([this] { choose("NModAlam"); }));
    const QPoint belowTheRows(list()->viewport()->width() / 2, list()->viewport()->height() - 5);
    QVERIFY(!OpensModal([&] { QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, belowTheRows); }));
    QCOMPARE(titles(), EveryShownReminder);
    QVERIFY(takeShown().isEmpty());
}

void TestReminderPage::menuOpensFromTheKeyboard()
{
    openMainWindow();
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = Child<QMenu>(m_window.get(), "NAlam");
    QVERIFY(menu->isVisible());
    menu->close();
}

void TestReminderPage::rowColourByRepeatKind_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QColor>("colour");

    const QColor normal;
    QTest::newRow("one-time, missed") << "今天九点" << QColor(255, 0, 0);
    QTest::newRow("one-time, seen") << "看过" << QColor(255, 0, 0);
    QTest::newRow("one-time, coming") << "明天" << QColor(255, 0, 0);
    QTest::newRow("weekly") << "周二" << QColor(0, 128, 0);
    QTest::newRow("monthly") << "五号" << QColor(0, 0, 255);
    QTest::newRow("daily") << "每天" << normal;
}

// Read from the drawn list: the strokes of the row's title.
void TestReminderPage::rowColourByRepeatKind()
{
    QFETCH(QString, title);
    QFETCH(QColor, colour);
    openMainWindow();
    list()->clearSelection();
    list()->setCurrentItem(nullptr);
    const QImage drawn = list()->viewport()->grab().toImage();
    const QRect row = list()->visualItemRect(item(title));
    const QRect cell(list()->header()->sectionViewportPosition(TitleColumn), row.top(),
                     list()->header()->sectionSize(TitleColumn), row.height());
    const QColor expected = colour.isValid() ? colour : list()->palette().color(QPalette::Text);
    const QColor ink = inkColour(drawn, cell.adjusted(2, 2, -2, -2) & drawn.rect());
    QVERIFY2(near(ink, expected), qPrintable(ink.name() + QStringLiteral(" drawn, ") + expected.name() + " expected"));
}

void TestReminderPage::newReminderShowsUnderAMatchingFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("明天") << "明天" << QStringList{"明天", "周二", "五号"};
    QTest::newRow("今天") << "今天" << QStringList{"今天九点", "今天下午", "周一周三", "四号", "新的今天"};
    QTest::newRow("全部提醒") << "全部提醒" << EveryShownReminder + QStringList{"新的今天"};
}

// A one-time reminder for later today, made from the page: it belongs to no
// customer, and the refill shows it only under a filter that includes it.
void TestReminderPage::newReminderShowsUnderAMatchingFilter()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, shown);
    openMainWindow();
    chooseFilter(filter);
    list()->clear();

    QStringList repeatChoices;
    DriveNextModal([&](QDialog* editor) {
        QCOMPARE(editor->windowTitle(), QStringLiteral("新建提醒"));
        for (const QRadioButton* button : Child<QWidget>(editor, "rd1")->findChildren<QRadioButton*>())
            repeatChoices.append(button->text());
        FillAlamEditor(editor, QStringLiteral("只一次"), 15, 30, QStringLiteral("新的今天"));
        ClickOK(editor);
    });
    choose("NAddAlam");
    QCOMPARE(repeatChoices, (QStringList{"只一次", "每天", "每周", "每月"}));
    QCOMPARE(titles(), shown);
    QCOMPARE(CustomerFixture::rows(QStringLiteral("select ReDay,iHour,iMinute,sGUID,OperName from Alam "
                                                  "where ReTitle='新的今天'")),
             (QList<QStringList>{{"1", "15", "30", "", "Admin"}}));
}

// A double-click opens the row; changed into a weekly reminder it leaves the
// daily list at the refill.
void TestReminderPage::modifyRefillsUnderTheFilter()
{
    openMainWindow();
    chooseFilter(QStringLiteral("每天"));
    const QRect row = list()->visualItemRect(item(QStringLiteral("每天")));
    QString shownTitle;
    DriveNextModal([&](QDialog* editor) {
        QCOMPARE(editor->windowTitle(), QStringLiteral("修改提醒"));
        shownTitle = Child<QComboBox>(editor, "cbbTitle")->currentText();
        FillAlamEditor(editor, QStringLiteral("每周"), 8, 0, QStringLiteral("改成每周"));
        Child<QCheckBox>(editor, "chk3")->setChecked(true);
        ClickOK(editor);
    });
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(shownTitle, QStringLiteral("每天"));
    QCOMPARE(titles(), QStringList());
    chooseFilter(QStringLiteral("每周"));
    QCOMPARE(titles(), (QStringList{"改成每周", "周一周三", "周二"}));
}

// Cancelled, neither editor stores anything nor refills the list.
void TestReminderPage::cancelledEditorsChangeNothing()
{
    openMainWindow();
    list()->setCurrentItem(item(QStringLiteral("五号")));
    list()->topLevelItem(0)->setText(TitleColumn, QStringLiteral("未刷新"));
    DriveNextModal([](QDialog* editor) {
        FillAlamEditor(editor, QStringLiteral("每天"), 8, 0, QStringLiteral("不存"));
    });
    choose("NAddAlam");
    DriveNextModal([](QDialog* editor) {
        FillAlamEditor(editor, QStringLiteral("每天"), 8, 0, QStringLiteral("不存"));
    });
    choose("NModAlam");
    QCOMPARE(titles().first(), QStringLiteral("未刷新"));
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam where ReTitle='五号' and ReDay=4")), 1);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam")), int(Reminders.size()));
}

void TestReminderPage::otherOperatorsRemindersNeedTheRight_data()
{
    QTest::addColumn<QStringList>("rights");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("own only") << QStringList() << QStringList{"操作员的"};
    QTest::newRow("every account's") << QStringList{"允许查看其它登录账号数据"}
                                     << EveryShownReminder + QStringList{"操作员的"};
}

void TestReminderPage::otherOperatorsRemindersNeedTheRight()
{
    QFETCH(QStringList, rights);
    QFETCH(QStringList, shown);
    const QString oper = QStringLiteral("操作员");
    AddOperator(oper, rights);
    InsertAlam({RepeatDaily, Today, 7, 0, 0, QStringLiteral("操作员的"), QString(), oper});
    openMainWindow(oper);
    QCOMPARE(titles(), shown);
    chooseFilter(QStringLiteral("每天"));
    const QStringList daily = rights.isEmpty() ? QStringList{"操作员的"} : QStringList{"每天", "操作员的"};
    QCOMPARE(titles(), daily);
}

KESP_DB_TEST(TestReminderPage)
#include "testreminderpage.moc"
