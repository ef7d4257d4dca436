#include "customerfixture.h"
#include "guitest.h"

#include "common/clock.h"
#include "common/messages.h"
#include "customers/fieldtitles.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "reminders/alam.h"
#include "reminders/alameditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// A Friday afternoon.
const QDateTime Now(QDate(2026, 12, 11), QTime(14, 7, 9));
const QString TitleMissing = QStringLiteral("回访提醒标题不能为空！");
const QString TimePassed = QStringLiteral("设置的提醒时间不能早于现在时间！");
const QString NoWeekday = QStringLiteral("必须选择周几提醒！");
const QString Error = QStringLiteral("错误");

QRadioButton* choice(QDialog* dialog, int index)
{
    return dialog->findChild<QRadioButton*>(QStringLiteral("rd1_%1").arg(index));
}

QStringList choiceCaptions(QDialog* dialog)
{
    QStringList captions;
    for (int index = 0; QRadioButton* button = choice(dialog, index); ++index)
        captions.append(button->text());
    return captions;
}

int checkedChoice(QDialog* dialog)
{
    for (int index = 0; QRadioButton* button = choice(dialog, index); ++index) {
        if (button->isChecked())
            return index;
    }
    return -1;
}

// The controls that Tab visits from the focused one, once round. The repeat
// choices count as one stop, "rd1", and so do the date's sections.
QStringList tabOrder(QDialog* dialog)
{
    const QWidget* first = dialog->focusWidget();
    QStringList names;
    do {
        const QString name = dialog->focusWidget()->objectName().section(QLatin1Char('_'), 0, 0);
        if (names.isEmpty() || names.last() != name)
            names.append(name);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
    } while (dialog->focusWidget() != first && names.size() < 30);
    return names;
}

void choose(QDialog* dialog, int index)
{
    QTest::mouseClick(choice(dialog, index), Qt::LeftButton);
}

// Which of the kind-dependent parts the operator sees.
QStringList visibleParts(QDialog* dialog)
{
    QStringList parts;
    for (const char* name : {"pnlAlamTime", "DBDay", "pnlWork", "pnlMon"}) {
        if (Child<QWidget>(dialog, name)->isVisible())
            parts.append(QLatin1String(name));
    }
    return parts;
}

QCheckBox* weekday(QDialog* dialog, int digit)
{
    return dialog->findChild<QCheckBox*>(QStringLiteral("chk%1").arg(digit));
}

// The digits of the ticked weekdays, Monday first.
QString tickedWeekdays(QDialog* dialog)
{
    QString digits;
    for (int digit = 1; digit <= 7; ++digit) {
        if (weekday(dialog, digit)->isChecked())
            digits += QString::number(digit);
    }
    return digits;
}

QLineEdit* field(QDialog* dialog, const char* name)
{
    return Child<QLineEdit>(dialog, name);
}

QComboBox* titleBox(QDialog* dialog)
{
    return Child<QComboBox>(dialog, "cbbTitle");
}

QPlainTextEdit* noteBox(QDialog* dialog)
{
    return Child<QPlainTextEdit>(dialog, "mmoNote");
}

void typeTitle(QDialog* dialog, const QString& title)
{
    ReplaceText(titleBox(dialog)->lineEdit(), title);
}

// Moves the keyboard away from a field, as Tab or a click elsewhere does.
void leave(QDialog* dialog)
{
    titleBox(dialog)->setFocus();
}

// The click that the application-wide handler ends with a message.
void clickRefusedOK(QDialog* dialog)
{
    QTest::ignoreMessage(QtWarningMsg, "Mouse event \"MouseRelease\" not accepted by receiving widget");
    ClickOK(dialog);
}

const QString StoredColumns =
    QStringLiteral("select iHour,iMinute,iMonWeek,ReDay,AlamDate,ReTitle,Remark,OperName,sGUID,bLook from Alam");

QList<QStringList> storedReminders()
{
    return CustomerFixture::rows(StoredColumns + QStringLiteral(" order by ID"));
}

QString lastReminderId()
{
    return CustomerFixture::rows(QStringLiteral("select max(ID) from Alam")).value(0).value(0);
}

} // namespace

