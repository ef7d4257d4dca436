#include "guitest.h"
#include "rightstestutils.h"
#include "testdatabase.h"

#include "common/messages.h"
#include "controls/checktreeview.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "operators/oper.h"
#include "operators/opermanagerwindow.h"
#include "operators/operwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

int operCount()
{
    return DbQueryInteger(QStringLiteral("select count(*) from Oper"));
}

// Clicks a node's check box as the operator does.
void clickCheckBox(TKespCheckTreeView* tree, QTreeWidgetItem* node)
{
    tree->scrollToItem(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->StateImageRect(node).center());
}

// Types the text key by key (QTest::keyClicks takes Latin-1 only).
void fill(QWidget* window, const char* name, const QString& text)
{
    auto* edit = Child<QLineEdit>(window, name);
    edit->clear();
    for (const char32_t character : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUcs4(&character, 1), Qt::NoModifier);
}

void clickButton(QWidget* window, const char* name)
{
    QTest::mouseClick(Child<QPushButton>(window, name), Qt::LeftButton);
}

// What the system delivers for a double click: a click, then the double click.
void doubleClick(QWidget* widget, const QPoint& pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
}

const QStringList CustomerRights = {QStringLiteral("新建客户"), QStringLiteral("修改客户"), QStringLiteral("删除客户"),
                                    QStringLiteral("自定义客户信息"), QStringLiteral("导出Excel"),
                                    QStringLiteral("允许查看其它登录账号数据")};

} // namespace

// The account list and the two account windows, driven offscreen on both engines.
class TestAccountWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void rightsTreeFollowsTheRulesTable();
    void newAccountStoresTheCheckedLeaves();
    void newAccountInputIsChecked_data();
    void newAccountInputIsChecked();
    void nameTakesFortyCharacters();
    void modifyShowsAndSavesTheAccount();
    void adminRightsCannotBeChanged();
    void listWindowCommands();
    void deleteAccount_data();
    void deleteAccount();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestAccountWindows::init()
{
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
    LoginOper = new TLoginOper;
    DbExecute(QStringLiteral("insert into Oper (OperName, OperPass, Remark) values ('王五', ' pw ', '销售')@#@"
                             "insert into authority (OperName, Rules) values ('王五', '导出EXCEL')@#@"
                             "insert into authority (OperName, Rules) values ('王五', '新建客户')"));
    MessageTesting::begin();
}

void TestAccountWindows::cleanup()
{
    delete LoginOper;
    LoginOper = nullptr;
    m_db.reset();
}

void TestAccountWindows::rightsTreeFollowsTheRulesTable()
{
    // A row whose parent is not in the tree goes under the last node in display order.
    DbExecute(QStringLiteral("insert into Rules (SelfIndex, ParentIndex, TypeName) values (30, 99, '孤立权限')"));
    TFormAddOper window;
    window.show();
    auto* tree = Child<TKespCheckTreeView>(&window, "tv1");
    QCOMPARE(tree->topLevelItemCount(), 3);
    QStringList texts;
    for (QTreeWidgetItem* node : tree->AllNodes()) {
        texts.append(node->text(0));
        QCOMPARE(tree->NodeStateIndex(node), 1);
        QVERIFY(!node->isExpanded());
    }
    QCOMPARE(texts, (QStringList{"客户类别", "新建类别", "修改类别", "删除类别", "客户信息"} + CustomerRights
                     + QStringList{"系统管理", "登录账号管理", "数据维护", "孤立权限"}));
    QCOMPARE(FindNode(tree, QStringLiteral("孤立权限"))->parent()->text(0), QStringLiteral("数据维护"));
    const TNodeData data = FindNode(tree, QStringLiteral("导出Excel"))->data(0, Qt::UserRole).value<TNodeData>();
    QCOMPARE(data.SelfIndex, 10);
    QCOMPARE(data.ParentIndex, 5);
    QCOMPARE(data.TypeName, QStringLiteral("导出Excel"));
    QCOMPARE(window.windowTitle(), QStringLiteral("新建登录账号"));
    QCOMPARE(window.focusWidget(), Child<QLineEdit>(&window, "edtName"));
}

