<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="el_GR">
<context>
    <name>CalendarImport</name>
    <message>
        <source>Import a calendar (.ics)</source>
        <translation>Εισαγωγή ημερολογίου (.ics)</translation>
    </message>
    <message>
        <source>Calendars (*.ics);;All files (*)</source>
        <translation>Ημερολόγια (*.ics);;Όλα τα αρχεία (*)</translation>
    </message>
    <message>
        <source>Nothing to book; the book was not changed.</source>
        <translation>Τίποτα για καταχώριση· το βιβλίο δεν άλλαξε.</translation>
    </message>
    <message>
        <source>Book the %1 free half hours now? Nothing else is changed.</source>
        <translation>Να καταχωριστούν τώρα τα %1 ελεύθερα μισάωρα; Τίποτε άλλο δεν αλλάζει.</translation>
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
        <source>Booked %1 half hours.</source>
        <translation>Καταχωρίστηκαν %1 μισάωρα.</translation>
    </message>
    <message>
        <source>%1 of them were filled by another desk meanwhile and were left as they are.</source>
        <translation>%1 από αυτά τα συμπλήρωσε στο μεταξύ άλλη θέση εργασίας και έμειναν όπως ήταν.</translation>
    </message>
</context>
<context>
    <name>DayRangeDialog</name>
    <message>
        <source>Print days</source>
        <translation>Εκτύπωση ημερών</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>Ε&amp;κτύπωση</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Άκυρο</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>Από (&amp;F):</translation>
    </message>
    <message>
        <source>&amp;To:</source>
        <translation>Έως (&amp;T):</translation>
    </message>
    <message>
        <source>One day sheet for each day, in one print.</source>
        <translation>Μία ημερήσια κατάσταση για κάθε ημέρα, σε μία εκτύπωση.</translation>
    </message>
    <message>
        <source>The last day comes before the first.</source>
        <translation>Η τελευταία ημέρα είναι πριν από την πρώτη.</translation>
    </message>
    <message>
        <source>At most %1 days are printed at a time.</source>
        <translation>Εκτυπώνονται έως %1 ημέρες τη φορά.</translation>
    </message>
    <message numerus="yes">
        <source>%n day sheet(s).</source>
        <translation>
            <numerusform>%n ημερήσια κατάσταση.</numerusform>
            <numerusform>%n ημερήσιες καταστάσεις.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>An unknown error occurred.</source>
        <translation>Παρουσιάστηκε άγνωστο σφάλμα.</translation>
    </message>
</context>
<context>
    <name>MissingBookNotice</name>
    <message>
        <source>Your appointment book is missing.

The data folder &quot;%1&quot; is there, but the book %2 is not in it: it was deleted or moved, or it is kept on a disk that is not connected now. Orvella has not made a new, empty book in its place, so that none of your appointments is hidden or replaced.

If the book is on a disk that is not connected, connect it and start Orvella again.

%3</source>
        <translation>Το βιβλίο ραντεβού σας λείπει.

Ο φάκελος δεδομένων «%1» υπάρχει, αλλά το βιβλίο %2 δεν είναι μέσα του: διαγράφηκε ή μετακινήθηκε, ή βρίσκεται σε δίσκο που δεν είναι συνδεδεμένος τώρα. Το Orvella δεν έφτιαξε νέο, άδειο βιβλίο στη θέση του, ώστε κανένα ραντεβού σας να μην κρυφτεί ή να μην αντικατασταθεί.

Αν το βιβλίο είναι σε δίσκο που δεν είναι συνδεδεμένος, συνδέστε τον και ξεκινήστε πάλι το Orvella.

%3</translation>
    </message>
</context>
<context>
    <name>OldBookOffer</name>
    <message>
        <source>The file data.mdb in this folder is an appointment book of the older format.

Convert it to the new format now? Every appointment is brought over. The old file does not change: it stays beside the new one, named data-jet-&lt;date&gt;.mdb.

With No nothing changes.</source>
        <translation>Το αρχείο data.mdb σε αυτόν τον φάκελο είναι βιβλίο ραντεβού της παλαιότερης μορφής.

Να μετατραπεί τώρα στη νέα μορφή; Όλα τα ραντεβού θα μεταφερθούν. Το παλιό αρχείο δεν θα αλλάξει: θα μείνει δίπλα στο νέο, με όνομα data-jet-&lt;ημερομηνία&gt;.mdb.

Με «Όχι» δεν αλλάζει τίποτα.</translation>
    </message>
    <message>
        <source>Yes, convert</source>
        <translation>Ναι, μετατροπή</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Όχι</translation>
    </message>
    <message>
        <source>The book was converted.</source>
        <translation>Η μετατροπή ολοκληρώθηκε.</translation>
    </message>
    <message>
        <source>The conversion is not offered again for this file; put a repaired copy in its place to be asked again.</source>
        <translation>Η μετατροπή δεν προτείνεται ξανά για αυτό το αρχείο· βάλτε στη θέση του ένα επισκευασμένο αντίγραφο για να ερωτηθείτε πάλι.</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Look in:</source>
        <translation>Αναζήτηση σε:</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>Όνομα &amp;αρχείου:</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Αρχεία τύπου:</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Αποθήκευση</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ά&amp;νοιγμα</translation>
    </message>
    <message>
        <source>&amp;Choose</source>
        <translation>&amp;Επιλογή</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Πίσω</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Μπροστά</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>Γονικός φάκελος</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>Νέος φάκελος</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Προβολή λίστας</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>Προβολή λεπτομερειών</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Νέος φάκελος</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Name</source>
        <translation>Όνομα</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Μέγεθος</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Ημερομηνία αλλαγής</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Αναίρεση</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Α&amp;κύρωση αναίρεσης</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Απο&amp;κοπή</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>Αντι&amp;γραφή</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Επικόλληση</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Διαγραφή</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Επιλογή όλων</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Λεπτομέρειες...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Απόκρυψη λεπτομερειών...</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>Save</source>
        <translation>Αποθήκευση</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Άνοιγμα</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Άκυρο</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Κλείσιμο</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Απόρριψη</translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation>Χωρίς αποθήκευση</translation>
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
        <source>Apply</source>
        <translation>Εφαρμογή</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Βοήθεια</translation>
    </message>
</context>
<context>
    <name>RepeatDialog</name>
    <message>
        <source>Repeat the appointment</source>
        <translation>Επανάληψη ραντεβού</translation>
    </message>
    <message>
        <source>&quot;%1&quot; at %2, from %3:</source>
        <translation>«%1» στις %2, από %3:</translation>
    </message>
    <message>
        <source>Every &amp;week</source>
        <translation>Κάθε &amp;εβδομάδα</translation>
    </message>
    <message>
        <source>Every</source>
        <translation>Κάθε</translation>
    </message>
    <message>
        <source> days</source>
        <translation> ημέρες</translation>
    </message>
    <message>
        <source>&amp;Times:</source>
        <translation>&amp;Φορές:</translation>
    </message>
    <message>
        <source>&amp;Until:</source>
        <translation>Έ&amp;ως:</translation>
    </message>
    <message>
        <source>&amp;Book</source>
        <translation>&amp;Κράτηση</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Άκυρο</translation>
    </message>
    <message>
        <source>The rule gives no day after this one within the calendar&apos;s years.</source>
        <translation>Ο κανόνας δεν δίνει καμία ημέρα μετά από αυτήν μέσα στα έτη του ημερολογίου.</translation>
    </message>
    <message>
        <source>What the days hold could not be read:
%1</source>
        <translation>Δεν ήταν δυνατό να διαβαστεί τι έχουν οι ημέρες:
%1</translation>
    </message>
    <message>
        <source>free: it will be booked</source>
        <translation>ελεύθερη: θα κλειστεί</translation>
    </message>
    <message>
        <source>taken by another appointment: left as it is</source>
        <translation>κατειλημμένη από άλλο ραντεβού: μένει όπως είναι</translation>
    </message>
    <message>
        <source>holds this appointment already</source>
        <translation>έχει ήδη αυτό το ραντεβού</translation>
    </message>
    <message>
        <source>%1 of the %2 days will be booked; %3 taken, %4 holding it already.</source>
        <translation>Θα κλειστούν %1 από τις %2 ημέρες· %3 κατειλημμένες, %4 το έχουν ήδη.</translation>
    </message>
    <message>
        <source>%1 days booked at %2.</source>
        <translation>Κλείστηκαν %1 ημέρες στις %2.</translation>
    </message>
    <message>
        <source>Taken by another appointment, left as they are: %1.</source>
        <translation>Κατειλημμένες από άλλο ραντεβού, έμειναν όπως ήταν: %1.</translation>
    </message>
</context>
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
    <message>
        <source>Week…</source>
        <translation>Εβδομάδα…</translation>
    </message>
    <message>
        <source>Import a calendar (.ics)…</source>
        <translation>Εισαγωγή ημερολογίου (.ics)…</translation>
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
    <message>
        <source>The day %1 could not be made in the data file, so its slots are shown read-only and nothing can be typed or saved in them. The reason:

%2

Deal with that, then close this day and open it again.</source>
        <translation>Η ημέρα %1 δεν μπόρεσε να δημιουργηθεί στο αρχείο δεδομένων, γι᾽ αυτό οι θέσεις της φαίνονται μόνο για ανάγνωση και δεν γράφεται ούτε αποθηκεύεται τίποτα σε αυτές. Η αιτία:

%2

Διορθώστε το, μετά κλείστε την ημέρα και ανοίξτε την ξανά.</translation>
    </message>
    <message>
        <source>&amp;Week</source>
        <translation>Εβδομάδα (&amp;W)</translation>
    </message>
    <message>
        <source>Ctrl+W</source>
        <translation>Ctrl+W</translation>
    </message>
    <message>
        <source>Some slots hold text that is not saved yet. Yes saves it, closes the day and shows its week; No closes the day without it and shows the week.</source>
        <translation>Κάποια διαστήματα έχουν κείμενο που δεν έχει αποθηκευτεί ακόμη. Το Ναι το αποθηκεύει, κλείνει την ημέρα και δείχνει την εβδομάδα της· το Όχι κλείνει την ημέρα χωρίς αυτό και δείχνει την εβδομάδα.</translation>
    </message>
    <message>
        <source>&amp;Repeat…</source>
        <translation>&amp;Επανάληψη…</translation>
    </message>
    <message>
        <source>The slot %1 holds no appointment to repeat. Type it first, then repeat it.</source>
        <translation>Η θέση %1 δεν έχει ραντεβού για επανάληψη. Γράψτε το πρώτα και μετά επαναλάβετέ το.</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>The day %1 lies outside the calendar&apos;s years %2 to %3 and cannot be opened.</source>
        <translation>Η ημέρα %1 είναι έξω από τα έτη του ημερολογίου (%2 έως %3) και δεν μπορεί να ανοίξει.</translation>
    </message>
</context>
<context>
    <name>TForm6</name>
    <message>
        <source>The day is printed with this file, the day sheet, which belongs beside data.mdb. Starting Orvella from its menu entry or shortcut puts the default one back when it is missing.</source>
        <translation>Η ημέρα τυπώνεται με αυτό το αρχείο, το φύλλο της ημέρας, που πρέπει να βρίσκεται δίπλα στο data.mdb. Αν ξεκινήσετε το Orvella από το μενού ή τη συντόμευσή του, το προεπιλεγμένο φύλλο ξαναμπαίνει όταν λείπει.</translation>
    </message>
    <message>
        <source>Or copy the default one there from &quot;%1&quot;.</source>
        <translation>Ή αντιγράψτε εκεί το προεπιλεγμένο από το «%1».</translation>
    </message>
</context>
<context>
    <name>WaitingNote</name>
    <message>
        <source>Saving, closing, printing and opening days wait until it answers; what you type meanwhile is kept.</source>
        <translation>Η αποθήκευση, το κλείσιμο, η εκτύπωση και το άνοιγμα ημερών περιμένουν ώσπου να απαντήσει· ό,τι πληκτρολογείτε στο μεταξύ κρατιέται.</translation>
    </message>
</context>
<context>
    <name>WeekPrint</name>
    <message>
        <source>The last day to print comes before the first.</source>
        <translation>Η τελευταία ημέρα της εκτύπωσης είναι πριν από την πρώτη.</translation>
    </message>
    <message>
        <source>At most %1 days are printed at a time.</source>
        <translation>Εκτυπώνονται έως %1 ημέρες τη φορά.</translation>
    </message>
    <message>
        <source>The week is printed with this file, the week sheet, which belongs beside data.mdb; the days still print one by one with RANTEBOU.rav. Starting Orvella from its menu entry or shortcut puts the default week sheet back when it is missing.</source>
        <translation>Η εβδομάδα εκτυπώνεται με αυτό το αρχείο, την εβδομαδιαία κατάσταση, που ανήκει δίπλα στο data.mdb· οι ημέρες εκτυπώνονται ακόμη μία μία με το RANTEBOU.rav. Η εκκίνηση του Orvella από την καταχώρισή του στο μενού ή από τη συντόμευση επαναφέρει την προεπιλεγμένη εβδομαδιαία κατάσταση όταν λείπει.</translation>
    </message>
    <message>
        <source>Or copy the default one there from &quot;%1&quot;.</source>
        <translation>Ή αντιγράψτε εκεί την προεπιλεγμένη από το «%1».</translation>
    </message>
