#include "customerfixture.h"

#include "controls/stringgrid.h"
#include "customers/customer.h"
#include "customers/fieldtitles.h"
#include "customers/usertype.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QString SeeOthersRight = QStringLiteral("允许查看其它登录账号数据");

QMap<int, QString> everyField(const QString& prefix)
{
    QMap<int, QString> fields;
    for (int field = 1; field <= CustomerFieldCount; ++field)
        fields.insert(field, prefix + QString::number(field));
    return fields;
}

} // namespace

class TestCustomer : public CustomerTestCase
{
    Q_OBJECT

private slots:
    void storesAndLoadsEveryText_data();
    void storesAndLoadsEveryText();
    void updateKeepsOwnerAndCreationTime();
    void loadOverwritesEveryField();
    void deleteLeavesReminders();
    void listColumnsFollowUsedTitles_data();
    void listColumnsFollowUsedTitles();
    void listFilters_data();
    void listFilters();
    void ownerFilter_data();
    void ownerFilter();
    void listKeepsCreationOrder();
    void customerRowIsUntrimmed();

private:
    // Categories 批发 and 零售, titles for fields 1, 2 and 5, and five
    // customers; the last belongs to no category.
    void addSampleCustomers();

    TKespStringGrid grid;
};

void TestCustomer::storesAndLoadsEveryText_data()
{
    AddHostileTextRows();
}

void TestCustomer::storesAndLoadsEveryText()
{
    QFETCH(QString, text);
    const int typeID = fixture->addCategory(QStringLiteral("零售"));
    const QString guid = fixture->addCustomer(typeID, everyField(text));

    Customer->LoadCustomer(guid);
    QCOMPARE(Customer->TypeID, typeID);
    QCOMPARE(Customer->TypeName, QStringLiteral("零售"));
    for (int field = 1; field <= CustomerFieldCount; ++field)
        QCOMPARE(Customer->Kesp(field), text + QString::number(field));
}

void TestCustomer::updateKeepsOwnerAndCreationTime()
{
    const int retail = fixture->addCategory(QStringLiteral("零售"));
    const int wholesale = fixture->addCategory(QStringLiteral("批发"));
    LoginOper->OperName = QStringLiteral("O'Neil");
    const QString guid = fixture->addCustomer(retail, everyField(QStringLiteral("旧")));
    const QString ownerAndDate = QStringLiteral("select OperName, CreateDate from Customer where sGUID='%1'").arg(guid);
    const QStringList inserted = CustomerFixture::rows(ownerAndDate).value(0);
    QCOMPARE(inserted.value(0), QStringLiteral("O'Neil"));
    QVERIFY(!inserted.value(1).isEmpty());
    DbExecute(QStringLiteral("update Customer set CreateDate='2020-01-02 03:04:05' where sGUID='%1'").arg(guid));

    LoginOper->OperName = QStringLiteral("李四");
    Customer->TypeID = wholesale;
    for (int field = 1; field <= CustomerFieldCount; ++field)
        Customer->Kesp(field) = QStringLiteral("新'%1@#@").arg(field);
    Customer->UpdateCustomer(guid);

    QCOMPARE(CustomerFixture::rows(ownerAndDate).value(0),
             (QStringList{QStringLiteral("O'Neil"), QStringLiteral("2020-01-02 03:04:05")}));
    Customer->LoadCustomer(guid);
    QCOMPARE(Customer->TypeName, QStringLiteral("批发"));
    QCOMPARE(Customer->Kesp(14), QStringLiteral("新'14@#@"));
}

void TestCustomer::loadOverwritesEveryField()
{
    const int typeID = fixture->addCategory(QStringLiteral("零售"));
    const QString full = fixture->addCustomer(typeID, everyField(QStringLiteral("值")));
    const QString sparse = fixture->addCustomer(typeID, {{2, QStringLiteral("李四")}});

    Customer->LoadCustomer(full);
    Customer->LoadCustomer(sparse);
    for (int field = 1; field <= CustomerFieldCount; ++field)
        QCOMPARE(Customer->Kesp(field), field == 2 ? QStringLiteral("李四") : QString());

    Customer->LoadCustomer(QStringLiteral("no such key"));
    QCOMPARE(Customer->TypeID, 0);
    QCOMPARE(Customer->TypeName, QString());
    QCOMPARE(Customer->Kesp(2), QString());
}

void TestCustomer::deleteLeavesReminders()
{
    const QString guid
        = fixture->addCustomer(fixture->addCategory(QStringLiteral("零售")), {{1, QStringLiteral("001")}});
    DbExecute(QStringLiteral("insert into Alam(ReTitle, sGUID) values ('回访', '%1')").arg(guid));
    Customer->DeleteCustomer(guid);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Customer")), 0);
    QCOMPARE(DbQueryInteger(QStringLiteral("select count(*) from Alam")), 1);
}

void TestCustomer::listColumnsFollowUsedTitles_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("latin letters keep their case")
        << QStringList{QStringLiteral("MyNote"), QStringLiteral("会员姓名"), QStringLiteral("QQ")};
    QTest::newRow("titles that are no plain names")
        << QStringList{QStringLiteral("E-mail"), QStringLiteral("1号（引号）"), QStringLiteral("it's@#@100%")};
}

