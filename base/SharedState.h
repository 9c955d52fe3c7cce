#pragma once

#include <QString>

// The values the month view shares for the whole run: the chosen date (the month window and the search set it)
// and where the data lives. The day window and the report host are handed what they need when a day opens (its
// heading, the connection text, the statement of its record, the day sheet's file) and read nothing here.
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
};

// The process's one instance.
SharedState& sharedState();
