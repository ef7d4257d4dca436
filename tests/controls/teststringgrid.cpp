#include "customerfixture.h"
#include "testregistry.h"

#include "common/exceptions.h"
#include "controls/stringgrid.h"
#include "data/dbaccess.h"

#include <QAccessible>
#include <QHeaderView>
#include <QTest>

namespace {

// A grid holding the header and data rows given; every row has the header's column count.
void fill(TKespStringGrid& grid, const QStringList& header, const QVector<QStringList>& data)
{
    QVector<QStringList> rows{header};
    rows.append(data);
    grid.SetAllRows(rows);
}

QStringList headerTexts(const TKespStringGrid& grid)
{
    return grid.RowTexts(0);
}

// Column 0 numbers the rows, column 1 holds the keys to sort by.
void fillNumberedKeys(TKespStringGrid& grid, const QStringList& keys)
{
    QVector<QStringList> rows;
    for (int i = 0; i < keys.size(); ++i)
        rows.append({QString::number(i), keys.at(i)});
    fill(grid, {QStringLiteral("序号"), QStringLiteral("名称")}, rows);
}

} // namespace

class TestStringGrid : public QObject
{
    Q_OBJECT

private slots:
    void newGridHasHeaderAndOneEmptyRow()
    {
        TKespStringGrid grid;
        QCOMPARE(grid.ColCount(), 1);
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.model()->rowCount(), 1);
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable));
    }

    void sortByColumn_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("numbers sort as text") << QStringList{"10", "9", "100"} << false << QStringList{"10", "100", "9"};
        QTest::newRow("numbers as text, descending") << QStringList{"10", "9", "100"} << true << QStringList{"9", "100", "10"};
        // GBK codes: 阿 B0A2, 北 B1B1, 中 D6D0 (Unicode order would be the reverse).
        QTest::newRow("Chinese by GBK code") << QStringList{"中", "阿", "北"} << false << QStringList{"阿", "北", "中"};
        QTest::newRow("bytes compare unsigned") << QStringList{"张", "z", "Z"} << false << QStringList{"Z", "z", "张"};
        // Outside GBK: an emoji keeps its GB18030 bytes (94 39 ...) instead of becoming "?".
        QTest::newRow("emoji keeps its bytes") << QStringList{"阿", "😀", "A"} << false << QStringList{"A", "😀", "阿"};
        QTest::newRow("shorter prefix first") << QStringList{"ab", "a", ""} << false << QStringList{"", "a", "ab"};
        QTest::newRow("equal keys keep order") << QStringList{"b", "a", "b", "a", "b"} << false
                                               << QStringList{"a", "a", "b", "b", "b"};
        QTest::newRow("equal keys keep order, descending") << QStringList{"b", "a", "b", "a", "b"} << true
                                                           << QStringList{"b", "b", "b", "a", "a"};
        QTest::newRow("one row") << QStringList{"x"} << false << QStringList{"x"};
    }

    void sortByColumn()
    {
        QFETCH(QStringList, keys);
        QFETCH(bool, descending);
        QFETCH(QStringList, expected);
        TKespStringGrid grid;
        fillNumberedKeys(grid, keys);

        grid.SortByColumn(1, descending);

        QCOMPARE(GridColumn(grid, 1), expected);
        // Rows travel whole, and rows with equal keys keep their previous order.
        const QStringList numbers = GridColumn(grid, 0);
        for (int row = 1; row < grid.RowCount(); ++row)
            QCOMPARE(grid.Cells(1, row), keys.at(numbers.at(row - 1).toInt()));
        for (int i = 1; i < numbers.size(); ++i) {
            if (grid.Cells(1, i) == grid.Cells(1, i + 1))
                QVERIFY(numbers.at(i - 1).toInt() < numbers.at(i).toInt());
        }
        QCOMPARE(headerTexts(grid), (QStringList{"序号", "名称"}));
    }

    void sortKeepsSelectionOnItsRow()
    {
        TKespStringGrid grid;
        fillNumberedKeys(grid, {"c", "a", "b"});
        grid.SetRow(1);

        grid.SortByColumn(1, false);

        QCOMPARE(grid.Row(), 3);
        QCOMPARE(grid.Cells(1, grid.Row()), QStringLiteral("c"));
        QVERIFY(grid.selectionModel()->isRowSelected(2, QModelIndex()));
    }

    void headerClicks_data()
    {
        QTest::addColumn<QList<int>>("columns");
        QTest::addColumn<QList<Qt::MouseButton>>("buttons");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("cities");
        // GBK codes: 上 C9CF, 北 B1B1, 广 B9E3.
        const QStringList unsorted{"上海", "北京", "广州"};
        QTest::newRow("first click ascending")
            << QList<int>{2} << QList<Qt::MouseButton>{Qt::LeftButton}
            << QStringList{"序号", "姓名", "▲城市"} << QStringList{"北京", "广州", "上海"};
        QTest::newRow("second click descending")
            << QList<int>{2, 2} << QList<Qt::MouseButton>{Qt::LeftButton, Qt::LeftButton}
            << QStringList{"序号", "姓名", "▼城市"} << QStringList{"上海", "广州", "北京"};
        QTest::newRow("third click ascending again")
            << QList<int>{2, 2, 2} << QList<Qt::MouseButton>{Qt::LeftButton, Qt::LeftButton, Qt::LeftButton}
            << QStringList{"序号", "姓名", "▲城市"} << QStringList{"北京", "广州", "上海"};
        QTest::newRow("another heading takes the mark")
            << QList<int>{2, 2, 1} << QList<Qt::MouseButton>{Qt::LeftButton, Qt::LeftButton, Qt::LeftButton}
            << QStringList{"序号", "▲姓名", "城市"} << QStringList{"北京", "上海", "广州"};
        QTest::newRow("right press does nothing")
            << QList<int>{2} << QList<Qt::MouseButton>{Qt::RightButton}
            << QStringList{"序号", "姓名", "城市"} << unsorted;
        QTest::newRow("right press keeps the mark")
            << QList<int>{2, 2, 1} << QList<Qt::MouseButton>{Qt::LeftButton, Qt::LeftButton, Qt::RightButton}
            << QStringList{"序号", "姓名", "▼城市"} << QStringList{"上海", "广州", "北京"};
    }

    void headerClicks()
    {
        QFETCH(QList<int>, columns);
        QFETCH(QList<Qt::MouseButton>, buttons);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, cities);
        TKespStringGrid grid;
        fill(grid, {"序号", "姓名", "城市"},
             {{"1", "王五", "上海"}, {"2", "阿明", "北京"}, {"3", "张三", "广州"}});
        for (int col = 0; col < grid.ColCount(); ++col)
            grid.SetColWidth(col, 120);
        grid.resize(500, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        QHeaderView* header = grid.horizontalHeader();
        for (int i = 0; i < columns.size(); ++i) {
            const int col = columns.at(i);
            const QPoint middle(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
            QTest::mouseClick(header->viewport(), buttons.at(i), Qt::NoModifier, middle);
        }

        QCOMPARE(headerTexts(grid), headers);
        QCOMPARE(GridColumn(grid, 2), cities);
        for (int col = 0; col < grid.ColCount(); ++col)
            QCOMPARE(grid.model()->headerData(col, Qt::Horizontal).toString(), headers.at(col));
    }

    void clearSortMarksSparesTheGivenColumn()
    {
        TKespStringGrid grid;
        fill(grid, {"▲甲", "▼乙", "丙", "▲▲丁"}, {{"", "", "", ""}});

        grid.ClearSortMarks(1);

        QCOMPARE(headerTexts(grid), (QStringList{"甲", "▼乙", "丙", "▲丁"}));
    }

    void deleteRow_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("last of three, selected") << 3 << 3 << 3 << QStringList{"r1", "r2"} << 2;
        QTest::newRow("middle, selection below") << 3 << 3 << 2 << QStringList{"r1", "r3"} << 2;
        QTest::newRow("first, selection above stays") << 3 << 1 << 1 << QStringList{"r2", "r3"} << 1;
        QTest::newRow("only data row leaves an empty row") << 1 << 1 << 1 << QStringList{""} << 1;
        QTest::newRow("row past the end is ignored") << 2 << 2 << 3 << QStringList{"r1", "r2"} << 2;
        QTest::newRow("header row is kept") << 2 << 1 << 0 << QStringList{"r1", "r2"} << 1;
    }

    void deleteRow()
    {
        QFETCH(int, rows);
        QFETCH(int, selected);
        QFETCH(int, deleted);
        QFETCH(QStringList, remaining);
        QFETCH(int, selectedAfter);
        TKespStringGrid grid;
        QVector<QStringList> data;
        for (int row = 1; row <= rows; ++row)
            data.append({QStringLiteral("r%1").arg(row), QStringLiteral("x")});
        fill(grid, {"键", "名称"}, data);
        grid.SetRow(selected);

        grid.DeleteRow(deleted);

        QCOMPARE(GridColumn(grid, 0), remaining);
        QCOMPARE(grid.RowCount(), remaining.size() + 1);
        QCOMPARE(grid.model()->rowCount(), remaining.size());
        QCOMPARE(headerTexts(grid), (QStringList{"键", "名称"}));
        QCOMPARE(grid.Row(), selectedAfter);
        QVERIFY(grid.selectionModel()->isRowSelected(selectedAfter - 1, QModelIndex()));
    }

    void exchangeRows_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("two data rows") << 1 << 3 << QStringList{"键", "r3", "r2", "r1"};
        QTest::newRow("with the header row") << 0 << 2 << QStringList{"r2", "r1", "键", "r3"};
        QTest::newRow("same row") << 2 << 2 << QStringList{"键", "r1", "r2", "r3"};
        QTest::newRow("row past the end") << 1 << 4 << QStringList{"键", "r1", "r2", "r3"};
        QTest::newRow("negative row") << -1 << 1 << QStringList{"键", "r1", "r2", "r3"};
    }

    void exchangeRows()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QStringList, expected);
        TKespStringGrid grid;
        fill(grid, {"键", "值"}, {{"r1", "1"}, {"r2", "2"}, {"r3", "3"}});

        grid.ExchangeRows(a, b);

        QCOMPARE(GridColumn(grid, 0, 0), expected);
        const QHash<QString, QString> partners{{"键", "值"}, {"r1", "1"}, {"r2", "2"}, {"r3", "3"}};
        for (int row = 0; row < grid.RowCount(); ++row)
            QCOMPARE(grid.Cells(1, row), partners.value(grid.Cells(0, row)));
        QCOMPARE(grid.model()->headerData(0, Qt::Horizontal).toString(), expected.first());
    }

    void clearRowsEmptiesHeaderAndData()
    {
        TKespStringGrid grid;
        fill(grid, {"键", "值"}, {{"r1", "1"}, {"r2", "2"}});

        grid.ClearRows();

        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.ColCount(), 2);
        QCOMPARE(grid.RowTexts(0), (QStringList{"", ""}));
        QCOMPARE(grid.RowTexts(1), (QStringList{"", ""}));
    }

    void rowAndColumnCountsKeepTexts()
    {
        TKespStringGrid grid;
        fill(grid, {"键", "值"}, {{"r1", "1"}});

        grid.SetRowCount(4);
        grid.SetColCount(3);
        grid.SetCell(2, 3, QStringLiteral("新"));

        QCOMPARE(grid.model()->rowCount(), 3);
        QCOMPARE(grid.model()->columnCount(), 3);
        QCOMPARE(grid.RowTexts(1), (QStringList{"r1", "1", ""}));
        QCOMPARE(grid.model()->index(2, 2).data().toString(), QStringLiteral("新"));

        grid.SetRowCount(2);
        grid.SetColCount(1);
        QCOMPARE(grid.RowTexts(0), QStringList{"键"});
        QCOMPARE(grid.RowTexts(1), QStringList{"r1"});
        QCOMPARE(grid.Cells(2, 3), QString());
    }

    void zeroWidthHidesColumn()
    {
        TKespStringGrid grid;
        fill(grid, {"键", "值"}, {{"r1", "1"}});

        grid.SetColWidth(0, 0);
        QVERIFY(grid.isColumnHidden(0));
        QCOMPARE(grid.ColWidths(0), 0);

        grid.SetColWidth(0, 55);
        QVERIFY(!grid.isColumnHidden(0));
        QCOMPARE(grid.ColWidths(0), 55);
    }

    void autoSizeMeasuresAtMost31Rows_data()
    {
        QTest::addColumn<int>("dataRows");
        QTest::addColumn<int>("longRow");
        QTest::addColumn<bool>("measured");
        QTest::newRow("header") << 40 << 0 << true;
        QTest::newRow("30th data row of 40") << 40 << 30 << true;
        QTest::newRow("31st data row of 40") << 40 << 31 << false;
        QTest::newRow("last row of 30") << 30 << 30 << true;
        QTest::newRow("last row of 31") << 31 << 31 << false;
    }

    void autoSizeMeasuresAtMost31Rows()
    {
        QFETCH(int, dataRows);
        QFETCH(int, longRow);
        QFETCH(bool, measured);
        const QString shortText = QStringLiteral("短");
        const QString longText = QStringLiteral("很长很长很长很长的客户地址");
        TKespStringGrid grid;
        QVector<QStringList> rows(dataRows + 1, QStringList{shortText, QString()});
        rows[longRow][0] = longText;
        grid.SetAllRows(rows);

        grid.AutoSizeColumns();

        const QFontMetrics metrics(grid.font());
        QCOMPARE(grid.ColWidths(0), metrics.horizontalAdvance(measured ? longText : shortText) + 24);
        QCOMPARE(grid.ColWidths(1), 24);
    }

    void cellsAndHeadersReachAssistiveTechnology()
    {
        TKespStringGrid grid;
        fill(grid, {"键", "会员姓名"}, {{"r1", "张三"}});
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
        QVERIFY(table && table->tableInterface());
        QCOMPARE(table->tableInterface()->columnDescription(1), QStringLiteral("会员姓名"));
        QAccessibleInterface* cell = table->tableInterface()->cellAt(0, 1);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("张三"));
    }
};

