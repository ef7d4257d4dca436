#include "testregistry.h"

#include "common/exceptions.h"
#include "controls/xlswriter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

// Reads the file with xlrd, an independent reader, and reports as JSON what
// it saw: the text cells, any cell that is not text, the number formats of
// every cell and every column, the column widths, and how the workbook
// stream's records are laid out (largest record, the SST's parts and whether
// EXTSST points at the right strings).
const char* const ReaderScript = R"py(
import io, json, struct, sys, xlrd
from xlrd import compdoc

path = sys.argv[1]
log = io.StringIO()
book = xlrd.open_workbook(path, formatting_info=True, on_demand=True, logfile=log)
sheet = book.sheet_by_index(0)

def number_format(xf):
    return book.format_map[book.xf_list[xf].format_key].format_str

cells, non_text, formats = [], [], set()
for r in range(sheet.nrows):
    for c in range(sheet.ncols):
        kind = sheet.cell_type(r, c)
        formats.add(number_format(sheet.cell_xf_index(r, c)))
        if kind == xlrd.XL_CELL_TEXT:
            cells.append([r, c, sheet.cell_value(r, c)])
        elif kind != xlrd.XL_CELL_EMPTY:
            non_text.append([r, c, kind])
columns = [sheet.colinfo_map.get(c) for c in range(256)]
formats.update(number_format(info.xf_index) if info else 'no COLINFO' for info in columns)

stream = compdoc.CompDoc(open(path, 'rb').read(), logfile=log).get_named_stream('Workbook')
records, pos = [], 0
while pos < len(stream):
    rid, size = struct.unpack_from('<HH', stream, pos)
    records.append((rid, pos, size))
    pos += 4 + size
first = [r[0] for r in records].index(0xFC)
sst = [records[first]]
while records[first + len(sst)][0] == 0x3C:
    sst.append(records[first + len(sst)])
unique = struct.unpack_from('<I', stream, sst[0][1] + 8)[0]
problems = []
ext = records[first + len(sst)]
if ext[0] != 0xFF:
    problems.append('no EXTSST after the SST')
else:
    dsst = struct.unpack_from('<H', stream, ext[1] + 4)[0]
    buckets = (ext[2] - 2) // 8
    if dsst != max(unique // 128 + 1, 8) or buckets != -(-unique // dsst):
        problems.append('%d buckets of %d strings' % (buckets, dsst))
    for k in range(buckets):
        ib, cb = struct.unpack_from('<IH', stream, ext[1] + 6 + 8 * k)
        start = max(part[1] for part in sst if part[1] <= ib)
        chars = struct.unpack_from('<H', stream, ib)[0]
        if ib - start != cb or chars != len(book._sharedstrings[k * dsst].encode('utf-16-le')) // 2:
            problems.append('bucket %d' % k)

json.dump({'log': log.getvalue(), 'sheets': book.sheet_names(), 'cells': cells, 'nonText': non_text,
           'formats': sorted(formats), 'widths': [info.width if info else None for info in columns],
           'maxRecord': max(r[2] for r in records), 'sstParts': len(sst), 'sstUnique': unique,
           'extsstProblems': problems}, sys.stdout)
)py";

constexpr int MaxRecordData = 8224;

QStringList repeated(const QString& text, int count)
{
    return QStringList(count, text);
}

QVector<QStringList> largeSheet()
{
    const QStringList categories{QStringLiteral("VIP客户"), QStringLiteral("普通客户"), QStringLiteral("潜在客户")};
    QVector<QStringList> rows{{QStringLiteral("会员号"), QStringLiteral("姓名"), QStringLiteral("类别")}};
    for (int r = 1; r < 65536; ++r)
        rows.append({QStringLiteral("%1").arg(r, 6, 10, QLatin1Char('0')), QStringLiteral("客户%1").arg(r),
                     categories[r % 3]});
    // Long texts that run over several CONTINUE records: emoji (surrogate
    // pairs) at both alignments, so that some record boundary falls inside a
    // pair, the longest text a cell holds, and plain two-byte characters.
    rows[100][2] = QString::fromUtf8("😀").repeated(5000);
    rows[101][2] = QStringLiteral("中") + QString::fromUtf8("😀").repeated(5000);
    rows[102][2] = QString(65535, QLatin1Char('a'));
    rows[103][2] = QString(20000, QChar(0x957F));
    return rows;
}

