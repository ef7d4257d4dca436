#include "testregistry.h"

#include "data/textrow.h"

#include <QTest>

class TestTextRow : public QObject
{
    Q_OBJECT
private slots:
    void keepsTextsAndNulls();
    void changesCells();
    void trimsLikeQString_data();
    void trimsLikeQString();
};

void TestTextRow::keepsTextsAndNulls()
{
    const QStringList texts{QStringLiteral("客户"), QString(), QStringLiteral(""), QStringLiteral("😀𠀀 a'b"),
                            QString(3000, QChar(0x5BA2))};
    const TTextRow row(texts);
    QCOMPARE(row.size(), texts.size());
    QCOMPARE(row.texts(), texts);
    QVERIFY(row.text(1).isNull());
    QVERIFY(!row.text(2).isNull());
    QVERIFY(row.text(99).isNull());
    QCOMPARE(TTextRow().size(), 0);
}

void TestTextRow::changesCells()
{
    TTextRow row(QStringList{QStringLiteral("a"), QStringLiteral("乙"), QStringLiteral("c")});
    row.setText(1, QStringLiteral("丙丁"));
    QCOMPARE(row.texts(), (QStringList{"a", "丙丁", "c"}));
    row.resize(4);
    QCOMPARE(row.size(), 4);
    QVERIFY(row.text(3).isNull());
    row.resize(1);
    QCOMPARE(row.texts(), QStringList{"a"});
}

void TestTextRow::trimsLikeQString_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing to trim") << "王伟";
    QTest::newRow("ascii blanks") << " \tVIP001 \r\n";
    QTest::newRow("ideographic space") << "\u3000张三\u3000";
    QTest::newRow("no-break space at the end") << "李四\u00A0";
    QTest::newRow("emoji at both ends") << "😀 x 😀";
    QTest::newRow("only blanks") << "   ";
    QTest::newRow("empty") << "";
}

void TestTextRow::trimsLikeQString()
{
    QFETCH(QString, text);
    TTextRow row(QStringList{QStringLiteral(" a "), text, QString()});
    row.trimTexts();
    QCOMPARE(row.texts(), (QStringList{QStringLiteral("a"), text.trimmed(), QString()}));
    QVERIFY(row.text(2).isNull());
}

KESP_TEST(TestTextRow)
#include "testtextrow.moc"
