#include "bench.h"

#include "app/globals.h"
#include "common/messages.h"
#include "controls/excelexport.h"
#include "controls/stringgrid.h"
#include "customers/customer.h"
#include "customers/fieldtitles.h"
#include "data/dbaccess.h"
#include "data/schema.h"
#include "operators/loginoper.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextStream>

#include <sqlite3.h>

namespace {

const int CategoryCount = 50;
const int XlsMaxRows = 65536;

const char* const Surnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡", "郭"};
const char* const GivenNames[] = {"伟", "芳", "娜", "秀英", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛"};
const char* const Cities[] = {"北京市朝阳区", "上海市浦东新区", "广州市天河区", "深圳市南山区", "杭州市西湖区", "成都市武侯区"};
const char* const Streets[] = {"建国路", "人民路", "中山大道", "解放路", "和平街", "长安街"};
const char* const Sources[] = {"朋友介绍", "网络推广", "老客户", "展会", "电话营销"};
const char* const Levels[] = {"普通", "银卡", "金卡", "钻石"};
const char* const Trades[] = {"餐饮", "零售", "教育", "医疗", "制造", "物流", "金融"};
const char* const Notes[] = {"需要定期回访", "对价格敏感", "偏好周末联系", "", "重要客户，优先处理"};

template <size_t Size>
QString pick(const char* const (&values)[Size], QRandomGenerator& random)
{
    return QString::fromUtf8(values[random.bounded(int(Size))]);
}

QString digits(QRandomGenerator& random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar('0' + random.bounded(10));
    return text;
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        qFatal("sqlite: %s", sqlite3_errmsg(db));
}

// Fills the database directly; making the data is not what is measured.
void makeCustomers(const QString& fileName, int count)
{
    sqlite3* db = nullptr;
    check(sqlite3_open(QFile::encodeName(fileName).constData(), &db), db);
    check(sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), db);
    for (int i = 1; i <= CategoryCount; ++i) {
        const QByteArray sql = QStringLiteral("insert into UserType (TypeName) values ('客户类别%1')").arg(i).toUtf8();
        check(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), db);
    }
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "insert into Customer (sGUID, TypeID, Kesp200001, Kesp200002, Kesp200003, Kesp200004, "
                             "Kesp200005, Kesp200006, Kesp200007, Kesp200008, Kesp200009, Kesp200010, Kesp200011, "
                             "Kesp200012, OperName, CreateDate) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                             -1, &insert, nullptr),
          db);
    QRandomGenerator random(20261210);
    const QDateTime start(QDate(2020, 1, 1), QTime(8, 0));
    for (int i = 0; i < count; ++i) {
        const QStringList values{
            TCustomer::NewGuidString(),
            QString::number(random.bounded(CategoryCount) + 1),
            QStringLiteral("VIP%1").arg(i + 1, 8, 10, QLatin1Char('0')),
            pick(Surnames, random) + pick(GivenNames, random),
            random.bounded(2) ? QStringLiteral("男") : QStringLiteral("女"),
            QStringLiteral("13") + digits(random, 9),
            digits(random, 5 + random.bounded(6)),
            QStringLiteral("0") + digits(random, 2) + QLatin1Char('-') + digits(random, 8),
            pick(Cities, random) + pick(Streets, random) + QString::number(random.bounded(999) + 1) + QStringLiteral("号"),
            QStringLiteral("19%1-%2-%3").arg(50 + random.bounded(50)).arg(random.bounded(12) + 1, 2, 10, QLatin1Char('0'))
                .arg(random.bounded(28) + 1, 2, 10, QLatin1Char('0')),
            pick(Sources, random),
            pick(Levels, random),
            pick(Trades, random),
            pick(Notes, random),
            QStringLiteral("Admin"),
            start.addSecs(i * 37).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
        };
        for (int column = 0; column < values.size(); ++column) {
            const QByteArray utf8 = values[column].toUtf8();
            sqlite3_bind_text(insert, column + 1, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
        }
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

qint64 peakRssMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    }
    return -1;
}

} // namespace

void RunCustomersBench(int count, const QString& directory)
{
    SetAppPath(directory);
    DbMode = 1;
    const QString database = AppPath + QStringLiteral("data.dat");
    CreateSqliteDatabase(database);
    makeCustomers(database, count);

    LoginOper = new TLoginOper;
    LoginOper->OperName = QStringLiteral("Admin");
    Customer = new TCustomer;
    DbAccess = new TDbAccess;
    DbAccess->Connect();
    LoadFieldTitles();

    QTextStream out(stdout);
    QElapsedTimer timer;
    TKespStringGrid grid;
    timer.start();
    Customer->FillCustomerList(&grid, QString(), QString(), -1);
    out << "fill_ms=" << timer.elapsed() << '\n';
    out << "rows=" << grid.RowCount() - 1 << '\n';

    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    timer.start();
    shell.start(QStringLiteral("sqlite3"), {database, Customer->SQL});
    shell.waitForFinished(-1);
    out << "select_ms=" << timer.elapsed() << '\n';

    const int nameColumn = 3; // 会员姓名: sGUID, 所属类别, 会员号码, 会员姓名, ...
    timer.start();
    grid.SortByColumn(nameColumn, false);
    out << "sort_ms=" << timer.elapsed() << '\n';

    if (grid.RowCount() > XlsMaxRows)
        grid.SetRowCount(XlsMaxRows);
    const QString xls = AppPath + QStringLiteral("customers.xls");
    MessageTesting::setNextFileName(xls);
    timer.start();
    ExportToExcel(&grid);
    out << "export_ms=" << timer.elapsed() << '\n';
    out << "export_rows=" << grid.RowCount() << '\n';
    const auto shown = MessageTesting::takeShown();
    if (!QFile::exists(xls) || shown.isEmpty() || shown.last().caption != QStringLiteral("提示"))
        out << "export_failed=" << (shown.isEmpty() ? QString() : shown.last().text) << '\n';
    out << "peak_rss_mb=" << peakRssMb() << '\n';
    out.flush();

    delete DbAccess;
    delete Customer;
    delete LoginOper;
}