// Lets the process write files only up to a size, like a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
        : m_oldSignal(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldSignal);
    }

private:
    rlimit m_old;
    void (*m_oldSignal)(int);
};

} // namespace

class TestXlsWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writesTextCells_data();
    void writesTextCells();
    void setsColumnWidths();
    void splitsLongStringTableIntoContinueRecords();
    void replacesExistingFile();
    void refusesWhatTheFormatCannotHold_data();
    void refusesWhatTheFormatCannotHold();
    void keepsOldFileWhenWritingFails();
    void failsForMissingDirectory();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString createOldFile();
    void checkOnlyOldFileLeft();
    void readBack(const QString& fileName, QJsonObject& book);
    void checkSheet(const QString& fileName, const QString& sheetName, const QVector<QStringList>& rows,
                    QJsonObject& book);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestXlsWriter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString TestXlsWriter::createOldFile()
{
    QFile old(path(QStringLiteral("old.xls")));
    if (old.open(QIODevice::WriteOnly))
        old.write("old contents");
    return old.fileName();
}

void TestXlsWriter::checkOnlyOldFileLeft()
{
    QFile old(path(QStringLiteral("old.xls")));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old contents"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.xls")});
}

void TestXlsWriter::readBack(const QString& fileName, QJsonObject& book)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(ReaderScript), fileName});
    QVERIFY2(reader.waitForFinished(120000), qPrintable(reader.errorString()));
    QVERIFY2(reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0,
             reader.readAllStandardError().constData());
    QJsonParseError error;
    book = QJsonDocument::fromJson(reader.readAllStandardOutput(), &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
}

// Reads the file back and checks what every written file must hold: exactly
// the non-empty texts of rows as text cells, the number format "@" on every
// cell and column, records within the size limit, and no reader complaints.
void TestXlsWriter::checkSheet(const QString& fileName, const QString& sheetName,
                               const QVector<QStringList>& rows, QJsonObject& book)
{
    readBack(fileName, book);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(book[QLatin1String("log")].toString(), QString());
    QCOMPARE(book[QLatin1String("sheets")].toArray(), QJsonArray{sheetName});
    QCOMPARE(book[QLatin1String("nonText")].toArray(), QJsonArray());
    QCOMPARE(book[QLatin1String("formats")].toArray(), QJsonArray{QStringLiteral("@")});
    QVERIFY(book[QLatin1String("maxRecord")].toInt() <= MaxRecordData);
    QCOMPARE(book[QLatin1String("extsstProblems")].toArray(), QJsonArray());

    const QJsonArray cells = book[QLatin1String("cells")].toArray();
    qsizetype next = 0;
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            if (rows[r][c].isEmpty())
                continue;
            QVERIFY2(next < cells.size(), "a written cell is missing");
            const QJsonArray cell = cells[next++].toArray();
            QCOMPARE(QStringLiteral("%1,%2: %3").arg(QString::number(cell[0].toInt()),
                                                     QString::number(cell[1].toInt()), cell[2].toString()),
                     QStringLiteral("%1,%2: %3").arg(QString::number(r), QString::number(c), rows[r][c]));
        }
    }
    QCOMPARE(cells.size(), next);
}