// The new and modify reminder windows on both engines, "now" fixed.
class TestAlamEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void weekdayNames();
    void choicesAndPanels_data();
    void choicesAndPanels();
    void clockLineFollowsTheClock();
    void numberFields_data();
    void numberFields();
    void checks_data();
    void checks();
    void storedAndReopened_data();
    void storedAndReopened();
    void passedReminderMustMoveForward();
    void enterConfirmsButMakesLinesInTheContent();
    void titlePresetsFromTheValueList();
    void cancelStoresNothing();
    void deletedReminderIsReported();
    void failedSaveKeepsTheWindowOpen();

private:
    std::unique_ptr<CustomerFixture> fixture;
    std::unique_ptr<TAlam> alam;
};

void TestAlamEditor::init()
{
    MessageTesting::takeShown();
    fixture = std::make_unique<CustomerFixture>();
    alam = std::make_unique<TAlam>();
    Alam = alam.get();
    Clock::setTestNow(Now);
    REQUIRE_DATABASE(fixture->db);
}

void TestAlamEditor::cleanup()
{
    Clock::useSystemClock();
    Alam = nullptr;
    alam.reset();
    fixture.reset();
}

void TestAlamEditor::weekdayNames()
{
    QStringList names;
    for (QDate day(2026, 12, 13); day <= QDate(2026, 12, 19); day = day.addDays(1))
        names.append(WeekdayName(day));
    QCOMPARE(names, (QStringList{"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"}));
}

void TestAlamEditor::choicesAndPanels_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("tabs");

    const QStringList lowerTabs{"cbbTitle", "btn200004", "mmoNote", "btnOK", "btnCancel"};
    QTest::newRow("customer editor") << 0 << QStringList{"不提醒", "只一次", "每天", "每周", "每月"}
                                     << QStringLiteral("cbbTitle") << lowerTabs + QStringList{"rd1"};
    QTest::newRow("reminder page") << 1 << QStringList{"只一次", "每天", "每周", "每月"} << QStringLiteral("edtHour")
                                   << QStringList{"edtHour", "edtMinute", "DBDay"} + lowerTabs + QStringList{"rd1"};
}

// Each repeat code shows its own parts, whichever window offers it.
void TestAlamEditor::choicesAndPanels()
{
    QFETCH(int, offset);
    QFETCH(QStringList, captions);
    QFETCH(QString, focus);
    QFETCH(QStringList, tabs);
    const QList<QStringList> partsOfCode{{},
                                         {"pnlAlamTime", "DBDay"},
                                         {"pnlAlamTime"},
                                         {"pnlAlamTime", "pnlWork"},
                                         {"pnlAlamTime", "pnlMon"}};

    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("新建提醒"));
        QCOMPARE(dialog->size(), QSize(420, 360));
        QCOMPARE(choiceCaptions(dialog), captions);
        QCOMPARE(checkedChoice(dialog), 0);
        QCOMPARE(visibleParts(dialog), partsOfCode[offset]);
        QCOMPARE(dialog->focusWidget()->objectName(), focus);
        QCOMPARE(tabOrder(dialog), tabs);
        QCOMPARE(field(dialog, "edtHour")->text(), QStringLiteral("9"));
        QCOMPARE(field(dialog, "edtMinute")->text(), QStringLiteral("0"));
        QCOMPARE(field(dialog, "edtMonWeek")->text(), QStringLiteral("1"));
        QCOMPARE(Child<QDateEdit>(dialog, "DBDay")->date(), Now.date());
        QCOMPARE(Child<QLabel>(dialog, "Label1")->buddy(), field(dialog, "edtHour"));
        QCOMPARE(Child<QLabel>(dialog, "Label5")->buddy(), titleBox(dialog));
        QCOMPARE(Child<QLabel>(dialog, "Label4")->buddy(), noteBox(dialog));
        for (int index = captions.size() - 1; index >= 0; --index) {
            choose(dialog, index);
            QCOMPARE(checkedChoice(dialog), index);
            QCOMPARE(visibleParts(dialog), partsOfCode[index + offset]);
        }
    });
    QCOMPARE(ShowAddAlam(QString(), offset), 2);
}

