// Runs every window test class in one program on the offscreen platform.

#include "app/application_setup.h"
#include "window_tests.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kestrin::app::setUpApplication(application);
    int failures = 0;
    for (QObject* suite : kestrin::app::test::allSuites()) {
        failures += QTest::qExec(suite, argc, argv);
        delete suite;
    }
    return failures == 0 ? 0 : 1;
}
