#include "xlswriter.h"

#include "common/exceptions.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringView>
#include <QtEndian>

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

enum RecordId : quint16 {
    Eof = 0x000A,
    Font = 0x0031,
    Continue = 0x003C,
    Window1 = 0x003D,
    CodePage = 0x0042,
    ColInfo = 0x007D,
    BoundSheet = 0x0085,
    Xf = 0x00E0,
    Sst = 0x00FC,
    LabelSst = 0x00FD,
    ExtSst = 0x00FF,
    Dimensions = 0x0200,
    Window2 = 0x023E,
    Style = 0x0293,
    Bof = 0x0809,
};

// Limits of the file format.
constexpr int MaxRows = 65536;
constexpr int MaxColumns = 256;
constexpr int MaxTextLength = 65535;
constexpr int MaxSheetNameLength = 31;
constexpr int MaxRecordData = 8224;
constexpr int MaxColumnWidth = 255;

constexpr quint16 GlobalsSubstream = 0x0005;
constexpr quint16 WorksheetSubstream = 0x0010;
constexpr quint16 Utf16CodePage = 1200;
constexpr quint16 TextFormat = 49; // the built-in number format "@"
constexpr quint16 StyleXfCount = 15;
constexpr quint16 TextCellXf = StyleXfCount;
// Excel's standard width of 8.43 characters plus cell padding, in 1/256 of a character.
constexpr quint16 StandardColumnWidth = 2340;
constexpr qsizetype FlushSize = 1 << 16;

bool isLatin1(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
}

// BIFF records, little-endian, in one growing buffer.
class RecordBuffer
{
public:
    void begin(quint16 id)
    {
        m_recordStart = m_bytes.size();
        addU16(id);
        addU16(0);
    }
    void end()
    {
        qToLittleEndian(quint16(m_bytes.size() - m_recordStart - 4), m_bytes.data() + m_recordStart + 2);
    }
    // Bytes still free in the open record.
    int room() const { return MaxRecordData - int(m_bytes.size() - m_recordStart - 4); }
    qsizetype recordStart() const { return m_recordStart; }
    qsizetype size() const { return m_bytes.size(); }
    const QByteArray& bytes() const { return m_bytes; }
    // Empties the buffer but keeps its memory for the next records.
    void clear()
    {
        m_bytes.resize(0);
        m_recordStart = 0;
    }

    void addU8(quint8 value) { m_bytes.append(char(value)); }
    void addU16(quint16 value) { addLittleEndian(value); }
    void addU32(quint32 value) { addLittleEndian(value); }
    void setU32(qsizetype position, quint32 value) { qToLittleEndian(value, m_bytes.data() + position); }

    // Characters one byte each (all of them below U+0100) or as UTF-16LE.
    void addChars(QStringView text, bool compressed)
    {
        const qsizetype start = m_bytes.size();
        if (compressed) {
            m_bytes.resize(start + text.size());
            char* out = m_bytes.data() + start;
            for (QChar c : text)
                *out++ = char(c.unicode());
        } else {
            m_bytes.resize(start + 2 * text.size());
            qToLittleEndian<quint16>(text.utf16(), text.size(), m_bytes.data() + start);
        }
    }
    // A text with a one-byte length, as font and sheet names are stored.
    void addShortText(QStringView text)
    {
        const bool compressed = isLatin1(text);
        addU8(quint8(text.size()));
        addU8(compressed ? 0 : 1);
        addChars(text, compressed);
    }

private:
    template<typename T>
    void addLittleEndian(T value)
    {
        char bytes[sizeof(T)];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, sizeof(T));
    }

    QByteArray m_bytes;
    qsizetype m_recordStart = 0;
};

// The distinct texts of the sheet in order of first use (views into the rows
// being written), and for every non-empty cell, row by row, the index of its
// text among them.
struct SharedStrings
{
    QVector<QStringView> texts;
    QVector<quint32> cellIndexes;
    int usedRows = 0;
    int usedColumns = 0;
};

void checkLimits(const QString& sheetName, const QVector<QStringList>& rows, const QVector<int>& columnWidths)
{
    const bool validName = !sheetName.isEmpty() && sheetName.size() <= MaxSheetNameLength
        && std::none_of(sheetName.begin(), sheetName.end(),
                        [](QChar c) { return QStringView(u":\\/?*[]").contains(c); });
    if (!validName)
        throw Exception(QStringLiteral("工作表名称“%1”无效：名称须为 1 到 %2 个字符，且不能含有 : \\ / ? * [ ]")
                            .arg(sheetName, QString::number(MaxSheetNameLength)));
    if (rows.size() > MaxRows)
        throw Exception(QStringLiteral("无法导出：共 %1 行，超过了 Excel 97-2003 文件（.xls）最多 %2 行的限制")
                            .arg(QString::number(rows.size()), QString::number(MaxRows)));
    qsizetype columns = columnWidths.size();
    for (const QStringList& row : rows)
        columns = std::max(columns, row.size());
    if (columns > MaxColumns)
        throw Exception(QStringLiteral("无法导出：共 %1 列，超过了 Excel 97-2003 文件（.xls）最多 %2 列的限制")
                            .arg(QString::number(columns), QString::number(MaxColumns)));
}

