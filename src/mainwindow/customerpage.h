#pragma once

#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TKespStringGrid;

// The category tree's hint, shown as its tool tip and spelled out under it.
extern const QString CategoryTreeHint;

// The main window's page "客户信息": the category tree, the customer list
// with its commands and the quick search.
class TCustomerPage : public QWidget
{
    Q_OBJECT
public:
    explicit TCustomerPage(QWidget* parent = nullptr);

    // The first fill after login, once the field titles are loaded: the
    // search fields, the category tree and every customer the operator may see.
    void Load();
    // Shows each of the page's commands only to an operator holding its right.
    void ApplyRights();
    // The number of customers the grid shows.
    int CustomerCount() const;
    // Writes text into the hint panel under the category tree.
    void ShowHint(const QString& text);

signals:
    // The grid was filled, or gained or lost a row.
    void customerListChanged();
    // The operator asked for the system menu: its button, or Escape on the page.
    void systemMenuRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Command = void (TCustomerPage::*)();
    QPushButton* commandButton(const QString& caption, const char* name, Command command);
    QAction* commandItem(QMenu* menu, const QString& caption, const char* name, Command command);
    QWidget* createCategoryColumn();
    QWidget* createCustomerColumn();
    void createMenus();
    // The search-field choices: the titles of the used fields, the first one chosen.
    void FillQueryFields();
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
