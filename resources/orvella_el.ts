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

The data folder "%1" is there, but the book %2 is not in it: it was deleted or moved, or it is kept on a disk that is not connected now. Orvella has not made a new, empty book in its place, so that none of your appointments is hidden or replaced.

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
        <source>Don't Save</source>
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
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>The day %1 lies outside the calendar's years %2 to %3 and cannot be opened.</source>
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
        <source>Or copy the default one there from "%1".</source>
        <translation>Ή αντιγράψτε εκεί το προεπιλεγμένο από το «%1».</translation>
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
        <source>The calendar "%1" is not there.</source>
        <translation>Το ημερολόγιο "%1" δεν υπάρχει.</translation>
    </message>
    <message>
        <source>The calendar "%1" is larger than %2 MB; nothing was read. Export fewer days from the other calendar.</source>
        <translation>Το ημερολόγιο "%1" είναι μεγαλύτερο από %2 MB· δεν διαβάστηκε τίποτα. Εξαγάγετε λιγότερες ημέρες από το άλλο ημερολόγιο.</translation>
    </message>
    <message>
        <source>"%1" is %2, not a calendar file; nothing was read.</source>
        <translation>Το "%1" είναι %2, όχι αρχείο ημερολογίου· δεν διαβάστηκε τίποτα.</translation>
    </message>
    <message>
        <source>The calendar "%1" could not be read (%2).</source>
        <translation>Το ημερολόγιο "%1" δεν ήταν δυνατό να διαβαστεί (%2).</translation>
    </message>
    <message>
        <source>The calendar "%1" could not be read: %2</source>
        <translation>Το ημερολόγιο "%1" δεν ήταν δυνατό να διαβαστεί: %2</translation>
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
    <name>orvella-datafolder</name>
    <message>
        <source>usage: orvella-datafolder &lt;folder&gt;
Makes &lt;folder&gt; (if missing) with an empty, encrypted data.mdb and the default day sheet RANTEBOU.rav. Existing files are never overwritten. orvella-datafolder --help lists every command.</source>
        <translation>χρήση: orvella-datafolder &lt;φάκελος&gt;
Φτιάχνει τον &lt;φάκελο&gt; (αν λείπει) με κενό, κρυπτογραφημένο data.mdb και το προεπιλεγμένο φύλλο ημέρας RANTEBOU.rav. Αρχεία που υπάρχουν δεν αντικαθίστανται ποτέ. Το orvella-datafolder --help δείχνει όλες τις εντολές.</translation>
    </message>
    <message>
        <source>"%1" exists and is not a folder.</source>
        <translation>Το «%1» υπάρχει και δεν είναι φάκελος.</translation>
    </message>
    <message>
        <source>The folder "%1" could not be made.</source>
        <translation>Ο φάκελος «%1» δεν μπόρεσε να δημιουργηθεί.</translation>
    </message>
    <message>
        <source>"%1" already exists; nothing was changed.</source>
        <translation>Το «%1» υπάρχει ήδη· δεν άλλαξε τίποτα.</translation>
    </message>
    <message>
        <source>made %1</source>
        <translation>δημιουργήθηκε το %1</translation>
    </message>
    <message>
        <source>usage: orvella-datafolder --import-ics FILE FOLDER [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--tz ZONE]
Books the events of the iCalendar file FILE into the free half hours of the data folder FOLDER's book (times local to ZONE, Europe/Athens unless given; --from and --to keep the days between them, both included). A half hour holding text is never written over; what is skipped is listed before anything is written, and everything is written at once or not at all.</source>
        <translation>χρήση: orvella-datafolder --import-ics ΑΡΧΕΙΟ ΦΑΚΕΛΟΣ [--from ΕΕΕΕ-ΜΜ-ΗΗ] [--to ΕΕΕΕ-ΜΜ-ΗΗ] [--tz ΖΩΝΗ]
Καταχωρίζει τα γεγονότα του αρχείου iCalendar ΑΡΧΕΙΟ στα ελεύθερα μισάωρα του βιβλίου του φακέλου δεδομένων ΦΑΚΕΛΟΣ (ώρες τοπικές της ΖΩΝΗΣ, Europe/Athens αν δεν δοθεί· τα --from και --to κρατούν τις ημέρες ανάμεσά τους, μαζί με αυτές). Ένα μισάωρο με κείμενο δεν γράφεται ποτέ από πάνω· ό,τι παραλείπεται αναφέρεται πριν γραφτεί οτιδήποτε, και όλα γράφονται μαζί ή καθόλου.</translation>
    </message>
    <message>
        <source>%1 needs a value.</source>
        <translation>Το %1 χρειάζεται τιμή.</translation>
    </message>
    <message>
        <source>%1 "%2" is not a day written as YYYY-MM-DD.</source>
        <translation>Το %1 "%2" δεν είναι ημέρα γραμμένη ως ΕΕΕΕ-ΜΜ-ΗΗ.</translation>
    </message>
    <message>
        <source>unknown option "%1".</source>
        <translation>άγνωστη επιλογή "%1".</translation>
    </message>
    <message>
        <source>give the calendar file to read and the data folder.</source>
        <translation>δώστε το αρχείο ημερολογίου προς ανάγνωση και τον φάκελο δεδομένων.</translation>
    </message>
    <message>
        <source>--from %1 comes after --to %2.</source>
        <translation>το --from %1 είναι μετά το --to %2.</translation>
    </message>
    <message>
        <source>"%1" is no time zone this system knows (write it as Europe/Athens).</source>
        <translation>Το "%1" δεν είναι ζώνη ώρας που γνωρίζει αυτό το σύστημα (γράψτε την όπως Europe/Athens).</translation>
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
  FOLDER                                   make a data folder: an empty, encrypted data.mdb and RANTEBOU.rav
  --import OLD.mdb [--password P] [--into] FOLDER   bring the days of an older appointment book in
  --export-ics FOLDER FILE [options]      write the book as an iCalendar file for other calendars
  --export-csv FOLDER FILE [options]      write the book as a CSV table
  --import-ics FILE FOLDER [options]      book another calendar's events into the free half hours
  --list-backups FOLDER                   list the daily copies of the book, newest first
  --restore BACKUP FOLDER                 put a daily copy back as the folder's data.mdb
  server-folder FOLDER CONNECTION         make a data folder naming a book on a server (server.book)
  server-init SERVER-FOLDER               make the appointment table and its change trigger on the server
  copy-up FOLDER SERVER-FOLDER [--merge]  copy the folder's book up to the server
  copy-down SERVER-FOLDER NEW-FOLDER      copy the server's book down into a new data.mdb
  --help                                  show this list
