#include "oper.h"

#include "common/exceptions.h"
#include "controls/checktreeview.h"
#include "data/dbaccess.h"
#include "loginoper.h"

TOper::TOper(TKespCheckTreeView* rightsTree)
    : RightsTree(rightsTree)
{
    RightsTree->clear();
}

void TOper::Load(const QString& name)
{
    const QString escaped = SqlEscape(name);
    DbAccess->OpenQuery(QStringLiteral("select * from Oper where OperName='%1' ").arg(escaped));
    const TResultSet& oper = DbAccess->QueryData;
    OperName = oper.FieldByName(QStringLiteral("OperName")).AsString();
    OperPass = oper.FieldByName(QStringLiteral("OperPass")).AsString();
    Remark = oper.FieldByName(QStringLiteral("Remark")).AsString();

    Rights.clear();
    DbAccess->OpenQuery(QStringLiteral("select Rules from authority where OperName='%1' ").arg(escaped));
    for (TResultSet& rules = DbAccess->QueryData; !rules.Eof(); rules.Next())
        Rights.append(rules.Fields(0).AsString());
}

bool TOper::NameExists(const QString& name)
{
    return DbQueryInteger(QStringLiteral("select Count(OperName) from Oper where OperName= '%1' ").arg(SqlEscape(name)))
        > 0;
}

void TOper::Insert()
{
    if (NameExists(OperName))
        throw Exception(QStringLiteral("该操作员名已经存在！"));
    const QString batch = QStringLiteral("insert into Oper(OperName,OperPass,Remark) values ('%1','%2','%3') ")
                              .arg(SqlEscape(OperName), SqlEscape(OperPass), SqlEscape(Remark));
    DbExecute(batch + RightsStatements());
}

void TOper::Update()
{
    const QString escapedName = SqlEscape(OperName);
    QString batch = QStringLiteral("update Oper set OperPass='%1',Remark='%2' where OperName='%3' "
                                   "@#@delete from authority where OperName='%3' ")
                        .arg(SqlEscape(OperPass), SqlEscape(Remark), escapedName);
    // Admin holds every right without stored rows.
    if (OperName != AdminName)
        batch += RightsStatements();
    DbExecute(batch);
}

QString TOper::RightsStatements() const
{
    const QString escapedName = SqlEscape(OperName);
    QString statements;
    for (const QTreeWidgetItem* node : RightsTree->AllNodes()) {
        if (node->childCount() > 0)
            continue;
        const TCheckBoxState state = RightsTree->GetNodeState(node);
        if (state == cbChecked || state == cbGrayed)
            statements += QStringLiteral("@#@ insert into authority (OperName,Rules) values ('%1','%2') ")
                              .arg(escapedName, SqlEscape(node->text(0)));
    }
    return statements;
}
