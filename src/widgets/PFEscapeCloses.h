#pragma once

class QWidget;

// Lets Escape close a tool window that is a plain widget rather than a dialog (dialogs and
// pop-ups already close on it), as a Linux user expects of every small window.
class PFEscapeCloses {
public:
    // Safe to call again on the same window; it is installed once.
    static void install(QWidget *window);
};
