#pragma once

#include <QString>
#include <qnamespace.h>
#include <QStringList>

class QTreeWidget;

// Customer categories: rows of UserType, identified in the windows by their
// name. IDs travel as decimal text and go into the statements unquoted.
class TUserType
{
public:
    // Tree node data: the image index (0 root, 1 category) and the image a
    // selected category shows (2).
    static constexpr int ImageIndexRole = Qt::UserRole;
    static constexpr int SelectedIndexRole = Qt::UserRole + 1;

    // Adds TypeName; refuses a name that exists.
    void AddType();
    void GetTypeNames(QStringList& names);
    // Refuses a category that customers still belong to.
    void DeleteType(const QString& id);
    void FillTypeTree(QTreeWidget* tree);
    // -1 for an empty name, 0 when no category has the name.
    int GetTypeID(const QString& name);
    void LoadType(const QString& id);
    bool TypeExists(const QString& name);
    // Gives the category TypeName; no test for empty or duplicate names.
    void RenameType(const QString& id);

    QString TypeName;
    QString SQL;
};

extern TUserType* UserType;
