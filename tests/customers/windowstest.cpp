#include "customerfixture.h"
#include "guitest.h"

#include "common/messages.h"
#include "customers/fieldtitles.h"
#include "data/dbaccess.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The stored titles of fields 1, 2 and 5.
QStringList storedTitles()
{
    QStringList titles;
    for (const QStringList& row : CustomerFixture::rows(
             QStringLiteral("select DIYName from DIY where DIYID in ('200001','200002','200005') order by DIYID")))
        titles.append(row.value(0));
    return titles;
}

const QString SavedInfo = QStringLiteral("保存成功！");

} // namespace

class TestCustomerWindows : public CustomerTestCase
{
    Q_OBJECT

private slots:
    void fieldTitlesWindowSaves_data();
    void fieldTitlesWindowSaves();
    void failedTitleSaveKeepsTitlesAndWindow();
    void valueListWindowSavesLines();
    void valueListWindowCancelStoresNothing();
};

void TestCustomerWindows::fieldTitlesWindowSaves_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<bool>("saved");

    const QStringList designed{QStringLiteral("会员号码"), QStringLiteral("会员姓名"), QStringLiteral("QQ")};
    QTest::newRow("blanks removed") << QStringList{QStringLiteral(" 会员 号码 "), QStringLiteral("会员姓名"),
                                                   QStringLiteral("  Q Q  ")}
                                    << designed << true;
    QTest::newRow("blank title unused") << QStringList{QStringLiteral("会员号码"), QStringLiteral("会员姓名"),
                                                       QStringLiteral("   ")}
                                        << QStringList{QStringLiteral("会员号码"), QStringLiteral("会员姓名"),
                                                       QString()}
                                        << true;
    QTest::newRow("full-width blank kept")
        << QStringList{QStringLiteral("会员　号码"), QString(), QStringLiteral("QQ")}
        << QStringList{QStringLiteral("会员　号码"), QString(), QStringLiteral("QQ")} << true;
    QTest::newRow("second title alone") << QStringList{QString(), QStringLiteral("姓名"), QStringLiteral("MyNote")}
                                        << QStringList{QString(), QStringLiteral("姓名"), QStringLiteral("MyNote")}
                                        << true;
    QTest::newRow("quotes and separator")
        << QStringList{QStringLiteral("it's"), QStringLiteral("甲@#@乙"), QStringLiteral("100%")}
        << QStringList{QStringLiteral("it's"), QStringLiteral("甲@#@乙"), QStringLiteral("100%")} << true;
    QTest::newRow("both first titles blank")
        << QStringList{QStringLiteral("  "), QString(), QStringLiteral("微信")} << designed << false;
}

void TestCustomerWindows::fieldTitlesWindowSaves()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, stored);
    QFETCH(bool, saved);
    const char* edits[] = {"edt200001", "edt200002", "edt200005"};

    bool stayedOpen = false;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("自定义资料标题"));
        QCOMPARE(Child<QLabel>(dialog, "Lab200005")->text(), QStringLiteral("QQ"));
        QCOMPARE(Child<QLineEdit>(dialog, "edt200005")->text(), QStringLiteral("QQ"));
        QCOMPARE(Child<QLabel>(dialog, "Lab200013")->text(), QString());
        QCOMPARE(Child<QLabel>(dialog, "Lab200001")->buddy(), Child<QLineEdit>(dialog, "edt200001"));
        for (int i = 0; i < 3; ++i)
            ReplaceText(Child<QLineEdit>(dialog, edits[i]), typed[i]);
        ClickOK(dialog);
        stayedOpen = dialog->isVisible();
        if (stayedOpen)
            QCOMPARE(Child<QLineEdit>(dialog, "edt200001")->text(), typed[0]);
    });
    const int result = EditFieldTitles();

    QCOMPARE(storedTitles(), stored);
    QCOMPARE(stayedOpen, !saved);
    if (saved) {
        QCOMPARE(result, 1);
        QCOMPARE(takeShown(), (Shown{{QStringLiteral("提示"), SavedInfo}}));
        QCOMPARE(IndexOfFieldNumber(UsedFieldTitles, QStringLiteral("200005")) >= 0, !stored[2].isEmpty());
    } else {
        QCOMPARE(result, 2);
        QCOMPARE(takeShown(),
                 (Shown{{QStringLiteral("提示"), QStringLiteral("会员信息标题前边两个中必须至少填一个!")}}));
    }
}

