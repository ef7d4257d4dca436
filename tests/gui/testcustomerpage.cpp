#include "customerfixture.h"
#include "guitest.h"
#include "mainwindowtest.h"

#include "common/messages.h"
#include "common/waitingpanel.h"
#include "controls/stringgrid.h"
#include "customers/fieldtitles.h"
#include "data/dbaccess.h"
#include "mainwindow/customerpage.h"
#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString Retail = QStringLiteral("零售");
const QString Wholesale = QStringLiteral("批发");
const QString Prospects = QStringLiteral("潜在");

// The commands step 9 of the window's show sets by right.
const QStringList RightsCommands{"NAddType", "NModType",     "NDelType", "NOper",        "NData",
                                 "btnAdd",   "NAddCustomer", "NAddCustomer2", "btnMod", "NModCustomer",
                                 "btnDel",   "NDelCustomer", "btnDIY",   "btnExcel",     "NExcel"};

} // namespace

// The customer page and the loading steps of the main window's show, after a
// real login, on both engines. Three customers: 张三 and 李四 in 零售, 王五
// in 批发; the category 潜在 has none.
class TestCustomerPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showLoadsThePage();
    void query_data();
    void query();
    void newCustomerGoesToTheEnd_data();
    void newCustomerGoesToTheEnd();
    void modifyUpdatesTheCurrentRow();
    void deleteRemovesTheCurrentRow();
    void modifyAndDeleteNeedACustomer();
    void newAndDeleteCategory();
    void renameCategoryInPlace_data();
    void renameCategoryInPlace();
    void fieldTitlesChangeColumnsAndSearchFields();
    void exportWritesTheGrid();
    void commandsFollowRights_data();
    void commandsFollowRights();

private:
    void openMainWindow(const QString& oper = AdminName) { OpenMainWindow(m_window, oper); }
    template <typename T>
    T* control(const char* name) const
    {
        return Child<T>(m_window.get(), name);
    }
    TKespStringGrid* grid() const { return control<TKespStringGrid>("StringGrid1"); }
    QTreeWidget* tree() const { return control<QTreeWidget>("tv1"); }
    QString count() const { return control<QLabel>("statPanel1")->text(); }
    QStringList column(int col) const { return GridColumn(*grid(), col); }
    QTreeWidgetItem* node(const QString& text) const;
    void clickNode(const QString& text);
    // As the operator does it: a click, then the double-click.
    void doubleClickRow(int row);
    // Clicks the item in its pop-up menu.
    void choose(const char* item);
    // Whether a right-click on the view opens its pop-up menu.
    bool popsUp(QAbstractItemView* view, const char* menu);

    std::unique_ptr<CustomerFixture> m_fixture;
    std::unique_ptr<TFormMain> m_window;
    QMap<QString, QString> m_keys;
};

void TestCustomerPage::init()
{
    MessageTesting::takeShown();
    m_fixture = std::make_unique<CustomerFixture>();
    REQUIRE_DATABASE(m_fixture->db);
    m_fixture->setTitles({{1, QStringLiteral("号码")}, {2, QStringLiteral("姓名")}, {5, QStringLiteral("QQ")}});
    const int retail = m_fixture->addCategory(Retail);
    const int wholesale = m_fixture->addCategory(Wholesale);
    m_fixture->addCategory(Prospects);
    m_keys.clear();
    m_keys[QStringLiteral("张三")] = m_fixture->addCustomer(retail, {{1, "A001"}, {2, "张三"}, {5, "8881"}});
    m_keys[QStringLiteral("李四")] = m_fixture->addCustomer(retail, {{1, "A002"}, {2, "李四"}, {5, "1234"}});
    m_keys[QStringLiteral("王五")] = m_fixture->addCustomer(wholesale, {{1, "B001"}, {2, "王五"}, {5, "9888"}});
}

void TestCustomerPage::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

QTreeWidgetItem* TestCustomerPage::node(const QString& text) const
{
    const QList<QTreeWidgetItem*> found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

void TestCustomerPage::clickNode(const QString& text)
{
    QTreeWidgetItem* item = node(text);
    QVERIFY2(item, qPrintable(text));
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(item).center());
}