void TestCustomer::listColumnsFollowUsedTitles()
{
    QFETCH(QStringList, titles);
    fixture->setTitles({{1, titles[0]}, {2, titles[1]}, {5, titles[2]}});
    const int typeID = fixture->addCategory(QStringLiteral("零售"));
    const QString guid = fixture->addCustomer(typeID, everyField(QStringLiteral("值")));

    QStringList queryFields{QStringLiteral("old entry")};
    Customer->GetQueryFields(queryFields);
    QCOMPARE(queryFields, titles);

    Customer->FillCustomerList(&grid, QString(), QString(), -1);
    QCOMPARE(grid.RowTexts(0),
             (QStringList{QStringLiteral("sGUID"), QStringLiteral("所属类别")} + titles
              + QStringList{QStringLiteral("操作账号")}));
    QCOMPARE(grid.RowCount(), 2);
    QCOMPARE(grid.RowTexts(1),
             (QStringList{guid, QStringLiteral("零售"), QStringLiteral("值1"), QStringLiteral("值2"),
                          QStringLiteral("值5"), QStringLiteral("Admin")}));
    QCOMPARE(grid.ColWidths(0), 0);

    // The third search field is field 5.
    Customer->FillCustomerList(&grid, QString(), QStringLiteral("值5"), 2);
    QCOMPARE(GridColumn(grid, 0), QStringList{guid});
    Customer->FillCustomerList(&grid, QString(), QStringLiteral("值2"), 2);
    QCOMPARE(GridColumn(grid, 0), QStringList{QString()});
}

void TestCustomer::addSampleCustomers()
{
    fixture->setTitles({{1, QStringLiteral("会员号码")}, {2, QStringLiteral("会员姓名")}, {5, QStringLiteral("QQ")}});
    const int wholesale = fixture->addCategory(QStringLiteral("批发"));
    const int retail = fixture->addCategory(QStringLiteral("零售"));
    const auto add = [this](int typeID, const char* number, const QString& name, const QString& qq) {
        fixture->addCustomer(typeID, {{1, QLatin1String(number)}, {2, name}, {5, qq}, {6, QStringLiteral("隐藏字段")}});
    };
    add(wholesale, "001", QStringLiteral("张三"), QStringLiteral("QQ100%"));
    add(retail, "002", QStringLiteral("李四"), QStringLiteral("50_off"));
    add(wholesale, "003", QStringLiteral("O'Brien"), QStringLiteral("a@#@b"));
    add(retail, "004", QStringLiteral("王五"), QStringLiteral("1000ff"));
    add(wholesale + retail + 1, "005", QStringLiteral("无类别"), QStringLiteral("QQ100%"));
}

void TestCustomer::listFilters_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("fieldIndex");
    QTest::addColumn<QStringList>("names");

    const QString zhang = QStringLiteral("张三");
    const QString li = QStringLiteral("李四");
    const QString obrien = QStringLiteral("O'Brien");
    const QString wang = QStringLiteral("王五");
    QTest::newRow("everything") << QString() << QString() << -1 << QStringList{zhang, li, obrien, wang};
    QTest::newRow("category") << QStringLiteral("批发") << QString() << -1 << QStringList{zhang, obrien};
    QTest::newRow("unknown category") << QStringLiteral("批") << QString() << -1 << QStringList{QString()};
    QTest::newRow("no field chosen") << QString() << QStringLiteral("张") << -1 << QStringList{zhang, li, obrien, wang};
    QTest::newRow("empty search") << QStringLiteral("零售") << QString() << 1 << QStringList{li, wang};
    QTest::newRow("anywhere in the field")
        << QString() << QStringLiteral("0") << 0 << QStringList{zhang, li, obrien, wang};
    QTest::newRow("search and category") << QStringLiteral("零售") << QStringLiteral("00") << 0
                                         << QStringList{li, wang};
    QTest::newRow("other case") << QString() << QStringLiteral("qq1") << 2 << QStringList{zhang};
    QTest::newRow("quote") << QString() << QStringLiteral("O'B") << 1 << QStringList{obrien};
    QTest::newRow("batch separator") << QString() << QStringLiteral("@#@") << 2 << QStringList{obrien};
    QTest::newRow("literal percent") << QString() << QStringLiteral("0%") << 2 << QStringList{zhang};
    QTest::newRow("literal underscore") << QString() << QStringLiteral("0_") << 2 << QStringList{li};
    QTest::newRow("search untrimmed") << QString() << QStringLiteral(" 张三") << 1 << QStringList{QString()};
    QTest::newRow("hidden field is not searched") << QString() << QStringLiteral("隐藏") << 2 << QStringList{QString()};
}

void TestCustomer::listFilters()
{
    QFETCH(QString, category);
    QFETCH(QString, search);
    QFETCH(int, fieldIndex);
    QFETCH(QStringList, names);
    addSampleCustomers();

    Customer->FillCustomerList(&grid, category, search, fieldIndex);
    QCOMPARE(grid.ColCount(), 6);
    QCOMPARE(GridColumn(grid, 3), names);
}

