#include "rightstestutils.h"
#include "testdatabase.h"

#include "common/exceptions.h"
#include "controls/checktreeview.h"
#include "data/dbaccess.h"
#include "operators/oper.h"

#include <QTest>

// Saving accounts and their rights from a rights tree, on both engines.
class TestOper : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void insertStoresCheckedLeaves_data();
    void insertStoresCheckedLeaves();
    void insertRefusesATakenName_data();
    void insertRefusesATakenName();
    void updateReplacesRights_data();
    void updateReplacesRights();
    void loadReadsTheAccount();

private:
    // 组一 { a1, a2, 组二 { b1 } }, then the top-level leaf "c'@#@%1".
    void fillTree();
    void check(const QStringList& checked, const QStringList& partlyChecked);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TKespCheckTreeView> m_tree;
    std::unique_ptr<TOper> m_oper;
};

void TestOper::init()
{
    m_db = std::make_unique<TestDatabase>();
    REQUIRE_DATABASE(*m_db);
    m_tree = std::make_unique<TKespCheckTreeView>();
    m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList(QStringLiteral("left over"))));
    m_oper = std::make_unique<TOper>(m_tree.get());
    QCOMPARE(m_tree->topLevelItemCount(), 0);
    fillTree();
}

void TestOper::cleanup()
{
    m_oper.reset();
    m_tree.reset();
    m_db.reset();
}

void TestOper::fillTree()
{
    auto* group1 = new QTreeWidgetItem(QStringList(QStringLiteral("组一")));
    group1->addChild(new QTreeWidgetItem(QStringList(QStringLiteral("a1"))));
    group1->addChild(new QTreeWidgetItem(QStringList(QStringLiteral("a2"))));
    auto* group2 = new QTreeWidgetItem(QStringList(QStringLiteral("组二")));
    group2->addChild(new QTreeWidgetItem(QStringList(QStringLiteral("b1"))));
    group1->addChild(group2);
    m_tree->addTopLevelItem(group1);
    m_tree->addTopLevelItem(new QTreeWidgetItem(QStringList(QStringLiteral("c'@#@%1"))));
    for (QTreeWidgetItem* item : m_tree->AllNodes())
        m_tree->SetNodeChecked(item, false);
}

void TestOper::check(const QStringList& checked, const QStringList& partlyChecked)
{
    for (const QString& text : checked)
        m_tree->SetNodeChecked(FindNode(m_tree.get(), text), true);
    // Only a damaged tree has a partly checked leaf; it still counts as granted.
    for (const QString& text : partlyChecked)
        m_tree->SetNodeStateIndex(FindNode(m_tree.get(), text), 3);
}

void TestOper::insertStoresCheckedLeaves_data()
{
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("partlyChecked");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("nothing checked") << QStringList() << QStringList() << QStringList();
    QTest::newRow("a group stores its leaves, not itself")
        << QStringList{"组一"} << QStringList() << QStringList{"a1", "a2", "b1"};
    QTest::newRow("display order, not the order of checking")
        << QStringList{"c'@#@%1", "b1", "a1"} << QStringList() << QStringList{"a1", "b1", "c'@#@%1"};
    QTest::newRow("the groups above a checked leaf are not stored")
        << QStringList{"b1"} << QStringList() << QStringList{"b1"};
    QTest::newRow("a partly checked leaf counts") << QStringList() << QStringList{"a2"} << QStringList{"a2"};
}

