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
    const bool wasClean = isClean();
    switch (m_state) {
    case State::Undoing:
        m_redo.push_back(std::move(action));
        break;
    case State::Redoing:
        m_undo.push_back(std::move(action));
        break;
    case State::Idle:
        // The clean state was on the redo side, which a new edit throws away.
        if (m_cleanIndex > int(m_undo.size()))
            m_cleanIndex = -1;
        m_undo.push_back(std::move(action));
        m_redo.clear();
        break;
    }
    notify(couldUndo, couldRedo, wasClean);
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
    const bool wasClean = isClean();
    // Taken off the stack before it runs, so the step it registers lands on the other side.
    Action action = std::move(stack.back());
    stack.pop_back();
    m_state = state;
    action();
    m_state = State::Idle;
    notify(couldUndo, couldRedo, wasClean);
}

void PFUndoManager::removeAllActions()
{
    const bool couldUndo = canUndo();
    const bool couldRedo = canRedo();
    const bool wasClean = isClean();
    m_undo.clear();
    m_redo.clear();
    // Only a document change clears the history; the new one starts clean.
    m_cleanIndex = 0;
    notify(couldUndo, couldRedo, wasClean);
}

void PFUndoManager::setClean()
{
    const bool wasClean = isClean();
    m_cleanIndex = int(m_undo.size());
    if (!wasClean)
        emit cleanChanged(true);
}

void PFUndoManager::notify(bool couldUndo, bool couldRedo, bool wasClean)
{
    // Only at rest: a step that registers its inverse while running must not report halfway.
    if (m_state != State::Idle)
        return;
    if (couldUndo != canUndo())
        emit canUndoChanged(canUndo());
    if (couldRedo != canRedo())
        emit canRedoChanged(canRedo());
    if (wasClean != isClean())
        emit cleanChanged(isClean());
}