void TestAlamEditor::clockLineFollowsTheClock()
{
    DriveNextModal([&](QDialog* dialog) {
        auto* time = Child<QLabel>(dialog, "LabNow");
        auto* weekdayName = Child<QLabel>(dialog, "LabLabWeeks");
        QCOMPARE(time->text(), QStringLiteral("2026年12月11日 14:07:09"));
        QCOMPARE(weekdayName->text(), QStringLiteral("星期五"));
        Clock::setTestNow(QDateTime(QDate(2026, 12, 13), QTime(8, 0, 5)));
        QTRY_COMPARE(time->text(), QStringLiteral("2026年12月13日 08:00:05"));
        QCOMPARE(weekdayName->text(), QStringLiteral("星期日"));
    });
    ShowAddAlam(QString(), 1);
}

void TestAlamEditor::numberFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("afterLeaving");

    QTest::newRow("minute 75") << "edtMinute" << "75" << false << "59" << "59";
    QTest::newRow("minute 59") << "edtMinute" << "59" << false << "59" << "59";
    QTest::newRow("hour 24") << "edtHour" << "24" << false << "23" << "23";
    QTest::newRow("hour, two characters") << "edtHour" << "123" << false << "12" << "12";
    QTest::newRow("hour emptied") << "edtHour" << "" << false << "" << "0";
    QTest::newRow("letters typed into the hour") << "edtHour" << "a1b" << false << "1" << "1";
    QTest::newRow("letters typed into the minute") << "edtMinute" << "x" << false << "" << "0";
    QTest::newRow("letters pasted into the hour") << "edtHour" << "1a" << true << "" << "0";
    QTest::newRow("letters pasted into the minute") << "edtMinute" << "5分" << true << "" << "0";
    QTest::newRow("day 40") << "edtMonWeek" << "40" << false << "31" << "31";
    QTest::newRow("day 99 pasted") << "edtMonWeek" << "99" << true << "31" << "31";
    QTest::newRow("day takes letters") << "edtMonWeek" << "ab" << false << "ab" << "ab";
    QTest::newRow("day blank") << "edtMonWeek" << " " << false << " " << "1";
    QTest::newRow("day emptied") << "edtMonWeek" << "" << false << "" << "1";
}

// Each field is emptied with the keyboard first, then typed or pasted into.
void TestAlamEditor::numberFields()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(bool, pasted);
    QFETCH(QString, shown);
    QFETCH(QString, afterLeaving);

    DriveNextModal([&](QDialog* dialog) {
        choose(dialog, 4);
        auto* edit = dialog->findChild<QLineEdit*>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        if (pasted) {
            QApplication::clipboard()->setText(typed);
            edit->paste();
        } else {
            QTest::keyClicks(edit, typed);
        }
        QCOMPARE(edit->text(), shown);
        leave(dialog);
        QCOMPARE(edit->text(), afterLeaving);
    });
    ShowAddAlam(QString(), 0);
}

void TestAlamEditor::checks_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("daysFromToday");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<QString>("weekdays");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("empty title") << 2 << "" << 0 << "9" << "0" << "" << TitleMissing;
    QTest::newRow("blank title") << 2 << "   " << 0 << "9" << "0" << "" << TitleMissing;
    QTest::newRow("title checked before the time") << 1 << " " << -1 << "9" << "0" << "" << TitleMissing;
    QTest::newRow("title checked before the weekdays") << 3 << "" << 0 << "9" << "0" << "" << TitleMissing;
    QTest::newRow("once, the current minute") << 1 << "回访" << 0 << "14" << "7" << "" << TimePassed;
    QTest::newRow("once, the next minute") << 1 << "回访" << 0 << "14" << "8" << "" << QString();
    QTest::newRow("once, yesterday late") << 1 << "回访" << -1 << "23" << "59" << "" << TimePassed;
    QTest::newRow("once, tomorrow early") << 1 << "回访" << 1 << "0" << "0" << "" << QString();
    QTest::newRow("once, empty time counts as midnight") << 1 << "回访" << 0 << "" << "" << "" << TimePassed;
    QTest::newRow("daily, an hour already past") << 2 << "回访" << 0 << "0" << "0" << "" << QString();
    QTest::newRow("weekly without a weekday") << 3 << "回访" << 0 << "9" << "0" << "" << NoWeekday;
    QTest::newRow("weekly on Saturday") << 3 << "回访" << 0 << "9" << "0" << "6" << QString();
    QTest::newRow("monthly") << 4 << "回访" << 0 << "9" << "0" << "" << QString();
}