void TestOper::insertStoresCheckedLeaves()
{
    QFETCH(QStringList, checked);
    QFETCH(QStringList, partlyChecked);
    QFETCH(QStringList, stored);
    check(checked, partlyChecked);
    m_oper->OperName = QStringLiteral("O'Neil @#@ %1");
    m_oper->OperPass = QStringLiteral("p'w %2");
    m_oper->Remark = QStringLiteral("备注 '😀' @#@");
    m_oper->Insert();

    QCOMPARE(StoredRights(m_oper->OperName), stored);
    TOper loaded(m_tree.get());
    loaded.Load(QStringLiteral("O'Neil @#@ %1"));
    QCOMPARE(loaded.OperName, QStringLiteral("O'Neil @#@ %1"));
    QCOMPARE(loaded.OperPass, QStringLiteral("p'w %2"));
    QCOMPARE(loaded.Remark, QStringLiteral("备注 '😀' @#@"));
}

void TestOper::insertRefusesATakenName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Admin") << "Admin";
    QTest::newRow("a name with a quote") << "it's";
}

void TestOper::insertRefusesATakenName()
{
    QFETCH(QString, name);
    DbExecute(QStringLiteral("insert into Oper (OperName, OperPass, Remark) values ('it''s', 'old', '')@#@"
                             "insert into authority (OperName, Rules) values ('it''s', 'a1')"));
    check({QStringLiteral("组一")}, {});
    m_oper->OperName = name;
    m_oper->OperPass = QStringLiteral("new");
    try {
        m_oper->Insert();
        QFAIL("a taken name was saved");
    } catch (const Exception& refusal) {
        QCOMPARE(refusal.Message, QStringLiteral("该操作员名已经存在！"));
    }
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Oper")), 2);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from authority")), 1);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Oper where OperPass='new'")), 0);
}

void TestOper::updateReplacesRights_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("an ordinary account") << "王'五" << QStringList{"a1", "a2", "b1"};
    QTest::newRow("Admin keeps no rows") << "Admin" << QStringList();
    QTest::newRow("admin is an ordinary account") << "admin" << QStringList{"a1", "a2", "b1"};
}

void TestOper::updateReplacesRights()
{
    QFETCH(QString, name);
    QFETCH(QStringList, stored);
    const QString escaped = SqlEscape(name);
    DbExecute(QStringLiteral("insert into Oper (OperName, OperPass, Remark) select '%1', 'old', 'old' "
                             "where not exists (select 1 from Oper where OperName='%1')@#@"
                             "insert into authority (OperName, Rules) values ('%1', '旧权限')@#@"
                             "insert into authority (OperName, Rules) values ('%1', '不在规则树里')@#@"
                             "insert into authority (OperName, Rules) values ('其他人', 'a1')")
                  .arg(escaped));
    check({QStringLiteral("组一")}, {});
    m_oper->OperName = name;
    m_oper->OperPass = QStringLiteral("新'密码");
    m_oper->Remark = QStringLiteral("新备注");
    m_oper->Update();

    QCOMPARE(StoredRights(name), stored);
    QCOMPARE(StoredRights(QStringLiteral("其他人")), QStringList{QStringLiteral("a1")});
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Oper where OperName='%1' and OperPass='新''密码' "
                                           "and Remark='新备注'")
                                .arg(escaped)),
             1);
}

void TestOper::loadReadsTheAccount()
{
    DbExecute(QStringLiteral("insert into Oper (OperName, OperPass, Remark) values ('王''五', NULL, '  备注 ')@#@"
                             "insert into authority (OperName, Rules) values ('王''五', '导出EXCEL')@#@"
                             "insert into authority (OperName, Rules) values ('王''五', 'a1')"));
    m_oper->Rights = QStringList{QStringLiteral("stale")};
    m_oper->Load(QStringLiteral("王'五"));
    QCOMPARE(m_oper->OperName, QStringLiteral("王'五"));
    QCOMPARE(m_oper->OperPass, QString());
    QCOMPARE(m_oper->Remark, QStringLiteral("  备注 "));
    QCOMPARE(m_oper->Rights, (QStringList{QStringLiteral("导出EXCEL"), QStringLiteral("a1")}));
    QCOMPARE(m_tree->AllNodes().size(), 6);
}

KESP_DB_TEST(TestOper)
#include "testoper.moc"