void TestXlsWriter::writesTextCells_data()
{
    QTest::addColumn<QString>("sheetName");
    QTest::addColumn<QVector<QStringList>>("rows");

    QTest::newRow("texts that look like numbers, formulas or dates stay text")
        << QStringLiteral("客户列表")
        << QVector<QStringList>{
               {QStringLiteral("会员号"), QStringLiteral("姓名"), QStringLiteral("手机"), QStringLiteral("备注")},
               {QStringLiteral("00123"), QStringLiteral("张三"), QStringLiteral("13800138000123456789"),
                QStringLiteral("他说\"你好\"，'好的'")},
               {QStringLiteral("0"), QStringLiteral("1e5"), QStringLiteral("=SUM(A1:A2)"), QStringLiteral("%1 @#@ 50%")},
               {QStringLiteral("-12.50"), QStringLiteral("TRUE"), QStringLiteral("2024-01-02"),
                QString::fromUtf8("😀👍 表情")}};
    QTest::newRow("one-byte and two-byte texts side by side")
        << QStringLiteral("Sheet1")
        << QVector<QStringList>{{QStringLiteral("Café"), QStringLiteral("naïve ÿ"), QStringLiteral("中文 and ASCII")},
                                {QStringLiteral("tab\there"), QStringLiteral("line\nbreak"), QStringLiteral(" spaces ")}};
    QTest::newRow("empty cells and ragged rows")
        << QStringLiteral("Sheet1")
        << QVector<QStringList>{{QStringLiteral("A"), QString(), QStringLiteral("C")},
                                {QString(), QStringLiteral("x")},
                                {},
                                {QString(), QString(), QStringLiteral("z"), QStringLiteral("beyond the header")},
                                {QStringLiteral("x")}};
    QTest::newRow("header with sort mark only") << QStringLiteral("客户")
                                                << QVector<QStringList>{{QStringLiteral("▲姓名"), QStringLiteral("电话")}};
    QTest::newRow("256 columns") << QStringLiteral("Sheet1")
                                 << QVector<QStringList>{repeated(QStringLiteral("列"), 256),
                                                         repeated(QStringLiteral("x"), 256)};
    QTest::newRow("no rows") << QStringLiteral("Sheet1") << QVector<QStringList>();
}

void TestXlsWriter::writesTextCells()
{
    QFETCH(QString, sheetName);
    QFETCH(QVector<QStringList>, rows);

    const QString fileName = path(QStringLiteral("客户.xls"));
    WriteXlsFile(fileName, sheetName, rows, {});
    QJsonObject book;
    checkSheet(fileName, sheetName, rows, book);
}

void TestXlsWriter::setsColumnWidths()
{
    const QString fileName = path(QStringLiteral("widths.xls"));
    WriteXlsFile(fileName, QStringLiteral("Sheet1"), {repeated(QStringLiteral("x"), 5)}, {12, 0, 300, -1});

    QJsonObject book;
    readBack(fileName, book);
    if (QTest::currentTestFailed())
        return;
    const QJsonArray widths = book[QLatin1String("widths")].toArray();
    const QJsonValue standard = widths[255];
    QVERIFY(standard.toInt() > 0);
    QCOMPARE(widths[0].toInt(), 12 * 256);
    QCOMPARE(widths[1], standard);
    QCOMPARE(widths[2].toInt(), 255 * 256); // the widest column the format allows
    QCOMPARE(widths[3], standard);
    QCOMPARE(widths[4], standard);
}

void TestXlsWriter::splitsLongStringTableIntoContinueRecords()
{
    const QVector<QStringList> rows = largeSheet();
    const QString fileName = path(QStringLiteral("large.xls"));
    WriteXlsFile(fileName, QStringLiteral("客户列表"), rows, {10, 20, 10});

    QJsonObject book;
    checkSheet(fileName, QStringLiteral("客户列表"), rows, book);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(book[QLatin1String("sstParts")].toInt() > 10);
    QSet<QString> distinct;
    for (const QStringList& row : rows)
        distinct.unite(QSet<QString>(row.begin(), row.end()));
    QCOMPARE(book[QLatin1String("sstUnique")].toInt(), distinct.size());
}

