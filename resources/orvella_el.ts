<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="el_GR">
<context>
    <name>SlotTextLimit</name>
    <message>
        <source>A slot holds at most %1 characters; the rest was left out.</source>
        <translation>Μια θέση χωράει έως %1 χαρακτήρες· τα υπόλοιπα δεν μπήκαν.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Enter opens the day</source>
        <translation>Το Enter ανοίγει την ημέρα</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>Save the changes?</source>
        <translation>Να αποθηκευτούν οι αλλαγές;</translation>
    </message>
    <message>
        <source>Some slots hold text that is not saved yet. Yes saves it and prints the day with it; No prints the day as last saved and keeps the text here unsaved.</source>
        <translation>Κάποιες θέσεις έχουν κείμενο που δεν έχει αποθηκευτεί. Ναι: αποθηκεύεται και η ημέρα τυπώνεται μαζί του. Όχι: τυπώνεται η ημέρα όπως αποθηκεύτηκε τελευταία και το κείμενο μένει εδώ χωρίς αποθήκευση.</translation>
    </message>
    <message>
        <source>Some slots hold text that is not saved yet. Yes saves it and closes the day; No closes the day without it.</source>
        <translation>Κάποιες θέσεις έχουν κείμενο που δεν έχει αποθηκευτεί. Ναι: αποθηκεύεται και η ημέρα κλείνει. Όχι: η ημέρα κλείνει χωρίς αυτό.</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ναι</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>Ό&amp;χι</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Άκυρο</translation>
    </message>
</context>
<context>
    <name>TForm6</name>
    <message>
        <source>The day is printed with this file, the day sheet, which belongs beside data.mdb. Starting Orvella from its menu entry or shortcut puts the default one back when it is missing.</source>
        <translation>Η ημέρα τυπώνεται με αυτό το αρχείο, το φύλλο της ημέρας, που πρέπει να βρίσκεται δίπλα στο data.mdb. Αν ξεκινήσετε το Orvella από το μενού ή τη συντόμευσή του, το προεπιλεγμένο φύλλο ξαναμπαίνει όταν λείπει.</translation>
    </message>
    <message>
        <source>Or copy the default one there from "%1".</source>
        <translation>Ή αντιγράψτε εκεί το προεπιλεγμένο από το «%1».</translation>
    </message>
</context>
<context>
    <name>store</name>
    <message>
        <source>The file "%1" is an appointment book of the older format, not yet converted for Orvella. Close Orvella and start it again in this folder: it offers to convert the book (answer Yes, convert). The older book is kept beside the new one.</source>
        <translation>Το αρχείο «%1» είναι βιβλίο ραντεβού της παλαιότερης μορφής και δεν έχει μετατραπεί ακόμη για το Orvella. Κλείστε το Orvella και ξεκινήστε το πάλι σε αυτόν τον φάκελο: θα προτείνει τη μετατροπή του βιβλίου (απαντήστε «Ναι, μετατροπή»). Το παλιό βιβλίο μένει δίπλα στο νέο.</translation>
    </message>
    <message>
        <source>Nothing was saved: another desk or program removed this day's record since it was opened here. Your text is still shown; note it before closing the day.</source>
        <translation>Δεν αποθηκεύτηκε τίποτα: άλλος υπολογιστής ή άλλο πρόγραμμα αφαίρεσε την εγγραφή αυτής της ημέρας αφού άνοιξε εδώ. Το κείμενό σας φαίνεται ακόμη· σημειώστε το πριν κλείσετε την ημέρα.</translation>
    </message>
    <message>
        <source>Nothing was saved: another desk or program changed this day since it was opened here, and saving now would overwrite that. Your text is still shown: note it, close the day without saving, open it again to see the other change, and enter yours again.</source>
        <translation>Δεν αποθηκεύτηκε τίποτα: άλλος υπολογιστής ή άλλο πρόγραμμα άλλαξε αυτή την ημέρα αφού άνοιξε εδώ, και η αποθήκευση τώρα θα έσβηνε την αλλαγή του. Το κείμενό σας φαίνεται ακόμη: σημειώστε το, κλείστε την ημέρα χωρίς αποθήκευση, ανοίξτε την ξανά για να δείτε την άλλη αλλαγή και γράψτε πάλι το δικό σας.</translation>
    </message>
    <message>
        <source>Nothing was saved: another desk or program changed %1 of this day since it was opened here, and saving now would overwrite that. Your text is still shown: note it, close the day without saving, open it again to see the other change, and enter yours again.</source>
        <translation>Δεν αποθηκεύτηκε τίποτα: άλλος υπολογιστής ή άλλο πρόγραμμα άλλαξε το %1 αυτής της ημέρας αφού άνοιξε εδώ, και η αποθήκευση τώρα θα έσβηνε την αλλαγή του. Το κείμενό σας φαίνεται ακόμη: σημειώστε το, κλείστε την ημέρα χωρίς αποθήκευση, ανοίξτε την ξανά για να δείτε την άλλη αλλαγή και γράψτε πάλι το δικό σας.</translation>
    </message>
</context>
</TS>