void TestAlamEditor::checks()
{
    QFETCH(int, code);
    QFETCH(QString, title);
    QFETCH(int, daysFromToday);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(QString, weekdays);
    QFETCH(QString, refusal);

    bool stayedOpen = false;
    QString keptTitle;
    DriveNextModal([&](QDialog* dialog) {
        choose(dialog, code - 1);
        Child<QDateEdit>(dialog, "DBDay")->setDate(Now.date().addDays(daysFromToday));
        ReplaceText(field(dialog, "edtHour"), hour);
        ReplaceText(field(dialog, "edtMinute"), minute);
        for (const QChar digit : weekdays)
            weekday(dialog, digit.digitValue())->setChecked(true);
        typeTitle(dialog, title);
        if (refusal.isEmpty()) {
            ClickOK(dialog);
        } else {
            clickRefusedOK(dialog);
            stayedOpen = dialog->isVisible();
            keptTitle = titleBox(dialog)->currentText();
        }
    });
    const int result = ShowAddAlam(QString(), 1);

    if (refusal.isEmpty()) {
        QCOMPARE(result, 1);
        QVERIFY(takeShown().isEmpty());
        QCOMPARE(storedReminders().size(), 1);
    } else {
        QCOMPARE(result, 2);
        QVERIFY(stayedOpen);
        QCOMPARE(keptTitle, title);
        QCOMPARE(takeShown(), (Shown{{Error, refusal}}));
        QVERIFY(storedReminders().isEmpty());
    }
}

void TestAlamEditor::storedAndReopened_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("hour");
    QTest::addColumn<QString>("minute");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("weekdays");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<int>("monWeek");

    const QDate today = Now.date();
    const QString guid = QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E");
    QTest::newRow("once, from the page") << 1 << 1 << "8" << "30" << today.addDays(1) << "" << "" << "回访"
                                         << "带上报价单" << "" << 1;
    QTest::newRow("daily, a day that is no number") << 0 << 2 << "23" << "59" << today << "" << "ab" << "日报"
                                                    << "" << guid << 1;
    QTest::newRow("weekly, Sunday and Monday") << 1 << 3 << "7" << "05" << today << "71" << "" << "周会" << ""
                                               << "" << 17;
    QTest::newRow("weekly, every day") << 0 << 3 << "0" << "0" << today << "7654321" << "" << "天天" << ""
                                       << guid << 1234567;
    QTest::newRow("monthly, the 31st") << 0 << 4 << "18" << "0" << today << "" << "31" << "月结" << "" << guid
                                       << 31;
    QTest::newRow("no reminder, a note with its blanks") << 0 << 0 << "9" << "0" << today << "" << "" << "  记事  "
                                                         << "第一行\n  第二行  " << guid << 1;
    QTest::newRow("texts that SQL must carry") << 1 << 2 << "9" << "0" << today << "" << "" << "it's \"引号\" @#@ 100% 😀"
                                               << "a''b@#@c%d\n😀 '" << "" << 1;
    QTest::newRow("long texts") << 0 << 2 << "9" << "0" << today << "" << "" << QString(40000, QChar(0x957F))
                                << QString(100000, QLatin1Char('x')) << guid << 1;
}

