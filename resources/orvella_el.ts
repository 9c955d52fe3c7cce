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
</TS>