KESP_TEST(TestStringGrid)

class TestFillGrid : public QObject
{
    Q_OBJECT

private:
    const QString m_select = QStringLiteral(
        "select sGUID as \"sGUID\", TypeName as \"所属类别\", Kesp200001 as \"会员号码\", Kesp200002 as \"会员姓名\" "
        " from Customer a, UserType b where a.TypeID=b.ID %1 order by sGUID");

private slots:
    void fillsHeaderAndTrimmedTexts()
    {
        TestDatabase db;
        REQUIRE_DATABASE(db);
        DbExecute(QStringLiteral(
            "insert into UserType (TypeName) values ('批发客户')@#@"
            "insert into Customer (sGUID, TypeID, Kesp200001, Kesp200002) "
            "select 'G1', ID, '  007 ', '张三' from UserType@#@"
            "insert into Customer (sGUID, TypeID, Kesp200001, Kesp200002) "
            "select 'G2', ID, '12345678901234567890', null from UserType@#@"
            "insert into Customer (sGUID, TypeID, Kesp200001, Kesp200002) "
            "select 'G3', ID, '', '很长很长的客户姓名 O''Brien' from UserType"));
        TKespStringGrid grid;
        fill(grid, {"▲旧标题"}, {{"旧"}});

        FillGrid(m_select.arg(QString()), &grid);

        QCOMPARE(grid.ColCount(), 4);
        QCOMPARE(grid.RowCount(), 4);
        QCOMPARE(grid.RowTexts(0), (QStringList{"sGUID", "所属类别", "会员号码", "会员姓名"}));
        QCOMPARE(grid.RowTexts(1), (QStringList{"G1", "批发客户", "007", "张三"}));
        QCOMPARE(grid.RowTexts(2), (QStringList{"G2", "批发客户", "12345678901234567890", ""}));
        QCOMPARE(grid.RowTexts(3), (QStringList{"G3", "批发客户", "", "很长很长的客户姓名 O'Brien"}));
        const QFontMetrics metrics(grid.font());
        QCOMPARE(grid.ColWidths(3), metrics.horizontalAdvance(grid.Cells(3, 3)) + 24);
        QCOMPARE(grid.ColWidths(0), metrics.horizontalAdvance(QStringLiteral("sGUID")) + 24);
    }

