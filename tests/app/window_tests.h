#pragma once

#include <QObject>
#include <vector>

namespace kestrin::app::test {

using SuiteFactory = QObject* (*)();
int registerSuite(SuiteFactory factory);

// One instance of every registered test class; the caller runs and deletes them.
std::vector<QObject*> allSuites();

} // namespace kestrin::app::test

#define KESTRIN_WINDOW_SUITE(Class) \
    static const int Class##Registered = ::kestrin::app::test::registerSuite([]() -> QObject* { return new Class; });
