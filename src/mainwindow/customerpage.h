#pragma once

#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;
class TKespStringGrid;

// The category tree's hint, shown as its tool tip and spelled out under it.
extern const QString CategoryTreeHint;

// The main window's page "客户信息": the category tree, the customer list
// with its commands and the quick search. The main window fills it at show,
// sets which commands the operator sees and shows the customer count.
class TCustomerPage : public QWidget
{
    Q_OBJECT
public:
    explicit TCustomerPage(QWidget* parent = nullptr);

    // The search-field choices: the titles of the used fields, the first one chosen.
    void FillQueryFields();

signals:
    // The grid was filled, or gained or lost a row.
    void customerListChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TFormMain;

    using Command = void (TCustomerPage::*)();
    QPushButton* commandButton(const QString& caption, const char* name, Command command);
    QAction* commandItem(QMenu* menu, const QString& caption, const char* name, Command command);
    QWidget* createCategoryColumn();
    QWidget* createCustomerColumn();
    void createMenus();
    // The selected category node, or null for none and for the root.
    QTreeWidgetItem* selectedCategory() const;

    void NAddTypeClick();
    void NModTypeClick();
    void NDelTypeClick();
    void tv1Edited(QTreeWidgetItem* node, const QString& text);
    void tv1Click();
    void btnQueryClick();
    void btnAddClick();
    void btnModClick();
    void btnDelClick();
    void btnDIYClick();
    void btnExcelClick();
    void putCustomerRow(int row, const QString& guid);

    QTreeWidget* tv1;
    QStatusBar* statHint;
    QLabel* statHintPanel;
    QPushButton* btnAdd;
    QPushButton* btnMod;
    QPushButton* btnDel;
    QPushButton* btnDIY;
    QPushButton* btnExcel;
    QPushButton* btnSystem;
    TKespStringGrid* StringGrid1;
    QComboBox* cbbQuery;
    QLineEdit* edtQuery;
    QPushButton* btnQuery;

    QMenu* pmCustomerType;
    QAction* NAddType;
    QAction* NModType;
    QAction* NDelType;
    QAction* NAddCustomer2;
    QMenu* pmCustomer;
    QAction* NAddCustomer;
    QAction* NModCustomer;
    QAction* NDelCustomer;
    QAction* NExcel;
};
