#include "window_tests.h"

namespace kestrin::app::test {

namespace {
std::vector<SuiteFactory>& factories() {
    static std::vector<SuiteFactory> all;
    return all;
}
} // namespace

int registerSuite(SuiteFactory factory) {
    factories().push_back(factory);
    return int(factories().size());
}

std::vector<QObject*> allSuites() {
    std::vector<QObject*> suites;
    for (SuiteFactory factory : factories()) suites.push_back(factory());
    return suites;
}

} // namespace kestrin::app::test