void TestCustomerPage::doubleClickRow(int row)
{
    const QPoint cell = grid()->visualRect(grid()->model()->index(row - 1, 3)).center();
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cell);
}

void TestCustomerPage::choose(const char* item)
{
    ChooseFromMenu(control<QAction>(item));
}

bool TestCustomerPage::popsUp(QAbstractItemView* view, const char* menu)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), view->viewport()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(view->viewport(), &event);
    auto* popup = control<QMenu>(menu);
    const bool shown = popup->isVisible();
    popup->close();
    return shown;
}

void TestCustomerPage::showLoadsThePage()
{
    openMainWindow();
    QTreeWidgetItem* root = tree()->topLevelItem(0);
    QCOMPARE(tree()->topLevelItemCount(), 1);
    QCOMPARE(root->text(0), QStringLiteral("客户类别"));
    QVERIFY(root->isExpanded());
    QCOMPARE(root->childCount(), 3);
    QCOMPARE(root->child(1)->text(0), Wholesale);
    QCOMPARE(tree()->toolTip(), CategoryTreeHint);

    auto* fields = control<QComboBox>("cbbQuery");
    QCOMPARE(fields->count(), 3);
    QCOMPARE(fields->itemText(2), QStringLiteral("QQ"));
    QCOMPARE(fields->currentIndex(), 0);

    QCOMPARE(grid()->RowTexts(0), (QStringList{"sGUID", "所属类别", "号码", "姓名", "QQ", "操作账号"}));
    QCOMPARE(grid()->ColWidths(0), 0);
    QCOMPARE(column(3), (QStringList{"张三", "李四", "王五"}));
    QCOMPARE(column(0), (QStringList{m_keys["张三"], m_keys["李四"], m_keys["王五"]}));
    QCOMPARE(count(), QStringLiteral("当前客户记录数:3"));
    QVERIFY(takeShown().isEmpty());
}

void TestCustomerPage::query_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("root lists every category")
        << "客户类别" << "" << 0 << "tree" << QStringList{"张三", "李四", "王五"};
    QTest::newRow("one category") << Retail << "" << 1 << "tree" << QStringList{"张三", "李四"};
    QTest::newRow("category without customers") << Prospects << "" << 0 << "tree" << QStringList{""};
    QTest::newRow("search within a category") << Retail << "李" << 1 << "tree" << QStringList{"李四"};
    QTest::newRow("empty search ignores the field") << Wholesale << "" << 2 << "button" << QStringList{"王五"};
    QTest::newRow("search field chosen") << "" << "888" << 2 << "enter" << QStringList{"张三", "王五"};
    QTest::newRow("percent is literal") << "" << "%" << 1 << "button" << QStringList{""};
}

void TestCustomerPage::query()
{
    QFETCH(QString, category);
    QFETCH(QString, search);
    QFETCH(int, field);
    QFETCH(QString, how);
    QFETCH(QStringList, names);
    openMainWindow();

    control<QLineEdit>("edtQuery")->setText(search);
    control<QComboBox>("cbbQuery")->setCurrentIndex(field);
    if (how == QLatin1String("tree")) {
        clickNode(category);
    } else {
        if (!category.isEmpty())
            node(category)->setSelected(true);
        if (how == QLatin1String("enter"))
            QTest::keyClick(control<QLineEdit>("edtQuery"), Qt::Key_Return);
        else
            QTest::mouseClick(control<QPushButton>("btnQuery"), Qt::LeftButton);
    }
    QCOMPARE(column(3), names);
    QCOMPARE(count(), QStringLiteral("当前客户记录数:%1").arg(names.first().isEmpty() ? 0 : names.size()));
    QCOMPARE(FormWaiting->caption(), QStringLiteral("正在查询数据,请稍候..."));
    QVERIFY(!FormWaiting->isVisible());
}

void TestCustomerPage::newCustomerGoesToTheEnd_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QStringList>("names");

    // The new customer is in 零售 and shows whatever the list's filter.
    QTest::newRow("after the list") << "" << true << QStringList{"张三", "李四", "王五", " 新客户 "};
    QTest::newRow("after another category") << Wholesale << true << QStringList{"王五", " 新客户 "};
    QTest::newRow("into an empty list") << Prospects << true << QStringList{" 新客户 "};
    QTest::newRow("cancelled") << Wholesale << false << QStringList{"王五"};
}

