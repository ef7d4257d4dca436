#include "testregistry.h"

#include "common/gbk.h"
#include "common/scramble.h"

#include <QRegularExpression>
#include <QTest>

class TestScramble : public QObject
{
    Q_OBJECT
private slots:
    void fixedVectors_data();
    void fixedVectors();
    void lengths();
    void roundTrip_data();
    void roundTrip();
    void saltedEachTime();
    void wrongKeyGivesOtherBytes();
    void badInputDecodesWithoutError();
    void randomKeyAlphabet();
};

// Worked out by hand from the algorithm: s := (b + s) mod 255, then s XOR key byte.
void TestScramble::fixedVectors_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("seed");
    QTest::addColumn<QString>("scrambled");
    // 'A'=65: (65+16)%255=81, 81^'w'(119)=0x26; 'B'=66: (66+38)%255=104, 104^'i'(105)=0x01
    QTest::newRow("ascii") << QByteArray("AB") << QByteArray("wick") << 0x10 << "102601";
    // 0xFE: (254+255)%255=254, ^'a'=0x9F; (254+159)%255=158, ^'b'=0xFC; (254+252)%255=251, ^'a' again=0x9A
    QTest::newRow("modulo 255 and key cycle") << QByteArray("\xFE\xFE\xFE") << QByteArray("ab") << 0xFF << "FF9FFC9A";
    // 中 = D6 D0 in GBK: 214^119=0xA1; (208+161)%255=114, 114^105=0x1B
    QTest::newRow("chinese") << ToGbk(QStringLiteral("中")) << QByteArray("wick") << 0 << "00A11B";
}

void TestScramble::fixedVectors()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, key);
    QFETCH(int, seed);
    QFETCH(QString, scrambled);
    QCOMPARE(EncryptBytes(plain, key, seed), scrambled);
    QCOMPARE(DecryptBytes(scrambled, key), plain);
}

void TestScramble::lengths()
{
    QCOMPARE(EncryptCore(QString(), QStringLiteral("wick")), QString());
    QCOMPARE(EncryptCore(QStringLiteral("abc"), QStringLiteral("wick")).size(), 2 + 2 * 3);
    QCOMPARE(EncryptCore(QStringLiteral("中文"), QStringLiteral("wick")).size(), 2 + 2 * 4);

    const QString empty = EncryptText(QString(), QStringLiteral("wick"));
    QCOMPARE(empty.size(), 14);
    QCOMPARE(DecryptText(empty, QStringLiteral("wick")), QString());
    QCOMPARE(DecryptText(QString(), QStringLiteral("wick")), QString());

    const QString five = EncryptText(QStringLiteral("12345"), QStringLiteral("wick"));
    QCOMPARE(five.size(), 14 + 2 + 10);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]+$")).match(five).hasMatch());
}

void TestScramble::roundTrip_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("key");
    QTest::newRow("password") << "s3cret pass" << "wick";
    QTest::newRow("quotes and separators") << "it's \"@#@\" 100%" << "wick";
    QTest::newRow("chinese") << "数据库密码：中文" << "wick";
    QTest::newRow("emoji and rare characters") << "😀𠀀密码" << "wick";
    QTest::newRow("chinese key") << "abc" << "钥匙";
    QTest::newRow("long") << QString(500, QChar(0x4E2D)) << "k";
}

void TestScramble::roundTrip()
{
    QFETCH(QString, plain);
    QFETCH(QString, key);
    QCOMPARE(DecryptText(EncryptText(plain, key), key), plain);
    QCOMPARE(DecryptCore(EncryptCore(plain, key), key), plain);
}

void TestScramble::saltedEachTime()
{
    QStringList results;
    for (int i = 0; i < 5; ++i)
        results.append(EncryptText(QStringLiteral("same text"), QStringLiteral("wick")));
    results.removeDuplicates();
    QVERIFY(results.size() > 1);
    for (const QString& result : results)
        QCOMPARE(DecryptText(result, QStringLiteral("wick")), QStringLiteral("same text"));
}

void TestScramble::wrongKeyGivesOtherBytes()
{
    const QByteArray plain("password");
    const QString scrambled = EncryptBytes(plain, "wick", 77);
    const QByteArray decoded = DecryptBytes(scrambled, "wack");
    QCOMPARE(decoded.size(), plain.size());
    QVERIFY(decoded != plain);
    QVERIFY(DecryptText(EncryptText(QStringLiteral("password"), QStringLiteral("wick")), QStringLiteral("wack"))
            != QStringLiteral("password"));
}

void TestScramble::badInputDecodesWithoutError()
{
    // A trailing single digit is ignored; an invalid pair counts as 0.
    QCOMPARE(DecryptBytes(QStringLiteral("102601F"), "wick"), QByteArray("AB"));
    QCOMPARE(DecryptBytes(QStringLiteral("10ZZ01"), "wick").size(), 2);
}

void TestScramble::randomKeyAlphabet()
{
    const QString key = RandomKey(200);
    QCOMPARE(key.size(), 200);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-z]+$")).match(key).hasMatch());
}

KESP_TEST(TestScramble)
#include "testscramble.moc"
