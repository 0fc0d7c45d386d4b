#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test its own HOME and XDG folders, so no test touches a real user's files.
// Create one before QCoreApplication in main (see QUIRNA_TEST_MAIN).
class TestEnvironment {
public:
    TestEnvironment();
    QString home() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
};

// Qt Test main with an isolated environment and test mode for QStandardPaths.
#define QUIRNA_TEST_MAIN(AppClass, TestClass)                                                     \
    int main(int argc, char **argv)                                                              \
    {                                                                                            \
        TestEnvironment environment;                                                             \
        AppClass app(argc, argv);                                                                \
        app.setApplicationName(QStringLiteral("Quirna"));                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                 \
        TestClass test;                                                                          \
        QTEST_SET_MAIN_SOURCE_PATH                                                               \
        return QTest::qExec(&test, argc, argv);                                                  \
    }
