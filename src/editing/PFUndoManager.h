#pragma once

#include <QObject>
#include <functional>
#include <vector>

// A stack of undo steps with a redo side. A step registered while an undo runs becomes a redo
// step; one registered while a redo runs becomes an undo step again; one registered at any
// other time is a new edit and discards what could be redone.
class PFUndoManager : public QObject {
    Q_OBJECT
public:
    using Action = std::function<void()>;

    explicit PFUndoManager(QObject *parent = nullptr);

    void registerUndo(Action action);
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    bool isUndoing() const { return m_state == State::Undoing; }
    bool isRedoing() const { return m_state == State::Redoing; }
    // Runs the newest undo (redo) step; nothing when there is none or one is already running.
    void undo();
    void redo();
    void removeAllActions();

    // The clean state is the point of the stack where the document matches its file: marked
    // on save, reached again by undoing or redoing back to it, lost for good when a new edit
    // discards the redo steps that lead back to it.
    void setClean();
    bool isClean() const { return m_cleanIndex == int(m_undo.size()); }

signals:
    void canUndoChanged(bool canUndo);
    void canRedoChanged(bool canRedo);
    void cleanChanged(bool clean);

private:
    enum class State { Idle, Undoing, Redoing };
    void run(std::vector<Action> &stack, State state);
    // Emits the change signals for whatever differs from the given earlier answers.
    void notify(bool couldUndo, bool couldRedo, bool wasClean);

    std::vector<Action> m_undo;
    std::vector<Action> m_redo;
    State m_state = State::Idle;
    int m_cleanIndex = 0; // undo steps at the clean state; -1 when it can no longer be reached
};
