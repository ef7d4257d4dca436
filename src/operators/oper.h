#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

class TKespCheckTreeView;

// The Rules row behind one node of the rights tree.
struct TNodeData
{
    int SelfIndex = 0;
    int ParentIndex = 0;
    QString TypeName;
};
Q_DECLARE_METATYPE(TNodeData)

// One account being created or edited in an account window. Bound to the
// window's rights tree: the checked leaves of the tree are the rights saved.
class TOper
{
public:
    // Keeps the tree (not owned) and empties it; the window fills it.
    explicit TOper(TKespCheckTreeView* rightsTree);

    void Load(const QString& name);
    bool NameExists(const QString& name);
    // Raises "该操作员名已经存在！" for a taken name and writes nothing then.
    void Insert();
    // Replaces password, remark and rights; "Admin" keeps no stored rights.
    void Update();

    QString OperName;
    QString OperPass;
    QString Remark;
    QStringList Rights;

private:
    // "@#@ insert into authority …" for every checked or partly checked leaf, in display order.
    QString RightsStatements() const;

    TKespCheckTreeView* RightsTree;
};
