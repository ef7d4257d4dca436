#include "app/startup.h"
#include "common/exceptionhandler.h"

int main(int argc, char** argv)
{
    TKespApplication app(argc, argv);
    UnitStartup(QApplication::applicationDirPath());
    const int exitCode = MainSequence();
    UnitShutdown();
    return exitCode;
}
