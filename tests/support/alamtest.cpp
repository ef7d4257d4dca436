#include "alamtest.h"

#include "customerfixture.h"
#include "guitest.h"

#include "data/dbaccess.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
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

void FillAlamEditor(QDialog* editor, const QString& repeat, int hour, int minute, const QString& title)
{
    ClickRadio(Child<QWidget>(editor, "rd1"), repeat);
    ReplaceText(Child<QLineEdit>(editor, "edtHour"), QString::number(hour));
    ReplaceText(Child<QLineEdit>(editor, "edtMinute"), QString::number(minute));
    ReplaceText(Child<QComboBox>(editor, "cbbTitle")->lineEdit(), title);
}
