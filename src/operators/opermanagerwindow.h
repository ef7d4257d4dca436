#pragma once

#include "common/basedialog.h"

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Lists every operator account with its remark; creates, modifies and
// deletes accounts.
class TFormOper : public TFormDialog
{
    Q_OBJECT
public:
    explicit TFormOper(QWidget* parent = nullptr);

protected:
    void FormShow() override;

private:
    void btnAddClick();
    void btnModClick();
    void btnDelClick();
    void lv1ContextMenu(const QPoint& pos);
    QTreeWidgetItem* SelectedItem() const;

    QPushButton* btnAdd;
    QPushButton* btnMod;
    QPushButton* btnDel;
    QPushButton* btnClose;
    QTreeWidget* lv1;
    QMenu* pm1;
    QAction* N1;
    QAction* N2;
    QAction* N3;
    QAction* N5;
};

void ShowOperManager();
