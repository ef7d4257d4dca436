#pragma once

#include <QApplication>
#include <QString>
#include <exception>

// Shows every failure that leaves an event handler: database failures in the
// detailed error box (and the log), any other in the plain error box.
class TKespException
{
public:
    void HandleAppException(QObject* sender, const std::exception& exception);
    void ReportException(const std::exception& exception);

    QString LastMessage;
    QString LastSummary;
    QString LastSql;
};

extern TKespException* ExceptionHandler;

// The application object: routes what an event handler throws to
// ExceptionHandler, so the failed handler stops and the program carries on.
class TKespApplication : public QApplication
{
    Q_OBJECT
public:
    TKespApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