    void emptyResultKeepsWidthsAndShowsOneEmptyRow()
    {
        TestDatabase db;
        REQUIRE_DATABASE(db);
        TKespStringGrid grid;
        fill(grid, {"▲键", "类别", "号码", "姓名", "多余"}, {{"G9", "a", "b", "c", "d"}});
        const QList<int> widths{0, 70, 80, 90, 100};
        for (int col = 0; col < widths.size(); ++col)
            grid.SetColWidth(col, widths.at(col));

        FillGrid(m_select.arg(QStringLiteral("and 1=0")), &grid);

        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.ColCount(), 4);
        QCOMPARE(grid.RowTexts(0), (QStringList{"sGUID", "所属类别", "会员号码", "会员姓名"}));
        // The customer count reads 0 when cell (0, 1) is empty.
        QCOMPARE(grid.RowTexts(1), (QStringList{"", "", "", ""}));
        for (int col = 0; col < grid.ColCount(); ++col)
            QCOMPARE(grid.ColWidths(col), widths.at(col));
    }

    void failedQueryLeavesGridAsItWas()
    {
        TestDatabase db;
        REQUIRE_DATABASE(db);
        TKespStringGrid grid;
        fill(grid, {"键", "值"}, {{"r1", "1"}});

        QVERIFY_THROWS_EXCEPTION(EDBException, FillGrid(QStringLiteral("select * from NoSuchTable"), &grid));

        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.RowTexts(1), (QStringList{"r1", "1"}));
    }
};

KESP_DB_TEST(TestFillGrid)

#include "teststringgrid.moc"