SharedStrings collectStrings(const QVector<QStringList>& rows)
{
    SharedStrings strings;
    qsizetype cells = 0;
    for (const QStringList& row : rows)
        cells += row.size();
    strings.cellIndexes.reserve(cells);

    QHash<QStringView, quint32> numberOf; // index + 1, so that 0 means not seen yet
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        for (int c = 0; c < row.size(); ++c) {
            const QString& text = row[c];
            if (text.isEmpty())
                continue;
            if (text.size() > MaxTextLength)
                throw Exception(
                    QStringLiteral("无法导出：第 %1 行第 %2 列的文字有 %3 个字符，超过了 Excel 97-2003 文件（.xls）"
                                   "每个单元格最多 %4 个字符的限制")
                        .arg(QString::number(r + 1), QString::number(c + 1), QString::number(text.size()),
                             QString::number(MaxTextLength)));
            quint32& number = numberOf[text];
            if (number == 0) {
                strings.texts.append(text);
                number = quint32(strings.texts.size());
            }
            strings.cellIndexes.append(number - 1);
            strings.usedRows = r + 1;
            strings.usedColumns = std::max(strings.usedColumns, c + 1);
        }
    }
    return strings;
}

void addBof(RecordBuffer& out, quint16 substreamType)
{
    out.begin(Bof);
    out.addU16(0x0600); // BIFF8
    out.addU16(substreamType);
    out.addU16(0x0DBB); // build and year of the Excel 97 file format
    out.addU16(0x07CC);
    out.addU32(0);
    out.addU32(0x06); // lowest version that can read the file: BIFF8
    out.end();
}

void addEof(RecordBuffer& out)
{
    out.begin(Eof);
    out.end();
}

void addWindow1(RecordBuffer& out)
{
    out.begin(Window1);
    out.addU16(0x0168); // window position and size in twips
    out.addU16(0x001E);
    out.addU16(0x4000);
    out.addU16(0x2000);
    out.addU16(0x0038); // scroll bars and sheet tabs shown
    out.addU16(0);      // the first sheet is active,
    out.addU16(0);      // first in the tab bar,
    out.addU16(1);      // and selected
    out.addU16(600);    // tab bar takes 60% of the scroll bar width
    out.end();
}

void addFonts(RecordBuffer& out)
{
    // Excel expects the four built-in font slots; all of them are the default font.
    for (int i = 0; i < 4; ++i) {
        out.begin(Font);
        out.addU16(11 * 20); // 11 points, in twips
        out.addU16(0);
        out.addU16(0x7FFF); // automatic colour
        out.addU16(400);    // normal weight
        out.addU16(0);
        out.addU8(0);
        out.addU8(0);
        out.addU8(134); // GB2312 character set
        out.addU8(0);
        out.addShortText(u"宋体");
        out.end();
    }
}

// usedAttributes: for a style XF, the attribute groups it leaves to the cell;
// for a cell XF, those it sets itself instead of taking them from its style.
void addXf(RecordBuffer& out, quint16 format, bool isStyle, quint8 usedAttributes)
{
    out.begin(Xf);
    out.addU16(0); // font
    out.addU16(format);
    // Locked. A style XF has no parent; a cell XF derives from Normal (XF 0).
    out.addU16(isStyle ? 0xFFF5 : 0x0001);
    out.addU8(0x20); // general horizontal, bottom vertical alignment
    out.addU8(0);
    out.addU8(0);
    out.addU8(usedAttributes);
    out.addU32(0); // no borders
    out.addU32(0); // no fill pattern
    out.addU16(0x20C0); // system window colours
    out.end();
}

void addXfs(RecordBuffer& out)
{
    // Normal, then the styles Excel reserves for outline levels, which leave
    // everything but alignment to the cell.
    addXf(out, 0, true, 0);
    for (quint16 i = 1; i < StyleXfCount; ++i)
        addXf(out, 0, true, 0xF4);
    addXf(out, TextFormat, false, 0x04); // sets only the number format

}

