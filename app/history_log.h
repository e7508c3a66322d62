// The window's history: opened at its first use. A history that cannot be
// used is turned off for the rest of the run with one message, and printing
// goes on; a damaged history file that was moved aside is told once.
#pragma once

#include <QString>

#include <memory>
#include <vector>

#include "history/history.h"

class QWidget;

class THistoryLog {
public:
    // The history, or null when it is off. Messages are owned by `owner`.
    THistory* Get(QWidget* owner);

    // Records one job's sheets. Never raises: a failure turns the history
    // off, with its message.
    void Record(QWidget* owner, std::vector<THistorySheet> sheets);

    // Why the history is off; empty while it is on.
    const QString& WhyOff() const { return why_; }

    // Forgets the history opened so far, so that the next use opens it
    // again (at the path of that moment). Nothing may hold it then.
    void Reset();

private:
    void TurnOff(QWidget* owner, const char* why);

    std::unique_ptr<THistory> history_;
    bool off_ = false;
    QString why_;
};

// The program-wide history of the window.
THistoryLog& HistoryLog();
