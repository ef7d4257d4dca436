#include "testregistry.h"

#include "data/dbaccess.h"

#include <QTest>

class TestSplitting : public QObject
{
    Q_OBJECT
private slots:
    void splitString_data();
    void splitString();
    void splitBatch_data();
    void splitBatch();
};

void TestSplitting::splitString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("no separator") << "abc" << QStringList{"abc"};
    QTest::newRow("two in a row") << "a@#@@#@b" << QStringList{"a", "", "b"};
    QTest::newRow("at the end") << "a@#@" << QStringList{"a", ""};
    QTest::newRow("empty") << "" << QStringList{""};
}

void TestSplitting::splitString()
{
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    QCOMPARE(SplitString(text, QStringLiteral("@#@")), pieces);
}

void TestSplitting::splitBatch_data()
{
    QTest::addColumn<QString>("batch");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("plain") << "delete from a@#@delete from b" << QStringList{"delete from a", "delete from b"};
    QTest::newRow("separator inside a value")
        << "insert into t values ('x@#@y')@#@delete from b" << QStringList{"insert into t values ('x@#@y')", "delete from b"};
    QTest::newRow("doubled quote inside a value")
        << "insert into t values ('it''s @#@')@#@x" << QStringList{"insert into t values ('it''s @#@')", "x"};
}

void TestSplitting::splitBatch()
{
    QFETCH(QString, batch);
    QFETCH(QStringList, pieces);
    QCOMPARE(SplitBatch(batch), pieces);
}

KESP_TEST(TestSplitting)
#include "testsplitting.moc"
