#pragma once

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMap>
#include <QMenu>
#include <QPoint>
#include <QtTest>
#include <functional>

// Stands in for a context menu's popup in tests: it records what the menu offered and picks
// the item carrying a chosen tag (an action's data), as a user would click it.
class MenuPicker {
public:
    // The next menu picks the item tagged `tag` (0: none, the menu is dismissed).
    void pick(int tag)
    {
        m_choose = tag;
        m_shown = 0;
    }
    // Menus presented since the last pick().
    int shown() const { return m_shown; }
    // The last menu's items by tag, each with whether it was enabled.
    const QMap<int, bool> &enabled() const { return m_enabled; }
    bool isEnabled(int tag) const { return m_enabled.value(tag); }

    // A real secondary click on `target` at `at`, picking the item tagged `tag` from the menu it
    // opens. Where a platform opens menus on the context-menu event rather than the press, that
    // event follows when the click showed nothing.
    void rightClick(QWidget *target, QPoint at, int tag)
    {
        pick(tag);
        QTest::mouseClick(target, Qt::RightButton, {}, at);
        if (m_shown == 0) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
            QApplication::sendEvent(target, &event);
        }
    }

    // For the menus' setPresenter(); the picker must outlive its use.
    std::function<QAction *(QMenu &, QPoint)> presenter()
    {
        return [this](QMenu &menu, QPoint) -> QAction * {
            ++m_shown;
            m_enabled.clear();
            QAction *chosen = nullptr;
            for (QAction *action : menu.actions()) {
                if (action->isSeparator())
                    continue;
                m_enabled[action->data().toInt()] = action->isEnabled();
                if (action->data().toInt() == m_choose && action->isEnabled())
                    chosen = action;
            }
            return chosen;
        };
    }

private:
    int m_choose = 0;
    int m_shown = 0;
    QMap<int, bool> m_enabled;
};
