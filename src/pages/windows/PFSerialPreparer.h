#pragma once

#include <QObject>
#include <QThreadPool>
#include <functional>

// A serial queue that prepares added files one at a time off the GUI thread. Each step returns
// what to do with its result on the GUI thread, so the window's list only ever changes there.
class PFSerialPreparer : public QObject {
    Q_OBJECT
public:
    using Step = std::function<std::function<void()>()>;

    explicit PFSerialPreparer(QObject *parent = nullptr);
    ~PFSerialPreparer() override;

    void add(Step step);
    int pending() const { return m_pending; }

signals:
    // The queue holds no step any more.
    void drained();

private:
    QThreadPool m_pool;
    int m_pending = 0;
};