void addNormalStyle(RecordBuffer& out)
{
    out.begin(Style);
    out.addU16(0x8000); // built-in style on XF 0
    out.addU8(0);       // Normal
    out.addU8(0xFF);
    out.end();
}

// Where every n-th string of the table starts: its position in the stream
// and its offset in its SST or CONTINUE record, as EXTSST lists them.
struct BucketStart
{
    quint32 position;
    quint16 offset;
};

quint16 stringsPerBucket(qsizetype stringCount)
{
    return quint16(std::max<qsizetype>(stringCount / 128 + 1, 8));
}

void continueRecord(RecordBuffer& out)
{
    out.end();
    out.begin(Continue);
}

// The shared string table. A record holds at most MaxRecordData bytes, so long
// tables go on in CONTINUE records.
QVector<BucketStart> addSst(RecordBuffer& out, const SharedStrings& strings)
{
    const quint16 bucketSize = stringsPerBucket(strings.texts.size());
    QVector<BucketStart> buckets;
    out.begin(Sst);
    out.addU32(quint32(strings.cellIndexes.size()));
    out.addU32(quint32(strings.texts.size()));
    for (qsizetype i = 0; i < strings.texts.size(); ++i) {
        const QStringView text = strings.texts[i];
        const bool compressed = isLatin1(text);
        const quint8 options = compressed ? 0 : 1;
        const int charSize = compressed ? 1 : 2;
        // A string's header is never split; its first two characters go with
        // it, so a leading surrogate pair stays whole too.
        if (out.room() < 3 + 2 * charSize)
            continueRecord(out);
        if (i % bucketSize == 0)
            buckets.append({quint32(out.size()), quint16(out.size() - out.recordStart())});
        out.addU16(quint16(text.size()));
        out.addU8(options);
        qsizetype written = 0;
        for (;;) {
            qsizetype count = std::min<qsizetype>(text.size() - written, out.room() / charSize);
            // Readers decode each record's part of a string on its own, so a
            // surrogate pair must not straddle two records.
            if (written + count < text.size() && text[written + count - 1].isHighSurrogate())
                --count;
            out.addChars(text.mid(written, count), compressed);
            written += count;
            if (written == text.size())
                break;
            continueRecord(out);
            out.addU8(options); // a string going on in a new record repeats its option byte
        }
    }
    out.end();
    return buckets;
}

void addExtSst(RecordBuffer& out, qsizetype stringCount, const QVector<BucketStart>& buckets)
{
    out.begin(ExtSst);
    out.addU16(stringsPerBucket(stringCount));
    for (const BucketStart& bucket : buckets) {
        out.addU32(bucket.position);
        out.addU16(bucket.offset);
        out.addU16(0);
    }
    out.end();
}

// The workbook globals; they start the stream, so buffer positions are stream positions.
QByteArray workbookGlobals(const QString& sheetName, const SharedStrings& strings)
{
    RecordBuffer out;
    addBof(out, GlobalsSubstream);
    out.begin(CodePage);
    out.addU16(Utf16CodePage);
    out.end();
    addWindow1(out);
    addFonts(out);
    addXfs(out);
    addNormalStyle(out);

    out.begin(BoundSheet);
    const qsizetype sheetPositionAt = out.size();
    out.addU32(0); // stream position of the sheet, known once the globals are complete
    out.addU8(0);  // visible
    out.addU8(0);  // worksheet
    out.addShortText(sheetName);
    out.end();

    addExtSst(out, strings.texts.size(), addSst(out, strings));
    addEof(out);
    out.setU32(sheetPositionAt, quint32(out.size()));
    return out.bytes();
}

void addColumnRange(RecordBuffer& out, int first, int last, quint16 width, bool userSet)
{
    out.begin(ColInfo);
    out.addU16(quint16(first));
    out.addU16(quint16(last));
    out.addU16(width);
    out.addU16(TextCellXf);
    out.addU16(userSet ? 0x0002 : 0);
    out.addU16(0);
    out.end();
}

// Every column, also beyond the data, carries the text format, so that what is
// typed later into an empty cell stays text as well.
void addColumns(RecordBuffer& out, const QVector<int>& columnWidths)
{
    for (int c = 0; c < columnWidths.size(); ++c) {
        const int width = std::min(columnWidths[c], MaxColumnWidth);
        if (width > 0)
            addColumnRange(out, c, c, quint16(width * 256), true);
        else
            addColumnRange(out, c, c, StandardColumnWidth, false);
    }
    if (columnWidths.size() < MaxColumns)
        addColumnRange(out, int(columnWidths.size()), MaxColumns - 1, StandardColumnWidth, false);
}

