#include "loginoper.h"

#include "app/globals.h"
#include "data/dbaccess.h"

TLoginOper* LoginOper = nullptr;

const QString AdminName = QStringLiteral("Admin");

void TLoginOper::ListNames(QStringList& names)
{
    names.clear();
    DbAccess->OpenQuery(QStringLiteral("select OperName from Oper"));
    for (TResultSet& data = DbAccess->QueryData; !data.Eof(); data.Next())
        names.append(data.Fields(0).AsString());
}

void TLoginOper::ListOpers(QTreeWidget* listView)
{
    FillListView(QStringLiteral("select OperName,Remark from Oper"), listView);
}

bool TLoginOper::HasRight(const QString& right) const
{
    if (OperName == AdminName)
        return true;
    return Rights.contains(right, Qt::CaseInsensitive);
}

bool TLoginOper::Login(const QString& name, const QString& password)
{
    QString sql;
    if (!password.isEmpty())
        sql = QStringLiteral("Select Count(OperName) from Oper where OperName='%1' and OperPass='%2' ")
                  .arg(SqlEscape(name), SqlEscape(password));
    else if (DbMode == 1) // ISNULL is a keyword in SQLite: the function is called as [IsNull]
        sql = QStringLiteral("Select Count(OperName) from Oper where OperName='%1' and ([IsNull](OperPass) or OperPass='') ")
                  .arg(SqlEscape(name));
    else
        sql = QStringLiteral("Select Count(OperName) from Oper where OperName='%1' and (IsNull(OperPass,'')='') ")
                  .arg(SqlEscape(name));
    if (DbQueryInteger(sql) <= 0)
        return false;

    Rights.clear();
    DbAccess->OpenQuery(QStringLiteral("select Rules from Authority where OperName='%1' ").arg(SqlEscape(name)));
    for (TResultSet& data = DbAccess->QueryData; !data.Eof(); data.Next())
        Rights.append(data.Fields(0).AsString());
    OperName = name;
    OperPass = password;
    return true;
}

void TLoginOper::DeleteOper(const QString& name)
{
    const QString escaped = SqlEscape(name);
    DbExecute(QStringLiteral("delete from Oper where OperName='%1' @#@delete from authority where OperName='%1' ")
                  .arg(escaped));
}