// What the new window stores comes back in the modify window, and confirming
// it unchanged stores the same values again with the seen flag cleared.
void TestAlamEditor::storedAndReopened()
{
    QFETCH(int, offset);
    QFETCH(int, code);
    QFETCH(QString, hour);
    QFETCH(QString, minute);
    QFETCH(QDate, date);
    QFETCH(QString, weekdays);
    QFETCH(QString, day);
    QFETCH(QString, title);
    QFETCH(QString, note);
    QFETCH(QString, customer);
    QFETCH(int, monWeek);

    DriveNextModal([&](QDialog* dialog) {
        choose(dialog, code - offset);
        ReplaceText(field(dialog, "edtHour"), hour);
        ReplaceText(field(dialog, "edtMinute"), minute);
        Child<QDateEdit>(dialog, "DBDay")->setDate(date);
        for (const QChar digit : weekdays)
            weekday(dialog, digit.digitValue())->setChecked(true);
        if (!day.isEmpty())
            ReplaceText(field(dialog, "edtMonWeek"), day);
        typeTitle(dialog, title);
        TypeText(noteBox(dialog), note);
        ClickOK(dialog);
    });
    QCOMPARE(ShowAddAlam(customer, offset), 1);
    QVERIFY(takeShown().isEmpty());
    const QStringList stored{QString::number(hour.toInt()),
                             QString::number(minute.toInt()),
                             QString::number(monWeek),
                             QString::number(code),
                             date.toString(Qt::ISODate),
                             title,
                             note,
                             QStringLiteral("Admin"),
                             customer,
                             QStringLiteral("0")};
    QCOMPARE(storedReminders(), QList<QStringList>{stored});

    const QString id = lastReminderId();
    DbExecute(QStringLiteral("update Alam set bLook=1 where ID=%1").arg(id));
    QStringList shown;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("修改提醒"));
        shown << field(dialog, "edtHour")->text() << field(dialog, "edtMinute")->text()
              << QString::number(checkedChoice(dialog) + offset) << tickedWeekdays(dialog)
              << field(dialog, "edtMonWeek")->text() << Child<QDateEdit>(dialog, "DBDay")->date().toString(Qt::ISODate)
              << titleBox(dialog)->currentText() << noteBox(dialog)->toPlainText();
        ClickOK(dialog);
    });
    QCOMPARE(ShowModAlam(id, offset), 1);
    const bool weekly = code == RepeatWeekly;
    QCOMPARE(shown, (QStringList{stored[0], stored[1], stored[3], weekly ? QString::number(monWeek) : QString(),
                                 weekly ? QStringLiteral("1") : stored[2], stored[4], title, note}));
    QCOMPARE(storedReminders(), QList<QStringList>{stored});
    QVERIFY(takeShown().isEmpty());
}

// A one-time reminder whose moment has passed is saved only once it lies
// ahead; its owner and customer stay.
void TestAlamEditor::passedReminderMustMoveForward()
{
    LoginOper->OperName = QStringLiteral("张三");
    Alam->ReDay = RepeatOnce;
    Alam->iHour = 10;
    Alam->iMinute = 0;
    Alam->iMonWeek = 1;
    Alam->AlamDate = QDate(2026, 12, 1).startOfDay();
    Alam->ReTitle = QStringLiteral("旧提醒");
    Alam->sGUID = QStringLiteral("客户");
    Alam->Add();
    LoginOper->OperName = QStringLiteral("Admin");

    Shown refusal;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(visibleParts(dialog), (QStringList{"pnlAlamTime", "DBDay"}));
        QCOMPARE(dialog->focusWidget(), field(dialog, "edtHour"));
        clickRefusedOK(dialog);
        refusal = takeShown();
        Child<QDateEdit>(dialog, "DBDay")->setDate(QDate(2026, 12, 24));
        ClickOK(dialog);
    });
    QCOMPARE(ShowModAlam(lastReminderId(), 1), 1);
    QCOMPARE(refusal, (Shown{{Error, TimePassed}}));
    QCOMPARE(storedReminders(), (QList<QStringList>{{"10", "0", "1", "1", "2026-12-24", "旧提醒", "", "张三", "客户", "0"}}));
}

