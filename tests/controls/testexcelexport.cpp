#include "testregistry.h"

#include "common/messages.h"
#include "controls/excelexport.h"
#include "controls/stringgrid.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An independent reader: xlrd of the Debian python3-xlrd package (the system
// interpreter's, since another python3 on PATH may lack it).
const char* const ReadXlsScript = R"(
import json, sys, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
cols = range(sheet.ncols)
json.dump({
    "sheets": book.nsheets,
    "rows": [[sheet.cell_value(r, c) for c in cols] for r in range(sheet.nrows)],
    "types": [[sheet.cell_type(r, c) for c in cols] for r in range(sheet.nrows)],
    "widths": [sheet.colinfo_map[c].width if c in sheet.colinfo_map else 0 for c in cols],
}, sys.stdout)
)";

struct XlsContents
{
    int sheets = 0;
    QVector<QStringList> rows;
    QVector<QList<int>> types;
    QList<int> widths;
};

XlsContents readXls(const QString& fileName)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(ReadXlsScript), fileName});
    reader.waitForFinished(60000);
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
        qWarning("xlrd could not read %s: %s", qPrintable(fileName), reader.readAllStandardError().constData());
    const QJsonObject json = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    XlsContents contents;
    contents.sheets = json.value(QStringLiteral("sheets")).toInt();
    for (const QJsonValue& row : json.value(QStringLiteral("rows")).toArray()) {
        QStringList texts;
        for (const QJsonValue& cell : row.toArray())
            texts.append(cell.toString());
        contents.rows.append(texts);
    }
    for (const QJsonValue& row : json.value(QStringLiteral("types")).toArray()) {
        QList<int> types;
        for (const QJsonValue& type : row.toArray())
            types.append(type.toInt());
        contents.types.append(types);
    }
    for (const QJsonValue& width : json.value(QStringLiteral("widths")).toArray())
        contents.widths.append(width.toInt());
    return contents;
}

const int XlrdTextCell = 1;
const int DefaultXlsWidth = 2340; // 1/256 of a character

void fill(TKespStringGrid& grid, const QVector<QStringList>& rows)
{
    grid.SetAllRows(rows);
    grid.SetColWidth(0, 0);
}

const QVector<QStringList> CustomerRows{
    {"sGUID", "▲会员号码", "会员姓名", "备注"},
    {"G1", "007", "张三", "住在很远很远的一个小山村里"},
    {"G2", "12345678901234567890", "O'Brien", "=1+1"},
    {"G3", "1.50", "😀", "2024-01-31"},
};

QVector<QStringList> withoutKeyColumn(const QVector<QStringList>& rows)
{
    QVector<QStringList> result;
    for (const QStringList& row : rows)
        result.append(row.mid(1));
    return result;
}

QString successMessage(const QString& fileName)
{
    return QStringLiteral("导出数据到") + fileName + QStringLiteral("成功!");
}

} // namespace

class TestExcelExport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        MessageTesting::takeShown();
    }

    void writesEveryCellAsText()
    {
        TKespStringGrid grid;
        fill(grid, CustomerRows);
        const QString fileName = m_dir.filePath(QStringLiteral("客户.xls"));
        MessageTesting::setNextFileName(fileName);

        ExportToExcel(&grid);

        const XlsContents xls = readXls(fileName);
        QCOMPARE(xls.sheets, 1);
        QCOMPARE(xls.rows, withoutKeyColumn(CustomerRows));
        for (const QList<int>& types : xls.types)
            QCOMPARE(types, QList<int>(types.size(), XlrdTextCell));
        // Fitted to the contents: the long remark is wider than a default column.
        QVERIFY(xls.widths.at(2) > DefaultXlsWidth);
        QVERIFY(xls.widths.at(2) > xls.widths.at(1));
        const QList<MessageTesting::ShownMessage> shown = MessageTesting::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().caption, QStringLiteral("提示"));
        QCOMPARE(shown.first().text, successMessage(fileName));
    }

    void exportsTenThousandRows()
    {
        QVector<QStringList> rows{{"sGUID", "编号", "姓名"}};
        for (int i = 1; i <= 10000; ++i)
            rows.append({QStringLiteral("G%1").arg(i), QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')),
                         QStringLiteral("客户%1").arg(i)});
        TKespStringGrid grid;
        fill(grid, rows);
        const QString fileName = m_dir.filePath(QStringLiteral("大.xls"));
        MessageTesting::setNextFileName(fileName);

        ExportToExcel(&grid);

        QCOMPARE(readXls(fileName).rows, withoutKeyColumn(rows));
        QCOMPARE(MessageTesting::takeShown().size(), 1);
    }

    void fileNameGetsExtension_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "客户" << "客户.xls";
        QTest::newRow("lower-case extension") << "客户.xls" << "客户.xls";
        QTest::newRow("upper-case extension") << "客户.XLS" << "客户.XLS.xls";
        QTest::newRow("other extension") << "客户.xlsx" << "客户.xlsx.xls";
    }

    void fileNameGetsExtension()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        TKespStringGrid grid;
        fill(grid, CustomerRows);
        MessageTesting::setNextFileName(m_dir.filePath(chosen));

        ExportToExcel(&grid);

        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList{written});
        QCOMPARE(readXls(m_dir.filePath(written)).rows, withoutKeyColumn(CustomerRows));
        const QList<MessageTesting::ShownMessage> shown = MessageTesting::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, successMessage(m_dir.filePath(written)));
    }

    void existingFileIsReplacedWithoutAsking()
    {
        const QString fileName = m_dir.filePath(QStringLiteral("旧.xls"));
        QFile old(fileName);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        TKespStringGrid grid;
        fill(grid, CustomerRows);
        MessageTesting::setNextFileName(fileName);

        ExportToExcel(&grid);

        QCOMPARE(readXls(fileName).rows, withoutKeyColumn(CustomerRows));
        const QList<MessageTesting::ShownMessage> shown = MessageTesting::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, successMessage(fileName));
    }

    void failureWritesNothing_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("messageStart");
        QTest::newRow("cancelled") << QString() << QString() << QString();
        // A folder of that name exists and cannot be deleted as a file.
        QTest::newRow("name in use") << "占用.xls" << "错误" << "文件已经存在,导出数据失败!";
        QTest::newRow("folder missing") << "没有的文件夹/客户.xls" << "错误" << "操作Excel时出现错误,导出数据失败!";
    }

    void failureWritesNothing()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, caption);
        QFETCH(QString, messageStart);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("占用.xls/内容")));
        const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        TKespStringGrid grid;
        fill(grid, CustomerRows);
        if (!chosen.isEmpty())
            MessageTesting::setNextFileName(m_dir.filePath(chosen));

        ExportToExcel(&grid);

        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QDir(m_dir.filePath(QStringLiteral("占用.xls/内容"))).exists());
        const QList<MessageTesting::ShownMessage> shown = MessageTesting::takeShown();
        if (messageStart.isEmpty()) {
            QVERIFY(shown.isEmpty());
            return;
        }
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().caption, caption);
        QVERIFY2(shown.first().text.startsWith(messageStart), qPrintable(shown.first().text));
    }

    void cleanup()
    {
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
    }

private:
    QTemporaryDir m_dir;
};

KESP_TEST(TestExcelExport)

#include "testexcelexport.moc"
