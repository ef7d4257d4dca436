#include "rightstestutils.h"

#include "data/dbaccess.h"

#include <QTreeWidget>

QStringList StoredRights(const QString& name)
{
    DbAccess->OpenQuery(QStringLiteral("select Rules from authority where OperName='%1' ").arg(SqlEscape(name)));
    QStringList rights;
    for (TResultSet& data = DbAccess->QueryData; !data.Eof(); data.Next())
        rights.append(data.Fields(0).AsString());
    return rights;
}

QTreeWidgetItem* FindNode(const QTreeWidget* tree, const QString& text)
{
    return tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}
