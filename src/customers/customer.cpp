#include "customer.h"

#include "app/globals.h"
#include "common/exceptions.h"
#include "controls/stringgrid.h"
#include "data/dbaccess.h"
#include "operators/loginoper.h"
#include "usertype.h"

#include <QUuid>

TCustomer* Customer = nullptr;

namespace {

const QString SeeOthersRight = QStringLiteral("允许查看其它登录账号数据");

bool onPostgres()
{
    return DbMode == 2;
}

QString quoted(const QString& text)
{
    return QLatin1Char('\'') + SqlEscape(text) + QLatin1Char('\'');
}

// Titles become column names as the operator typed them: quoted, so any
// text works and PostgreSQL keeps its case.
QString columnAlias(QString title)
{
    return QLatin1Char('"') + title.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// A like pattern matching the text anywhere, "%" and "_" taken literally
// (escape character "!").
QString containsPattern(const QString& text)
{
    QString pattern(QLatin1Char('%'));
    for (const QChar c : text) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            pattern += QLatin1Char('!');
        pattern += c;
    }
    return pattern + QLatin1Char('%');
}

} // namespace

void TCustomer::InsertCustomer()
{
    // PostgreSQL has no square-bracket identifiers.
    QStringList columns{onPostgres() ? QStringLiteral("sGUID") : QStringLiteral("[sGUID]"), QStringLiteral("TypeID")};
    QStringList values{quoted(sGUID), QString::number(TypeID)};
    for (int field = 1; field <= CustomerFieldCount; ++field) {
        columns.append(FieldColumnName(field));
        values.append(quoted(Kesp(field)));
    }
    columns.append(QStringLiteral("OperName"));
    values.append(quoted(LoginOper->OperName));
    SQL = QStringLiteral("insert into Customer(%1) values (%2) ")
              .arg(columns.join(QLatin1Char(',')), values.join(QLatin1Char(',')));
    DbExecute(SQL);
}

void TCustomer::UpdateCustomer(const QString& guid)
{
    QStringList assignments{QStringLiteral("TypeID=") + QString::number(TypeID)};
    for (int field = 1; field <= CustomerFieldCount; ++field)
        assignments.append(FieldColumnName(field) + QLatin1Char('=') + quoted(Kesp(field)));
    SQL = QStringLiteral("update Customer set %1 where sGUID=%2 ")
              .arg(assignments.join(QLatin1Char(',')), quoted(guid));
    DbExecute(SQL);
}

void TCustomer::DeleteCustomer(const QString& guid)
{
    SQL = QStringLiteral("delete from Customer where sGUID='%1' ").arg(SqlEscape(guid));
    DbExecute(SQL);
}

void TCustomer::LoadCustomer(const QString& guid)
{
    SQL = QStringLiteral("select * from Customer where sGUID='%1' ").arg(SqlEscape(guid));
    DbAccess->OpenQuery(SQL);
    const TResultSet& data = DbAccess->QueryData;
    TypeID = data.FieldByName(QStringLiteral("TypeID")).AsInteger();
    for (int field = 1; field <= CustomerFieldCount; ++field)
        Kesp(field) = data.FieldByName(FieldColumnName(field)).AsString();
    UserType->LoadType(QString::number(TypeID));
    TypeName = UserType->TypeName;
}

QString TCustomer::GetCustomerSelect() const
{
    QString fieldColumns;
    for (const QString& entry : UsedFieldTitles)
        fieldColumns += QStringLiteral(",a.Kesp%1 as %2").arg(EntryNumber(entry), columnAlias(EntryTitle(entry)));
    // PostgreSQL folds unquoted names to lower case; the quoted aliases keep the headings as written.
    const QString select = onPostgres()
        ? QStringLiteral("select sGUID as \"sGUID\",TypeName as \"所属类别\"%1,OperName as \"操作账号\"  "
                         "from Customer a,UserType b where a.TypeID=b.ID ")
        : QStringLiteral("select sGUID,TypeName as 所属类别%1,OperName as 操作账号  "
                         "from Customer a,UserType b where a.TypeID=b.ID ");
    return select.arg(fieldColumns);
}

void TCustomer::FillCustomerList(TKespStringGrid* grid, const QString& typeName, const QString& searchText,
                                 int fieldIndex)
{
    QString sql = GetCustomerSelect();
    if (!typeName.isEmpty())
        sql += QStringLiteral(" and TypeID=%1 ").arg(UserType->GetTypeID(typeName));
    if (fieldIndex >= 0 && fieldIndex < UsedFieldTitles.size() && !searchText.isEmpty()) {
        sql += QStringLiteral(" and Kesp%1 %2 %3 escape '!' ")
                   .arg(EntryNumber(UsedFieldTitles.at(fieldIndex)),
                        onPostgres() ? QStringLiteral("ilike") : QStringLiteral("like"),
                        quoted(containsPattern(searchText)));
    }
    if (!LoginOper->HasRight(SeeOthersRight))
        sql += QStringLiteral(" and OperName=%1 ").arg(quoted(LoginOper->OperName));
    // CreateDate has whole seconds. Rows created within the same second keep
    // their insertion order: the rowid in SQLite, the SeqNo counter in PostgreSQL.
    sql += onPostgres() ? QStringLiteral(" order by CreateDate ASC,a.SeqNo")
                        : QStringLiteral(" order by CreateDate ASC,a.rowid");
    SQL = sql;
    FillGrid(SQL, grid);
    grid->SetColWidth(0, 0);
}

QStringList TCustomer::GetCustomerRow(const QString& guid)
{
    SQL = GetCustomerSelect() + QStringLiteral(" and sGUID='%1' ").arg(SqlEscape(guid));
    DbAccess->OpenQuery(SQL);
    const TResultSet& data = DbAccess->QueryData;
    QStringList row;
    for (int column = 0; column < data.FieldCount(); ++column)
        row.append(data.Fields(column).AsString());
    return row;
}

void TCustomer::GetQueryFields(QStringList& titles) const
{
    titles.clear();
    for (const QString& entry : UsedFieldTitles)
        titles.append(EntryTitle(entry));
}

QString TCustomer::NewGuidString()
{
    const QUuid guid = QUuid::createUuid();
    if (guid.isNull())
        throw Exception(QStringLiteral("生成GUID错误！"));
    return guid.toString(QUuid::WithoutBraces).toUpper();
}
