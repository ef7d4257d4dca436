#pragma once

#include <QString>
#include <QStringList>

class QTreeWidget;

// The account that holds every right without stored rows and cannot be deleted.
extern const QString AdminName;

// The logged-in operator: lists the accounts, checks a name and password and
// then answers which rights the operator holds. "Admin" holds every right.
class TLoginOper
{
public:
    void ListNames(QStringList& names);
    void ListOpers(QTreeWidget* listView);
    bool HasRight(const QString& right) const;
    bool Login(const QString& name, const QString& password);
    void DeleteOper(const QString& name);

    QString OperName;
    QString OperPass;
    QStringList Rights;
};

extern TLoginOper* LoginOper;