void TestCustomerPage::newCustomerGoesToTheEnd()
{
    QFETCH(QString, category);
    QFETCH(bool, save);
    QFETCH(QStringList, names);
    openMainWindow();
    if (!category.isEmpty())
        clickNode(category);
    control<QLabel>("statPanel1")->clear();

    DriveNextModal([&](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("新建客户信息"));
        if (!save)
            return;
        TypeText(Child<QLineEdit>(dialog, "edt200002"), QStringLiteral(" 新客户 "));
        ClickOK(dialog);
    });
    QTest::mouseClick(control<QPushButton>("btnAdd"), Qt::LeftButton);

    QCOMPARE(column(3), names);
    QCOMPARE(count(), QStringLiteral("当前客户记录数:%1").arg(names.size()));
    if (save) {
        const QString key = column(0).last();
        QCOMPARE(CustomerFixture::rows(QStringLiteral("select Kesp200002 from Customer where sGUID='%1'").arg(key)),
                 QList<QStringList>{{QStringLiteral(" 新客户 ")}});
        QCOMPARE(grid()->Cells(1, grid()->RowCount() - 1), Retail);
    }
}

// Through the button and through a double-click on another row.
void TestCustomerPage::modifyUpdatesTheCurrentRow()
{
    openMainWindow();
    grid()->SetRow(2);
    DriveNextModal([](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("修改客户信息"));
        auto* name = Child<QLineEdit>(dialog, "edt200002");
        QCOMPARE(name->text(), QStringLiteral("李四"));
        ReplaceText(name, QStringLiteral("李四改"));
        ClickOK(dialog);
    });
    QTest::mouseClick(control<QPushButton>("btnMod"), Qt::LeftButton);
    QCOMPARE(column(3), (QStringList{"张三", "李四改", "王五"}));

    QString shownName;
    DriveNextModal([&](QDialog* dialog) { shownName = Child<QLineEdit>(dialog, "edt200002")->text(); });
    doubleClickRow(3);
    QCOMPARE(shownName, QStringLiteral("王五"));
    QCOMPARE(column(3), (QStringList{"张三", "李四改", "王五"}));
}

void TestCustomerPage::deleteRemovesTheCurrentRow()
{
    openMainWindow();
    const Shown question{{QStringLiteral("确认"), QStringLiteral("确实要删除所选记录吗?")}};
    grid()->SetRow(2);
    MessageTesting::setNextAnswer(false);
    QTest::mouseClick(control<QPushButton>("btnDel"), Qt::LeftButton);
    QCOMPARE(takeShown(), question);
    QCOMPARE(column(3), (QStringList{"张三", "李四", "王五"}));

    MessageTesting::setNextAnswer(true);
    QTest::mouseClick(control<QPushButton>("btnDel"), Qt::LeftButton);
    QCOMPARE(takeShown(), (question + Shown{{QStringLiteral("提示"), QStringLiteral("删除成功！")}}));
    QCOMPARE(column(3), (QStringList{"张三", "王五"}));
    QCOMPARE(count(), QStringLiteral("当前客户记录数:2"));
    QVERIFY(CustomerFixture::rows(QStringLiteral("select sGUID from Customer where sGUID='%1'").arg(m_keys["李四"]))
                .isEmpty());

    // The last customer of a list leaves one empty row.
    clickNode(Wholesale);
    MessageTesting::setNextAnswer(true);
    choose("NDelCustomer");
    QCOMPARE(grid()->RowCount(), 2);
    QCOMPARE(column(3), QStringList{QString()});
    QCOMPARE(count(), QStringLiteral("当前客户记录数:0"));
}

// An empty list: the key cell is empty, so neither command asks or opens anything.
void TestCustomerPage::modifyAndDeleteNeedACustomer()
{
    openMainWindow();
    clickNode(Prospects);
    QVERIFY(!OpensModal([this] { QTest::mouseClick(control<QPushButton>("btnMod"), Qt::LeftButton); }));
    QTest::mouseClick(control<QPushButton>("btnDel"), Qt::LeftButton);
    QVERIFY(takeShown().isEmpty());
    QCOMPARE(CustomerFixture::rows(QStringLiteral("select count(*) from Customer")).value(0).value(0),
             QStringLiteral("3"));
}

