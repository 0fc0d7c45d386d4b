#pragma once

#include "pages/PFPageResult.h"

#include <QWidget>
#include <functional>

class PFStatusDisplay;

// Runs one page operation off the GUI thread while the window shows progress. Back on the GUI
// thread it takes the progress down, shows the operation's message (its error, or
// `successMessage` when one is given), reveals the first file written when `reveal` is set,
// and calls `done`. Nothing happens on return when `owner` is gone by then.
namespace PFPageTask {

struct Options {
    QString successMessage;
    bool reveal = true;
    std::function<void(const PFPageResult &)> done;
};

void run(QWidget *owner, PFStatusDisplay *display, std::function<PFPageResult()> work, Options options);

} // namespace PFPageTask
