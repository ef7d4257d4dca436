#include "alamtest.h"
#include "customerfixture.h"
#include "guitest.h"

#include "common/messages.h"
#include "customers/customereditor.h"
#include "customers/fieldtitles.h"
#include "customers/usertype.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "reminders/alam.h"
#include "reminders/alamlist.h"

#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

namespace {

QMap<int, QString> everyFieldTitled()
{
    QMap<int, QString> titles;
    for (int field = 1; field <= CustomerFieldCount; ++field)
        titles.insert(field, QStringLiteral("标题%1").arg(field));
    return titles;
}

QComboBox* fieldBox(QDialog* dialog, int field)
{
    return dialog->findChild<QComboBox*>(QStringLiteral("cbb") + FieldNumberText(field));
}

// Where the field is typed: edt200001, edt200002, then the drop-down boxes' edit lines.
QLineEdit* fieldEdit(QDialog* dialog, int field)
{
    if (field <= 2)
        return dialog->findChild<QLineEdit*>(QStringLiteral("edt") + FieldNumberText(field));
    return fieldBox(dialog, field)->lineEdit();
}

QString fieldText(QDialog* dialog, int field)
{
    return fieldEdit(dialog, field)->text();
}

void typeField(QDialog* dialog, int field, const QString& text)
{
    ReplaceText(fieldEdit(dialog, field), text);
}

QStringList storedCustomer(const QString& guid)
{
    QStringList columns{QStringLiteral("TypeID")};
    for (int field = 1; field <= CustomerFieldCount; ++field)
        columns.append(FieldColumnName(field));
    columns.append(QStringLiteral("OperName"));
    return CustomerFixture::rows(QStringLiteral("select %1 from Customer where sGUID='%2'")
                                     .arg(columns.join(QLatin1Char(',')), guid))
        .value(0);
}

const int AlamTitleColumn = 3;

// The reminder tab's list, with the tab shown.
TAlamListView* alamList(QDialog* dialog)
{
    Child<QTabWidget>(dialog, "pgcntrl1")->setCurrentIndex(1);
    return Child<TAlamListView>(dialog, "lv1");
}

QStringList alamTitles(QDialog* dialog)
{
    return ListColumn(alamList(dialog), AlamTitleColumn);
}

void selectAlam(QDialog* dialog, const QString& title)
{
    TAlamListView* list = alamList(dialog);
    list->setCurrentItem(list->findItems(title, Qt::MatchExactly, AlamTitleColumn).value(0));
}

} // namespace

// The new and modify customer windows on both engines.
class TestCustomerEditor : public CustomerTestCase
{
    Q_OBJECT

private slots:
    void unusedFieldsAreHidden();
    void nameChecks_data();
    void nameChecks();
    void newCustomerNeedsACategory();
    void everyFieldIsStoredAsTypedAndShownAgain();
    void modifyKeepsHiddenFields();
    void valueListsReloadWhenTheListOpens();
    void failedSaveKeepsTheWindowOpen();
    void modifyWindowListsTheCustomersReminders();
    void reminderCommandsRefillTheTab();
    void remindersOfANewCustomerOutliveCancel();
};