</source>
        <translation>χρήση: orvella-datafolder ΕΝΤΟΛΗ ...
  ΦΑΚΕΛΟΣ                                  φτιάχνει φάκελο δεδομένων: κενό, κρυπτογραφημένο data.mdb και RANTEBOU.rav
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
        <source>"%1" is a folder; name a file in it.</source>
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
    <message>
        <source>The data file "%1" is missing, but its folder keeps backups of it in "%2". Close Orvella and list them, newest first, with the command that puts one back:

orvella-datafolder --list-backups "%3"</source>
        <translation>Το αρχείο δεδομένων «%1» λείπει, αλλά ο φάκελός του κρατά αντίγραφα ασφαλείας του στο «%2». Κλείστε το Orvella και δείτε τα, από το νεότερο, μαζί με την εντολή που επαναφέρει ένα από αυτά:

orvella-datafolder --list-backups "%3"</translation>
    </message>
    <message>
        <source>The data file "%1" does not exist. Start Orvella in the folder that holds data.mdb, or make a new data folder with orvella-datafolder.</source>
        <translation>Το αρχείο δεδομένων «%1» δεν υπάρχει. Ξεκινήστε το Orvella στον φάκελο που περιέχει το data.mdb ή φτιάξτε νέο φάκελο δεδομένων με το orvella-datafolder.</translation>
    </message>
    <message>
        <source>The newest good backup is "%1", made on %2. Close Orvella and put it back with this command in a terminal:

%3

A book it replaces is kept beside it, never deleted.</source>
        <translation>Το νεότερο καλό αντίγραφο ασφαλείας είναι το «%1», από τις %2. Κλείστε το Orvella και επαναφέρετέ το με αυτή την εντολή σε τερματικό:

%3

Το βιβλίο που αντικαθιστά μένει δίπλα του· δεν διαγράφεται ποτέ.</translation>
    </message>
    <message>
        <source>No good backup was found in "%1". Keep the file as it is and ask for help before anything is written to the folder "%2".</source>
        <translation>Δεν βρέθηκε καλό αντίγραφο ασφαλείας στο «%1». Αφήστε το αρχείο όπως είναι και ζητήστε βοήθεια πριν γραφτεί οτιδήποτε στον φάκελο «%2».</translation>
    </message>
    <message>
        <source>Today's backup of the data file "%1" could not be made: the data folder "%2" (or the book in it) cannot be written by this user, so appointments can be looked at but no change to them can be saved either. Allow writing to the folder and the book, or copy the data folder to a place that allows it, and start Orvella again.</source>
        <translation>Το σημερινό αντίγραφο ασφαλείας του αρχείου δεδομένων «%1» δεν μπόρεσε να γίνει: ο φάκελος δεδομένων «%2» (ή το βιβλίο μέσα του) δεν επιτρέπει εγγραφή σε αυτόν τον χρήστη, οπότε τα ραντεβού φαίνονται αλλά καμία αλλαγή τους δεν μπορεί να αποθηκευτεί. Επιτρέψτε την εγγραφή στον φάκελο και στο βιβλίο ή αντιγράψτε τον φάκελο δεδομένων σε θέση που την επιτρέπει, και ξεκινήστε πάλι το Orvella.</translation>
    </message>
    <message>
        <source>Today's backup of the data file "%1" could not be made: %2

Your appointments are not affected and you can go on working; Orvella tries again at its next start. Make sure the folder "%3" can be written and its disk has free space.</source>
        <translation>Το σημερινό αντίγραφο ασφαλείας του αρχείου δεδομένων «%1» δεν μπόρεσε να γίνει: %2

Τα ραντεβού σας δεν επηρεάζονται και μπορείτε να συνεχίσετε τη δουλειά· το Orvella θα ξαναδοκιμάσει στην επόμενη εκκίνηση. Βεβαιωθείτε ότι ο φάκελος «%3» επιτρέπει εγγραφή και ότι ο δίσκος του έχει ελεύθερο χώρο.</translation>
    </message>
</context>
</TS>
