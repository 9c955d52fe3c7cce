#pragma once

#include <QString>

// Reading the numbers that the month window keeps as text: the year chooser's item ("2012") and, later,
// a day-number caption ("5"). A text that holds no number throws std::invalid_argument whose message names
// the text, e.g. "'' is not a valid number." for the empty year chooser.

// The text read as a number. Blanks at either end are allowed; anything else that isn't a finite decimal
// number throws.
float numberFromText(const QString& text);

// The text read as a whole number; throws like numberFromText.
int integerFromText(const QString& text);