void TestCustomerEditor::unusedFieldsAreHidden()
{
    fixture->setTitles({{1, QStringLiteral("会员号码")}, {2, QStringLiteral("会员姓名")}, {3, QStringLiteral("性别")}});
    fixture->addCategory(QStringLiteral("零售"));
    fixture->addCategory(QStringLiteral("批发"));

    QStringList shown;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("新建客户信息"));
        QCOMPARE(dialog->size(), QSize(640, 520));
        const QRegularExpression fieldControl(QStringLiteral("^(Lab|edt|cbb|btn)(\\d{6}|Gou|UserType)$"));
        for (const QWidget* control : dialog->findChildren<QWidget*>()) {
            if (fieldControl.match(control->objectName()).hasMatch() && control->isVisible())
                shown.append(control->objectName());
        }
        QCOMPARE(Child<QLabel>(dialog, "LabGou")->text(), QStringLiteral("所属类别"));
        QCOMPARE(Child<QLabel>(dialog, "Lab200003")->text(), QStringLiteral("性别"));
        QCOMPARE(Child<QLabel>(dialog, "Lab200003")->buddy(), fieldBox(dialog, 3));
        QCOMPARE(Child<QPushButton>(dialog, "btn200003")->text(), QStringLiteral("+"));
        QVERIFY(fieldBox(dialog, 3)->lineEdit()->isVisible());
        auto* categories = Child<QComboBox>(dialog, "cbbUserType");
        QVERIFY(!categories->isEditable());
        QCOMPARE(ItemTexts(categories), (QStringList{QStringLiteral("零售"), QStringLiteral("批发")}));
        QCOMPARE(categories->currentText(), QStringLiteral("零售"));
    });
    QString guid;
    QCOMPARE(ShowAddCustomer(&guid), 2);
    shown.sort();
    QCOMPARE(shown, (QStringList{"Lab200001", "Lab200002", "Lab200003", "LabGou", "btn200003", "cbb200003",
                                 "cbbUserType", "edt200001", "edt200002"}));
}

void TestCustomerEditor::nameChecks_data()
{
    QTest::addColumn<QString>("title1");
    QTest::addColumn<QString>("title2");
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("text2");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("focus");

    const QString number = QStringLiteral("号码");
    const QString name = QStringLiteral("姓名");
    const QString eitherOne = QStringLiteral("客户信息 号码或姓名 必须填一个!");
    QTest::newRow("both empty") << number << name << QString() << QString() << eitherOne << QString();
    QTest::newRow("both blank") << number << name << QStringLiteral("  ") << QStringLiteral(" ") << eitherOne
                                << QString();
    QTest::newRow("first filled") << number << name << QStringLiteral("A001") << QString() << QString() << QString();
    QTest::newRow("second filled") << number << name << QString() << QStringLiteral(" 李四 ") << QString()
                                   << QString();
    QTest::newRow("titles holding %1") << QStringLiteral("编号%2") << QStringLiteral("名%1") << QString() << QString()
                                       << QStringLiteral("客户信息 编号%2或名%1 必须填一个!") << QString();
    QTest::newRow("only field 2, empty") << QString() << name << QString() << QString()
                                         << QStringLiteral("姓名 不能为空!") << QStringLiteral("edt200002");
    QTest::newRow("only field 2, blanks do") << QString() << name << QString() << QStringLiteral("   ") << QString()
                                             << QString();
    QTest::newRow("only field 1, empty") << number << QString() << QString() << QString()
                                         << QStringLiteral("号码 不能为空!") << QStringLiteral("edt200001");
    QTest::newRow("only field 1, blanks do") << number << QString() << QStringLiteral(" ") << QString() << QString()
                                             << QString();
}

void TestCustomerEditor::nameChecks()
{
    QFETCH(QString, title1);
    QFETCH(QString, title2);
    QFETCH(QString, text1);
    QFETCH(QString, text2);
    QFETCH(QString, refusal);
    QFETCH(QString, focus);
    fixture->setTitles({{1, title1}, {2, title2}, {3, QStringLiteral("电话")}});
    fixture->addCategory(QStringLiteral("零售"));

    bool stayedOpen = false;
    QString focused;
    QString keptText1;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(Child<QLineEdit>(dialog, "edt200001")->isVisible(), !title1.isEmpty());
        QCOMPARE(Child<QLineEdit>(dialog, "edt200002")->isVisible(), !title2.isEmpty());
        typeField(dialog, 1, text1);
        typeField(dialog, 2, text2);
        ClickOK(dialog);
        stayedOpen = dialog->isVisible();
        focused = dialog->focusWidget() ? dialog->focusWidget()->objectName() : QString();
        keptText1 = fieldText(dialog, 1);
    });
    QString guid;
    const int result = ShowAddCustomer(&guid);

    if (refusal.isEmpty()) {
        QCOMPARE(result, 1);
        QVERIFY(takeShown().isEmpty());
        const QStringList stored = storedCustomer(guid);
        QCOMPARE(stored.value(1), text1);
        QCOMPARE(stored.value(2), text2);
    } else {
        QCOMPARE(result, 2);
        QVERIFY(stayedOpen);
        QCOMPARE(keptText1, text1);
        QCOMPARE(takeShown(), (Shown{{QStringLiteral("提示"), refusal}}));
        if (!focus.isEmpty())
            QCOMPARE(focused, focus);
        QVERIFY(CustomerFixture::rows(QStringLiteral("select sGUID from Customer")).isEmpty());
    }
}