</context>
<context>
    <name>WeekWindow</name>
    <message>
        <source>Appointments of the week</source>
        <translation>Εβδομαδιαία κατάσταση των ραντεβού</translation>
    </message>
    <message>
        <source>&amp;Previous week</source>
        <translation>Προηγούμενη (&amp;P)</translation>
    </message>
    <message>
        <source>&amp;This week</source>
        <translation>Σήμερα (&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Next week</source>
        <translation>Επόμενη (&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Open the day</source>
        <translation>Άνοιγμα ημέρας (&amp;O)</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>Έξοδος (&amp;X)</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Δευτέρα</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>Τρίτη</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>Τετάρτη</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>Πέμπτη</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>Παρασκευή</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>Σάββατο</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>Κυριακή</translation>
    </message>
    <message>
        <source>Week of %1 to %2</source>
        <translation>Εβδομάδα %1 έως %2</translation>
    </message>
    <message>
        <source>Pr&amp;int the week</source>
        <translation>Εκτύπωση εβδομάδας (&amp;I)</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Print &amp;days...</source>
        <translation>Εκτύπωση ημερών… (&amp;D)</translation>
    </message>
</context>
<context>
    <name>catalogue</name>
    <message>
        <source>en</source>
        <translation>el</translation>
    </message>
</context>
<context>
    <name>exchange</name>
    <message>
        <source>… and %1 more</source>
        <translation>… και άλλα %1</translation>
    </message>
    <message>
        <source>%1: %2 events, %3 occurrences in the days taken.</source>
        <translation>%1: %2 γεγονότα, %3 εμφανίσεις στις ημέρες που λαμβάνονται.</translation>
    </message>
    <message>
        <source>Half hours to book: %1</source>
        <translation>Μισάωρα προς καταχώριση: %1</translation>
    </message>
    <message>
        <source>Half hours already holding the same text (nothing to do): %1</source>
        <translation>Μισάωρα που έχουν ήδη το ίδιο κείμενο (τίποτα να γίνει): %1</translation>
    </message>
    <message>
        <source>Half hours holding another text (left as they are): %1</source>
        <translation>Μισάωρα με άλλο κείμενο (μένουν όπως είναι): %1</translation>
    </message>
    <message>
        <source>Events or parts skipped: %1</source>
        <translation>Γεγονότα ή τμήματα που παραλείπονται: %1</translation>
    </message>
    <message>
        <source>Occurrences outside the days asked for (left out): %1</source>
        <translation>Εμφανίσεις εκτός των ημερών που ζητήθηκαν (παραλείπονται): %1</translation>
    </message>
    <message>
        <source>Texts cut to the %1 characters a slot holds: %2</source>
        <translation>Κείμενα που κόπηκαν στους %1 χαρακτήρες ενός μισάωρου: %2</translation>
    </message>
    <message>
        <source>It holds no iCalendar calendar (BEGIN:VCALENDAR … END:VCALENDAR).</source>
        <translation>Δεν περιέχει ημερολόγιο iCalendar (BEGIN:VCALENDAR … END:VCALENDAR).</translation>
    </message>
    <message>
        <source>The calendar &quot;%1&quot; is not there.</source>
        <translation>Το ημερολόγιο &quot;%1&quot; δεν υπάρχει.</translation>
    </message>
    <message>
        <source>The calendar &quot;%1&quot; is larger than %2 MB; nothing was read. Export fewer days from the other calendar.</source>
        <translation>Το ημερολόγιο &quot;%1&quot; είναι μεγαλύτερο από %2 MB· δεν διαβάστηκε τίποτα. Εξαγάγετε λιγότερες ημέρες από το άλλο ημερολόγιο.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is %2, not a calendar file; nothing was read.</source>
        <translation>Το &quot;%1&quot; είναι %2, όχι αρχείο ημερολογίου· δεν διαβάστηκε τίποτα.</translation>
    </message>
    <message>
        <source>The calendar &quot;%1&quot; could not be read (%2).</source>
        <translation>Το ημερολόγιο &quot;%1&quot; δεν ήταν δυνατό να διαβαστεί (%2).</translation>
    </message>
    <message>
        <source>The calendar &quot;%1&quot; could not be read: %2</source>
        <translation>Το ημερολόγιο &quot;%1&quot; δεν ήταν δυνατό να διαβαστεί: %2</translation>
    </message>
    <message>
        <source>all-day event</source>
        <translation>ολοήμερο γεγονός</translation>
    </message>
    <message>
        <source>outside 08:00-22:00</source>
        <translation>εκτός 08:00-22:00</translation>
    </message>
    <message>
        <source>outside the years %1-%2</source>
        <translation>εκτός των ετών %1-%2</translation>
    </message>
    <message>
        <source>no readable start</source>
        <translation>χωρίς αναγνώσιμη έναρξη</translation>
    </message>
    <message>
        <source>no title</source>
        <translation>χωρίς τίτλο</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>ακυρωμένο</translation>
    </message>
    <message>
        <source>repeats every minute or second</source>
        <translation>επαναλαμβάνεται κάθε λεπτό ή δευτερόλεπτο</translation>
    </message>
    <message>
        <source>longer than %1 days</source>
        <translation>μεγαλύτερο από %1 ημέρες</translation>
    </message>
</context>
<context>
    <name>legacy</name>
    <message>
        <source>Record %1 of &quot;%2&quot; holds text but no date; it cannot be brought over as a day, and nothing was imported. Give it a date in the older program, or empty it, and import again.</source>
        <translation>Η εγγραφή %1 του «%2» έχει κείμενο αλλά όχι ημερομηνία· δεν μπορεί να μεταφερθεί ως ημέρα, και δεν εισήχθη τίποτα. Δώστε της ημερομηνία στο παλαιότερο πρόγραμμα, ή αδειάστε την, και κάντε ξανά την εισαγωγή.</translation>
    </message>
    <message>
        <source>Record %1 of &quot;%2&quot; has a date (%3) that is no calendar day; nothing was imported. Correct it in the older program and import again.</source>
        <translation>Η εγγραφή %1 του «%2» έχει ημερομηνία (%3) που δεν είναι ημέρα του ημερολογίου· δεν εισήχθη τίποτα. Διορθώστε τη στο παλαιότερο πρόγραμμα και κάντε ξανά την εισαγωγή.</translation>
    </message>
    <message>
        <source>The new book could not be put in place as &quot;%1&quot; (the name was taken meanwhile, or the folder refuses it); nothing was overwritten.</source>
        <translation>Το νέο βιβλίο δεν μπόρεσε να μπει στη θέση του ως «%1» (το όνομα πάρθηκε στο μεταξύ, ή ο φάκελος δεν το δέχεται)· δεν αντικαταστάθηκε τίποτα.</translation>
    </message>
    <message>
        <source>There is no book &quot;%1&quot; to add the days to. Make a new one with orvella-datafolder --import OLD.mdb FOLDER instead.</source>
        <translation>Δεν υπάρχει βιβλίο «%1» για να προστεθούν οι ημέρες. Φτιάξτε καινούργιο με την εντολή orvella-datafolder --import OLD.mdb FOLDER.</translation>
    </message>
    <message>
        <source>The merged book could not take the place of &quot;%1&quot;; that book was left as it was.</source>
        <translation>Το συγχωνευμένο βιβλίο δεν μπόρεσε να πάρει τη θέση του «%1»· εκείνο το βιβλίο έμεινε όπως ήταν.</translation>
    </message>
    <message>
        <source>The converted book could not be put in place as &quot;%1&quot;, or the older book could not be kept aside as &quot;%2&quot;; the older book was left as it was. Check that the folder allows writing.</source>
        <translation>Το μετατραπέν βιβλίο δεν μπόρεσε να μπει στη θέση του ως «%1», ή το παλαιότερο βιβλίο δεν μπόρεσε να φυλαχτεί ως «%2»· το παλαιότερο βιβλίο έμεινε όπως ήταν. Ελέγξτε ότι ο φάκελος επιτρέπει την εγγραφή.</translation>
    </message>
    <message>
        <source>The older book holds no appointments.</source>
        <translation>Το παλαιότερο βιβλίο δεν έχει ραντεβού.</translation>
    </message>
    <message>
        <source>%1 appointments (filled slots) brought over.</source>
        <translation>Μεταφέρθηκαν %1 ραντεβού (συμπληρωμένες θέσεις).</translation>
    </message>
    <message>
        <source>Nothing new: all %1 appointments (filled slots) of the older book were in the book already.</source>
        <translation>Τίποτα καινούργιο: και τα %1 ραντεβού (συμπληρωμένες θέσεις) του παλαιότερου βιβλίου υπήρχαν ήδη στο βιβλίο.</translation>
    </message>
    <message>
        <source>%1 appointments (filled slots) read, %2 of them new to the book; the others were in it already.</source>
        <translation>Διαβάστηκαν %1 ραντεβού (συμπληρωμένες θέσεις), από τα οποία %2 είναι καινούργια για το βιβλίο· τα άλλα υπήρχαν ήδη σε αυτό.</translation>
    </message>
    <message>
        <source>Imported &quot;%1&quot; into &quot;%2&quot;.</source>
        <translation>Το «%1» εισήχθη στο «%2».</translation>
    </message>
    <message>
        <source>%1 records read, %2 new days, %3 days in the book now.</source>
        <translation>Διαβάστηκαν %1 εγγραφές, %2 νέες ημέρες, %3 ημέρες έχει τώρα το βιβλίο.</translation>
    </message>
    <message>
        <source>%1 days were merged slot by slot, %2 slots hold two texts joined by &quot; / &quot;.</source>
        <translation>%1 ημέρες συγχωνεύτηκαν θέση προς θέση, %2 θέσεις έχουν δύο κείμενα ενωμένα με « / ».</translation>
    </message>
    <message>
        <source>%1 days lie outside 2008-2035: they are kept, but the month window does not show them.</source>
        <translation>%1 ημέρες βρίσκονται έξω από τα έτη 2008-2035: φυλάχτηκαν, αλλά ο μήνας δεν τις δείχνει.</translation>
    </message>
    <message>
        <source>%1 slots hold longer texts than 255 characters; they were made larger so that nothing was cut.</source>
        <translation>%1 θέσεις έχουν κείμενα μεγαλύτερα από 255 χαρακτήρες· μεγάλωσαν ώστε να μην κοπεί τίποτα.</translation>
    </message>
    <message>
        <source>Not brought over: %1 columns and %2 empty records without a date (listed below).</source>
        <translation>Δεν μεταφέρθηκαν: %1 στήλες και %2 κενές εγγραφές χωρίς ημερομηνία (βλ. παρακάτω).</translation>
    </message>
    <message>
        <source>The older file is kept, unchanged, as &quot;%1&quot;.</source>
        <translation>Το παλαιότερο αρχείο φυλάχτηκε, αμετάβλητο, ως «%1».</translation>
    </message>
    <message>
        <source>Every day and slot was read back from the new book and found equal.</source>
        <translation>Κάθε ημέρα και θέση διαβάστηκε ξανά από το νέο βιβλίο και βρέθηκε ίδια.</translation>
    </message>
    <message>
        <source>Days merged slot by slot</source>
        <translation>Ημέρες που συγχωνεύτηκαν θέση προς θέση</translation>
    </message>
    <message>
        <source>Slots holding two texts joined by &quot; / &quot;</source>
        <translation>Θέσεις με δύο κείμενα ενωμένα με « / »</translation>
    </message>
    <message>
        <source>Days outside 2008-2035, kept</source>
        <translation>Ημέρες έξω από τα έτη 2008-2035, φυλαγμένες</translation>
    </message>
    <message>
        <source>Slots made larger</source>
        <translation>Θέσεις που μεγάλωσαν</translation>
    </message>
    <message>
        <source>Columns not brought over</source>
        <translation>Στήλες που δεν μεταφέρθηκαν</translation>
    </message>
    <message>
        <source>Records without a date or text, not brought over</source>
        <translation>Εγγραφές χωρίς ημερομηνία ή κείμενο, που δεν μεταφέρθηκαν</translation>
    </message>
    <message>
        <source>The new book &quot;%1&quot; did not read back as written (day %2, slot %3: %4 instead of %5); it was not put in place and nothing was changed. Try again; if it happens again, the disk may be failing.</source>
        <translation>Το νέο βιβλίο «%1» δεν διαβάστηκε όπως γράφτηκε (ημέρα %2, θέση %3: %4 αντί για %5)· δεν μπήκε στη θέση του και δεν άλλαξε τίποτα. Δοκιμάστε ξανά· αν συμβεί πάλι, ο δίσκος ίσως χαλάει.</translation>
    </message>
    <message>
        <source>The new book &quot;%1&quot; lacks the day %2 of the older book; it was not put in place and nothing was changed.</source>
        <translation>Στο νέο βιβλίο «%1» λείπει η ημέρα %2 του παλαιότερου βιβλίου· δεν μπήκε στη θέση του και δεν άλλαξε τίποτα.</translation>
    </message>
    <message>
        <source>The new book &quot;%1&quot; lacks the day %2 of the book it was to extend; it was not put in place and nothing was changed.</source>
        <translation>Στο νέο βιβλίο «%1» λείπει η ημέρα %2 του βιβλίου που θα επεκτεινόταν· δεν μπήκε στη θέση του και δεν άλλαξε τίποτα.</translation>
    </message>
    <message>
        <source>The new book &quot;%1&quot; holds %2 days where %3 were written; it was not put in place and nothing was changed.</source>
        <translation>Το νέο βιβλίο «%1» έχει %2 ημέρες εκεί όπου γράφτηκαν %3· δεν μπήκε στη θέση του και δεν άλλαξε τίποτα.</translation>
    </message>
    <message>
        <source>its tables or its first record are kept</source>
        <translation>φυλάγονται οι πίνακές του ή η πρώτη του εγγραφή</translation>
    </message>
    <message>
        <source>record %1 is kept (after the %2 records read, the last for %3)</source>
        <translation>φυλάγεται η εγγραφή %1 (μετά τις %2 εγγραφές που διαβάστηκαν, η τελευταία για %3)</translation>
    </message>
    <message>
        <source>no day</source>
        <translation>καμία ημέρα</translation>
    </message>
    <message>
        <source>The older book &quot;%1&quot; is damaged where %2: reading it %3, and nothing was changed. Repair it with the older program, or use a backup copy.</source>
        <translation>Το παλαιότερο βιβλίο «%1» είναι χαλασμένο εκεί όπου %2: η ανάγνωσή του %3, και δεν άλλαξε τίποτα. Επισκευάστε το με το παλαιότερο πρόγραμμα, ή χρησιμοποιήστε ένα αντίγραφο ασφαλείας.</translation>
    </message>
    <message>
        <source>The older book &quot;%1&quot; could not be read: the program that reads it, &quot;%2&quot;, could not be started (%3). Nothing was changed. Install Orvella again.</source>
        <translation>Το παλαιότερο βιβλίο «%1» δεν μπόρεσε να διαβαστεί: το πρόγραμμα που το διαβάζει, «%2», δεν μπόρεσε να ξεκινήσει (%3). Δεν άλλαξε τίποτα. Εγκαταστήστε ξανά το Orvella.</translation>
    </message>
    <message>
        <source>did not end within %1 seconds</source>
        <translation>δεν τελείωσε μέσα σε %1 δευτερόλεπτα</translation>
    </message>
    <message>
        <source>gave more than %1 MB</source>
        <translation>έδωσε περισσότερα από %1 MB</translation>
    </message>
    <message>
        <source>crashed (or needed more than %1 MB of memory)</source>
        <translation>κατέρρευσε (ή χρειάστηκε περισσότερα από %1 MB μνήμης)</translation>
    </message>
    <message>
        <source>stopped on the way</source>
        <translation>σταμάτησε στη μέση</translation>
    </message>
    <message>
        <source>stopped with an error (%1)</source>
        <translation>σταμάτησε με σφάλμα (%1)</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; does not exist. Give the path of the older appointment book (data.mdb).</source>
        <translation>Το αρχείο «%1» δεν υπάρχει. Δώστε τη διαδρομή του παλαιότερου βιβλίου ραντεβού (data.mdb).</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; cannot be read: you are not allowed to. Allow reading it and try again.</source>
        <translation>Το αρχείο «%1» δεν μπορεί να διαβαστεί: δεν επιτρέπεται. Επιτρέψτε την ανάγνωσή του και δοκιμάστε ξανά.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is not an older appointment book: it is not a Jet database (.mdb) file%2. Give the older program&apos;s data.mdb.</source>
        <translation>Το αρχείο «%1» δεν είναι παλαιότερο βιβλίο ραντεβού: δεν είναι αρχείο βάσης Jet (.mdb)%2. Δώστε το data.mdb του παλαιότερου προγράμματος.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is a database of a newer format than the older appointment book&apos;s (Jet 3 or Jet 4); it cannot be read. Save it in the 2000 format (.mdb) first.</source>
        <translation>Το αρχείο «%1» είναι βάση νεότερης μορφής από αυτήν του παλαιότερου βιβλίου ραντεβού (Jet 3 ή Jet 4)· δεν μπορεί να διαβαστεί. Αποθηκεύστε το πρώτα στη μορφή του 2000 (.mdb).</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is incomplete (%2 bytes, where a whole one is made of at least three %3-byte pages): it was cut short, perhaps while being copied. Copy it again from where it came from.</source>
        <translation>Το αρχείο «%1» είναι ελλιπές (%2 bytes, ενώ ένα ολόκληρο έχει τουλάχιστον τρεις σελίδες των %3 bytes): κόπηκε, ίσως κατά την αντιγραφή. Αντιγράψτε το ξανά από εκεί που ήρθε.</translation>
    </message>
    <message>
        <source>The database password of &quot;%1&quot; is not &quot;%2&quot;; nothing was read. If this book was protected with another password, give it with --password.</source>
        <translation>Ο κωδικός της βάσης του «%1» δεν είναι «%2»· δεν διαβάστηκε τίποτα. Αν αυτό το βιβλίο προστατεύτηκε με άλλον κωδικό, δώστε τον με το --password.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened as a Jet database; it may be damaged.</source>
        <translation>Το αρχείο «%1» δεν μπόρεσε να ανοίξει ως βάση Jet· ίσως είναι χαλασμένο.</translation>
    </message>
    <message>
        <source>The list of tables in &quot;%1&quot; cannot be read: the file is damaged. Repair it with the older program, or copy it again from a backup.</source>
        <translation>Ο κατάλογος των πινάκων του «%1» δεν διαβάζεται: το αρχείο είναι χαλασμένο. Επισκευάστε το με το παλαιότερο πρόγραμμα, ή αντιγράψτε το ξανά από αντίγραφο ασφαλείας.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is a Jet database but not an appointment book: it has no table %2. Give the older program&apos;s own data.mdb.</source>
        <translation>Το αρχείο «%1» είναι βάση Jet αλλά όχι βιβλίο ραντεβού: δεν έχει πίνακα %2. Δώστε το ίδιο το data.mdb του παλαιότερου προγράμματος.</translation>
    </message>
    <message>
        <source>The columns of the table %1 in &quot;%2&quot; cannot be read: the file is damaged.</source>
        <translation>Οι στήλες του πίνακα %1 στο «%2» δεν διαβάζονται: το αρχείο είναι χαλασμένο.</translation>
    </message>
    <message>
        <source>The column %1 of the table %2 in &quot;%3&quot; does not hold dates; this is not an appointment book the import can read.</source>
        <translation>Η στήλη %1 του πίνακα %2 στο «%3» δεν έχει ημερομηνίες· αυτό δεν είναι βιβλίο ραντεβού που μπορεί να διαβάσει η εισαγωγή.</translation>
    </message>
    <message>
        <source>The slot column %1 of the table %2 in &quot;%3&quot; does not hold text; this is not an appointment book the import can read.</source>
        <translation>Η στήλη θέσης %1 του πίνακα %2 στο «%3» δεν έχει κείμενο· αυτό δεν είναι βιβλίο ραντεβού που μπορεί να διαβάσει η εισαγωγή.</translation>
    </message>
    <message>
        <source>The table %1 in &quot;%2&quot; has no date column %3; it is not an appointment book the import can read.</source>
        <translation>Ο πίνακας %1 στο «%2» δεν έχει στήλη ημερομηνίας %3· δεν είναι βιβλίο ραντεβού που μπορεί να διαβάσει η εισαγωγή.</translation>
    </message>
    <message>
        <source>The table %1 in &quot;%2&quot; has no column %3 for the half hour %3; it is not an appointment book the import can read, and nothing was imported.</source>
        <translation>Ο πίνακας %1 στο «%2» δεν έχει στήλη %3 για το μισάωρο %3· δεν είναι βιβλίο ραντεβού που μπορεί να διαβάσει η εισαγωγή, και δεν εισήχθη τίποτα.</translation>
    </message>
    <message>
        <source>The text in %1 is too long to be read whole; nothing was imported.</source>
        <translation>Το κείμενο στο %1 είναι πολύ μεγάλο για να διαβαστεί ολόκληρο· δεν εισήχθη τίποτα.</translation>
    </message>
    <message>
        <source>The text in %1 may hold characters that cannot be read from this kind of column (it reads &quot;%2&quot;); nothing was imported. Shorten or retype that text in the older program and import again.</source>
        <translation>Το κείμενο στο %1 ίσως έχει χαρακτήρες που δεν διαβάζονται από αυτό το είδος στήλης (διαβάζεται «%2»)· δεν εισήχθη τίποτα. Συντομεύστε ή ξαναγράψτε αυτό το κείμενο στο παλαιότερο πρόγραμμα και κάντε ξανά την εισαγωγή.</translation>
    </message>
    <message>
        <source>The record of %1 in &quot;%2&quot; is damaged; nothing was imported.</source>
        <translation>Η εγγραφή του %1 στο «%2» είναι χαλασμένη· δεν εισήχθη τίποτα.</translation>
    </message>
    <message>
        <source>The text in %1 is damaged (it is not whole UTF-16 text); nothing was imported. Retype it in the older program and import again.</source>
        <translation>Το κείμενο στο %1 είναι χαλασμένο (δεν είναι ολόκληρο κείμενο UTF-16)· δεν εισήχθη τίποτα. Ξαναγράψτε το στο παλαιότερο πρόγραμμα και κάντε ξανά την εισαγωγή.</translation>
    </message>
    <message>
        <source>The text in %1 holds a NUL character (U+0000), where the older program showed only &quot;%2&quot;; nothing was imported. Retype that text in the older program and import again.</source>
        <translation>Το κείμενο στο %1 έχει χαρακτήρα NUL (U+0000), εκεί όπου το παλαιότερο πρόγραμμα έδειχνε μόνο «%2»· δεν εισήχθη τίποτα. Ξαναγράψτε αυτό το κείμενο στο παλαιότερο πρόγραμμα και κάντε ξανά την εισαγωγή.</translation>
    </message>
    <message>
        <source>Only %1 of the %2 records of the appointment table in &quot;%3&quot; could be read: parts of the file are damaged. Nothing was imported. Repair the file with the older program, or use a backup copy.</source>
        <translation>Μόνο %1 από τις %2 εγγραφές του πίνακα ραντεβού στο «%3» διαβάστηκαν: μέρη του αρχείου είναι χαλασμένα. Δεν εισήχθη τίποτα. Επισκευάστε το αρχείο με το παλαιότερο πρόγραμμα, ή χρησιμοποιήστε ένα αντίγραφο ασφαλείας.</translation>
    </message>
    <message>
        <source>The date of record %1 in &quot;%2&quot; is damaged; nothing was imported.</source>
        <translation>Η ημερομηνία της εγγραφής %1 στο «%2» είναι χαλασμένη· δεν εισήχθη τίποτα.</translation>
    </message>
    <message>
        <source>The text in %1 reads &quot;%2&quot; from its stored bytes but &quot;%3&quot; as the library that reads the file gives it; the stored text is damaged, and nothing was imported. Retype it in the older program and import again.</source>
        <translation>Το κείμενο στο %1 διαβάζεται «%2» από τα αποθηκευμένα byte του, αλλά «%3» όπως το δίνει η βιβλιοθήκη που διαβάζει το αρχείο· το αποθηκευμένο κείμενο είναι χαλασμένο, και δεν εισήχθη τίποτα. Ξαναγράψτε το στο παλαιότερο πρόγραμμα και κάντε ξανά την εισαγωγή.</translation>
    </message>
    <message>
        <source>The record of %1 in &quot;%2&quot; is damaged: the stored value of its column %3 overlaps another value or runs beyond the record; nothing was imported. Repair the file with the older program, or use a backup copy.</source>
        <translation>Η εγγραφή του %1 στο «%2» είναι χαλασμένη: η αποθηκευμένη τιμή της στήλης της %3 επικαλύπτει άλλη τιμή ή ξεπερνά το τέλος της εγγραφής· δεν εισήχθη τίποτα. Επιδιορθώστε το αρχείο με το παλαιότερο πρόγραμμα ή χρησιμοποιήστε ένα αντίγραφο ασφαλείας.</translation>
    </message>
    <message>
        <source>the slot %1 of %2 in &quot;%3&quot;</source>
        <translation>διάστημα %1 του %2 στο «%3»</translation>
    </message>
</context>
<context>
    <name>month</name>
    <message>
        <source>The book holds more text than the search can keep in memory.</source>
        <translation>Το βιβλίο έχει περισσότερο κείμενο από όσο μπορεί να κρατήσει στη μνήμη η αναζήτηση.</translation>
    </message>
    <message>
        <source>A run of slots was given to a picture that is not being stowed.</source>
        <translation>Δόθηκε σειρά διαστημάτων σε εικόνα του βιβλίου που δεν αποθηκεύεται συμπιεσμένη.</translation>
    </message>
    <message>
        <source>The search&apos;s picture of the book could not be compressed.</source>
        <translation>Η εικόνα του βιβλίου για την αναζήτηση δεν μπόρεσε να συμπιεστεί.</translation>
    </message>
</context>
<context>
    <name>orvella-datafolder</name>
    <message>
        <source>usage: orvella-datafolder &lt;folder&gt;
Makes &lt;folder&gt; (if missing) with an empty, encrypted data.mdb, the default day sheet RANTEBOU.rav and week sheet EBDOMADA.rav. Existing files are never overwritten. orvella-datafolder --help lists every command.</source>
        <translation>χρήση: orvella-datafolder &lt;φάκελος&gt;
Φτιάχνει τον &lt;φάκελο&gt; (αν λείπει) με κενό, κρυπτογραφημένο data.mdb, το προεπιλεγμένο φύλλο ημέρας RANTEBOU.rav και το φύλλο εβδομάδας EBDOMADA.rav. Αρχεία που υπάρχουν δεν αντικαθίστανται ποτέ. Το orvella-datafolder --help δείχνει όλες τις εντολές.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists and is not a folder.</source>
        <translation>Το «%1» υπάρχει και δεν είναι φάκελος.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; could not be made.</source>
        <translation>Ο φάκελος «%1» δεν μπόρεσε να δημιουργηθεί.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists; nothing was changed.</source>
        <translation>Το «%1» υπάρχει ήδη· δεν άλλαξε τίποτα.</translation>
    </message>
    <message>
        <source>made %1</source>
        <translation>δημιουργήθηκε το %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder.</source>
        <translation>Το «%1» δεν είναι φάκελος.</translation>
    </message>
    <message>
        <source>usage: orvella-datafolder --list-backups &lt;folder&gt;</source>
        <translation>χρήση: orvella-datafolder --list-backups &lt;φάκελος&gt;</translation>
    </message>
    <message>
        <source>usage: orvella-datafolder --restore &lt;backup&gt; &lt;folder&gt;
Puts the backup back as &lt;folder&gt;/data.mdb; the book it replaces is kept beside it.</source>
        <translation>χρήση: orvella-datafolder --restore &lt;αντίγραφο&gt; &lt;φάκελος&gt;
Επαναφέρει το αντίγραφο ως &lt;φάκελος&gt;/data.mdb· το βιβλίο που αντικαθιστά φυλάγεται δίπλα του.</translation>
    </message>
    <message>
        <source>%1 needs a value.</source>
        <translation>Το %1 θέλει τιμή.</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a day written as YYYY-MM-DD.</source>
        <translation>%1 «%2»: δεν είναι ημέρα γραμμένη ως ΕΕΕΕ-ΜΜ-ΗΗ (YYYY-MM-DD).</translation>
    </message>
    <message>
        <source>unknown option &quot;%1&quot;.</source>
        <translation>άγνωστη επιλογή «%1».</translation>
    </message>
    <message>
        <source>give the data folder and the file to write.</source>
        <translation>δώστε τον φάκελο δεδομένων και το αρχείο που θα γραφτεί.</translation>
    </message>
    <message>
        <source>--from %1 comes after --to %2.</source>
        <translation>το --from %1 είναι μετά το --to %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder; give the name of the file to write.</source>
        <translation>Το «%1» είναι φάκελος· δώστε το όνομα του αρχείου που θα γραφτεί.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a link; the export is written through no link (it may lead to someone else&apos;s file), --force or not. Give the name of a file of your own.</source>
        <translation>Το «%1» είναι σύνδεσμος· η εξαγωγή δεν γράφεται μέσω συνδέσμου (μπορεί να οδηγεί σε αρχείο άλλου), με ή χωρίς --force. Δώστε το όνομα ενός δικού σας αρχείου.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is %2, not an ordinary file; nothing was written.</source>
        <translation>Το «%1» είναι %2, όχι κανονικό αρχείο· δεν γράφτηκε τίποτα.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is the data folder&apos;s own %2; choose another file.</source>
        <translation>Το «%1» είναι το %2 του ίδιου του φακέλου δεδομένων· διαλέξτε άλλο αρχείο.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the data folder&apos;s backups, which hold Orvella&apos;s own copies; choose another folder.</source>
        <translation>Το «%1» βρίσκεται στα αντίγραφα ασφαλείας του φακέλου δεδομένων, που κρατούν τα αντίγραφα του Orvella· διαλέξτε άλλο φάκελο.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no time zone this system knows (write it as Europe/Athens).</source>
        <translation>Το «%1» δεν είναι ζώνη ώρας που γνωρίζει αυτό το σύστημα (γράψτε τη όπως Europe/Athens).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists; nothing was written (add --force to replace it).</source>
        <translation>Το «%1» υπάρχει ήδη· δεν γράφτηκε τίποτα (προσθέστε --force για να αντικατασταθεί).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2</source>
        <translation>Το «%1» δεν μπόρεσε να γραφτεί: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists and is not a folder; nothing was changed.</source>
        <translation>Το «%1» υπάρχει και δεν είναι φάκελος· δεν άλλαξε τίποτα.</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; could not be made; check that you may write where it should be.</source>
        <translation>ο φάκελος «%1» δεν μπόρεσε να δημιουργηθεί· ελέγξτε ότι επιτρέπεται η εγγραφή εκεί όπου θα βρίσκεται.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists; nothing was changed. Choose a new folder, or add the older book&apos;s days to that book with --into.</source>
        <translation>Το «%1» υπάρχει ήδη· δεν άλλαξε τίποτα. Διαλέξτε νέο φάκελο, ή προσθέστε τις ημέρες του παλαιότερου βιβλίου σε εκείνο το βιβλίο με το --into.</translation>
    </message>
    <message>
        <source>The day sheet &quot;%1&quot; could not be copied: it is not an ordinary file of at most %2 MB.</source>
        <translation>Το φύλλο ημέρας «%1» δεν μπόρεσε να αντιγραφεί: δεν είναι κανονικό αρχείο έως %2 MB.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; could not be made the user&apos;s own: %2</source>
        <translation>Ο φάκελος «%1» δεν μπόρεσε να γίνει μόνο του χρήστη: %2</translation>
    </message>
    <message>
        <source>usage: orvella-datafolder --import-ics FILE FOLDER [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--tz ZONE]
Books the events of the iCalendar file FILE into the free half hours of the data folder FOLDER&apos;s book (times local to ZONE, Europe/Athens unless given; --from and --to keep the days between them, both included). A half hour holding text is never written over; what is skipped is listed before anything is written, and everything is written at once or not at all.</source>
        <translation>χρήση: orvella-datafolder --import-ics ΑΡΧΕΙΟ ΦΑΚΕΛΟΣ [--from ΕΕΕΕ-ΜΜ-ΗΗ] [--to ΕΕΕΕ-ΜΜ-ΗΗ] [--tz ΖΩΝΗ]
Καταχωρίζει τα γεγονότα του αρχείου iCalendar ΑΡΧΕΙΟ στα ελεύθερα μισάωρα του βιβλίου του φακέλου δεδομένων ΦΑΚΕΛΟΣ (ώρες τοπικές της ΖΩΝΗΣ, Europe/Athens αν δεν δοθεί· τα --from και --to κρατούν τις ημέρες ανάμεσά τους, μαζί με αυτές). Ένα μισάωρο με κείμενο δεν γράφεται ποτέ από πάνω· ό,τι παραλείπεται αναφέρεται πριν γραφτεί οτιδήποτε, και όλα γράφονται μαζί ή καθόλου.</translation>
    </message>
    <message>
        <source>give the calendar file to read and the data folder.</source>
        <translation>δώστε το αρχείο ημερολογίου προς ανάγνωση και τον φάκελο δεδομένων.</translation>
    </message>
    <message>
        <source>Nothing to book; the book was not changed.</source>
        <translation>Τίποτα για καταχώριση· το βιβλίο δεν άλλαξε.</translation>
    </message>
    <message>
        <source>Booked %1 half hours.</source>
        <translation>Καταχωρίστηκαν %1 μισάωρα.</translation>
    </message>
    <message>
        <source>%1 of the half hours were filled by another desk meanwhile and were left as they are.</source>
        <translation>%1 από τα μισάωρα τα συμπλήρωσε στο μεταξύ άλλη θέση εργασίας και έμειναν όπως ήταν.</translation>
    </message>
    <message>
        <source>usage: orvella-datafolder COMMAND ...
  FOLDER                                   make a data folder: an empty, encrypted data.mdb, RANTEBOU.rav, EBDOMADA.rav
  --import OLD.mdb [--password P] [--into] FOLDER   bring the days of an older appointment book in
  --export-ics FOLDER FILE [options]      write the book as an iCalendar file for other calendars
  --export-csv FOLDER FILE [options]      write the book as a CSV table
  --import-ics FILE FOLDER [options]      book another calendar&apos;s events into the free half hours
  --list-backups FOLDER                   list the daily copies of the book, newest first
  --restore BACKUP FOLDER                 put a daily copy back as the folder&apos;s data.mdb
  server-folder FOLDER CONNECTION         make a data folder naming a book on a server (server.book)
  server-init SERVER-FOLDER               make the appointment table and its change trigger on the server
  copy-up FOLDER SERVER-FOLDER [--merge]  copy the folder&apos;s book up to the server
  copy-down SERVER-FOLDER NEW-FOLDER      copy the server&apos;s book down into a new data.mdb
  --help                                  show this list
</source>
        <translation>χρήση: orvella-datafolder ΕΝΤΟΛΗ ...
  ΦΑΚΕΛΟΣ                                  φτιάχνει φάκελο δεδομένων: κενό, κρυπτογραφημένο data.mdb, RANTEBOU.rav, EBDOMADA.rav
  --import ΠΑΛΙΟ.mdb [--password P] [--into] ΦΑΚΕΛΟΣ   φέρνει τις ημέρες ενός παλαιότερου βιβλίου ραντεβού
  --export-ics ΦΑΚΕΛΟΣ ΑΡΧΕΙΟ [επιλογές]  γράφει το βιβλίο ως αρχείο iCalendar για άλλα ημερολόγια
  --export-csv ΦΑΚΕΛΟΣ ΑΡΧΕΙΟ [επιλογές]  γράφει το βιβλίο ως πίνακα CSV
  --import-ics ΑΡΧΕΙΟ ΦΑΚΕΛΟΣ [επιλογές]  καταχωρίζει τα γεγονότα άλλου ημερολογίου στα ελεύθερα μισάωρα
  --list-backups ΦΑΚΕΛΟΣ                  δείχνει τα ημερήσια αντίγραφα του βιβλίου, από το νεότερο
  --restore ΑΝΤΙΓΡΑΦΟ ΦΑΚΕΛΟΣ             επαναφέρει ένα ημερήσιο αντίγραφο ως data.mdb του φακέλου
  server-folder ΦΑΚΕΛΟΣ ΣΥΝΔΕΣΗ           φτιάχνει φάκελο δεδομένων για βιβλίο σε διακομιστή (server.book)
  server-init ΦΑΚΕΛΟΣ-ΔΙΑΚΟΜΙΣΤΗ          φτιάχνει τον πίνακα των ραντεβού και τον μηχανισμό ειδοποιήσεών του στον διακομιστή
  copy-up ΦΑΚΕΛΟΣ ΦΑΚΕΛΟΣ-ΔΙΑΚΟΜΙΣΤΗ [--merge]  ανεβάζει το βιβλίο του φακέλου στον διακομιστή
  copy-down ΦΑΚΕΛΟΣ-ΔΙΑΚΟΜΙΣΤΗ ΝΕΟΣ-ΦΑΚΕΛΟΣ  κατεβάζει το βιβλίο του διακομιστή σε νέο data.mdb
  --help                                  δείχνει αυτή τη λίστα
</translation>
    </message>
    <message>
        <source>The week sheet &quot;%1&quot; could not be copied: it is not an ordinary file of at most %2 MB.</source>
        <translation>Το φύλλο εβδομάδας «%1» δεν μπόρεσε να αντιγραφεί: δεν είναι κανονικό αρχείο έως %2 MB.</translation>
    </message>
</context>
<context>
    <name>report</name>
    <message>
        <source>Save the report as PDF</source>
        <translation>Αποθήκευση της εκτύπωσης ως PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>Αρχεία PDF (*.pdf)</translation>
    </message>
    <message>
        <source>No printer is installed on this computer.</source>
        <translation>Δεν υπάρχει εγκατεστημένος εκτυπωτής σε αυτόν τον υπολογιστή.</translation>
    </message>
    <message>
        <source>Reading the report definition</source>
        <translation>Ανάγνωση του φύλλου εκτύπωσης</translation>
    </message>
    <message>
        <source>Reading the report definition: %1 elements</source>
        <translation>Ανάγνωση του φύλλου εκτύπωσης: %1 στοιχεία</translation>
    </message>
    <message>
        <source>Laying out the report</source>
        <translation>Διάταξη της εκτύπωσης</translation>
    </message>
    <message>
        <source>Preparing the preview of %1 page(s)</source>
        <translation>Προετοιμασία της προεπισκόπησης (%1 σελίδες)</translation>
    </message>
    <message>
        <source>Send the report to</source>
        <translation>Αποστολή της εκτύπωσης</translation>
    </message>
    <message>
        <source>&amp;Preview on screen</source>
        <translation>Προεπισκόπηση στην οθόνη (&amp;P)</translation>
    </message>
    <message>
        <source>Pri&amp;nter</source>
        <translation>Εκτυπωτής (&amp;N)</translation>
    </message>
    <message>
        <source>F&amp;ile (PDF)</source>
        <translation>Αρχείο PDF (&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Browse…</source>
        <translation>Επιλογή… (&amp;B)</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Σελίδες</translation>
    </message>
    <message>
        <source>&amp;All pages</source>
        <translation>Όλες οι σελίδες (&amp;A)</translation>
    </message>
    <message>
        <source>Pages &amp;from</source>
        <translation>Σελίδες από (&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Copies:</source>
        <translation>Αντίτυπα (&amp;C):</translation>
    </message>
    <message>
        <source>to</source>
        <translation>έως</translation>
    </message>
    <message>
        <source>The report has 1 page.</source>
        <translation>Η εκτύπωση έχει 1 σελίδα.</translation>
    </message>
    <message>
        <source>The report has %1 pages.</source>
        <translation>Η εκτύπωση έχει %1 σελίδες.</translation>
    </message>
    <message>
        <source>Print on</source>
        <translation>Εκτύπωση στον</translation>
    </message>
    <message>
        <source>Type or choose the PDF file to write the report to.</source>
        <translation>Γράψτε ή επιλέξτε το αρχείο PDF όπου θα γραφτεί η εκτύπωση.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a folder; name a file in it.</source>
        <translation>Το «%1» είναι φάκελος· δώστε όνομα αρχείου μέσα σε αυτόν.</translation>
    </message>
    <message>
        <source>The first page of the range comes after its last page.</source>
        <translation>Η πρώτη σελίδα του διαστήματος είναι μετά την τελευταία.</translation>
    </message>
    <message>
        <source>|◀ First</source>
        <translation>|◀ Πρώτη</translation>
    </message>
    <message>
        <source>◀ Previous</source>
        <translation>◀ Προηγούμενη</translation>
    </message>
    <message>
        <source>Next ▶</source>
        <translation>Επόμενη ▶</translation>
    </message>
    <message>
        <source>Last ▶|</source>
        <translation>Τελευταία ▶|</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Ολόκληρη η σελίδα</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>Πλάτος σελίδας</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>Εκτύπωση…</translation>
    </message>
    <message>
        <source>Save as PDF…</source>
        <translation>Αποθήκευση ως PDF…</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Κλείσιμο</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Μεγέθυνση:</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Σελίδα %1 από %2</translation>
    </message>
    <message>
        <source>Printing</source>
        <translation>Εκτύπωση</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Αποθήκευση</translation>
    </message>
    <message>
        <source>Report: %1</source>
        <translation>Εκτύπωση: %1</translation>
    </message>
    <message>
        <source>Starting…</source>
        <translation>Ξεκινά…</translation>
    </message>
    <message>
        <source>%1 page %2 of %3</source>
        <translation>%1: σελίδα %2 από %3</translation>
    </message>
    <message>
        <source>Cannot read the report definition %1: line %2, column %3: %4.</source>
        <translation>Ο ορισμός αναφοράς %1 δεν διαβάζεται: γραμμή %2, στήλη %3: %4.</translation>
    </message>
    <message>
        <source>Cannot read the report definition %1: it %2.</source>
        <translation>Ο ορισμός αναφοράς %1 δεν διαβάζεται: %2.</translation>
    </message>
    <message>
        <source>Cannot read the report definition %1: it is larger than the %2 MB it may be.</source>
        <translation>Ο ορισμός αναφοράς %1 δεν διαβάζεται: είναι μεγαλύτερος από τα %2 MB που επιτρέπονται.</translation>
    </message>
    <message>
        <source>A row of %1 values does not fit a dataset of %2 columns.</source>
        <translation>Μια γραμμή %1 τιμών δεν χωράει σε σύνολο δεδομένων %2 στηλών.</translation>
    </message>
    <message>
        <source>There is no value at row %1, column %2 of the dataset.</source>
        <translation>Δεν υπάρχει τιμή στη γραμμή %1, στήλη %2 του συνόλου δεδομένων.</translation>
    </message>
    <message>
        <source>The report cannot be written to %1: the program works from that file, and writing the report there would destroy it. Choose another file name.</source>
        <translation>Η αναφορά δεν μπορεί να γραφτεί στο %1: το πρόγραμμα δουλεύει με αυτό το αρχείο, και η αναφορά εκεί θα το κατέστρεφε. Διαλέξτε άλλο όνομα αρχείου.</translation>
    </message>
    <message>
        <source>The report cannot be written to %1: it is the file %2 under another name or through a link, and the program works from that file. Choose another file name.</source>
        <translation>Η αναφορά δεν μπορεί να γραφτεί στο %1: είναι το αρχείο %2 με άλλο όνομα ή μέσω συνδέσμου, και το πρόγραμμα δουλεύει με αυτό το αρχείο. Διαλέξτε άλλο όνομα αρχείου.</translation>
    </message>
    <message>
        <source>%1 is a folder; name a file in it.</source>
        <translation>Το %1 είναι φάκελος· δώστε ένα αρχείο μέσα του.</translation>
    </message>
    <message>
        <source>The report cannot be written to %1: it is a link that another user put in this shared folder, and it may lead to someone&apos;s file. Choose another file name.</source>
        <translation>Η αναφορά δεν μπορεί να γραφτεί στο %1: είναι σύνδεσμος που έβαλε άλλος χρήστης σε αυτόν τον κοινό φάκελο, και μπορεί να οδηγεί σε αρχείο κάποιου άλλου. Διαλέξτε άλλο όνομα αρχείου.</translation>
    </message>
    <message>
        <source>The file %1 already exists.
Replace it with the report?</source>
        <translation>Το αρχείο %1 υπάρχει ήδη.
Να αντικατασταθεί με την αναφορά;</translation>
    </message>
    <message>
        <source>The picture of the image at line %1, column %2 of the report &quot;%3&quot;%4</source>
        <translation>Η εικόνα στη γραμμή %1, στήλη %2 της αναφοράς «%3»%4</translation>
    </message>
    <message>
        <source>The number of copies must lie between 1 and 99, not %1.</source>
        <translation>Ο αριθμός αντιτύπων πρέπει να είναι από 1 έως 99, όχι %1.</translation>
    </message>
    <message>
        <source>The page range %1 to %2 is not a range of pages.</source>
        <translation>Οι σελίδες %1 έως %2 δεν είναι περιοχή σελίδων.</translation>
    </message>
    <message>
        <source>The report has %1 page(s); the range starting at page %2 holds none of them.</source>
        <translation>Η αναφορά έχει %1 σελίδα(ες)· η περιοχή που αρχίζει στη σελίδα %2 δεν περιέχει καμία.</translation>
    </message>
    <message>
        <source>Cannot run the report %1 of %2: line %3, column %4: %5.</source>
        <translation>Η αναφορά %1 του %2 δεν μπορεί να τρέξει: γραμμή %3, στήλη %4: %5.</translation>
    </message>
    <message>
        <source>Cannot write the report to %1: %2.</source>
        <translation>Η αναφορά δεν γράφεται στο %1: %2.</translation>
    </message>
    <message>
        <source>Cannot write the report to %1.</source>
        <translation>Η αναφορά δεν γράφεται στο %1.</translation>
    </message>
    <message>
        <source>The printer %1 is not installed on this computer.</source>
        <translation>Ο εκτυπωτής %1 δεν είναι εγκατεστημένος σε αυτόν τον υπολογιστή.</translation>
    </message>
    <message>
        <source>The printer %1 did not take the report.</source>
        <translation>Ο εκτυπωτής %1 δεν δέχτηκε την αναφορά.</translation>
    </message>
    <message>
        <source>The printer %1 did not take the whole report.</source>
        <translation>Ο εκτυπωτής %1 δεν δέχτηκε ολόκληρη την αναφορά.</translation>
    </message>
    <message>
        <source>No file was named to write the report to.</source>
        <translation>Δεν δόθηκε αρχείο για να γραφτεί η αναφορά.</translation>
    </message>
</context>
<context>
    <name>store</name>
    <message>
        <source>The file &quot;%1&quot; is an appointment book of the older format, not yet converted for Orvella. Close Orvella and start it again in this folder: it offers to convert the book (answer Yes, convert). The older book is kept beside the new one.</source>
        <translation>Το αρχείο «%1» είναι βιβλίο ραντεβού της παλαιότερης μορφής και δεν έχει μετατραπεί ακόμη για το Orvella. Κλείστε το Orvella και ξεκινήστε το πάλι σε αυτόν τον φάκελο: θα προτείνει τη μετατροπή του βιβλίου (απαντήστε «Ναι, μετατροπή»). Το παλιό βιβλίο μένει δίπλα στο νέο.</translation>
    </message>
    <message>
        <source>Nothing was saved: another desk or program removed this day&apos;s record since it was opened here. Your text is still shown; note it before closing the day.</source>
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
    <message>
        <source>The data file &quot;%1&quot; is missing, but its folder keeps backups of it in &quot;%2&quot;. Close Orvella and list them, newest first, with the command that puts one back:

orvella-datafolder --list-backups &quot;%3&quot;</source>
        <translation>Το αρχείο δεδομένων «%1» λείπει, αλλά ο φάκελός του κρατά αντίγραφα ασφαλείας του στο «%2». Κλείστε το Orvella και δείτε τα, από το νεότερο, μαζί με την εντολή που επαναφέρει ένα από αυτά:

orvella-datafolder --list-backups &quot;%3&quot;</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; does not exist. Start Orvella in the folder that holds data.mdb, or make a new data folder with orvella-datafolder.</source>
        <translation>Το αρχείο δεδομένων «%1» δεν υπάρχει. Ξεκινήστε το Orvella στον φάκελο που περιέχει το data.mdb ή φτιάξτε νέο φάκελο δεδομένων με το orvella-datafolder.</translation>
    </message>
    <message>
        <source>The newest good backup is &quot;%1&quot;, made on %2. Close Orvella and put it back with this command in a terminal:

%3

A book it replaces is kept beside it, never deleted.</source>
        <translation>Το νεότερο καλό αντίγραφο ασφαλείας είναι το «%1», από τις %2. Κλείστε το Orvella και επαναφέρετέ το με αυτή την εντολή σε τερματικό:

%3

Το βιβλίο που αντικαθιστά μένει δίπλα του· δεν διαγράφεται ποτέ.</translation>
    </message>
    <message>
        <source>No good backup was found in &quot;%1&quot;. Keep the file as it is and ask for help before anything is written to the folder &quot;%2&quot;.</source>
        <translation>Δεν βρέθηκε καλό αντίγραφο ασφαλείας στο «%1». Αφήστε το αρχείο όπως είναι και ζητήστε βοήθεια πριν γραφτεί οτιδήποτε στον φάκελο «%2».</translation>
    </message>
    <message>
        <source>Today&apos;s backup of the data file &quot;%1&quot; could not be made: the data folder &quot;%2&quot; (or the book in it) cannot be written by this user, so appointments can be looked at but no change to them can be saved either. Allow writing to the folder and the book, or copy the data folder to a place that allows it, and start Orvella again.</source>
        <translation>Το σημερινό αντίγραφο ασφαλείας του αρχείου δεδομένων «%1» δεν μπόρεσε να γίνει: ο φάκελος δεδομένων «%2» (ή το βιβλίο μέσα του) δεν επιτρέπει εγγραφή σε αυτόν τον χρήστη, οπότε τα ραντεβού φαίνονται αλλά καμία αλλαγή τους δεν μπορεί να αποθηκευτεί. Επιτρέψτε την εγγραφή στον φάκελο και στο βιβλίο ή αντιγράψτε τον φάκελο δεδομένων σε θέση που την επιτρέπει, και ξεκινήστε πάλι το Orvella.</translation>
    </message>
    <message>
        <source>Today&apos;s backup of the data file &quot;%1&quot; could not be made: %2

Your appointments are not affected and you can go on working; Orvella tries again at its next start. Make sure the folder &quot;%3&quot; can be written and its disk has free space.</source>
        <translation>Το σημερινό αντίγραφο ασφαλείας του αρχείου δεδομένων «%1» δεν μπόρεσε να γίνει: %2

Τα ραντεβού σας δεν επηρεάζονται και μπορείτε να συνεχίσετε τη δουλειά· το Orvella θα ξαναδοκιμάσει στην επόμενη εκκίνηση. Βεβαιωθείτε ότι ο φάκελος «%3» επιτρέπει εγγραφή και ότι ο δίσκος του έχει ελεύθερο χώρο.</translation>
    </message>
    <message>
        <source>Orvella is running on the folder &quot;%1&quot;</source>
        <translation>Το Orvella τρέχει ήδη στον φάκελο «%1»</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; is in use by another program: it stayed locked for %2 seconds while %3. Wait until the other program has finished, or close it, and try again.</source>
        <translation>Το αρχείο δεδομένων «%1» χρησιμοποιείται από άλλο πρόγραμμα: έμεινε κλειδωμένο %2 δευτερόλεπτα κατά %3. Περιμένετε να τελειώσει το άλλο πρόγραμμα, ή κλείστε το, και δοκιμάστε ξανά.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; could not be read while %2: the database password does not match, or the file is not an Orvella data file.</source>
        <translation>Το αρχείο δεδομένων «%1» δεν μπόρεσε να διαβαστεί κατά %2: ο κωδικός της βάσης δεν ταιριάζει, ή το αρχείο δεν είναι αρχείο δεδομένων του Orvella.</translation>
    </message>
    <message>
        <source>Could not write to the data file &quot;%1&quot; while %2: the file is read-only. Allow writing to it (or to a copy of the data folder) and try again.</source>
        <translation>Δεν ήταν δυνατή η εγγραφή στο αρχείο δεδομένων «%1» κατά %2: το αρχείο είναι μόνο για ανάγνωση. Επιτρέψτε την εγγραφή σε αυτό (ή σε ένα αντίγραφο του φακέλου δεδομένων) και δοκιμάστε ξανά.</translation>
    </message>
    <message>
        <source>Could not use the data file &quot;%1&quot; while %2: a file could not be opened or created in the folder &quot;%3&quot;. Check that the folder exists and that it allows writing.</source>
        <translation>Δεν ήταν δυνατή η χρήση του αρχείου δεδομένων «%1» κατά %2: ένα αρχείο δεν μπόρεσε να ανοίξει ή να δημιουργηθεί στον φάκελο «%3». Ελέγξτε ότι ο φάκελος υπάρχει και ότι επιτρέπει την εγγραφή.</translation>
    </message>
    <message>
        <source>Access to the data file &quot;%1&quot; was denied while %2.</source>
        <translation>Η πρόσβαση στο αρχείο δεδομένων «%1» απαγορεύτηκε κατά %2.</translation>
    </message>
    <message>
        <source>The disk holding the data file &quot;%1&quot; is full: nothing was written while %2. Free some space and try again.</source>
        <translation>Ο δίσκος του αρχείου δεδομένων «%1» είναι γεμάτος: δεν γράφτηκε τίποτα κατά %2. Ελευθερώστε χώρο και δοκιμάστε ξανά.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; is damaged (found while %2). Restore it from a backup.</source>
        <translation>Το αρχείο δεδομένων «%1» είναι χαλασμένο (βρέθηκε κατά %2). Επαναφέρετέ το από αντίγραφο ασφαλείας.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; is damaged (found while %2): a part of it no longer decrypts with its password. Restore it from a backup.</source>
        <translation>Το αρχείο δεδομένων «%1» είναι χαλασμένο (βρέθηκε κατά %2): ένα μέρος του δεν αποκρυπτογραφείται πια με τον κωδικό του. Επαναφέρετέ το από αντίγραφο ασφαλείας.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; reported an error while %2: %3 (code %4).</source>
        <translation>Το αρχείο δεδομένων «%1» ανέφερε σφάλμα κατά %2: %3 (κωδικός %4).</translation>
    </message>
    <message>
        <source>A read or write error occurred on the data file &quot;%1&quot; while %2 (%3).</source>
        <translation>Σφάλμα ανάγνωσης ή εγγραφής στο αρχείο δεδομένων «%1» κατά %2 (%3).</translation>
    </message>
    <message>
        <source>A record for this day already exists in the data file &quot;%1&quot;; nothing was changed.</source>
        <translation>Υπάρχει ήδη εγγραφή γι᾽ αυτή την ημέρα στο αρχείο δεδομένων «%1»· δεν άλλαξε τίποτα.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; refused a value while %2: %3.</source>
        <translation>Το αρχείο δεδομένων «%1» δεν δέχτηκε μια τιμή κατά %2: %3.</translation>
    </message>
    <message>
        <source>This build is linked against plain SQLite; refusing to run: the data file would be neither read with its password nor written encrypted.</source>
        <translation>Αυτό το πρόγραμμα είναι φτιαγμένο με απλή SQLite· δεν ξεκινά, γιατί το αρχείο δεδομένων ούτε θα διαβαζόταν με τον κωδικό του ούτε θα γραφόταν κρυπτογραφημένο.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; was replaced or changed by another program while it was open: it no longer reads as the book that was opened. Nothing was saved. Note any text not yet saved, close the day and open it again.</source>
        <translation>Το αρχείο δεδομένων «%1» αντικαταστάθηκε ή άλλαξε από άλλο πρόγραμμα ενώ ήταν ανοιχτό: δεν διαβάζεται πια ως το βιβλίο που άνοιξε. Δεν αποθηκεύτηκε τίποτα. Σημειώστε ό,τι κείμενο δεν έχει αποθηκευτεί, κλείστε την ημέρα και ανοίξτε την ξανά.</translation>
    </message>
    <message>
        <source>A query runs one statement; this text holds more: %1</source>
        <translation>Ένα ερώτημα εκτελεί μία εντολή· αυτό το κείμενο έχει περισσότερες: %1</translation>
    </message>
    <message>
        <source>running a statement</source>
        <translation>την εκτέλεση μιας εντολής</translation>
    </message>
    <message>
        <source>A command runs one statement at a time; this text holds more: %1</source>
        <translation>Μια εντολή εκτελείται κάθε φορά· αυτό το κείμενο έχει περισσότερες: %1</translation>
    </message>
    <message>
        <source>A data file needs a database password.</source>
        <translation>Ένα αρχείο δεδομένων χρειάζεται κωδικό βάσης.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; does not exist.</source>
        <translation>Ο φάκελος «%1» δεν υπάρχει.</translation>
    </message>
    <message>
        <source>making it</source>
        <translation>τη δημιουργία του</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; is empty (0 bytes): it is not an Orvella data file. Replace it with a data file made by orvella-datafolder.</source>
        <translation>Το αρχείο δεδομένων «%1» είναι κενό (0 bytes): δεν είναι αρχείο δεδομένων του Orvella. Αντικαταστήστε το με αρχείο δεδομένων φτιαγμένο από το orvella-datafolder.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is an unencrypted database, not an Orvella data file (an Orvella data file is encrypted with its database password).</source>
        <translation>Το αρχείο «%1» είναι μη κρυπτογραφημένη βάση, όχι αρχείο δεδομένων του Orvella (ένα αρχείο δεδομένων του Orvella είναι κρυπτογραφημένο με τον κωδικό της βάσης του).</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is not an Orvella data file: its size (%2 bytes) is not that of one.</source>
        <translation>Το αρχείο «%1» δεν είναι αρχείο δεδομένων του Orvella: το μέγεθός του (%2 bytes) δεν είναι μέγεθος τέτοιου αρχείου.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is not an Orvella data file: it begins with readable text, as files of other formats do, where an encrypted data file begins with random bytes.</source>
        <translation>Το αρχείο «%1» δεν είναι αρχείο δεδομένων του Orvella: αρχίζει με αναγνώσιμο κείμενο, όπως τα αρχεία άλλων μορφών, ενώ ένα κρυπτογραφημένο αρχείο δεδομένων αρχίζει με τυχαία bytes.</translation>
    </message>
    <message>
        <source>making a backup of it</source>
        <translation>τη λήψη αντιγράφου ασφαλείας του</translation>
    </message>
    <message>
        <source>writing the backup</source>
        <translation>την εγγραφή του αντιγράφου ασφαλείας</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; is damaged (%2). Orvella has not written to it and will not. Restore it from a backup.</source>
        <translation>Το αρχείο δεδομένων «%1» είναι χαλασμένο (%2). Το Orvella δεν έγραψε σε αυτό και δεν θα γράψει. Επαναφέρετέ το από αντίγραφο ασφαλείας.</translation>
    </message>
    <message>
        <source>checking it</source>
        <translation>τον έλεγχό του</translation>
    </message>
    <message>
        <source>opening it</source>
        <translation>το άνοιγμά του</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; is a link that leads back to itself (a loop of links), so there is no file to open. Put the data file itself in its place.</source>
        <translation>Το αρχείο δεδομένων «%1» είναι σύνδεσμος που οδηγεί πίσω στον εαυτό του (βρόχος συνδέσμων), άρα δεν υπάρχει αρχείο να ανοίξει. Βάλτε στη θέση του το ίδιο το αρχείο δεδομένων.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; cannot be reached.</source>
        <translation>Το αρχείο δεδομένων «%1» δεν είναι προσβάσιμο.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; may not be read by this user. Allow reading it and try again.</source>
        <translation>Το αρχείο δεδομένων «%1» δεν επιτρέπεται να διαβαστεί από αυτόν τον χρήστη. Επιτρέψτε την ανάγνωσή του και δοκιμάστε ξανά.</translation>
    </message>
    <message>
        <source>The connection text gives no database password for &quot;%1&quot;; Orvella data files are always encrypted with one.</source>
        <translation>Το κείμενο σύνδεσης δεν δίνει κωδικό βάσης για το «%1»· τα αρχεία δεδομένων του Orvella είναι πάντα κρυπτογραφημένα με κωδικό.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; could not be opened: the database password does not match, or the file is not an Orvella data file.</source>
        <translation>Το αρχείο δεδομένων «%1» δεν μπόρεσε να ανοίξει: ο κωδικός της βάσης δεν ταιριάζει, ή το αρχείο δεν είναι αρχείο δεδομένων του Orvella.</translation>
    </message>
    <message>
        <source>Nothing was saved: the data file &quot;%1&quot; was removed or replaced by another program after it was opened. Your text is still shown; note it, then close the day and open it again.</source>
        <translation>Δεν αποθηκεύτηκε τίποτα: το αρχείο δεδομένων «%1» αφαιρέθηκε ή αντικαταστάθηκε από άλλο πρόγραμμα αφού άνοιξε. Το κείμενό σας φαίνεται ακόμη· σημειώστε το, κλείστε την ημέρα και ανοίξτε την ξανά.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; holds no appointment table %2: it is not an Orvella data file, or it is damaged.</source>
        <translation>Το αρχείο δεδομένων «%1» δεν έχει πίνακα ραντεβού %2: δεν είναι αρχείο δεδομένων του Orvella, ή είναι χαλασμένο.</translation>
    </message>
    <message>
        <source>The appointment table of the data file &quot;%1&quot; lacks the column(s) %2: it is not an Orvella data file, or it is damaged.</source>
        <translation>Στον πίνακα ραντεβού του αρχείου δεδομένων «%1» λείπουν οι στήλες %2: δεν είναι αρχείο δεδομένων του Orvella, ή είναι χαλασμένο.</translation>
    </message>
    <message>
        <source>The appointment table of the data file &quot;%1&quot; has column(s) an Orvella data file does not have: %2. Nothing was changed in it. Copy its days into a book made by orvella-datafolder, or remove those columns with the sqlcipher tool.</source>
        <translation>Ο πίνακας ραντεβού του αρχείου δεδομένων «%1» έχει στήλες που δεν έχει ένα αρχείο δεδομένων του Orvella: %2. Δεν άλλαξε τίποτα σε αυτόν. Αντιγράψτε τις ημέρες του σε βιβλίο φτιαγμένο από το orvella-datafolder, ή αφαιρέστε αυτές τις στήλες με το εργαλείο sqlcipher.</translation>
    </message>
    <message>
        <source>The appointment table of the data file &quot;%1&quot; does not have the date %2 as its key, so a day could gain a second record. Nothing was changed in it. Copy its days into a book made by orvella-datafolder.</source>
        <translation>Ο πίνακας ραντεβού του αρχείου δεδομένων «%1» δεν έχει κλειδί την ημερομηνία %2, άρα μια ημέρα θα μπορούσε να αποκτήσει δεύτερη εγγραφή. Δεν άλλαξε τίποτα σε αυτόν. Αντιγράψτε τις ημέρες του σε βιβλίο φτιαγμένο από το orvella-datafolder.</translation>
    </message>
    <message>
        <source>The statement is empty.</source>
        <translation>Η εντολή είναι κενή.</translation>
    </message>
    <message>
        <source>The connection text names no data file (no &quot;Data Source=&quot;): %1</source>
        <translation>Το κείμενο σύνδεσης δεν ονομάζει αρχείο δεδομένων (δεν έχει «Data Source=»): %1</translation>
    </message>
    <message>
        <source>The connection to the data file is not open; open it before running a statement.</source>
        <translation>Η σύνδεση με το αρχείο δεδομένων δεν είναι ανοιχτή· ανοίξτε την πριν εκτελέσετε εντολή.</translation>
    </message>
    <message>
        <source>The data folder&apos;s name &quot;%1&quot; cannot be used: it holds text that would name another data file. Rename the folder (for example without &quot;;&quot; or &quot;=&quot;) and start Orvella there.</source>
        <translation>Το όνομα του φακέλου δεδομένων «%1» δεν μπορεί να χρησιμοποιηθεί: έχει κείμενο που θα ονόμαζε άλλο αρχείο δεδομένων. Μετονομάστε τον φάκελο (για παράδειγμα χωρίς «;» ή «=») και ξεκινήστε εκεί το Orvella.</translation>
    </message>
    <message>
        <source>The statement has a date that does not end (a &quot;#&quot; without its closing &quot;#&quot;): %1</source>
        <translation>Η εντολή έχει ημερομηνία που δεν κλείνει (ένα «#» χωρίς το «#» που το κλείνει): %1</translation>
    </message>
    <message>
        <source>The date #%1# is not a calendar date (month/day/year), so no day record can be found or made for it.</source>
        <translation>Η ημερομηνία #%1# δεν είναι ημερομηνία του ημερολογίου (μήνας/ημέρα/έτος), άρα δεν μπορεί να βρεθεί ή να δημιουργηθεί εγγραφή ημέρας γι᾽ αυτήν.</translation>
    </message>
    <message>
        <source>The day could not be read as a date (its key is &quot;ERROR&quot;), so its record can be neither read nor made.</source>
        <translation>Η ημέρα δεν μπόρεσε να διαβαστεί ως ημερομηνία (το κλειδί της είναι «ERROR»), άρα η εγγραφή της ούτε διαβάζεται ούτε δημιουργείται.</translation>
    </message>
    <message>
        <source>reading the records</source>
        <translation>την ανάγνωση των εγγραφών</translation>
    </message>
    <message>
        <source>saving the record</source>
        <translation>την αποθήκευση της εγγραφής</translation>
    </message>
    <message>
        <source>The appointment table has no column %1.</source>
        <translation>Ο πίνακας ραντεβού δεν έχει στήλη %1.</translation>
    </message>
    <message>
        <source>The appointment table has no column &quot;%1&quot;.</source>
        <translation>Ο πίνακας ραντεβού δεν έχει στήλη «%1».</translation>
    </message>
    <message>
        <source>A range of days needs two valid dates.</source>
        <translation>Ένα διάστημα ημερών χρειάζεται δύο έγκυρες ημερομηνίες.</translation>
    </message>
    <message>
        <source>The data folder &quot;%1&quot; holds both %2 (a book on this computer) and %3 (a book on a server), so it is not clear which book is meant. Move one of the two out of the folder.</source>
        <translation>Ο φάκελος δεδομένων «%1» έχει και το %2 (βιβλίο σε αυτόν τον υπολογιστή) και το %3 (βιβλίο σε διακομιστή), άρα δεν είναι σαφές ποιο βιβλίο εννοείται. Μετακινήστε ένα από τα δύο έξω από τον φάκελο.</translation>
    </message>
    <message>
        <source>The record has no field at position %1; it has %2 fields.</source>
        <translation>Η εγγραφή δεν έχει πεδίο στη θέση %1· έχει %2 πεδία.</translation>
    </message>
    <message>
        <source>The record has no field named &quot;%1&quot;.</source>
        <translation>Η εγγραφή δεν έχει πεδίο με όνομα «%1».</translation>
    </message>
    <message>
        <source>The result has no row %1; it has %2 rows.</source>
        <translation>Το αποτέλεσμα δεν έχει γραμμή %1· έχει %2 γραμμές.</translation>
    </message>
    <message>
        <source>The record cannot be edited: the query is closed.</source>
        <translation>Η εγγραφή δεν μπορεί να αλλάξει: το ερώτημα είναι κλειστό.</translation>
    </message>
    <message>
        <source>There is no record to edit: the result is empty.</source>
        <translation>Δεν υπάρχει εγγραφή για αλλαγή: το αποτέλεσμα είναι κενό.</translation>
    </message>
    <message>
        <source>The field &quot;%1&quot; is computed and cannot be changed.</source>
        <translation>Το πεδίο «%1» υπολογίζεται και δεν μπορεί να αλλάξει.</translation>
    </message>
    <message>
        <source>The text for &quot;%1&quot; is %2 characters long; this field holds at most %3 characters.</source>
        <translation>Το κείμενο για το «%1» έχει μήκος %2 χαρακτήρες· αυτό το πεδίο χωράει έως %3 χαρακτήρες.</translation>
    </message>
    <message>
        <source>The record cannot be saved: the query is closed.</source>
        <translation>Η εγγραφή δεν μπορεί να αποθηκευτεί: το ερώτημα είναι κλειστό.</translation>
    </message>
    <message>
        <source>The record cannot be saved: its changed fields come from more than one table.</source>
        <translation>Η εγγραφή δεν μπορεί να αποθηκευτεί: τα πεδία που άλλαξαν προέρχονται από περισσότερους από έναν πίνακες.</translation>
    </message>
    <message>
        <source>The record cannot be saved: the result does not hold the key of the table %1.</source>
        <translation>Η εγγραφή δεν μπορεί να αποθηκευτεί: το αποτέλεσμα δεν περιέχει το κλειδί του πίνακα %1.</translation>
    </message>
    <message>
        <source>Could not reach %1: %2 Check that the server is running and that this computer may reach it over the network, then try again.</source>
        <translation>Δεν ήταν δυνατή η επικοινωνία με %1: %2 Ελέγξτε ότι ο διακομιστής λειτουργεί και ότι αυτός ο υπολογιστής τον φτάνει μέσω του δικτύου, και δοκιμάστε ξανά.</translation>
    </message>
    <message>
        <source>The server refused the user of %1: %2 Check the user name in the data folder&apos;s server file and the password in this user&apos;s %3.</source>
        <translation>Ο διακομιστής αρνήθηκε τον χρήστη του %1: %2 Ελέγξτε το όνομα χρήστη στο αρχείο διακομιστή του φακέλου δεδομένων και τον κωδικό στο %3 αυτού του χρήστη.</translation>
    </message>
    <message>
        <source>The book %1 does not exist: %2 Check the database name in the data folder&apos;s server file, or ask the administrator to make the book (orvella-datafolder server-init).</source>
        <translation>Το βιβλίο %1 δεν υπάρχει: %2 Ελέγξτε το όνομα της βάσης στο αρχείο διακομιστή του φακέλου δεδομένων, ή ζητήστε από τον διαχειριστή να φτιάξει το βιβλίο (orvella-datafolder server-init).</translation>
    </message>
    <message>
        <source>%1 does not let this user in: %2 Check the user name in the data folder&apos;s server file, and ask the administrator whether the server lets this user in from this computer.</source>
        <translation>%1 δεν δέχεται αυτόν τον χρήστη: %2 Ελέγξτε το όνομα χρήστη στο αρχείο διακομιστή του φακέλου δεδομένων, και ρωτήστε τον διαχειριστή αν ο διακομιστής δέχεται αυτόν τον χρήστη από αυτόν τον υπολογιστή.</translation>
    </message>
    <message>
        <source>%1 could not be trusted: %2 Check that the data folder&apos;s server file names the server as its certificate does and that the office&apos;s certificate authority (sslrootcert, or %3) is the one that signed it.</source>
        <translation>%1 δεν είναι έμπιστο (η γνησιότητα δεν επιβεβαιώθηκε): %2 Ελέγξτε ότι το αρχείο διακομιστή του φακέλου δεδομένων ονομάζει τον διακομιστή όπως το πιστοποιητικό του και ότι η αρχή πιστοποίησης του γραφείου (sslrootcert, ή %3) είναι αυτή που το υπέγραψε.</translation>
    </message>
    <message>
        <source>%1 refused a statement: %2</source>
        <translation>%1 αρνήθηκε μια εντολή: %2</translation>
    </message>
    <message>
        <source>%1 has a table %2 that lacks the column(s) %3; it was left as it is.</source>
        <translation>%1 έχει πίνακα %2 στον οποίο λείπουν οι στήλες %3· έμεινε όπως είναι.</translation>
    </message>
    <message>
        <source>The connection text for the server file &quot;%1&quot;</source>
        <translation>Το κείμενο σύνδεσης του αρχείου διακομιστή «%1»</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot;, line %2,</source>
        <translation>Το αρχείο διακομιστή «%1», γραμμή %2,</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot; does not hold a connection text Orvella can read (%2). It should hold a line such as: %3</source>
        <translation>Το αρχείο διακομιστή «%1» δεν έχει κείμενο σύνδεσης που να διαβάζει το Orvella (%2). Θα έπρεπε να έχει μια γραμμή όπως: %3</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot; holds a password, which Orvella refuses to read from a data folder anybody may copy. Remove it and keep it in the password file (%2) of each desk&apos;s user instead.</source>
        <translation>Το αρχείο διακομιστή «%1» έχει κωδικό, τον οποίο το Orvella αρνείται να διαβάσει από φάκελο δεδομένων που μπορεί να αντιγράψει οποιοσδήποτε. Αφαιρέστε τον και κρατήστε τον στο αρχείο κωδικών (%2) του χρήστη κάθε θέσης εργασίας.</translation>
    </message>
    <message>
        <source>%1 sets %2, which Orvella sets itself for every connection (a connect is waited for at most a few seconds, a dead link noticed within seconds). Remove it from the file.</source>
        <translation>%1 ορίζει το %2, που το Orvella το ορίζει μόνο του σε κάθε σύνδεση (μια σύνδεση περιμένει το πολύ λίγα δευτερόλεπτα, μια χαμένη γραμμή γίνεται αντιληπτή μέσα σε δευτερόλεπτα). Αφαιρέστε το από το αρχείο.</translation>
    </message>
    <message>
        <source>%1 names a server by a %2-character %3; a server&apos;s name has at most %4 characters.</source>
        <translation>%1 ονομάζει τον διακομιστή με %3 %2 χαρακτήρων· το όνομα ενός διακομιστή έχει το πολύ %4 χαρακτήρες.</translation>
    </message>
    <message>
        <source>%1 sets %2=%3, which lets this desk give its password to a server it has not checked. A server on another computer is reached only over an encrypted connection to the server the office&apos;s certificate authority (sslrootcert, or %4) vouches for: remove the setting (sslmode=verify-full is the default) or write sslmode=verify-full.</source>
        <translation>%1 ορίζει %2=%3, που επιτρέπει σε αυτή τη θέση να δώσει τον κωδικό της σε διακομιστή που δεν έχει ελέγξει. Ένας διακομιστής σε άλλον υπολογιστή προσεγγίζεται μόνο με κρυπτογραφημένη σύνδεση προς τον διακομιστή που εγγυάται η αρχή πιστοποίησης του γραφείου (sslrootcert, ή %4): αφαιρέστε τη ρύθμιση (το sslmode=verify-full είναι η προεπιλογή) ή γράψτε sslmode=verify-full.</translation>
    </message>
    <message>
        <source>%1 names the password file &quot;%2&quot;, outside this user&apos;s home folder. Keep the passwords in %3, or in a file of this user&apos;s own under %4.</source>
        <translation>%1 ονομάζει το αρχείο κωδικών «%2», έξω από τον προσωπικό φάκελο αυτού του χρήστη. Κρατήστε τους κωδικούς στο %3, ή σε δικό του αρχείο αυτού του χρήστη κάτω από το %4.</translation>
    </message>
    <message>
        <source>%1 sets %2 to &quot;%3&quot;, which is %4, not an ordinary file.</source>
        <translation>%1 ορίζει το %2 σε «%3», που είναι %4, όχι κανονικό αρχείο.</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot; is %2, not an ordinary file; Orvella does not read it. Put the server file back (orvella-datafolder server-folder makes one).</source>
        <translation>Το αρχείο διακομιστή «%1» είναι %2, όχι κανονικό αρχείο· το Orvella δεν το διαβάζει. Βάλτε πίσω το αρχείο διακομιστή (το φτιάχνει το orvella-datafolder server-folder).</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot; is larger than the %2 bytes a server file may be (it holds one line such as: %3). Put the server file back.</source>
        <translation>Το αρχείο διακομιστή «%1» είναι μεγαλύτερο από τα %2 bytes που επιτρέπονται (έχει μία γραμμή όπως: %3). Βάλτε πίσω το αρχείο διακομιστή.</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot; could not be read: %2</source>
        <translation>Το αρχείο διακομιστή «%1» δεν μπόρεσε να διαβαστεί: %2</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot;, line %2, holds a NUL character: it is not a text file. Put the server file back.</source>
        <translation>Το αρχείο διακομιστή «%1», γραμμή %2, έχει χαρακτήρα NUL: δεν είναι αρχείο κειμένου. Βάλτε πίσω το αρχείο διακομιστή.</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot;, line %2, is not UTF-8 text. Write it again as UTF-8 (the names of a server, a database and a user may hold any letters).</source>
        <translation>Το αρχείο διακομιστή «%1», γραμμή %2, δεν είναι κείμενο UTF-8. Γράψτε το ξανά ως UTF-8 (τα ονόματα διακομιστή, βάσης και χρήστη μπορούν να έχουν οποιαδήποτε γράμματα).</translation>
    </message>
    <message>
        <source>The server file &quot;%1&quot; names no server. It should hold a line such as: %2</source>
        <translation>Το αρχείο διακομιστή «%1» δεν ονομάζει διακομιστή. Θα έπρεπε να έχει μια γραμμή όπως: %2</translation>
    </message>
    <message>
        <source>the server book &quot;%1&quot;</source>
        <translation>το βιβλίο διακομιστή «%1»</translation>
    </message>
    <message>
        <source>the server book of service &quot;%1&quot;</source>
        <translation>το βιβλίο διακομιστή της υπηρεσίας «%1»</translation>
    </message>
    <message>
        <source>(the user&apos;s own)</source>
        <translation>(του ίδιου του χρήστη)</translation>
    </message>
    <message>
        <source>this computer</source>
        <translation>αυτός ο υπολογιστής</translation>
    </message>
    <message>
        <source>the database &quot;%1&quot; on the server &quot;%2&quot;</source>
        <translation>η βάση «%1» στον διακομιστή «%2»</translation>
    </message>
    <message>
        <source>%1 holds no appointment table %2. Ask the administrator to make it there (orvella-datafolder server-init).</source>
        <translation>%1 δεν έχει πίνακα ραντεβού %2. Ζητήστε από τον διαχειριστή να τον φτιάξει εκεί (orvella-datafolder server-init).</translation>
    </message>
    <message>
        <source>The appointment table of %1 lacks the column(s) %2: it is not an Orvella book, or it is damaged.</source>
        <translation>Στον πίνακα ραντεβού του %1 λείπουν οι στήλες %2: δεν είναι βιβλίο του Orvella, ή είναι χαλασμένο.</translation>
    </message>
    <message>
        <source>%1 (while %2)</source>
        <translation>%1 (κατά %2)</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 seconds while %3; the connection was given up. Anything being saved was either saved whole or not at all. Check the network and the server, then try again: your text is still shown.</source>
        <translation>%1 δεν απάντησε μέσα σε %2 δευτερόλεπτα κατά %3· η σύνδεση εγκαταλείφθηκε. Ό,τι αποθηκευόταν είτε αποθηκεύτηκε ολόκληρο είτε καθόλου. Ελέγξτε το δίκτυο και τον διακομιστή και δοκιμάστε ξανά: το κείμενό σας φαίνεται ακόμη.</translation>
    </message>
    <message>
        <source>The connection to %1 was lost while %2 (%3). Anything being saved was either saved whole or not at all. Orvella connects again at the next step once the server is back; your text is still shown.</source>
        <translation>Η σύνδεση με %1 χάθηκε κατά %2 (%3). Ό,τι αποθηκευόταν είτε αποθηκεύτηκε ολόκληρο είτε καθόλου. Το Orvella συνδέεται ξανά στο επόμενο βήμα μόλις επανέλθει ο διακομιστής· το κείμενό σας φαίνεται ακόμη.</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>καμία απάντηση</translation>
    </message>
    <message>
        <source>A record for this day already exists in %1; nothing was changed.</source>
        <translation>Υπάρχει ήδη εγγραφή γι᾽ αυτή την ημέρα στο %1· δεν άλλαξε τίποτα.</translation>
    </message>
    <message>
        <source>%1 holds no appointment table %2 (%3). Ask the administrator to make it there.</source>
        <translation>%1 δεν έχει πίνακα ραντεβού %2 (%3). Ζητήστε από τον διαχειριστή να τον φτιάξει εκεί.</translation>
    </message>
    <message>
        <source>The appointment table of %1 lacks a column Orvella needs (%2): it is not an Orvella book, or it is damaged.</source>
        <translation>Στον πίνακα ραντεβού του %1 λείπει μια στήλη που χρειάζεται το Orvella (%2): δεν είναι βιβλίο του Orvella, ή είναι χαλασμένο.</translation>
    </message>
    <message>
        <source>%1 does not allow this user what Orvella needs while %2 (%3). Ask the administrator to grant SELECT and INSERT on %4 and UPDATE on its slot columns (orvella-datafolder server-init gives them to the role %5).</source>
        <translation>%1 δεν επιτρέπει σε αυτόν τον χρήστη ό,τι χρειάζεται το Orvella κατά %2 (%3). Ζητήστε από τον διαχειριστή να δώσει SELECT και INSERT στο %4 και UPDATE στις στήλες θέσεων (το orvella-datafolder server-init τα δίνει στον ρόλο %5).</translation>
    </message>
    <message>
        <source>%1 was busy with other seats&apos; work while %2 (%3); nothing was changed. Try again in a moment.</source>
        <translation>%1 είχε εργασία άλλων θέσεων κατά %2 (%3)· δεν άλλαξε τίποτα. Δοκιμάστε ξανά σε λίγο.</translation>
    </message>
    <message>
        <source>The disk of the server of %1 is full, so nothing could be written while %2; nothing was changed. Ask the administrator to free space on the server, then try again: your text is still shown.</source>
        <translation>Ο δίσκος του διακομιστή του %1 είναι γεμάτος, άρα δεν γράφτηκε τίποτα κατά %2· δεν άλλαξε τίποτα. Ζητήστε από τον διαχειριστή να ελευθερώσει χώρο στον διακομιστή και δοκιμάστε ξανά: το κείμενό σας φαίνεται ακόμη.</translation>
    </message>
    <message>
        <source>%1 has run out of room for this work while %2 (%3); nothing was changed. Try again in a moment.</source>
        <translation>%1 έμεινε χωρίς χώρο για αυτή την εργασία κατά %2 (%3)· δεν άλλαξε τίποτα. Δοκιμάστε ξανά σε λίγο.</translation>
    </message>
    <message>
        <source>%1 refused a text longer than its field while %2 (%3).</source>
        <translation>%1 αρνήθηκε κείμενο μεγαλύτερο από το πεδίο του κατά %2 (%3).</translation>
    </message>
    <message>
        <source>%1 refused a date while %2 (%3).</source>
        <translation>%1 αρνήθηκε μια ημερομηνία κατά %2 (%3).</translation>
    </message>
    <message>
        <source>%1 refused a value while %2 (%3).</source>
        <translation>%1 αρνήθηκε μια τιμή κατά %2 (%3).</translation>
    </message>
    <message>
        <source>%1 stopped serving while %2 (%3). Anything being saved was either saved whole or not at all; try again once the server is back.</source>
        <translation>%1 σταμάτησε να εξυπηρετεί κατά %2 (%3). Ό,τι αποθηκευόταν είτε αποθηκεύτηκε ολόκληρο είτε καθόλου· δοκιμάστε ξανά μόλις επανέλθει ο διακομιστής.</translation>
    </message>
    <message>
        <source>%1 reported an error while %2: %3 (%4).</source>
        <translation>%1 ανέφερε σφάλμα κατά %2: %3 (%4).</translation>
    </message>
    <message>
        <source>The appointment table has no date column %1.</source>
        <translation>Ο πίνακας ραντεβού δεν έχει στήλη ημερομηνίας %1.</translation>
    </message>
    <message>
        <source>%1 did not answer while saving the record, and nothing of it was saved (the server was asked again). Your text is still shown: press ✓ again to save it.</source>
        <translation>%1 δεν απάντησε κατά την αποθήκευση της εγγραφής, και δεν αποθηκεύτηκε τίποτα από αυτήν (ο διακομιστής ρωτήθηκε ξανά). Το κείμενό σας φαίνεται ακόμη: πατήστε ξανά ✓ για να αποθηκευτεί.</translation>
    </message>
    <message>
        <source>%1 already holds %2 day(s); nothing was copied. Copy with --merge to add the file&apos;s days and fill only the server&apos;s free slots.</source>
        <translation>%1 έχει ήδη %2 ημέρα(ες)· δεν αντιγράφηκε τίποτα. Αντιγράψτε με --merge για να προστεθούν οι ημέρες του αρχείου και να συμπληρωθούν μόνο οι ελεύθερες θέσεις του διακομιστή.</translation>
    </message>
    <message>
        <source>The copy to %1 did not add up (%2 days before, %3 added, %4 after); nothing was copied.</source>
        <translation>Η αντιγραφή στο %1 δεν συμφωνεί (%2 ημέρες πριν, %3 προστέθηκαν, %4 μετά)· δεν αντιγράφηκε τίποτα.</translation>
    </message>
    <message>
        <source>copying the server book into it</source>
        <translation>την αντιγραφή του βιβλίου του διακομιστή σε αυτό</translation>
    </message>
    <message>
        <source>The copy of %1 read back differently; nothing was made.</source>
        <translation>Το αντίγραφο του %1 διαβάστηκε διαφορετικό· δεν φτιάχτηκε τίποτα.</translation>
    </message>
    <message>
        <source>reading the book</source>
        <translation>την ανάγνωση του βιβλίου</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; holds no appointment table; it is not an Orvella data file.</source>
        <translation>Το βιβλίο «%1» δεν έχει πίνακα ραντεβού· δεν είναι αρχείο δεδομένων του Orvella.</translation>
    </message>
    <message>
        <source>writing the new book</source>
        <translation>την εγγραφή του νέου βιβλίου</translation>
    </message>
    <message>
        <source>A slot to book has no valid day.</source>
        <translation>Ένα μισάωρο προς καταχώριση δεν έχει έγκυρη ημέρα.</translation>
    </message>
    <message>
        <source>The day %1 has no slot %2; slots are 0 to %3.</source>
        <translation>Η ημέρα %1 δεν έχει μισάωρο %2· τα μισάωρα είναι 0 έως %3.</translation>
    </message>
    <message>
        <source>The text for %1 is empty: nothing to book.</source>
        <translation>Το κείμενο για %1 είναι κενό: τίποτα για καταχώριση.</translation>
    </message>
    <message>
        <source>The text for %1 holds the character U+0000, which the book does not keep.</source>
        <translation>Το κείμενο για %1 περιέχει τον χαρακτήρα U+0000, που το βιβλίο δεν κρατά.</translation>
    </message>
    <message>
        <source>The text for %1 is %2 characters long; a slot holds at most %3 characters.</source>
        <translation>Το κείμενο για %1 έχει μήκος %2 χαρακτήρες· ένα μισάωρο χωρά το πολύ %3 χαρακτήρες.</translation>
    </message>
    <message>
        <source>The book made %1 of the %2 day records to write into; nothing was saved.</source>
        <translation>Το βιβλίο έφτιαξε %1 από τις %2 εγγραφές ημερών για εγγραφή· δεν αποθηκεύτηκε τίποτα.</translation>
    </message>
    <message>
        <source>The connection to %1 was lost while %2; nothing of it was saved. Try again once the server is back.</source>
        <translation>Η σύνδεση με %1 χάθηκε κατά %2· δεν αποθηκεύτηκε τίποτα από αυτό. Δοκιμάστε ξανά μόλις επανέλθει ο διακομιστής.</translation>
    </message>
    <message>
        <source>A transaction on the server was begun inside another.</source>
        <translation>Μια συναλλαγή στον διακομιστή ξεκίνησε μέσα σε άλλη.</translation>
    </message>
    <message>
        <source>A day&apos;s write names %1 slots; the book has %2.</source>
        <translation>Η εγγραφή μιας ημέρας ονομάζει %1 θέσεις· το βιβλίο έχει %2.</translation>
    </message>
    <message>
        <source>%1 wrote %2 of %3 days; nothing was saved.</source>
        <translation>%1 έγραψε %2 από τις %3 ημέρες· δεν αποθηκεύτηκε τίποτα.</translation>
    </message>
    <message>
        <source>The book &quot;%1&quot; can only be read back through a handle open on it outside any transaction.</source>
        <translation>Το βιβλίο «%1» διαβάζεται ξανά μόνο μέσω ενός χειριστηρίου ανοιχτού σε αυτό έξω από κάθε συναλλαγή.</translation>
    </message>
    <message>
        <source>The new book &quot;%1&quot; is read back only once it is written whole.</source>
        <translation>Το νέο βιβλίο «%1» διαβάζεται ξανά μόνο αφού γραφτεί ολόκληρο.</translation>
    </message>
    <message>
        <source>The day %1 has no record to write into; nothing was saved.</source>
        <translation>Η ημέρα %1 δεν έχει εγγραφή για να γραφτεί· δεν αποθηκεύτηκε τίποτα.</translation>
    </message>
    <message>
        <source>Waiting for %1 to answer while %2…</source>
        <translation>Αναμονή να απαντήσει %1 κατά %2…</translation>
    </message>
    <message>
        <source>Orvella is still waiting for %1 to answer while %2, so %3 has to wait. Try again once the server has answered.</source>
        <translation>Το Orvella περιμένει ακόμη να απαντήσει %1 κατά %2· ό,τι ζητήθηκε κατά %3 δεν έγινε. Δοκιμάστε ξανά μόλις απαντήσει ο διακομιστής.</translation>
    </message>
    <message>
        <source>Waiting for %1 to take the connection while %2…</source>
        <translation>Αναμονή να δεχτεί τη σύνδεση %1 κατά %2…</translation>
    </message>
</context>
</TS>