void TestCustomerPage::newAndDeleteCategory()
{
    openMainWindow();
    const auto addCategory = [this](const QString& name) {
        DriveNextModal([name](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("新建客户类别"));
            QCOMPARE(Child<QLabel>(dialog, "LabTitle")->text(), QStringLiteral("类别名称"));
            TypeText(Child<QLineEdit>(dialog, "EdtValues"), name);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        choose("NAddType");
    };
    addCategory(QStringLiteral("it's 新"));
    QVERIFY(node(QStringLiteral("it's 新")));
    QVERIFY(takeShown().isEmpty());

    // A refused command leaves the tree as it was, selection included. The
    // failure ends the click's handling early, which QTest reports.
    const char* unhandledClick = "Mouse event \"MouseRelease\" not accepted by receiving widget";
    clickNode(Retail);
    QTest::ignoreMessage(QtWarningMsg, unhandledClick);
    addCategory(Wholesale);
    QCOMPARE(takeShown(), (Shown{{QStringLiteral("错误"), QStringLiteral("该客户类别已经存在!")}}));
    QCOMPARE(tree()->topLevelItem(0)->childCount(), 4);
    QVERIFY(node(Retail)->isSelected());

    MessageTesting::setNextAnswer(true);
    QTest::ignoreMessage(QtWarningMsg, unhandledClick);
    choose("NDelType");
    QCOMPARE(takeShown(), (Shown{{QStringLiteral("确认"), QStringLiteral("确定要删除: 零售 吗？")},
                                 {QStringLiteral("错误"), QStringLiteral("客户类别中包括有客户，不能删除!")}}));
    QVERIFY(node(Retail)->isSelected());

    clickNode(Prospects);
    MessageTesting::setNextAnswer(false);
    choose("NDelType");
    QVERIFY(node(Prospects));
    MessageTesting::setNextAnswer(true);
    choose("NDelType");
    QVERIFY(!node(Prospects));
    QCOMPARE(tree()->topLevelItem(0)->childCount(), 3);
    QCOMPARE(takeShown().size(), 2);

    // The root is no category: nothing to rename or delete.
    clickNode(QStringLiteral("客户类别"));
    choose("NDelType");
    choose("NModType");
    QVERIFY(takeShown().isEmpty());
    QVERIFY(tree()->viewport()->findChildren<QLineEdit*>().isEmpty());
}

void TestCustomerPage::renameCategoryInPlace_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("name");

    QTest::newRow("renamed") << "零售店" << int(Qt::Key_Return) << "零售店";
    QTest::newRow("quote kept") << "it's" << int(Qt::Key_Return) << "it's";
    QTest::newRow("same text") << Retail << int(Qt::Key_Return) << Retail;
    QTest::newRow("escape cancels") << "零售店" << int(Qt::Key_Escape) << Retail;
}

// A rename that changes the name runs the query, so the list shows the new
// name; otherwise the list stays as it was, marker included.
void TestCustomerPage::renameCategoryInPlace()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, name);
    openMainWindow();
    clickNode(Retail);
    QTreeWidgetItem* category = node(Retail);
    const QString marker = QStringLiteral("未刷新");
    grid()->SetCell(1, 1, marker);

    bool editing = false;
    QTimer::singleShot(0, [&] {
        auto* editor = tree()->viewport()->findChild<QLineEdit*>();
        editing = editor && editor->text() == Retail;
        if (!editor)
            return;
        editor->selectAll();
        TypeText(editor, typed);
        QTest::keyClick(editor, Qt::Key(key));
    });
    choose("NModType");

    QVERIFY(editing);
    QCOMPARE(category->text(0), name);
    QVERIFY(!(category->flags() & Qt::ItemIsEditable));
    QVERIFY(!control<QMenu>("pmSystem")->isVisible());
    QCOMPARE(CustomerFixture::rows(QStringLiteral("select TypeName from UserType where TypeName='%1'")
                                       .arg(SqlEscape(name)))
                 .size(),
             1);
    const bool renamed = name != Retail;
    QCOMPARE(column(1), (renamed ? QStringList{name, name} : QStringList{marker, Retail}));
    QVERIFY(takeShown().isEmpty());
}