// The category is tested first: with no category at all, that is the only message.
void TestCustomerEditor::newCustomerNeedsACategory()
{
    bool stayedOpen = false;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(Child<QComboBox>(dialog, "cbbUserType")->currentIndex(), -1);
        ClickOK(dialog);
        stayedOpen = dialog->isVisible();
    });
    QString guid;
    QCOMPARE(ShowAddCustomer(&guid), 2);
    QVERIFY(stayedOpen);
    QCOMPARE(takeShown(), (Shown{{QStringLiteral("提示"), QStringLiteral("会员类别不能为空!")}}));
    QVERIFY(CustomerFixture::rows(QStringLiteral("select sGUID from Customer")).isEmpty());
}

void TestCustomerEditor::everyFieldIsStoredAsTypedAndShownAgain()
{
    fixture->setTitles(everyFieldTitled());
    fixture->addCategory(QStringLiteral("零售"));
    const int wholesale = fixture->addCategory(QStringLiteral("批发"));
    QStringList typed;
    for (int field = 1; field <= CustomerFieldCount; ++field)
        typed.append(QStringLiteral(" 值%1 ").arg(field));
    typed[13] = QStringLiteral("it's @#@ 100% 😀");

    DriveNextModal([&](QDialog* dialog) {
        Child<QComboBox>(dialog, "cbbUserType")->setCurrentIndex(1);
        for (int field = 1; field <= CustomerFieldCount; ++field)
            typeField(dialog, field, typed[field - 1]);
        QTest::keyClick(fieldBox(dialog, 14), Qt::Key_Return);
    });
    QString guid;
    QCOMPARE(ShowAddCustomer(&guid), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"))
                .match(guid)
                .hasMatch());
    QCOMPARE(storedCustomer(guid),
             QStringList{QString::number(wholesale)} + typed + QStringList{QStringLiteral("Admin")});

    QStringList shown;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("修改客户信息"));
        QCOMPARE(Child<QComboBox>(dialog, "cbbUserType")->currentText(), QStringLiteral("批发"));
        for (int field = 1; field <= CustomerFieldCount; ++field)
            shown.append(fieldText(dialog, field));
    });
    QCOMPARE(ShowModCustomer(guid), 2);
    QCOMPARE(shown, typed);
}

// A field without a title is hidden and saved with the value it had.
void TestCustomerEditor::modifyKeepsHiddenFields()
{
    fixture->setTitles({{1, QStringLiteral("号码")}, {2, QStringLiteral("姓名")}, {3, QStringLiteral("电话")}});
    const int retail = fixture->addCategory(QStringLiteral("零售"));
    const int wholesale = fixture->addCategory(QStringLiteral("批发"));
    LoginOper->OperName = QStringLiteral("张三");
    const QString guid = fixture->addCustomer(
        retail, {{1, "A001"}, {2, "李四"}, {3, "123"}, {4, "隐藏的手机"}, {14, "隐藏的备注"}});
    LoginOper->OperName = QStringLiteral("Admin");

    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(Child<QComboBox>(dialog, "cbbUserType")->currentText(), QStringLiteral("零售"));
        QVERIFY(!fieldBox(dialog, 4)->isVisible());
        QCOMPARE(fieldText(dialog, 4), QStringLiteral("隐藏的手机"));
        Child<QComboBox>(dialog, "cbbUserType")->setCurrentIndex(1);
        typeField(dialog, 3, QStringLiteral("456"));
        ClickOK(dialog);
    });
    QCOMPARE(ShowModCustomer(guid), 1);
    QStringList expected{QString::number(wholesale), "A001", "李四", "456", "隐藏的手机"};
    for (int field = 5; field < CustomerFieldCount; ++field)
        expected.append(QString());
    expected << QStringLiteral("隐藏的备注") << QStringLiteral("张三");
    QCOMPARE(storedCustomer(guid), expected);
    QVERIFY(takeShown().isEmpty());
}