void TestCustomerWindows::failedTitleSaveKeepsTitlesAndWindow()
{
    fixture->rejectValue(QStringLiteral("DIY"), QStringLiteral("DIYName"), QStringLiteral("坏标题"));
    bool stayedOpen = false;
    DriveNextModal([&](QDialog* dialog) {
        ReplaceText(Child<QLineEdit>(dialog, "edt200001"), QStringLiteral("新号码"));
        ReplaceText(Child<QLineEdit>(dialog, "edt200005"), QStringLiteral("坏标题"));
        // The failure ends the click's handling early, which QTest reports.
        QTest::ignoreMessage(QtWarningMsg, "Mouse event \"MouseRelease\" not accepted by receiving widget");
        ClickOK(dialog);
        stayedOpen = dialog->isVisible();
    });
    QCOMPARE(EditFieldTitles(), 2);
    QVERIFY(stayedOpen);
    const Shown shown = takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].first, QStringLiteral("错误"));
    QVERIFY2(shown[0].second.startsWith(QStringLiteral("数据库操作失败！")), qPrintable(shown[0].second));
    QCOMPARE(storedTitles(),
             (QStringList{QStringLiteral("会员号码"), QStringLiteral("会员姓名"), QStringLiteral("QQ")}));
}

void TestCustomerWindows::valueListWindowSavesLines()
{
    SaveValueList(QStringLiteral("Kesp200003"), {QStringLiteral("男"), QStringLiteral("女")});
    bool closed = false;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("选择信息列表"));
        auto* memo = Child<QPlainTextEdit>(dialog, "mmo1");
        QCOMPARE(memo->toPlainText(), QStringLiteral("男\n女"));
        QCOMPARE(dialog->focusWidget(), memo);
        memo->clear();
        TypeText(memo, QStringLiteral("苹果\n\n   \n 香蕉\nit's@#@100%"));
        ClickOK(dialog);
        closed = !dialog->isVisible();
    });
    EditValueList(QStringLiteral("Kesp200003"));
    QVERIFY(closed);
    QCOMPARE(takeShown(), (Shown{{QStringLiteral("提示"), SavedInfo}}));
    QStringList values;
    LoadValueList(QStringLiteral("Kesp200003"), values);
    QCOMPARE(values, (QStringList{QStringLiteral("苹果"), QStringLiteral(" 香蕉"), QStringLiteral("it's@#@100%")}));
}

void TestCustomerWindows::valueListWindowCancelStoresNothing()
{
    DriveNextModal([](QDialog* dialog) {
        auto* memo = Child<QPlainTextEdit>(dialog, "mmo1");
        QCOMPARE(memo->toPlainText(), QString());
        TypeText(memo, QStringLiteral("回访"));
        QTest::mouseClick(Child<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    EditValueList(QStringLiteral("Alam"));
    QStringList values;
    LoadValueList(QStringLiteral("Alam"), values);
    QVERIFY(values.isEmpty());
    QVERIFY(takeShown().isEmpty());
}

class TestInputBox : public QObject
{
    Q_OBJECT

private slots:
    void init() { takeShown(); }
    void answers_data();
    void answers();
};

void TestInputBox::answers_data()
{
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("refused");

    const QString unchanged = QStringLiteral("unchanged");
    QTest::newRow("leading blanks kept") << QString() << QStringLiteral("  新类别") << int(Qt::Key_Return) << 1
                                         << QStringLiteral("  新类别") << false;
    QTest::newRow("default accepted") << QStringLiteral("it's@#@") << QString() << int(Qt::Key_Return) << 1
                                      << QStringLiteral("it's@#@") << false;
    QTest::newRow("blanks refused") << QString() << QStringLiteral("   ") << int(Qt::Key_Return) << 2 << unchanged
                                    << true;
    QTest::newRow("escape cancels") << QString() << QStringLiteral("批发") << int(Qt::Key_Escape) << 2 << unchanged
                                    << false;
}

void TestInputBox::answers()
{
    QFETCH(QString, defaultValue);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, result);
    QFETCH(QString, value);
    QFETCH(bool, refused);

    bool stayedOpen = false;
    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("新建客户类别"));
        QCOMPARE(Child<QLabel>(dialog, "LabTitle")->text(), QStringLiteral("类别名称"));
        auto* edit = Child<QLineEdit>(dialog, "EdtValues");
        QCOMPARE(edit->text(), defaultValue);
        QCOMPARE(dialog->focusWidget(), edit);
        TypeText(edit, typed);
        QTest::keyClick(edit, Qt::Key(key));
        stayedOpen = dialog->isVisible();
    });
    QString answer = QStringLiteral("unchanged");
    QCOMPARE(ShowInputBox(QStringLiteral("新建客户类别"), QStringLiteral("类别名称"), defaultValue, &answer), result);
    QCOMPARE(answer, value);
    QCOMPARE(stayedOpen, refused);
    const Shown refusal{{QStringLiteral("提示"), QStringLiteral("输入不能为空！")}};
    QCOMPARE(takeShown(), refused ? refusal : Shown());
}

KESP_DB_TEST(TestCustomerWindows)
KESP_TEST(TestInputBox)
#include "windowstest.moc"
