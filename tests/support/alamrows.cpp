#include "alamrows.h"

#include "data/dbaccess.h"

#include <QTreeWidget>

QString InsertAlam(const AlamRow& row)
{
    DbExecute(QStringLiteral("insert into Alam(iHour,iMinute,iMonWeek,ReDay,AlamDate,ReTitle,Remark,OperName,sGUID,bLook) "
                             "values (%1,%2,%3,%4,'%5','%6','','%7','%8',%9)")
                  .arg(QString::number(row.hour), QString::number(row.minute), QString::number(row.monWeek),
                       QString::number(row.reDay), row.date.toString(QStringLiteral("yyyy-MM-dd")),
                       SqlEscape(row.title), SqlEscape(row.oper), SqlEscape(row.customer),
                       QString::number(row.seen ? 1 : 0)));
    return QString::number(DbQueryInteger(QStringLiteral("select max(ID) from Alam")));
}

int AlamCount(const QString& customer)
{
    return DbQueryInteger(QStringLiteral("select count(*) from Alam where sGUID='%1'").arg(SqlEscape(customer)));
}

QStringList ListColumn(const QTreeWidget* view, int column)
{
    QStringList texts;
    for (int row = 0; row < view->topLevelItemCount(); ++row)
        texts.append(view->topLevelItem(row)->text(column));
    return texts;
}
