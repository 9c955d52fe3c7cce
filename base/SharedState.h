#pragma once

#include <QString>

// The values the windows share for the whole run: the chosen date, where the data lives and the open day.
// The windows pass no arguments to each other; they read and write this one instance instead.
struct SharedState {
    // The year, month and day the user chose. They are single-precision numbers that always hold whole
    // numbers; wherever they become text they are written as plain integers (see dateText in store/).
    float SelectedYear = 0;
    float SelectedMonth = 0;
    float SelectedDay = 0;
    // Set once when the month window is created, never changed afterwards.
    QString DataFolder;
    QString ConnectionText;
    QString DatabasePassword;
    // The open day: its key ("#m/d/yyyy#" or "ERROR") and the statement that selects its record.
    QString DayKey;
    QString DayQuery;
};

// The process's one instance.
SharedState& sharedState();
