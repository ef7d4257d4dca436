#pragma once

#include <QString>
#include <exception>

// A failure meant for the operator: Message is the text the error box shows.
class Exception : public std::exception
{
public:
    explicit Exception(const QString& message);
    const char* what() const noexcept override;

    QString Message;

private:
    QByteArray m_what;
};

// A failure of the data layer: the provider's message, a headline for the
// operator and the SQL text that failed (logged, never shown).
class EDBException : public Exception
{
public:
    EDBException(const QString& message, const QString& summary, const QString& sql);

    QString Summary;
    QString Sql;
};