void TestCustomer::ownerFilter_data()
{
    QTest::addColumn<QString>("operName");
    QTest::addColumn<QStringList>("rights");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("owners");

    const QString admin = QStringLiteral("Admin");
    const QString zhang = QStringLiteral("张三");
    const QString quoted = QStringLiteral("O'Neil");
    QTest::newRow("Admin sees all") << admin << QStringList() << QString() << QStringList{admin, zhang, quoted, zhang};
    QTest::newRow("own only") << zhang << QStringList{QStringLiteral("新建客户")} << QString()
                              << QStringList{zhang, zhang};
    QTest::newRow("own only, searched") << zhang << QStringList() << QStringLiteral("甲") << QStringList{zhang};
    QTest::newRow("quoted owner") << quoted << QStringList() << QString() << QStringList{quoted};
    QTest::newRow("right to see others") << zhang << QStringList{SeeOthersRight} << QStringLiteral("甲")
                                         << QStringList{admin, zhang, quoted};
}

void TestCustomer::ownerFilter()
{
    QFETCH(QString, operName);
    QFETCH(QStringList, rights);
    QFETCH(QString, search);
    QFETCH(QStringList, owners);
    fixture->setTitles({{2, QStringLiteral("会员姓名")}});
    const int typeID = fixture->addCategory(QStringLiteral("零售"));
    const auto addAs = [this, typeID](const QString& owner, const QString& name) {
        LoginOper->OperName = owner;
        fixture->addCustomer(typeID, {{2, name}});
    };
    addAs(QStringLiteral("Admin"), QStringLiteral("甲一"));
    addAs(QStringLiteral("张三"), QStringLiteral("甲二"));
    addAs(QStringLiteral("O'Neil"), QStringLiteral("甲三"));
    addAs(QStringLiteral("张三"), QStringLiteral("乙"));

    LoginOper->OperName = operName;
    LoginOper->Rights = rights;
    Customer->FillCustomerList(&grid, QString(), search, 0);
    QCOMPARE(GridColumn(grid, 3), owners);
}

void TestCustomer::listKeepsCreationOrder()
{
    fixture->setTitles({{2, QStringLiteral("会员姓名")}});
    const int first = fixture->addCategory(QStringLiteral("甲"));
    const int second = fixture->addCategory(QStringLiteral("乙"));
    // Keys and categories run against the order of insertion, and three
    // customers share one second, as quick inserts do.
    const auto add = [](const char* key, int typeID, const char* name, const char* created) {
        DbExecute(
            QStringLiteral("insert into Customer(sGUID,TypeID,Kesp200002,OperName,CreateDate) "
                           "values ('%1',%2,'%3','Admin','%4')")
                .arg(QLatin1String(key), QString::number(typeID), QString::fromUtf8(name), QLatin1String(created)));
    };
    add("F", second, "第二秒", "2024-05-01 10:00:01");
    add("E", second, "同秒一", "2024-05-01 10:00:00");
    add("D", first, "同秒二", "2024-05-01 10:00:00");
    add("C", second, "同秒三", "2024-05-01 10:00:00");
    add("B", first, "前一天", "2024-04-30 23:59:59");

    Customer->FillCustomerList(&grid, QString(), QString(), -1);
    QCOMPARE(GridColumn(grid, 2),
             (QStringList{QStringLiteral("前一天"), QStringLiteral("同秒一"), QStringLiteral("同秒二"),
                          QStringLiteral("同秒三"), QStringLiteral("第二秒")}));
}

void TestCustomer::customerRowIsUntrimmed()
{
    fixture->setTitles({{1, QStringLiteral("会员号码")}, {2, QStringLiteral("会员姓名")}});
    const QString guid = fixture->addCustomer(fixture->addCategory(QStringLiteral("零售")),
                                              {{1, QStringLiteral(" 001 ")}, {2, QStringLiteral("张三")}});
    QCOMPARE(Customer->GetCustomerRow(guid),
             (QStringList{guid, QStringLiteral("零售"), QStringLiteral(" 001 "), QStringLiteral("张三"),
                          QStringLiteral("Admin")}));
    QCOMPARE(Customer->GetCustomerRow(QStringLiteral("no such key")), QStringList(5, QString()));

    // A customer without a category has no list row.
    DbExecute(QStringLiteral("update Customer set TypeID=0"));
    QCOMPARE(Customer->GetCustomerRow(guid), QStringList(5, QString()));
}

class TestCustomerKey : public QObject
{
    Q_OBJECT

private slots:
    void newKeysAreUpperCaseGuidsWithoutBraces()
    {
        const QRegularExpression form(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
        const QString first = TCustomer::NewGuidString();
        QVERIFY2(form.match(first).hasMatch(), qPrintable(first));
        QCOMPARE(first.size(), 36);
        QVERIFY(TCustomer::NewGuidString() != first);
    }
};

KESP_DB_TEST(TestCustomer)
KESP_TEST(TestCustomerKey)
#include "customertest.moc"