void TestCustomerEditor::valueListsReloadWhenTheListOpens()
{
    SaveValueList(QStringLiteral("Kesp200006"), {QStringLiteral("别的字段")});
    fixture->addCategory(QStringLiteral("零售"));

    QStringList afterPlus;
    QStringList firstOpen;
    QStringList secondOpen;
    QStringList otherField;
    QString textAfterOpen;
    DriveNextModal([&](QDialog* dialog) {
        QComboBox* box = fieldBox(dialog, 5);
        TypeText(box->lineEdit(), QStringLiteral("自填"));
        DriveNextModal([](QDialog* valueList) {
            auto* memo = Child<QPlainTextEdit>(valueList, "mmo1");
            TypeText(memo, QStringLiteral("甲\n乙"));
            ClickOK(valueList);
        });
        QTest::mouseClick(Child<QPushButton>(dialog, "btn200005"), Qt::LeftButton);
        afterPlus = ItemTexts(box) << box->currentText();

        box->showPopup();
        firstOpen = ItemTexts(box);
        textAfterOpen = box->currentText();
        box->hidePopup();

        SaveValueList(QStringLiteral("Kesp200005"), {QStringLiteral("丙")});
        box->showPopup();
        secondOpen = ItemTexts(box);
        box->hidePopup();

        fieldBox(dialog, 6)->showPopup();
        otherField = ItemTexts(fieldBox(dialog, 6));
        fieldBox(dialog, 6)->hidePopup();
    });
    QString guid;
    ShowAddCustomer(&guid);
    QCOMPARE(afterPlus, QStringList{QStringLiteral("自填")});
    QCOMPARE(firstOpen, (QStringList{QStringLiteral("甲"), QStringLiteral("乙")}));
    QCOMPARE(textAfterOpen, QStringLiteral("自填"));
    QCOMPARE(secondOpen, QStringList{QStringLiteral("丙")});
    QCOMPARE(otherField, QStringList{QStringLiteral("别的字段")});
    QCOMPARE(takeShown(), (Shown{{QStringLiteral("提示"), QStringLiteral("保存成功！")}}));
}

void TestCustomerEditor::failedSaveKeepsTheWindowOpen()
{
    fixture->addCategory(QStringLiteral("零售"));
    fixture->rejectValue(QStringLiteral("Customer"), QStringLiteral("Kesp200001"), QStringLiteral("坏值"));
    bool stayedOpen = false;
    QString kept;
    Shown failure;
    DriveNextModal([&](QDialog* dialog) {
        typeField(dialog, 1, QStringLiteral("坏值"));
        typeField(dialog, 3, QStringLiteral("留着"));
        // The failure ends the click's handling early, which QTest reports.
        QTest::ignoreMessage(QtWarningMsg, "Mouse event \"MouseRelease\" not accepted by receiving widget");
        ClickOK(dialog);
        stayedOpen = dialog->isVisible();
        kept = fieldText(dialog, 3);
        failure = takeShown();
        typeField(dialog, 1, QStringLiteral("好值"));
        ClickOK(dialog);
    });
    QString guid;
    QCOMPARE(ShowAddCustomer(&guid), 1);
    QVERIFY(stayedOpen);
    QCOMPARE(kept, QStringLiteral("留着"));
    QCOMPARE(failure.size(), 1);
    QCOMPARE(failure[0].first, QStringLiteral("错误"));
    QVERIFY2(failure[0].second.startsWith(QStringLiteral("数据库操作失败！")), qPrintable(failure[0].second));
    QCOMPARE(CustomerFixture::rows(QStringLiteral("select Kesp200001,Kesp200003 from Customer")),
             (QList<QStringList>{{QStringLiteral("好值"), QStringLiteral("留着")}}));
}

