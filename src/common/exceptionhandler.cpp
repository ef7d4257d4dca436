#include "exceptionhandler.h"

#include "exceptions.h"
#include "messages.h"

TKespException* ExceptionHandler = nullptr;

void TKespException::HandleAppException(QObject*, const std::exception& exception)
{
    ReportException(exception);
}

void TKespException::ReportException(const std::exception& exception)
{
    const auto* kespError = dynamic_cast<const Exception*>(&exception);
    LastMessage = kespError ? kespError->Message : QString::fromLocal8Bit(exception.what());
    if (const auto* dbError = dynamic_cast<const EDBException*>(&exception)) {
        LastSummary = dbError->Summary;
        LastSql = dbError->Sql;
        ShowErrorDetail(LastSummary, LastMessage, LastSql);
    } else {
        ShowError(LastMessage);
    }
}

TKespApplication::TKespApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TKespApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& exception) {
        if (ExceptionHandler)
            ExceptionHandler->HandleAppException(receiver, exception);
        return false;
    }
}