void TestAccountWindows::newAccountStoresTheCheckedLeaves()
{
    TFormAddOper window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* tree = Child<TKespCheckTreeView>(&window, "tv1");
    clickCheckBox(tree, FindNode(tree, QStringLiteral("客户信息")));
    clickCheckBox(tree, FindNode(tree, QStringLiteral("系统管理")));
    tree->expandAll();
    clickCheckBox(tree, FindNode(tree, QStringLiteral("登录账号管理")));
    QCOMPARE(tree->GetNodeState(FindNode(tree, QStringLiteral("系统管理"))), cbGrayed);
    // Blanks around the name are kept; two empty password boxes store an empty password.
    fill(&window, "edtName", QStringLiteral(" 新'人 "));
    fill(&window, "edtRemark", QStringLiteral("备注 @#@ %1"));
    clickButton(&window, "btnOK");

    QCOMPARE(TakeShownMessages(), QStringList());
    QCOMPARE(window.result(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(StoredRights(QStringLiteral(" 新'人 ")), CustomerRights + QStringList{QStringLiteral("数据维护")});
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Oper where OperName=' 新''人 ' and OperPass='' "
                                           "and Remark='备注 @#@ %1'")),
             1);
}

void TestAccountWindows::newAccountInputIsChecked_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("newPass");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("empty name") << "" << "" << "" << "登录账号不能为空!";
    QTest::newRow("blank name") << "   " << "x" << "x" << "登录账号不能为空!";
    QTest::newRow("passwords differ") << "新人" << "abc" << "abd" << "两次输入密码不同!";
    QTest::newRow("passwords differ by a blank") << "新人" << "abc" << "abc " << "两次输入密码不同!";
    QTest::newRow("taken name") << "王五" << "" << "" << "该操作员名已经存在！";
}

void TestAccountWindows::newAccountInputIsChecked()
{
    QFETCH(QString, name);
    QFETCH(QString, newPass);
    QFETCH(QString, pass);
    QFETCH(QString, refusal);
    TFormAddOper window;
    window.show();
    auto* tree = Child<TKespCheckTreeView>(&window, "tv1");
    tree->SetNodeChecked(FindNode(tree, QStringLiteral("客户类别")), true);
    fill(&window, "edtName", name);
    fill(&window, "edtNewPass", newPass);
    fill(&window, "edtPass", pass);
    clickButton(&window, "btnOK");

    QCOMPARE(TakeShownMessages(), QStringList{QStringLiteral("错误:") + refusal});
    QVERIFY(window.isVisible());
    QCOMPARE(Child<QLineEdit>(&window, "edtName")->text(), name);
    QCOMPARE(operCount(), 2);
    QCOMPARE(StoredRights(QStringLiteral("王五")).size(), 2);
}

void TestAccountWindows::nameTakesFortyCharacters()
{
    TFormAddOper window;
    window.show();
    const QString typed = QString(20, QChar(0x540D)) + QString(21, QLatin1Char('a'));
    fill(&window, "edtName", typed);
    QCOMPARE(Child<QLineEdit>(&window, "edtName")->text(), typed.left(40));
}

void TestAccountWindows::modifyShowsAndSavesTheAccount()
{
    TFormModOper window(QStringLiteral("王五"));
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("修改登录账号"));
    auto* name = Child<QLineEdit>(&window, "edtName");
    QCOMPARE(name->text(), QStringLiteral("王五"));
    QVERIFY(!name->isEnabled());
    QCOMPARE(Child<QLineEdit>(&window, "edtNewPass")->text(), QStringLiteral("pw"));
    QCOMPARE(Child<QLineEdit>(&window, "edtPass")->text(), QStringLiteral("pw"));
    QCOMPARE(Child<QLineEdit>(&window, "edtRemark")->text(), QStringLiteral("销售"));
    QCOMPARE(window.focusWidget(), Child<QLineEdit>(&window, "edtNewPass"));

    // Stored rights are matched without regard to case: 导出EXCEL checks 导出Excel.
    auto* tree = Child<TKespCheckTreeView>(&window, "tv1");
    QVERIFY(tree->isEnabled());
    QStringList checked;
    for (QTreeWidgetItem* node : tree->AllNodes()) {
        if (tree->GetNodeState(node) == cbChecked)
            checked.append(node->text(0));
    }
    QCOMPARE(checked, (QStringList{QStringLiteral("新建客户"), QStringLiteral("导出Excel")}));
    QCOMPARE(tree->GetNodeState(FindNode(tree, QStringLiteral("客户信息"))), cbGrayed);

    tree->SetNodeChecked(FindNode(tree, QStringLiteral("客户类别")), true);
    fill(&window, "edtRemark", QStringLiteral("经理"));
    clickButton(&window, "btnOK");
    QCOMPARE(TakeShownMessages(), QStringList());
    QCOMPARE(window.result(), 1);
    QCOMPARE(StoredRights(QStringLiteral("王五")),
             (QStringList{"新建类别", "修改类别", "删除类别", "新建客户", "导出Excel"}));
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Oper where OperName='王五' and OperPass='pw' "
                                           "and Remark='经理'")),
             1);
}