void TestAlamEditor::enterConfirmsButMakesLinesInTheContent()
{
    bool openAfterEnterInNote = false;
    DriveNextModal([&](QDialog* dialog) {
        choose(dialog, 1);
        typeTitle(dialog, QStringLiteral("回访"));
        QPlainTextEdit* note = noteBox(dialog);
        note->setFocus();
        QTest::keyClicks(note, QStringLiteral("ab"));
        QTest::keyClick(note, Qt::Key_Return);
        QTest::keyClicks(note, QStringLiteral("cd"));
        openAfterEnterInNote = dialog->isVisible();
        // Enter before the emptied minute field was left.
        QLineEdit* edit = field(dialog, "edtMinute");
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(ShowAddAlam(QString(), 1), 1);
    QVERIFY(openAfterEnterInNote);
    const QStringList stored = storedReminders().value(0);
    QCOMPARE(stored.value(1), QStringLiteral("0"));
    QCOMPARE(stored.value(6), QStringLiteral("ab\ncd"));
}

void TestAlamEditor::titlePresetsFromTheValueList()
{
    SaveValueList(QStringLiteral("Alam"), {QStringLiteral("回访"), QStringLiteral("报价")});
    SaveValueList(QStringLiteral("Kesp200003"), {QStringLiteral("别的列表")});

    QStringList firstOpen;
    QString typedAfterOpen;
    QStringList afterEdit;
    DriveNextModal([&](QDialog* dialog) {
        choose(dialog, 1);
        QComboBox* box = titleBox(dialog);
        QVERIFY(box->isEditable());
        typeTitle(dialog, QStringLiteral("自填"));
        box->showPopup();
        firstOpen = ItemTexts(box);
        typedAfterOpen = box->currentText();
        box->hidePopup();

        DriveNextModal([](QDialog* valueList) {
            QCOMPARE(valueList->windowTitle(), QStringLiteral("选择信息列表"));
            auto* memo = Child<QPlainTextEdit>(valueList, "mmo1");
            memo->setPlainText(QStringLiteral("电话回访\n上门"));
            ClickOK(valueList);
        });
        QTest::mouseClick(Child<QPushButton>(dialog, "btn200004"), Qt::LeftButton);
        box->showPopup();
        afterEdit = ItemTexts(box);
        box->hidePopup();
        box->setCurrentIndex(1);
        ClickOK(dialog);
    });
    QCOMPARE(ShowAddAlam(QString(), 1), 1);
    QCOMPARE(firstOpen, (QStringList{QStringLiteral("回访"), QStringLiteral("报价")}));
    QCOMPARE(typedAfterOpen, QStringLiteral("自填"));
    QCOMPARE(afterEdit, (QStringList{QStringLiteral("电话回访"), QStringLiteral("上门")}));
    QCOMPARE(storedReminders().value(0).value(5), QStringLiteral("上门"));
    QCOMPARE(takeShown(), (Shown{{QStringLiteral("提示"), QStringLiteral("保存成功！")}}));
}

void TestAlamEditor::cancelStoresNothing()
{
    DriveNextModal([](QDialog* dialog) {
        typeTitle(dialog, QStringLiteral("不要了"));
        QTest::mouseClick(Child<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
    });
    QCOMPARE(ShowAddAlam(QString(), 1), 2);
    QVERIFY(storedReminders().isEmpty());

    Alam->ReDay = RepeatDaily;
    Alam->AlamDate = Now;
    Alam->ReTitle = QStringLiteral("留着");
    Alam->Add();
    DbExecute(QStringLiteral("update Alam set bLook=1"));
    const QList<QStringList> before = storedReminders();
    DriveNextModal([](QDialog* dialog) {
        typeTitle(dialog, QStringLiteral("改了"));
        QTest::keyClick(titleBox(dialog), Qt::Key_Escape);
    });
    QCOMPARE(ShowModAlam(lastReminderId(), 1), 2);
    QCOMPARE(storedReminders(), before);
    QVERIFY(takeShown().isEmpty());
}

// The reminder was deleted while its list still showed it.
void TestAlamEditor::deletedReminderIsReported()
{
    QCOMPARE(ShowModAlam(QStringLiteral("4711"), 1), 2);
    QCOMPARE(takeShown(), (Shown{{Error, QStringLiteral("该提醒已不存在，可能已被删除！")}}));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestAlamEditor::failedSaveKeepsTheWindowOpen()
{
    fixture->rejectValue(QStringLiteral("Alam"), QStringLiteral("ReTitle"), QStringLiteral("坏值"));
    bool stayedOpen = false;
    Shown failure;
    DriveNextModal([&](QDialog* dialog) {
        choose(dialog, 1);
        typeTitle(dialog, QStringLiteral("坏值"));
        TypeText(noteBox(dialog), QStringLiteral("留着"));
        clickRefusedOK(dialog);
        stayedOpen = dialog->isVisible();
        failure = takeShown();
        typeTitle(dialog, QStringLiteral("好值"));
        ClickOK(dialog);
    });
    QCOMPARE(ShowAddAlam(QString(), 1), 1);
    QVERIFY(stayedOpen);
    QCOMPARE(failure.size(), 1);
    QVERIFY2(failure[0].second.startsWith(QStringLiteral("数据库操作失败！")), qPrintable(failure[0].second));
    const QStringList stored = storedReminders().value(0);
    QCOMPARE(stored.value(5), QStringLiteral("好值"));
    QCOMPARE(stored.value(6), QStringLiteral("留着"));
}

KESP_DB_TEST(TestAlamEditor)
#include "testalameditor.moc"
