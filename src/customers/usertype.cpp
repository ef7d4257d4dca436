#include "usertype.h"

#include "common/exceptions.h"
#include "data/dbaccess.h"

#include <QIcon>
#include <QStyle>
#include <QTreeWidget>

TUserType* UserType = nullptr;

namespace {

const QString SelectTypeNames = QStringLiteral("select TypeName from UserType ");

// The tree's three images, taken from its style: the root, a category, and
// the opened look of the selected category.
QIcon treeIcon(const QStyle* style, QStyle::StandardPixmap normal, QStyle::StandardPixmap selected)
{
    const QIcon normalIcon = style->standardIcon(normal);
    const QIcon selectedIcon = style->standardIcon(selected);
    QIcon icon;
    for (const int extent : {16, 32}) {
        icon.addPixmap(normalIcon.pixmap(extent), QIcon::Normal);
        icon.addPixmap(selectedIcon.pixmap(extent), QIcon::Selected);
    }
    return icon;
}

} // namespace

void TUserType::AddType()
{
    if (TypeExists(TypeName))
        throw Exception(QStringLiteral("该客户类别已经存在!"));
    SQL = QStringLiteral("insert into UserType(TypeName) values ('%1') ").arg(SqlEscape(TypeName));
    DbExecute(SQL);
}

void TUserType::GetTypeNames(QStringList& names)
{
    SQL = SelectTypeNames;
    FillStrings(SQL, QStringLiteral("TypeName"), names);
}

void TUserType::DeleteType(const QString& id)
{
    SQL = QStringLiteral("select count(TypeID) from Customer where TypeID= %1 ").arg(id);
    if (DbQueryInteger(SQL) > 0)
        throw Exception(QStringLiteral("客户类别中包括有客户，不能删除!"));
    SQL = QStringLiteral("delete from UserType where ID = %1").arg(id);
    DbExecute(SQL);
}

void TUserType::FillTypeTree(QTreeWidget* tree)
{
    SQL = SelectTypeNames;
    DbAccess->OpenQuery(SQL);

    const QStyle* style = tree->style();
    const QIcon rootIcon = treeIcon(style, QStyle::SP_DirHomeIcon, QStyle::SP_DirHomeIcon);
    const QIcon categoryIcon = treeIcon(style, QStyle::SP_DirClosedIcon, QStyle::SP_DirOpenIcon);

    tree->setUpdatesEnabled(false);
    tree->clear();
    auto* root = new QTreeWidgetItem(tree, QStringList{QStringLiteral("客户类别")});
    root->setIcon(0, rootIcon);
    root->setData(0, ImageIndexRole, 0);
    root->setData(0, SelectedIndexRole, 0);
    for (TResultSet& data = DbAccess->QueryData; !data.Eof(); data.Next()) {
        auto* node = new QTreeWidgetItem(root, QStringList{data.Fields(0).AsString()});
        node->setIcon(0, categoryIcon);
        node->setData(0, ImageIndexRole, 1);
        node->setData(0, SelectedIndexRole, 2);
    }
    tree->setUpdatesEnabled(true);
    tree->expandItem(root);
}

int TUserType::GetTypeID(const QString& name)
{
    if (name.isEmpty())
        return -1;
    SQL = QStringLiteral("select ID from UserType where TypeName='%1' ").arg(SqlEscape(name));
    DbAccess->OpenQuery(SQL);
    return DbAccess->QueryData.FieldByName(QStringLiteral("ID")).AsInteger();
}

void TUserType::LoadType(const QString& id)
{
    SQL = QStringLiteral("select * from UserType where ID=%1 ").arg(id);
    DbAccess->OpenQuery(SQL);
    TypeName = DbAccess->QueryData.FieldByName(QStringLiteral("TypeName")).AsString();
}

bool TUserType::TypeExists(const QString& name)
{
    SQL = QStringLiteral("select count(TypeName) from UserType where TypeName='%1' ").arg(SqlEscape(name));
    return DbQueryInteger(SQL) != 0;
}

void TUserType::RenameType(const QString& id)
{
    SQL = QStringLiteral("update UserType set TypeName='%1' where ID=%2 ").arg(SqlEscape(TypeName), id);
    DbExecute(SQL);
}
