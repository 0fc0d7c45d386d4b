#include "support/PdfExercise.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QGuiApplication>
#include <QtTest>

// Every broken file the fuzzer was seeded with or found goes through the engine again.
class TestFuzzRegressions : public QObject {
    Q_OBJECT
private slots:
    void brokenFilesAreSurvived_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(QUIRNA_TEST_DATA_DIR "/fuzz"));
        const QStringList files = dir.entryList(QDir::Files);
        QVERIFY(files.size() >= 10);
        for (const QString &name : files)
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
    void brokenFilesAreSurvived()
    {
        QFETCH(QString, file);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        exercisePdfBytes(bytes);
        // Every prefix of the file as well: truncation anywhere must be survived.
        for (qsizetype cut = 0; cut < bytes.size(); cut += 97)
            exercisePdfBytes(bytes.left(cut));
    }
};

QUIRNA_TEST_MAIN(QGuiApplication, TestFuzzRegressions)
#include "tst_FuzzRegressions.moc"
