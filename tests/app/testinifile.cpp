#include "testregistry.h"

#include "app/config.h"
#include "app/globals.h"
#include "app/inifile.h"
#include "common/exceptions.h"
#include "common/gbk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestIniFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void reads_data();
    void reads();
    void missingFileGivesDefaults();
    void lowerCaseFileNameIsTheSameFile();
    void writesInPlaceAndKeepsOtherLines();
    void failedWriteKeepsTheOldFile();

private:
    void writeFile(const QString& name, const QByteArray& content);
    QByteArray readFile(const QString& name);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    SetAppPath(m_dir->path());
}

void TestIniFile::writeFile(const QString& name, const QByteArray& content)
{
    QFile file(AppPath + name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray TestIniFile::readFile(const QString& name)
{
    QFile file(AppPath + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestIniFile::reads_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("integer");
    QTest::newRow("value trimmed after the first =") << "Data Source" << "host=a b" << 7;
    QTest::newRow("names without regard to case") << "DATABASE" << "客户库" << 7;
    QTest::newRow("empty text stays empty, empty integer is the default") << "UserID" << "" << 7;
    QTest::newRow("number") << "Port" << "5433" << 5433;
    QTest::newRow("not a number") << "ConnectModel" << "x1" << 7;
    QTest::newRow("missing key") << "Password" << "default" << 7;
    QTest::newRow("key of another section") << "DB" << "default" << 7;
}

void TestIniFile::reads()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, integer);
    writeFile(QStringLiteral("Config.ini"),
              ToGbk(QStringLiteral("[Config]\r\nDB=2\r\n\r\n[database]\r\nData Source =  host=a b  \r\n"
                                   "database=客户库\r\nUserID=\r\nPort=5433\r\nConnectModel=x1\r\n")));
    const TIniFile ini(ConfigFileName());
    QCOMPARE(ini.ReadString(QStringLiteral("Database"), key, QStringLiteral("default")), text);
    QCOMPARE(ini.ReadInteger(QStringLiteral("Database"), key, 7), integer);
}

void TestIniFile::missingFileGivesDefaults()
{
    const TIniFile ini(ConfigFileName());
    QCOMPARE(ini.ReadString(QStringLiteral("Database"), QStringLiteral("Database"), QStringLiteral("Dravlok")),
             QStringLiteral("Dravlok"));
    QCOMPARE(ini.ReadBool(QStringLiteral("Database"), QStringLiteral("ConnectWWW"), false), false);
    QCOMPARE(TConfig().ReadDbMode(), 1);
}

void TestIniFile::lowerCaseFileNameIsTheSameFile()
{
    writeFile(QStringLiteral("config.ini"), "[CONFIG]\r\ndb=2\r\n");
    QCOMPARE(TConfig().ReadDbMode(), 2);
    TIniFile ini(ConfigFileName());
    ini.WriteBool(QStringLiteral("Database"), QStringLiteral("ConnectWWW"), true);
    ini.UpdateFile();
    QVERIFY(!QFile::exists(AppPath + QStringLiteral("Config.ini")));
    QVERIFY(readFile(QStringLiteral("config.ini")).contains("ConnectWWW=1"));
}

void TestIniFile::writesInPlaceAndKeepsOtherLines()
{
    writeFile(QStringLiteral("Config.ini"),
              "; installed by hand\r\n[Config]\r\nDB=2\r\n[Database]\r\nuserid=old\r\nPort=5433\r\n\r\n[Other]\r\nx=1\r\n");
    TIniFile ini(ConfigFileName());
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("UserID"), QStringLiteral("新用户"));
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("Database"), QStringLiteral("kesp"));
    ini.WriteInteger(QStringLiteral("New"), QStringLiteral("n"), 3);
    ini.UpdateFile();
    QCOMPARE(readFile(QStringLiteral("Config.ini")),
             ToGbk(QStringLiteral("; installed by hand\r\n[Config]\r\nDB=2\r\n[Database]\r\nuserid=新用户\r\nPort=5433\r\n"
                                  "Database=kesp\r\n\r\n[Other]\r\nx=1\r\n[New]\r\nn=3\r\n")));
}

void TestIniFile::failedWriteKeepsTheOldFile()
{
    writeFile(QStringLiteral("Config.ini"), "[Config]\r\nDB=1\r\n");
    TIniFile ini(AppPath + QStringLiteral("missing-folder/Config.ini"));
    ini.WriteInteger(QStringLiteral("Config"), QStringLiteral("DB"), 2);
    QVERIFY_THROWS_EXCEPTION(Exception, ini.UpdateFile());
    QCOMPARE(readFile(QStringLiteral("Config.ini")), QByteArray("[Config]\r\nDB=1\r\n"));
}

KESP_TEST(TestIniFile)
#include "testinifile.moc"
