#include "PFUndoManager.h"

PFUndoManager::PFUndoManager(QObject *parent)
    : QObject(parent)
{
}

void PFUndoManager::registerUndo(Action action)
{
    if (!action)
        return;
    const bool couldUndo = canUndo();
    const bool couldRedo = canRedo();
    switch (m_state) {
    case State::Undoing:
        m_redo.push_back(std::move(action));
        break;
    case State::Redoing:
        m_undo.push_back(std::move(action));
        break;
    case State::Idle:
        m_undo.push_back(std::move(action));
        m_redo.clear();
        break;
    }
    notify(couldUndo, couldRedo);
}

void PFUndoManager::undo()
{
    run(m_undo, State::Undoing);
}

void PFUndoManager::redo()
{
    run(m_redo, State::Redoing);
}

void PFUndoManager::run(std::vector<Action> &stack, State state)
{
    if (m_state != State::Idle || stack.empty())
        return;
    const bool couldUndo = canUndo();
    const bool couldRedo = canRedo();
    // Taken off the stack before it runs, so the step it registers lands on the other side.
    Action action = std::move(stack.back());
    stack.pop_back();
    m_state = state;
    action();
    m_state = State::Idle;
    notify(couldUndo, couldRedo);
}

void PFUndoManager::removeAllActions()
{
    const bool couldUndo = canUndo();
    const bool couldRedo = canRedo();
    m_undo.clear();
    m_redo.clear();
    notify(couldUndo, couldRedo);
}

void PFUndoManager::notify(bool couldUndo, bool couldRedo)
{
    // Only at rest: a step that registers its inverse while running must not report halfway.
    if (m_state != State::Idle)
        return;
    if (couldUndo != canUndo())
        emit canUndoChanged(canUndo());
    if (couldRedo != canRedo())
        emit canRedoChanged(canRedo());
}
