#include "exceptions.h"

Exception::Exception(const QString& message)
    : Message(message)
    , m_what(message.toUtf8())
{
}

const char* Exception::what() const noexcept
{
    return m_what.constData();
}

EDBException::EDBException(const QString& message, const QString& summary, const QString& sql)
    : Exception(message)
    , Summary(summary)
    , Sql(sql)
{
}
