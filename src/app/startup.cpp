#include "startup.h"

#include "config.h"
#include "globals.h"
#include "common/exceptionhandler.h"
#include "customers/customer.h"
#include "customers/usertype.h"
#include "data/dbaccess.h"
#include "data/serverwindow.h"
#include "mainwindow/mainwindow.h"
#include "operators/loginoper.h"
#include "reminders/alam.h"

#include <QApplication>

void UnitStartup(const QString& applicationDirectory)
{
    ExceptionHandler = new TKespException;
    SetAppPath(applicationDirectory);
    LoginOper = new TLoginOper;
    UserType = new TUserType;
    Customer = new TCustomer;
    Alam = new TAlam;
    AppConfig = new TConfig;
}

int MainSequence()
{
    DbMode = AppConfig->ReadDbMode();
    if (!DbAccess)
        DbAccess = new TDbAccess;
    DbAccess->Connect();

    int exitCode = 0;
    if (DbAccess->IsConnected()) {
        TFormMain mainWindow;
        FormMain = &mainWindow;
        if (mainWindow.FormShow()) {
            mainWindow.show();
            exitCode = QApplication::exec();
        }
        FormMain = nullptr;
    } else if (DbMode == 2) {
        ShowServerSettings();
    }

    delete DbAccess;
    DbAccess = nullptr;
    return exitCode;
}

void UnitShutdown()
{
    delete AppConfig;
    AppConfig = nullptr;
    delete Alam;
    Alam = nullptr;
    delete Customer;
    Customer = nullptr;
    delete UserType;
    UserType = nullptr;
    delete LoginOper;
    LoginOper = nullptr;
    AppPath.clear();
    ConfigPath.clear();
    delete ExceptionHandler;
    ExceptionHandler = nullptr;
}
