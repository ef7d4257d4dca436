#include "excelexport.h"

#include "common/exceptions.h"
#include "common/messages.h"
#include "common/waitingpanel.h"
#include "stringgrid.h"
#include "xlswriter.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString Extension = QStringLiteral(".xls");

// Column width in characters as a spreadsheet counts them: a Chinese character
// takes two, and a little room is left after the longest text.
int textWidth(const QString& text)
{
    int width = 0;
    for (const QChar ch : text)
        width += ch.unicode() < 0x80 ? 1 : 2;
    return width == 0 ? 0 : width + 1;
}

} // namespace

void ExportToExcel(TKespStringGrid* grid)
{
    QString fileName = SelectSaveFile(grid, QStringLiteral("Excel文件 (*.xls)"));
    if (fileName.isEmpty())
        return;
    // Only the exact lower-case extension counts, so "客户.XLS" becomes "客户.XLS.xls".
    if (!fileName.endsWith(Extension, Qt::CaseSensitive))
        fileName += Extension;
    if (QFileInfo::exists(fileName) && !QFile::remove(fileName)) {
        ShowError(QStringLiteral("文件已经存在,导出数据失败!"));
        return;
    }

    QVector<QStringList> rows;
    rows.reserve(grid->RowCount());
    QVector<int> widths(grid->ColCount() - 1, 0);
    for (int row = 0; row < grid->RowCount(); ++row) {
        QStringList texts = grid->RowTexts(row).mid(1);
        for (int col = 0; col < texts.size(); ++col)
            widths[col] = qMax(widths[col], textWidth(texts.at(col)));
        rows.append(std::move(texts));
    }
    try {
        WaitingScope waiting(QStringLiteral("正在导出数据,请稍候..."));
        WriteXlsFile(fileName, QStringLiteral("Sheet1"), rows, widths);
    } catch (const Exception& error) {
        ShowErrorDetail(QStringLiteral("操作Excel时出现错误,导出数据失败!"), error.Message, QString());
        return;
    }
    ShowInfo(QStringLiteral("导出数据到") + fileName + QStringLiteral("成功!"));
}