void TestAccountWindows::adminRightsCannotBeChanged()
{
    DbExecute(QStringLiteral("insert into authority (OperName, Rules) values ('Admin', '新建客户')"));
    TFormModOper window(QStringLiteral("Admin"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* tree = Child<TKespCheckTreeView>(&window, "tv1");
    QVERIFY(!tree->isEnabled());
    QTreeWidgetItem* group = FindNode(tree, QStringLiteral("客户信息"));
    clickCheckBox(tree, group);
    tree->setCurrentItem(group);
    QTest::keyClick(tree, Qt::Key_Space);
    for (QTreeWidgetItem* node : tree->AllNodes())
        QCOMPARE(tree->GetNodeState(node), cbChecked);

    fill(&window, "edtNewPass", QStringLiteral("新密码"));
    fill(&window, "edtPass", QStringLiteral("新密码"));
    clickButton(&window, "btnOK");
    QCOMPARE(window.result(), 1);
    QCOMPARE(StoredRights(QStringLiteral("Admin")), QStringList());
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Oper where OperName='Admin' and OperPass='新密码'")), 1);
}

void TestAccountWindows::listWindowCommands()
{
    TFormOper window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("登录账号管理"));
    auto* list = Child<QTreeWidget>(&window, "lv1");
    QCOMPARE(list->topLevelItemCount(), 2);

    // Without a selected row, modify and delete do nothing; nor does a double
    // click beside the rows.
    bool opened = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    probe.start(0);
    clickButton(&window, "btnMod");
    clickButton(&window, "btnDel");
    doubleClick(list->viewport(), QPoint(5, list->viewport()->height() - 5));
    QCoreApplication::processEvents();
    probe.stop();
    QVERIFY(!opened);
    QCOMPARE(TakeShownMessages(), QStringList());

    OnNextModal([](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("新建登录账号"));
        fill(modal, "edtName", QStringLiteral("赵六"));
        fill(modal, "edtRemark", QStringLiteral("新来的"));
        clickButton(modal, "btnOK");
    });
    clickButton(&window, "btnAdd");
    QCOMPARE(list->topLevelItemCount(), 3);

    QTreeWidgetItem* row = list->findItems(QStringLiteral("王五"), Qt::MatchExactly).value(0);
    QVERIFY(row);
    OnNextModal([](QWidget* modal) {
        QCOMPARE(Child<QLineEdit>(modal, "edtName")->text(), QStringLiteral("王五"));
        fill(modal, "edtRemark", QStringLiteral("改过"));
        clickButton(modal, "btnOK");
    });
    doubleClick(list->viewport(), list->visualItemRect(row).center());
    row = list->findItems(QStringLiteral("王五"), Qt::MatchExactly).value(0);
    QCOMPARE(row->text(1), QStringLiteral("改过"));
    QCOMPARE(list->findItems(QStringLiteral("赵六"), Qt::MatchExactly).value(0)->text(1), QStringLiteral("新来的"));
}

void TestAccountWindows::deleteAccount_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("Admin is refused") << "Admin" << true << QStringList{"错误:不能删除 Admin!"} << false;
    QTest::newRow("answered no") << "王五" << false << QStringList{"确认:确定要删除 王五 吗？"} << false;
    QTest::newRow("answered yes") << "王五" << true
                                  << QStringList{"确认:确定要删除 王五 吗？", "提示:删除成功！"} << true;
}

void TestAccountWindows::deleteAccount()
{
    QFETCH(QString, name);
    QFETCH(bool, answer);
    QFETCH(QStringList, shown);
    QFETCH(bool, deleted);
    TFormOper window;
    window.show();
    auto* list = Child<QTreeWidget>(&window, "lv1");
    list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
    MessageTesting::setNextAnswer(answer);
    clickButton(&window, "btnDel");

    QCOMPARE(TakeShownMessages(), shown);
    QCOMPARE(list->findItems(name, Qt::MatchExactly).isEmpty(), deleted);
    QCOMPARE(list->topLevelItemCount(), deleted ? 1 : 2);
    QCOMPARE(operCount(), deleted ? 1 : 2);
    QCOMPARE(StoredRights(name).isEmpty(), deleted || name == QLatin1String("Admin"));
}

KESP_DB_TEST(TestAccountWindows)
#include "testaccountwindows.moc"
