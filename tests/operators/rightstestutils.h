#pragma once

#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

// The stored rights of one account, in the order the database returns them.
QStringList StoredRights(const QString& name);

// The first node of the tree, at any depth, with this text; null when there is none.
QTreeWidgetItem* FindNode(const QTreeWidget* tree, const QString& text);