// Every reminder of this customer, the silent ones too, and no other.
void TestCustomerEditor::modifyWindowListsTheCustomersReminders()
{
    const QString guid = fixture->addCustomer(fixture->addCategory(QStringLiteral("零售")), {{1, "A001"}});
    const QString other = fixture->addCustomer(UserType->GetTypeID(QStringLiteral("零售")), {{1, "A002"}});
    const QDate day(2030, 5, 6);
    InsertAlam({RepeatOnce, day, 9, 0, 0, QStringLiteral("一次"), guid});
    InsertAlam({RepeatDaily, day, 9, 0, 0, QStringLiteral("别人的"), other});
    InsertAlam({RepeatNever, day, 9, 0, 0, QStringLiteral("不提醒的"), guid});
    InsertAlam({RepeatWeekly, day, 9, 0, 135, QStringLiteral("每周的"), guid, QStringLiteral("张三")});
    InsertAlam({RepeatDaily, day, 9, 0, 0, QStringLiteral("没有客户")});

    QStringList titles;
    QStringList headers;
    QList<int> widths;
    QStringList commands;
    int fontPixels = 0;
    QString toolTip;
    bool schedulesFit = false;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(Child<QTabWidget>(dialog, "pgcntrl1")->tabText(1), QStringLiteral("回访提醒"));
        titles = alamTitles(dialog);
        TAlamListView* list = alamList(dialog);
        for (int column = 0; column < list->columnCount(); ++column) {
            headers.append(list->headerItem()->text(column));
            widths.append(list->header()->sectionSize(column));
        }
        fontPixels = list->font().pixelSize();
        toolTip = list->toolTip();
        schedulesFit = list->header()->sectionSize(2)
            > list->fontMetrics().horizontalAdvance(list->topLevelItem(0)->text(2));
        for (const char* button : {"btnAdd", "btnMod", "btnDel"})
            commands.append(Child<QPushButton>(dialog, button)->text());
        for (const QAction* item : Child<QMenu>(dialog, "pmAlam")->actions())
            commands.append(item->text());
    });
    QCOMPARE(ShowModCustomer(guid), 2);
    QCOMPARE(titles, (QStringList{"一次", "不提醒的", "每周的"}));
    QCOMPARE(headers, (QStringList{"ID", "重复频率", "提醒时间", "标题", "内容", "状态"}));
    // The schedule column is at least as designed and wide enough for its texts in this font.
    const int scheduleWidth = widths.takeAt(2);
    QCOMPARE(widths, (QList<int>{1, 72, 100, 220, 72}));
    QVERIFY(scheduleWidth >= 150);
    QVERIFY(schedulesFit);
    QCOMPARE(fontPixels, 13);
    QCOMPARE(toolTip, QStringLiteral("点右键可以新建、修改和删除提醒"));
    QCOMPARE(commands, (QStringList{"新建", "修改", "删除", "新建提醒", "修改", "删除"}));
}

