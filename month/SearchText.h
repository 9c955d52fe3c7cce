#pragma once

#include <QString>

// How the search window compares what the user types with the text of a slot: the way a Greek reader
// compares names, not character by character.
namespace searchtext {

// The form in which texts are compared: compatibility forms unfolded (ﬁ → fi, full-width digits → digits),
// accents and other marks dropped (ά → α, ΐ → ι, ϋ → υ, é → e), invisible format characters dropped (U+200F,
// U+200D, U+FEFF ...), case folded (Π → π, final ς → σ) and every run of white space made one space. No
// transliteration: Latin and Greek letters stay what they are.
QString normalised(const QString& text);

// The key a search text is looked for by: its normalised form without blanks at the ends. Empty when the
// search holds nothing but blanks.
QString searchKey(const QString& search);

// Whether a slot text, given in normalised form, holds the search key; an empty key matches nothing.
// Every character of the key counts literally (%, _, *, ', \ are no patterns here).
bool matches(const QString& normalisedText, const QString& key);

} // namespace searchtext
