#pragma once

#include "fieldtitles.h"

#include <QString>
#include <QStringList>

#include <array>

class TKespStringGrid;

// Customer records: rows of Customer, keyed by sGUID. The object holds one
// record's values at a time; the editor writes them before a save, and
// LoadCustomer overwrites them.
class TCustomer
{
public:
    void InsertCustomer();
    // OperName and CreateDate stay as the insert left them.
    void UpdateCustomer(const QString& guid);
    void DeleteCustomer(const QString& guid);
    void LoadCustomer(const QString& guid);

    // The customer list: sGUID, 所属类别, one column per used field under its
    // title, 操作账号.
    QString GetCustomerSelect() const;
    // An empty category name means every category, a field index of -1 or an
    // empty search text no search; without the right to see other accounts'
    // data only the operator's own customers are listed. Oldest first.
    void FillCustomerList(TKespStringGrid* grid, const QString& typeName, const QString& searchText, int fieldIndex);
    // The list row of one customer, or one empty text per column.
    QStringList GetCustomerRow(const QString& guid);
    // The titles of the used fields; their positions are the field indexes
    // of FillCustomerList.
    void GetQueryFields(QStringList& titles) const;
    // A new key: a GUID in upper case, without braces (36 characters).
    static QString NewGuidString();

    // Field n (1..14), column Kesp200000+n.
    QString& Kesp(int field) { return m_fields[field - 1]; }
    const QString& Kesp(int field) const { return m_fields[field - 1]; }

    int TypeID = 0;
    QString TypeName;
    QString sGUID;
    QString SQL;

private:
    std::array<QString, CustomerFieldCount> m_fields;
};

extern TCustomer* Customer;