// New, modify and delete store at once, under this customer; new and modify
// refill the list, delete takes the item out.
void TestCustomerEditor::reminderCommandsRefillTheTab()
{
    const QString guid = fixture->addCustomer(fixture->addCategory(QStringLiteral("零售")), {{1, "A001"}});
    const QString weeklyId = InsertAlam({RepeatWeekly, QDate(2030, 5, 6), 9, 30, 135, QStringLiteral("每周的"), guid});

    QStringList afterAdd;
    QStringList afterModify;
    QStringList afterDelete;
    QStringList repeatChoices;
    int storedAfterNo = 0;
    Shown questions;
    DriveNextModal([&](QDialog* dialog) {
        TAlamListView* list = alamList(dialog);
        list->topLevelItem(0)->setText(AlamTitleColumn, QStringLiteral("未刷新"));
        DriveNextModal([&](QDialog* editor) {
            for (const QRadioButton* button : Child<QWidget>(editor, "rd1")->findChildren<QRadioButton*>())
                repeatChoices.append(button->text());
            FillAlamEditor(editor, QStringLiteral("每天"), 8, 0, QStringLiteral("新回访"));
            ClickOK(editor);
        });
        ChooseFromMenu(Child<QAction>(dialog, "NAdd"));
        afterAdd = alamTitles(dialog);

        selectAlam(dialog, QStringLiteral("每周的"));
        DriveNextModal([](QDialog* editor) {
            ReplaceText(Child<QComboBox>(editor, "cbbTitle")->lineEdit(), QStringLiteral("每周改"));
            ClickOK(editor);
        });
        QTest::mouseClick(Child<QPushButton>(dialog, "btnMod"), Qt::LeftButton);
        afterModify = alamTitles(dialog);

        selectAlam(dialog, QStringLiteral("每周改"));
        MessageTesting::setNextAnswer(false);
        QTest::mouseClick(Child<QPushButton>(dialog, "btnDel"), Qt::LeftButton);
        storedAfterNo = AlamCount(guid);
        MessageTesting::setNextAnswer(true);
        ChooseFromMenu(Child<QAction>(dialog, "NDel"));
        afterDelete = alamTitles(dialog);
        questions = takeShown();
    });
    QCOMPARE(ShowModCustomer(guid), 2);
    QCOMPARE(repeatChoices, (QStringList{"不提醒", "只一次", "每天", "每周", "每月"}));
    QCOMPARE(afterAdd, (QStringList{"每周的", "新回访"}));
    QCOMPARE(afterModify, (QStringList{"每周改", "新回访"}));
    QCOMPARE(storedAfterNo, 2);
    QCOMPARE(afterDelete, QStringList{"新回访"});
    const QString weekly = fixture->db.engine() == TestEngine::Postgres ? QStringLiteral("每周135  9时30分")
                                                                         : QStringLiteral("每周 135  9时 30分");
    const QPair<QString, QString> question{QStringLiteral("确认"),
                                           QStringLiteral("确实要删除 %1 的提醒吗？").arg(weekly)};
    QCOMPARE(questions, (Shown{question, question}));
    QCOMPARE(CustomerFixture::rows(QStringLiteral("select ReTitle,ReDay from Alam where sGUID='%1'").arg(guid)),
             (QList<QStringList>{{QStringLiteral("新回访"), QStringLiteral("2")}}));
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam where ID=%1").arg(weeklyId)), 0);
}

// The new customer's key exists from the window's opening: its reminders are
// stored under it at once and stay when the window is cancelled.
void TestCustomerEditor::remindersOfANewCustomerOutliveCancel()
{
    fixture->addCategory(QStringLiteral("零售"));
    InsertAlam({RepeatDaily, QDate(2030, 5, 6), 9, 0, 0, QStringLiteral("没有客户")});
    QString guid;
    QStringList atStart;
    QStringList afterAdd;
    DriveNextModal([&](QDialog* dialog) {
        atStart = alamTitles(dialog);
        guid = static_cast<TFormBaseCustomer*>(dialog)->CustomerGuid;
        DriveNextModal([](QDialog* editor) {
            FillAlamEditor(editor, QStringLiteral("每天"), 8, 0, QStringLiteral("先记下"));
            ClickOK(editor);
        });
        QTest::mouseClick(Child<QPushButton>(dialog, "btnAdd"), Qt::LeftButton);
        afterAdd = alamTitles(dialog);
    });
    QString saved;
    QCOMPARE(ShowAddCustomer(&saved), 2);
    QCOMPARE(atStart, QStringList());
    QCOMPARE(afterAdd, QStringList{"先记下"});
    QCOMPARE(AlamCount(guid), 1);
    QVERIFY(CustomerFixture::rows(QStringLiteral("select sGUID from Customer")).isEmpty());
}

KESP_DB_TEST(TestCustomerEditor)
#include "customereditortest.moc"
