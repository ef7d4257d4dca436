#include "customerfixture.h"

#include "common/exceptions.h"
#include "customers/customer.h"
#include "customers/usertype.h"
#include "data/dbaccess.h"

#include <QTest>
#include <QTreeWidget>

class TestUserType : public CustomerTestCase
{
    Q_OBJECT

private slots:
    void addLookUpAndRefuseDuplicate_data();
    void addLookUpAndRefuseDuplicate();
    void deleteRefusedWhileCustomersUseCategory();
    void lookUpEdgeCases();
    void renameToAnotherCategorysName();
    void namesAndTreeKeepBlankNamesApart();
    void treeWithoutCategoriesHoldsOnlyRoot();

private:
    int categoryCount() { return DbQueryInteger(QStringLiteral("select count(*) from UserType")); }
};

void TestUserType::addLookUpAndRefuseDuplicate_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("chinese") << QStringLiteral("批发客户");
    QTest::newRow("quotes") << QStringLiteral("O'Brien's \"VIP\"");
    QTest::newRow("batch separator") << QStringLiteral("甲@#@乙");
    QTest::newRow("pattern characters") << QStringLiteral("100%_客户");
    QTest::newRow("emoji") << QStringLiteral("😀 客户");
}

void TestUserType::addLookUpAndRefuseDuplicate()
{
    QFETCH(QString, name);
    const int id = fixture->addCategory(name);
    QVERIFY(id > 0);
    QVERIFY(UserType->TypeExists(name));

    QStringList names;
    UserType->GetTypeNames(names);
    QCOMPARE(names, QStringList{name});
    UserType->TypeName.clear();
    UserType->LoadType(QString::number(id));
    QCOMPARE(UserType->TypeName, name);

    UserType->TypeName = name;
    try {
        UserType->AddType();
        QFAIL("a name that exists was added again");
    } catch (const Exception& refusal) {
        QCOMPARE(refusal.Message, QStringLiteral("该客户类别已经存在!"));
    }
    QCOMPARE(categoryCount(), 1);
}

void TestUserType::deleteRefusedWhileCustomersUseCategory()
{
    const int used = fixture->addCategory(QStringLiteral("零售"));
    const int unused = fixture->addCategory(QStringLiteral("批发"));
    const QString guid = fixture->addCustomer(used, {{2, QStringLiteral("张三")}});

    try {
        UserType->DeleteType(QString::number(used));
        QFAIL("a category with a customer was deleted");
    } catch (const Exception& refusal) {
        QCOMPARE(refusal.Message, QStringLiteral("客户类别中包括有客户，不能删除!"));
    }
    QCOMPARE(categoryCount(), 2);

    UserType->DeleteType(QString::number(unused));
    QCOMPARE(UserType->GetTypeID(QStringLiteral("批发")), 0);
    Customer->DeleteCustomer(guid);
    UserType->DeleteType(QString::number(used));
    QCOMPARE(categoryCount(), 0);
}

void TestUserType::lookUpEdgeCases()
{
    fixture->addCategory(QStringLiteral("零售"));
    UserType->SQL = QStringLiteral("untouched");
    QCOMPARE(UserType->GetTypeID(QString()), -1);
    QCOMPARE(UserType->SQL, QStringLiteral("untouched"));
    QCOMPARE(UserType->GetTypeID(QStringLiteral("零")), 0);
    QCOMPARE(UserType->GetTypeID(QStringLiteral("零售 ")), 0);
    QVERIFY(!UserType->TypeExists(QStringLiteral("批发")));
}

void TestUserType::renameToAnotherCategorysName()
{
    const int first = fixture->addCategory(QStringLiteral("甲"));
    const int second = fixture->addCategory(QStringLiteral("乙"));
    UserType->TypeName = QStringLiteral("甲");
    UserType->RenameType(QString::number(second));

    UserType->LoadType(QString::number(second));
    QCOMPARE(UserType->TypeName, QStringLiteral("甲"));
    QCOMPARE(UserType->GetTypeID(QStringLiteral("甲")), first);
    QCOMPARE(categoryCount(), 2);
}

void TestUserType::namesAndTreeKeepBlankNamesApart()
{
    DbExecute(QStringLiteral(
        "insert into UserType(TypeName) values ('零售')@#@insert into UserType(TypeName) values ('')"
        "@#@insert into UserType(TypeName) values ('   ')@#@insert into UserType(TypeName) values (' 批发 ')"));
    QStringList names{QStringLiteral("old entry")};
    UserType->GetTypeNames(names);
    QCOMPARE(names, (QStringList{QStringLiteral("零售"), QStringLiteral(" 批发 ")}));

    QTreeWidget tree;
    tree.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("old node")}));
    UserType->FillTypeTree(&tree);
    QCOMPARE(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree.topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("客户类别"));
    QVERIFY(root->isExpanded());
    QCOMPARE(root->data(0, TUserType::ImageIndexRole).toInt(), 0);
    QStringList texts;
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem* node = root->child(i);
        texts.append(node->text(0));
        QCOMPARE(node->data(0, TUserType::ImageIndexRole).toInt(), 1);
        QCOMPARE(node->data(0, TUserType::SelectedIndexRole).toInt(), 2);
        QVERIFY(!node->icon(0).isNull());
    }
    QCOMPARE(texts, (QStringList{QStringLiteral("零售"), QString(), QStringLiteral("   "), QStringLiteral(" 批发 ")}));
}

void TestUserType::treeWithoutCategoriesHoldsOnlyRoot()
{
    QTreeWidget tree;
    UserType->FillTypeTree(&tree);
    QCOMPARE(tree.topLevelItemCount(), 1);
    QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("客户类别"));
    QCOMPARE(tree.topLevelItem(0)->childCount(), 0);
    QVERIFY(tree.topLevelItem(0)->isExpanded());

    QStringList names{QStringLiteral("old entry")};
    UserType->GetTypeNames(names);
    QVERIFY(names.isEmpty());
}

KESP_DB_TEST(TestUserType)
#include "usertypetest.moc"
