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

signals:
    void canUndoChanged(bool canUndo);
    void canRedoChanged(bool canRedo);

private:
    enum class State { Idle, Undoing, Redoing };
    void run(std::vector<Action> &stack, State state);
    // Emits the change signals for whatever differs from the given earlier answers.
    void notify(bool couldUndo, bool couldRedo);

    std::vector<Action> m_undo;
    std::vector<Action> m_redo;
    State m_state = State::Idle;
};
