#include "editing/PFUndoManager.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QtTest>

// A value that each step flips between two states, registering the step that flips it back,
// the way the view's add and remove register each other.
struct Toggle {
    PFUndoManager &manager;
    int value = 0;
    void set(int v)
    {
        const int old = value;
        value = v;
        manager.registerUndo([this, old] { set(old); });
    }
};

class TestPFUndoManager : public QObject {
    Q_OBJECT
private slots:
    void undoFillsRedoAndRedoFillsUndo()
    {
        PFUndoManager manager;
        Toggle toggle{manager};
        toggle.set(1);
        toggle.set(2);
        QVERIFY(manager.canUndo());
        QVERIFY(!manager.canRedo());

        manager.undo();
        QCOMPARE(toggle.value, 1);
        QVERIFY(manager.canUndo());
        QVERIFY(manager.canRedo());
        manager.undo();
        QCOMPARE(toggle.value, 0);
        QVERIFY(!manager.canUndo());

        manager.redo();
        QCOMPARE(toggle.value, 1);
        // A redo's registration goes back to the undo side without dropping the next redo.
        QVERIFY(manager.canUndo());
        QVERIFY(manager.canRedo());
        manager.redo();
        QCOMPARE(toggle.value, 2);
        QVERIFY(!manager.canRedo());
        manager.undo();
        QCOMPARE(toggle.value, 1);
    }

    void newEditDropsRedo()
    {
        PFUndoManager manager;
        Toggle toggle{manager};
        toggle.set(1);
        manager.undo();
        QVERIFY(manager.canRedo());
        toggle.set(5);
        QVERIFY(!manager.canRedo());
        manager.redo(); // nothing left to redo: no effect
        QCOMPARE(toggle.value, 5);
        manager.undo();
        QCOMPARE(toggle.value, 0);
    }

    void signalsOnlyWhenTheAnswerChanges()
    {
        PFUndoManager manager;
        QSignalSpy undoSpy(&manager, &PFUndoManager::canUndoChanged);
        QSignalSpy redoSpy(&manager, &PFUndoManager::canRedoChanged);
        Toggle toggle{manager};
        toggle.set(1);
        toggle.set(2);
        QCOMPARE(undoSpy.count(), 1);
        QCOMPARE(undoSpy.last().at(0).toBool(), true);
        QCOMPARE(redoSpy.count(), 0);

        manager.undo(); // undo still possible, redo becomes possible
        QCOMPARE(undoSpy.count(), 1);
        QCOMPARE(redoSpy.count(), 1);
        QCOMPARE(redoSpy.last().at(0).toBool(), true);

        manager.undo();
        QCOMPARE(undoSpy.count(), 2);
        QCOMPARE(undoSpy.last().at(0).toBool(), false);

        manager.removeAllActions();
        QVERIFY(!manager.canRedo());
        QCOMPARE(redoSpy.count(), 2);
        QCOMPARE(redoSpy.last().at(0).toBool(), false);
        manager.undo(); // empty: nothing runs, nothing is reported
        QCOMPARE(undoSpy.count(), 2);
    }

    void stepWithoutInverseLeavesNothingToRedo()
    {
        PFUndoManager manager;
        int runs = 0;
        manager.registerUndo([&runs] { ++runs; });
        manager.registerUndo({}); // an empty step is ignored
        manager.undo();
        QCOMPARE(runs, 1);
        QVERIFY(!manager.canUndo());
        QVERIFY(!manager.canRedo());
    }
};

QUIRNA_TEST_MAIN(QCoreApplication, TestPFUndoManager)
#include "tst_PFUndoManager.moc"