void TestCustomerPage::fieldTitlesChangeColumnsAndSearchFields()
{
    openMainWindow();
    control<QComboBox>("cbbQuery")->setCurrentIndex(2);
    DriveNextModal([](QDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("自定义资料标题"));
        ReplaceText(Child<QLineEdit>(dialog, "edt200005"), QStringLiteral("微信"));
        TypeText(Child<QLineEdit>(dialog, "edt200003"), QStringLiteral("性别"));
        ClickOK(dialog);
    });
    QTest::mouseClick(control<QPushButton>("btnDIY"), Qt::LeftButton);
    QCOMPARE(takeShown(), (Shown{{QStringLiteral("提示"), QStringLiteral("保存成功！")}}));
    QCOMPARE(grid()->RowTexts(0), (QStringList{"sGUID", "所属类别", "号码", "姓名", "性别", "微信", "操作账号"}));
    QCOMPARE(column(5), (QStringList{"8881", "1234", "9888"}));
    auto* fields = control<QComboBox>("cbbQuery");
    QCOMPARE(fields->count(), 4);
    QCOMPARE(fields->itemText(3), QStringLiteral("微信"));
    QCOMPARE(fields->currentIndex(), 0);
    QCOMPARE(count(), QStringLiteral("当前客户记录数:3"));
}

void TestCustomerPage::exportWritesTheGrid()
{
    openMainWindow();
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("客户.xls"));
    MessageTesting::setNextFileName(fileName);
    QTest::mouseClick(control<QPushButton>("btnExcel"), Qt::LeftButton);
    QCOMPARE(takeShown(), (Shown{{QStringLiteral("提示"), QStringLiteral("导出数据到") + fileName + QStringLiteral("成功!")}}));
    QVERIFY(QFileInfo(fileName).size() > 0);
}

void TestCustomerPage::commandsFollowRights_data()
{
    QTest::addColumn<QStringList>("rights");
    QTest::addColumn<QStringList>("visible");

    const QString seeAll = QStringLiteral("允许查看其它登录账号数据");
    QTest::newRow("Admin") << QStringList() << RightsCommands;
    QTest::newRow("some rights") << QStringList{seeAll, "新建类别", "修改客户", "导出Excel"}
                                 << QStringList{"NAddType", "btnMod", "NModCustomer", "btnExcel", "NExcel"};
    QTest::newRow("the other rights")
        << QStringList{seeAll, "修改类别", "删除类别", "登录账号管理", "数据维护", "新建客户", "删除客户",
                       "自定义客户信息"}
        << QStringList{"NModType", "NDelType", "NOper", "NData", "btnAdd", "NAddCustomer", "NAddCustomer2",
                       "btnDel", "NDelCustomer", "btnDIY"};
    QTest::newRow("no rights") << QStringList{seeAll} << QStringList();
}

// Admin holds every right; another operator sees only the commands of his
// rights, and the grid's double-click is refused without "修改客户".
void TestCustomerPage::commandsFollowRights()
{
    QFETCH(QStringList, rights);
    QFETCH(QStringList, visible);
    const QString oper = rights.isEmpty() ? QStringLiteral("Admin") : QStringLiteral("操作员");
    if (!rights.isEmpty())
        AddOperator(oper, rights);
    openMainWindow(oper);

    QStringList shown;
    for (const QString& name : RightsCommands) {
        if (auto* action = m_window->findChild<QAction*>(name)) {
            if (action->isVisible())
                shown.append(name);
        } else if (!m_window->findChild<QWidget*>(name)->isHidden()) {
            shown.append(name);
        }
    }
    QCOMPARE(shown, visible);
    QVERIFY(!control<QPushButton>("btnSystem")->isHidden());
    QVERIFY(control<QAction>("NOpenWWW1")->isVisible());
    QCOMPARE(popsUp(tree(), "pmCustomerType"), !visible.isEmpty());
    QCOMPARE(popsUp(grid(), "pmCustomer"), !visible.isEmpty());

    const bool mayModify = visible.contains(QStringLiteral("btnMod"));
    QCOMPARE(OpensModal([this] { doubleClickRow(1); }), mayModify);
}

KESP_DB_TEST(TestCustomerPage)
#include "testcustomerpage.moc"
