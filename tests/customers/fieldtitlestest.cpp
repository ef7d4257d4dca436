#include "customerfixture.h"

#include "common/exceptions.h"
#include "customers/fieldtitles.h"
#include "data/dbaccess.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

class TestFieldTitles : public CustomerTestCase
{
    Q_OBJECT

private slots:
    void loadSplitsUsedFields();
    void applyMatchesControlsByNameSuffix();
    void valueListSkipsBlankLinesAndKeepsText();
    void valueListsAreKeptPerKey();
    void failedValueListSaveKeepsOldList();
};

void TestFieldTitles::loadSplitsUsedFields()
{
    // Stored out of order, so the lists must sort by field number themselves.
    DbExecute(QStringLiteral("delete from DIY@#@insert into DIY(DIYID,DIYName) values ('200014','MyNote')"
                             "@#@insert into DIY(DIYID,DIYName) values ('200002','')"
                             "@#@insert into DIY(DIYID,DIYName) values ('200010','a=b')"
                             "@#@insert into DIY(DIYID,DIYName) values ('200001','会员号码')"));
    LoadFieldTitles();
    QCOMPARE(FieldTitles,
             (QStringList{QStringLiteral("200001=会员号码"), QStringLiteral("200002="), QStringLiteral("200010=a=b"),
                          QStringLiteral("200014=MyNote")}));
    QCOMPARE(UsedFieldTitles,
             (QStringList{QStringLiteral("200001=会员号码"), QStringLiteral("200010=a=b"),
                          QStringLiteral("200014=MyNote")}));
    QCOMPARE(EntryTitle(UsedFieldTitles.at(1)), QStringLiteral("a=b"));
    QCOMPARE(IndexOfFieldNumber(FieldTitles, QStringLiteral("200002")), 1);
    QCOMPARE(IndexOfFieldNumber(UsedFieldTitles, QStringLiteral("200002")), -1);
}

void TestFieldTitles::applyMatchesControlsByNameSuffix()
{
    fixture->setTitles({{1, QStringLiteral("会员号码")}, {5, QStringLiteral("QQ")}});
    QWidget window;
    auto* page = new QWidget(&window);
    const auto label = [page](const char* name) {
        auto* control = new QLabel(QStringLiteral("designed"), page);
        control->setObjectName(QLatin1String(name));
        return control;
    };
    QLabel* lab1 = label("Lab200001");
    QLabel* lab5 = label("Lab200005");
    QLabel* lab13 = label("Lab200013");
    QLabel* labGou = label("LabGou");
    auto* edit = new QLineEdit(QStringLiteral("typed"), page);
    edit->setObjectName(QStringLiteral("edt200005"));

    ApplyFieldTitles(&window, false);
    QCOMPARE(lab1->text(), QStringLiteral("会员号码"));
    QCOMPARE(lab5->text(), QStringLiteral("QQ"));
    QCOMPARE(lab13->text(), QString());
    QCOMPARE(labGou->text(), QStringLiteral("designed"));
    QCOMPARE(edit->text(), QStringLiteral("typed"));

    // Fresh from the database on every call.
    fixture->setTitles({{5, QStringLiteral("微信")}});
    ApplyFieldTitles(&window, true);
    QCOMPARE(lab1->text(), QString());
    QCOMPARE(edit->text(), QStringLiteral("微信"));
}

void TestFieldTitles::valueListSkipsBlankLinesAndKeepsText()
{
    SaveValueList(QStringLiteral("Kesp200003"),
                  {QStringLiteral("男"), QString(), QStringLiteral("   "), QStringLiteral(" 女"),
                   QStringLiteral("O'Brien \"VIP\""), QStringLiteral("甲@#@乙"), QStringLiteral("100%_😀")});
    QStringList values{QStringLiteral("old entry")};
    LoadValueList(QStringLiteral("Kesp200003"), values);
    QCOMPARE(values,
             (QStringList{QStringLiteral("男"), QStringLiteral(" 女"), QStringLiteral("O'Brien \"VIP\""),
                          QStringLiteral("甲@#@乙"), QStringLiteral("100%_😀")}));

    SaveValueList(QStringLiteral("Kesp200003"), {QStringLiteral(" "), QString()});
    LoadValueList(QStringLiteral("Kesp200003"), values);
    QVERIFY(values.isEmpty());
}

void TestFieldTitles::valueListsAreKeptPerKey()
{
    SaveValueList(QStringLiteral("Alam"), {QStringLiteral("回访")});
    SaveValueList(QStringLiteral("Kesp200004"), {QStringLiteral("北京"), QStringLiteral("上海")});
    SaveValueList(QStringLiteral("it's"), {QStringLiteral("x")});
    SaveValueList(QStringLiteral("Kesp200004"), {QStringLiteral("广州")});

    QStringList values;
    LoadValueList(QStringLiteral("Alam"), values);
    QCOMPARE(values, QStringList{QStringLiteral("回访")});
    LoadValueList(QStringLiteral("Kesp200004"), values);
    QCOMPARE(values, QStringList{QStringLiteral("广州")});
    LoadValueList(QStringLiteral("it's"), values);
    QCOMPARE(values, QStringList{QStringLiteral("x")});
    LoadValueList(QStringLiteral("Kesp200005"), values);
    QVERIFY(values.isEmpty());
}

void TestFieldTitles::failedValueListSaveKeepsOldList()
{
    SaveValueList(QStringLiteral("Kesp200003"), {QStringLiteral("男"), QStringLiteral("女")});
    fixture->rejectValue(QStringLiteral("DiyRemark"), QStringLiteral("Remark"), QStringLiteral("坏值"));
    QVERIFY_THROWS_EXCEPTION(
        EDBException, SaveValueList(QStringLiteral("Kesp200003"), {QStringLiteral("新值"), QStringLiteral("坏值")}));
    QStringList values;
    LoadValueList(QStringLiteral("Kesp200003"), values);
    QCOMPARE(values, (QStringList{QStringLiteral("男"), QStringLiteral("女")}));
}

KESP_DB_TEST(TestFieldTitles)
#include "fieldtitlestest.moc"
