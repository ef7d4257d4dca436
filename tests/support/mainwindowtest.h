#pragma once

#include "operators/loginoper.h"

#include <QString>
#include <QStringList>

#include <memory>

class TFormMain;

// Adds an account with an empty password that holds these rights.
void AddOperator(const QString& name, const QStringList& rights);

// Creates the main window, logs oper in through the real login window and
// shows the window, active. A failed step fails the running test.
void OpenMainWindow(std::unique_ptr<TFormMain>& window, const QString& oper = AdminName);