void TestXlsWriter::replacesExistingFile()
{
    const QString fileName = path(QStringLiteral("out.xls"));
    WriteXlsFile(fileName, QStringLiteral("Sheet1"), {{QStringLiteral("旧"), QStringLiteral("old")}, {QStringLiteral("1")}}, {});
    const QVector<QStringList> rows{{QStringLiteral("新")}};
    WriteXlsFile(fileName, QStringLiteral("新表"), rows, {});

    QJsonObject book;
    checkSheet(fileName, QStringLiteral("新表"), rows, book);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.xls")});
}

void TestXlsWriter::refusesWhatTheFormatCannotHold_data()
{
    QTest::addColumn<QString>("sheetName");
    QTest::addColumn<QVector<QStringList>>("rows");
    QTest::addColumn<QVector<int>>("columnWidths");
    QTest::addColumn<QString>("reason");

    const QVector<QStringList> oneCell{{QStringLiteral("x")}};
    QTest::newRow("65537 rows") << QStringLiteral("Sheet1") << QVector<QStringList>(65537, oneCell.first())
                                << QVector<int>() << QStringLiteral("65536 行");
    QTest::newRow("257 columns") << QStringLiteral("Sheet1") << QVector<QStringList>{repeated(QStringLiteral("x"), 257)}
                                 << QVector<int>() << QStringLiteral("256 列");
    QTest::newRow("257 column widths") << QStringLiteral("Sheet1") << oneCell << QVector<int>(257, 10)
                                       << QStringLiteral("256 列");
    QTest::newRow("text of 65536 characters")
        << QStringLiteral("Sheet1")
        << QVector<QStringList>{{QStringLiteral("x")}, {QStringLiteral("x"), QStringLiteral("x"), QString(65536, QLatin1Char('a'))}}
        << QVector<int>() << QStringLiteral("第 2 行第 3 列");
    QTest::newRow("sheet name with a slash") << QStringLiteral("a/b") << oneCell << QVector<int>()
                                             << QStringLiteral("“a/b”");
    QTest::newRow("sheet name of 32 characters") << QString(32, QLatin1Char('s')) << oneCell << QVector<int>()
                                                 << QStringLiteral("工作表名称");
    QTest::newRow("empty sheet name") << QString() << oneCell << QVector<int>() << QStringLiteral("工作表名称");
}

void TestXlsWriter::refusesWhatTheFormatCannotHold()
{
    QFETCH(QString, sheetName);
    QFETCH(QVector<QStringList>, rows);
    QFETCH(QVector<int>, columnWidths);
    QFETCH(QString, reason);

    const QString fileName = createOldFile();
    try {
        WriteXlsFile(fileName, sheetName, rows, columnWidths);
        QFAIL("no exception");
    } catch (const Exception& e) {
        QVERIFY2(e.Message.contains(reason), qPrintable(e.Message));
    }
    checkOnlyOldFileLeft();
}

void TestXlsWriter::keepsOldFileWhenWritingFails()
{
    const QString fileName = createOldFile();
    const QVector<QStringList> rows(5000, {QStringLiteral("客户名称"), QStringLiteral("13800138000")});
    try {
        FileSizeLimit fullDisk(64 * 1024);
        WriteXlsFile(fileName, QStringLiteral("Sheet1"), rows, {});
        QFAIL("no exception");
    } catch (const Exception& e) {
        QVERIFY2(e.Message.contains(fileName), qPrintable(e.Message));
    }
    checkOnlyOldFileLeft();
}

void TestXlsWriter::failsForMissingDirectory()
{
    const QString fileName = path(QStringLiteral("missing/out.xls"));
    try {
        WriteXlsFile(fileName, QStringLiteral("Sheet1"), {{QStringLiteral("x")}}, {});
        QFAIL("no exception");
    } catch (const Exception& e) {
        QVERIFY2(e.Message.contains(fileName), qPrintable(e.Message));
    }
    QVERIFY(!QFile::exists(fileName));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

KESP_TEST(TestXlsWriter)
#include "testxlswriter.moc"