void addDimensions(RecordBuffer& out, const SharedStrings& strings)
{
    out.begin(Dimensions);
    out.addU32(0);
    out.addU32(quint32(strings.usedRows));
    out.addU16(0);
    out.addU16(quint16(strings.usedColumns));
    out.addU16(0);
    out.end();
}

void addWindow2(RecordBuffer& out)
{
    out.begin(Window2);
    out.addU16(0x06B6); // grid, headings, zeros, outline symbols shown; sheet selected and active
    out.addU16(0);      // top row
    out.addU16(0);      // left column
    out.addU16(64);     // automatic grid line colour
    out.addU16(0);
    out.addU16(0); // default zoom
    out.addU16(0);
    out.addU32(0);
    out.end();
}

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template<typename T>
using GsfPointer = std::unique_ptr<T, GObjectUnref>;

// The "Workbook" stream of an OLE2 compound document written into an open save file.
class WorkbookStream
{
public:
    explicit WorkbookStream(QSaveFile& file)
        : m_fileName(file.fileName())
    {
        static const bool gsfReady = (gsf_init(), true);
        Q_UNUSED(gsfReady);

        // libgsf writes through its own stdio stream on a duplicate of the save file's descriptor.
        const int descriptor = dup(file.handle());
        FILE* stream = descriptor < 0 ? nullptr : fdopen(descriptor, "wb");
        if (!stream) {
            if (descriptor >= 0)
                ::close(descriptor);
            fail(QString::fromLocal8Bit(std::strerror(errno)));
        }
        m_sink.reset(gsf_output_stdio_new_FILE(QFile::encodeName(m_fileName).constData(), stream, FALSE));
        m_container.reset(gsf_outfile_msole_new(m_sink.get()));
        m_workbook.reset(gsf_outfile_new_child(m_container.get(), "Workbook", FALSE));
        if (!m_workbook)
            fail(m_sink.get());
    }

    void write(const QByteArray& bytes)
    {
        if (!gsf_output_write(m_workbook.get(), size_t(bytes.size()), reinterpret_cast<const guint8*>(bytes.constData())))
            fail(m_workbook.get());
    }

    // Finishes the stream and the compound document's directory.
    void close()
    {
        if (!gsf_output_close(m_workbook.get()))
            fail(m_workbook.get());
        GsfOutput* container = GSF_OUTPUT(m_container.get());
        if (!gsf_output_close(container))
            fail(container);
    }

private:
    [[noreturn]] void fail(GsfOutput* output) const
    {
        const GError* error = gsf_output_error(output);
        fail(error ? QString::fromUtf8(error->message) : QString());
    }
    [[noreturn]] void fail(const QString& reason) const
    {
        throw Exception(QStringLiteral("写入文件 %1 时出错：%2").arg(m_fileName, reason));
    }

    QString m_fileName;
    GsfPointer<GsfOutput> m_sink;
    GsfPointer<GsfOutfile> m_container;
    GsfPointer<GsfOutput> m_workbook;
};

// The sheet's records go to the stream in chunks as they are made, so the
// cells are never held in memory twice.
void writeSheet(WorkbookStream& stream, const QVector<QStringList>& rows, const QVector<int>& columnWidths,
                const SharedStrings& strings)
{
    RecordBuffer out;
    addBof(out, WorksheetSubstream);
    addColumns(out, columnWidths);
    addDimensions(out, strings);
    const quint32* stringIndex = strings.cellIndexes.constData();
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList& row = rows[r];
        for (int c = 0; c < row.size(); ++c) {
            if (row[c].isEmpty())
                continue;
            out.begin(LabelSst);
            out.addU16(quint16(r));
            out.addU16(quint16(c));
            out.addU16(TextCellXf);
            out.addU32(*stringIndex++);
            out.end();
        }
        if (out.size() >= FlushSize) {
            stream.write(out.bytes());
            out.clear();
        }
    }
    addWindow2(out);
    addEof(out);
    stream.write(out.bytes());
}

} // namespace

void WriteXlsFile(const QString& fileName, const QString& sheetName,
                  const QVector<QStringList>& rows, const QVector<int>& columnWidths)
{
    checkLimits(sheetName, rows, columnWidths);
    const SharedStrings strings = collectStrings(rows);
    const QByteArray globals = workbookGlobals(sheetName, strings);

    // The save file is a temporary file until commit() renames it over the
    // target, so a failure leaves any old file as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("无法创建文件 %1：%2").arg(fileName, file.errorString()));
    {
        WorkbookStream stream(file);
        stream.write(globals);
        writeSheet(stream, rows, columnWidths, strings);
        stream.close();
    }
    if (!file.commit())
        throw Exception(QStringLiteral("写入文件 %1 时出错：%2").arg(fileName, file.errorString()));
}
