#include "testregistry.h"

#include "common/exceptionhandler.h"
#include "common/messages.h"

#include <QTest>
#include <QVector>

#include <cstdio>
#include <memory>

namespace {

struct Registration
{
    const char* name;
    TestFactory factory;
    bool perEngine;
};

QVector<Registration>& registrations()
{
    static QVector<Registration> list;
    return list;
}

TestEngine currentEngine = TestEngine::None;

} // namespace

int RegisterTest(const char* name, TestFactory factory, bool perEngine)
{
    registrations().append({name, std::move(factory), perEngine});
    return registrations().size();
}

TestEngine CurrentTestEngine()
{
    return currentEngine;
}

int main(int argc, char** argv)
{
    TKespApplication app(argc, argv);
    TKespException handler;
    ExceptionHandler = &handler;
    MessageTesting::begin();

    int failures = 0;
    for (const Registration& registration : registrations()) {
        const QVector<TestEngine> engines = registration.perEngine
            ? QVector<TestEngine>{TestEngine::Sqlite, TestEngine::Postgres}
            : QVector<TestEngine>{TestEngine::None};
        for (TestEngine engine : engines) {
            currentEngine = engine;
            if (engine != TestEngine::None)
                std::printf("=== %s on %s\n", registration.name, engine == TestEngine::Sqlite ? "SQLite" : "PostgreSQL");
            std::unique_ptr<QObject> test(registration.factory());
            failures += QTest::qExec(test.get(), argc, argv);
            MessageTesting::begin();
        }
    }
    ExceptionHandler = nullptr;
    return failures == 0 ? 0 : 1;
}
