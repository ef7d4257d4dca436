#pragma once

#include <QObject>

#include <functional>

// Each test file registers its Qt Test classes; the folder's one executable
// runs them all. A database test class is run once per engine.
enum class TestEngine { None, Sqlite, Postgres };

using TestFactory = std::function<QObject*()>;
int RegisterTest(const char* name, TestFactory factory, bool perEngine);

// The engine the running database test class is on.
TestEngine CurrentTestEngine();

#define KESP_TEST(Class) \
    static const int Class##Registered = RegisterTest(#Class, [] { return new Class; }, false);
#define KESP_DB_TEST(Class) \
    static const int Class##Registered = RegisterTest(#Class, [] { return new Class; }, true);
