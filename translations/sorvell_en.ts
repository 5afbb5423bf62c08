<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="nl_NL">
<context>
    <name>AboutBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Afbeelding van de WD10-decoder</source>
        <translation>Picture of the WD10 decoder</translation>
    </message>
    <message>
        <source>Version 1.0</source>
        <translation>Version 1.0</translation>
    </message>
</context>
<context>
    <name>DecoderForm</name>
    <message>
        <source>Decoderadres: %1</source>
        <translation>Decoder address: %1</translation>
    </message>
</context>
<context>
    <name>DecoderHistoryFile</name>
    <message>
        <source>regel %1 van de geschiedenis</source>
        <translation>line %1 of the history</translation>
    </message>
    <message>
        <source> is afgebroken (een onderbroken schrijfbeurt)</source>
        <translation> is cut short (an interrupted write)</translation>
    </message>
    <message>
        <source> is onleesbaar</source>
        <translation> cannot be read</translation>
    </message>
    <message>
        <source>is onleesbaar</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>niet alles kon worden geschreven; is de schijf vol?</source>
        <translation>not everything could be written; is the disk full?</translation>
    </message>
</context>
<context>
    <name>DecoderList</name>
    <message>
        <source>nog niet</source>
        <translation>not yet</translation>
    </message>
    <message>
        <source>geprogrammeerd op %1 via %2</source>
        <translation>programmed on %1 via %2</translation>
    </message>
    <message>
        <source>niet bevestigd op %1 via %2</source>
        <translation>not confirmed on %1 via %2</translation>
    </message>
    <message>
        <source>mislukt op %1: %2</source>
        <translation>failed on %1: %2</translation>
    </message>
</context>
<context>
    <name>DecoderListCsv</name>
    <message>
        <source>Naam</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Eerste wisseladres</source>
        <translation>First turnout address</translation>
    </message>
    <message>
        <source>Wisselnummers</source>
        <translation>Turnout numbers</translation>
    </message>
    <message>
        <source>Decoderadres</source>
        <translation>Decoder address</translation>
    </message>
    <message>
        <source>Modus groep A</source>
        <translation>Mode group A</translation>
    </message>
    <message>
        <source>Modus groep B</source>
        <translation>Mode group B</translation>
    </message>
    <message>
        <source>Laatste resultaat</source>
        <translation>Last result</translation>
    </message>
    <message>
        <source>de aanhalingstekens in deze rij kloppen niet</source>
        <translation>the quotation marks in this row do not match</translation>
    </message>
    <message>
        <source>kolom &quot;%1&quot; ontbreekt</source>
        <translation>column &quot;%1&quot; is missing</translation>
    </message>
    <message>
        <source>eerste wisseladres &quot;%1&quot; is geen getal</source>
        <translation>first turnout address &quot;%1&quot; is not a number</translation>
    </message>
    <message>
        <source>eerste wisseladres %1 ligt buiten %2 tot en met %3</source>
        <translation>first turnout address %1 is outside %2 to %3</translation>
    </message>
    <message>
        <source>onbekende modus &quot;%1&quot; in groep %2</source>
        <translation>unknown mode &quot;%1&quot; in group %2</translation>
    </message>
    <message>
        <source>Niets gelezen: de kopregel mist de kolom(men) %1.</source>
        <translation>Nothing read: the header lacks the column(s) %1.</translation>
    </message>
    <message>
        <source>Niets gelezen: het bestand heeft meer dan %1 rijen, meer decoders dan een baan kan hebben.</source>
        <translation>Nothing read: the file has more than %1 rows, more decoders than a layout can have.</translation>
    </message>
    <message>
        <source>Rij %1: %2.</source>
        <translation>Row %1: %2.</translation>
    </message>
</context>
<context>
    <name>DecoderListDelegate</name>
    <message>
        <source>Eerste wisseladres</source>
        <translation>First turnout address</translation>
    </message>
    <message>
        <source> Het eerste wisseladres blijft %1.</source>
        <translation> The first turnout address stays %1.</translation>
    </message>
    <message>
        <source>De gekozen Centrale kan een decoder met eerste wisseladres %1 niet bereiken; het hoogste eerste adres van een decoder is %2.</source>
        <translation>The chosen command station cannot reach a decoder with first turnout address %1; the highest first address of a decoder is %2.</translation>
    </message>
    <message>
        <source>Het dichtstbij liggen %1 en %2.</source>
        <translation>The nearest are %1 and %2.</translation>
    </message>
    <message>
        <source>Het dichtstbij ligt %1.</source>
        <translation>The nearest is %1.</translation>
    </message>
    <message>
        <source>%1 is geen eerste adres van een decoder: een WD10 beslaat acht wisseladressen en begint bij 1, 9, 17, 25, … </source>
        <translation>%1 is not the first address of a decoder: a WD10 takes up eight turnout addresses and starts at 1, 9, 17, 25, … </translation>
    </message>
    <message>
        <source>Mode van Groep A</source>
        <translation>Mode of group A</translation>
    </message>
    <message>
        <source>Mode van Groep B</source>
        <translation>Mode of group B</translation>
    </message>
    <message>
        <source>Naam</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>DecoderListJson</name>
    <message>
        <source>is onleesbaar</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>heeft een ongeldige waarde bij &quot;%1%2&quot;</source>
        <translation>has an invalid value at &quot;%1%2&quot;</translation>
    </message>
</context>
<context>
    <name>DecoderListModel</name>
    <message>
        <source>Een andere decoder in de lijst heeft hetzelfde eerste adres.</source>
        <translation>Another decoder in the list has the same first address.</translation>
    </message>
    <message>
        <source>De gekozen Centrale kan dit adres niet bereiken; het hoogste eerste adres is %1.</source>
        <translation>The chosen command station cannot reach this address; the highest first address is %1.</translation>
    </message>
    <message>
        <source>%1–%2 (decoder %3)</source>
        <translation>%1–%2 (decoder %3)</translation>
    </message>
    <message>
        <source> (dubbel)</source>
        <translation> (twice)</translation>
    </message>
    <message>
        <source> (onbereikbaar)</source>
        <translation> (out of reach)</translation>
    </message>
    <message>
        <source>Naam</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Eerste wisseladres</source>
        <translation>First turnout address</translation>
    </message>
    <message>
        <source>Groep A</source>
        <translation>Group A</translation>
    </message>
    <message>
        <source>Groep B</source>
        <translation>Group B</translation>
    </message>
    <message>
        <source>Laatste resultaat</source>
        <translation>Last result</translation>
    </message>
</context>
<context>
    <name>DecoderListStore</name>
    <message>
        <source>decoder %1</source>
        <translation>decoder %1</translation>
    </message>
    <message>
        <source>decoder %1 (&quot;%2&quot;)</source>
        <translation>decoder %1 (&quot;%2&quot;)</translation>
    </message>
    <message>
        <source>op die plaats staat een map</source>
        <translation>there is a folder in its place</translation>
    </message>
    <message>
        <source>het bestand kan niet worden geopend (%1)</source>
        <translation>the file cannot be opened (%1)</translation>
    </message>
    <message>
        <source>het bestand kan niet worden gelezen (%1)</source>
        <translation>the file cannot be read (%1)</translation>
    </message>
    <message>
        <source>de inhoud is geen leesbare lijst (fout bij teken %1)</source>
        <translation>its contents are not a readable list (error at character %1)</translation>
    </message>
    <message>
        <source>de inhoud is geen decoderlijst</source>
        <translation>its contents are not a decoder list</translation>
    </message>
    <message>
        <source>het is versie %1 van de lijst; dit programma kent versie %2</source>
        <translation>it is version %1 of the list; this program knows version %2</translation>
    </message>
    <message>
        <source>een ander Sorvell-venster houdt de lijst al te lang vast</source>
        <translation>another Sorvell window has been holding the list too long</translation>
    </message>
    <message>
        <source>in de map mag niet worden geschreven</source>
        <translation>the folder may not be written to</translation>
    </message>
    <message>
        <source>de lijst kan niet worden vergrendeld</source>
        <translation>the list cannot be locked</translation>
    </message>
    <message>
        <source>%1: %2.
Het bestand blijft zoals het is: %3
Wijzigingen worden deze keer niet bewaard; bij de volgende start probeert Sorvell het opnieuw.</source>
        <translation>%1: %2.
The file stays as it is: %3
Changes are not kept this time; Sorvell tries again at the next start.</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet worden gelezen: %1.
Het bestand blijft zoals het is: %2
Sorvell begint met een lege lijst en bewaart die voortaan als %3.</source>
        <translation>The decoder list cannot be read: %1.
The file stays as it is: %2
Sorvell starts with an empty list and from now on keeps it as %3.</translation>
    </message>
    <message>
        <source>De decoderlijst kan nu niet worden gelezen</source>
        <translation>The decoder list cannot be read now</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet in de nieuwe vorm worden bewaard</source>
        <translation>The decoder list cannot be saved in its new form</translation>
    </message>
    <message>
        <source>De geschiedenis kan nu niet worden gelezen</source>
        <translation>The history cannot be read now</translation>
    </message>
    <message>
        <source>… en nog %1.</source>
        <translation>… and %1 more.</translation>
    </message>
    <message>
        <source>Niet alles in de decoderlijst kan worden gelezen; al het andere is gelezen. Deze waarden blijven in %1 zoals ze stonden:
</source>
        <translation>Not everything in the decoder list can be read; all the rest has been read. These values stay in %1 as they were:
</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet worden bewaard in %1: %2.</source>
        <translation>The decoder list cannot be saved in %1: %2.</translation>
    </message>
    <message>
        <source>de map %1 kan niet worden gemaakt</source>
        <translation>the folder %1 cannot be made</translation>
    </message>
    <message>
        <source>; het blijft zoals het is</source>
        <translation>; it stays as it is</translation>
    </message>
</context>
<context>
    <name>DecoderListWindow</name>
    <message>
        <source>Decoderlijst opslaan als</source>
        <translation>Save decoder list as</translation>
    </message>
    <message>
        <source>Decoderlijst openen</source>
        <translation>Open decoder list</translation>
    </message>
    <message>
        <source>Spreadsheet (*.csv);;Alle bestanden (*)</source>
        <translation>Spreadsheet (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>decoderlijst.csv</source>
        <translation>decoder-list.csv</translation>
    </message>
    <message>
        <source>decoder</source>
        <translation>decoder</translation>
    </message>
    <message>
        <source>decoders</source>
        <translation>decoders</translation>
    </message>
    <message>
        <source>rij</source>
        <translation>row</translation>
    </message>
    <message>
        <source>rijen</source>
        <translation>rows</translation>
    </message>
    <message>
        <source>wordt</source>
        <translation>is</translation>
    </message>
    <message>
        <source>worden</source>
        <translation>are</translation>
    </message>
    <message>
        <source>is</source>
        <translation>is</translation>
    </message>
    <message>
        <source>zijn</source>
        <translation>are</translation>
    </message>
    <message>
        <source>Decoderlijst</source>
        <translation>Decoder list</translation>
    </message>
    <message>
        <source>Decoders</source>
        <translation>Decoders</translation>
    </message>
    <message>
        <source>Toelichting bij het eerste wisseladres</source>
        <translation>Note on the first turnout address</translation>
    </message>
    <message>
        <source>Toevoegen</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Verwijderen</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Omhoog</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Omlaag</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Kies</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>Zet het adres en de modes van deze decoder in het hoofdvenster</source>
        <translation>Puts the address and the modes of this decoder in the main window</translation>
    </message>
    <message>
        <source>Programmeer reeks</source>
        <translation>Program series</translation>
    </message>
    <message>
        <source>Programmeert de gekozen decoders, of alle die nog niet geprogrammeerd zijn, een voor een</source>
        <translation>Programs the chosen decoders, or all not yet programmed, one after the other</translation>
    </message>
    <message>
        <source>Openen…</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>Opslaan als…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Sluiten</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>De decoderlijst kon niet worden opgeslagen in %1.</source>
        <translation>The decoder list could not be saved in %1.</translation>
    </message>
    <message>
        <source>Decoder %1</source>
        <translation>Decoder %1</translation>
    </message>
    <message>
        <source>Maak eerst verbinding met de Centrale in het hoofdvenster; daarna kan de reeks beginnen.</source>
        <translation>Connect to the command station in the main window first; then the series can begin.</translation>
    </message>
    <message>
        <source>Alle decoders in de lijst zijn al geprogrammeerd. Kies de decoders die opnieuw geprogrammeerd moeten worden en druk dan op &quot;Programmeer reeks&quot;.</source>
        <translation>Every decoder in the list has been programmed. Choose the decoders to program again and then press &quot;Program series&quot;.</translation>
    </message>
    <message>
        <source> De lijst blijft zoals hij was.</source>
        <translation> The list stays as it was.</translation>
    </message>
    <message>
        <source>%1 is groter dan %2 MB, veel groter dan de decoderlijst van een baan; er is niets uit gelezen.</source>
        <translation>%1 is larger than %2 MB, far larger than a layout&apos;s decoder list; nothing was read from it.</translation>
    </message>
    <message>
        <source>%1 kon niet worden gelezen.</source>
        <translation>%1 could not be read.</translation>
    </message>
    <message>
        <source>Uit %1 is geen enkele decoder gelezen.</source>
        <translation>Not a single decoder was read from %1.</translation>
    </message>
    <message>
        <source>De %1 in de lijst %2 vervangen door de %3 uit %4.</source>
        <translation>The %1 in the list %2 replaced by the %3 from %4.</translation>
    </message>
    <message>
        <source> %1 uit het bestand %2 overgeslagen.</source>
        <translation> %1 of the file %2 skipped.</translation>
    </message>
    <message>
        <source> De geschiedenis van de runs blijft bewaard.</source>
        <translation> The history of the runs is kept.</translation>
    </message>
    <message>
        <source>%1 uit %2 %3 overgeslagen:</source>
        <translation>%1 from %2 %3 skipped:</translation>
    </message>
    <message>
        <source>De decoderlijst kon niet worden opgeslagen als %1.</source>
        <translation>The decoder list could not be saved as %1.</translation>
    </message>
</context>
<context>
    <name>DecoderModel</name>
    <message>
        <source>4 uitgangen als impuls (LS100)</source>
        <translation>4 outputs pulsed (LS100)</translation>
    </message>
    <message>
        <source>4 uitgangen als impuls (K83)</source>
        <translation>4 outputs pulsed (K83)</translation>
    </message>
    <message>
        <source>4 uitgangen als aan/uit (K84)</source>
        <translation>4 outputs on/off (K84)</translation>
    </message>
    <message>
        <source>Verlichtingsmode</source>
        <translation>Lighting mode</translation>
    </message>
    <message>
        <source>Sein met 2 begrippen</source>
        <translation>Signal with 2 aspects</translation>
    </message>
    <message>
        <source>Sein met 4 begrippen</source>
        <translation>Signal with 4 aspects</translation>
    </message>
    <message>
        <source>NS-Sein met 4 begrippen</source>
        <translation>NS signal with 4 aspects</translation>
    </message>
</context>
<context>
    <name>DecoderSeries</name>
    <message>
        <source>(zonder naam)</source>
        <translation>(no name)</translation>
    </message>
    <message>
        <source>Decoder %1 van %2: %3
Wisseladressen %4–%5 (decoder %6), Groep A: %7, Groep B: %8.

Zet deze decoder in de leerstand: houd zijn programmeertoets ingedrukt tot de leds van Groep A en Groep B samen aangaan, en laat de toets dan los.
Druk daarna op OK. Annuleren beëindigt de reeks.</source>
        <translation>Decoder %1 of %2: %3
Turnout addresses %4–%5 (decoder %6), group A: %7, group B: %8.

Put this decoder in learning mode: hold its programming button down until the LEDs of group A and group B light together, then let go of the button.
Then press OK. Cancel ends the series.</translation>
    </message>
    <message>
        <source>%1 (wisseladressen %2–%3) heeft zijn adres en modes ontvangen%4.
Druk nu op de programmeerknop van de WD10.</source>
        <translation>%1 (turnout addresses %2–%3) has received its address and modes%4.
Now press the programming button of the WD10.</translation>
    </message>
    <message>
        <source>, maar de Centrale heeft niets bevestigd</source>
        <translation>, but the command station confirmed nothing</translation>
    </message>
    <message>
        <source>
Het hoofdvenster is tijdens de run gewijzigd: de decoder heeft %1, Groep A: %2, Groep B: %3 geleerd, en dat staat nu in de lijst.</source>
        <translation>
The main window was changed during the run: the decoder has learnt %1, group A: %2, group B: %3, and that is now in the list.</translation>
    </message>
</context>
<context>
    <name>ExceptionDisplay</name>
    <message>
        <source>

U hebt geen toegang tot %1. Voeg uw gebruiker toe aan de groep &quot;%2&quot; (sudo adduser $USER %2), meld u af en weer aan, en probeer het opnieuw.</source>
        <translation>

You have no access to %1. Add your user to the group &quot;%2&quot; (sudo adduser $USER %2), log out and in again, and try once more.</translation>
    </message>
    <message>
        <source>deze poort</source>
        <translation>this port</translation>
    </message>
    <message>
        <source>

De verbinding met de poort is weggevallen. Is de USB-adapter losgetrokken of de centrale uitgeschakeld? Sluit het programma, sluit de adapter weer aan en start opnieuw.</source>
        <translation>

The connection to the port has gone. Was the USB adapter pulled out or the command station switched off? Close the program, plug the adapter back in and start again.</translation>
    </message>
</context>
<context>
    <name>LineLed</name>
    <message>
        <source>Verbinding</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Draaggolf (RLSD)</source>
        <translation>Carrier (RLSD)</translation>
    </message>
    <message>
        <source>Belsignaal</source>
        <translation>Ring</translation>
    </message>
    <message>
        <source>Ontvangen</source>
        <translation>Receive</translation>
    </message>
    <message>
        <source>Verzenden</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>aan</source>
        <translation>on</translation>
    </message>
    <message>
        <source>uit</source>
        <translation>off</translation>
    </message>
</context>
<context>
    <name>LinkFactory</name>
    <message>
        <source>Kies Compoort</source>
        <translation>Choose port</translation>
    </message>
    <message>
        <source>Verbinden</source>
        <translation>Connect</translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>Deze Centrale kan het eerste wisseladres %1 niet bereiken.
Kies in de decoderlijst als eerste wisseladres %2 of lager.</source>
        <translation>This command station cannot reach the first turnout address %1.
Choose %2 or lower as first turnout address in the decoder list.</translation>
    </message>
    <message>
        <source>Verbinding met de Centrale is verbroken</source>
        <translation>The connection to the command station is lost</translation>
    </message>
    <message>
        <source>De verbinding met de SRCP-server op %1 is verbroken.
Start de server zo nodig opnieuw en druk daarna op &quot;Verbinden&quot;.</source>
        <translation>The connection to the SRCP server at %1 is lost.
Restart the server if need be and then press &quot;Connect&quot;.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>1: Sluit de decoder op de digitale spanning aan. Druk aansluitend op de programmeer 
toets voor enkele seconden en wel zolang dat de led van Groep A en Groep B samen 
aangaan.

2: Laat de programmeertoets los Nu brand alleen de LED van groep A.
Nu kunnen de gegevens worden ingevuld in onderstaand scherm, nadat deze volledig 
is ingevuld druk op het  &apos;Programmeer Sorvell&apos; knopje. Als de gegevens verzonden 
zijn kan het programma worden afgesloten met de actief geworden knop Sluiten.</source>
        <translation>1: Connect the decoder to the track power. Then hold its programming button down for a few
seconds, until the LEDs of group A and group B light together.

2: Let go of the programming button; now only the LED of group A is lit.
Fill in the fields below, then press &apos;Program Kuehn WD10&apos;. Once everything has
been sent, the Close button, now enabled, ends the program.</translation>
    </message>
    <message>
        <source>Configuratie Kuehn WD10</source>
        <translation>Kuehn WD10 setup</translation>
    </message>
    <message>
        <source>Selectie Scherm</source>
        <translation>Selection</translation>
    </message>
    <message>
        <source>Aanwijzingen</source>
        <translation>Instructions</translation>
    </message>
    <message>
        <source>SRCP-server:</source>
        <translation>SRCP server:</translation>
    </message>
    <message>
        <source>Adres van de SRCP-server</source>
        <translation>Address of the SRCP server</translation>
    </message>
    <message>
        <source>Programmeren Kuehn WD10</source>
        <translation>Programming Kuehn WD10</translation>
    </message>
    <message>
        <source>Eerste wisseladres</source>
        <translation>First turnout address</translation>
    </message>
    <message>
        <source>Decoderadres: 2500</source>
        <translation>Decoder address: 2500</translation>
    </message>
    <message>
        <source>Eerste wisseladres Groep B</source>
        <translation>First turnout address group B</translation>
    </message>
    <message>
        <source>Groep A</source>
        <translation>Group A</translation>
    </message>
    <message>
        <source>Groep B</source>
        <translation>Group B</translation>
    </message>
    <message>
        <source>Programmeer Kuehn WD10</source>
        <translation>Program Kuehn WD10</translation>
    </message>
    <message>
        <source>Volgende decoder</source>
        <translation>Next decoder</translation>
    </message>
    <message>
        <source>Houdt de verbinding en zet het volgende vrije wisseladres klaar</source>
        <translation>Keeps the connection and sets up the next free turnout address</translation>
    </message>
    <message>
        <source>Sluiten</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>About IB/TC</source>
        <translation>About IB/TC</translation>
    </message>
    <message>
        <source>Decoderlijst…</source>
        <translation>Decoder list…</translation>
    </message>
    <message>
        <source>Opent de lijst van de decoders van de baan</source>
        <translation>Opens the list of the layout&apos;s decoders</translation>
    </message>
    <message>
        <source>Verbindingslog</source>
        <translation>Connection log</translation>
    </message>
    <message>
        <source>Ontvangstlog</source>
        <translation>Receive log</translation>
    </message>
    <message>
        <source>SRCP-informatielog</source>
        <translation>SRCP info log</translation>
    </message>
    <message>
        <source>Taal</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Signalen</source>
        <translation>Signals</translation>
    </message>
    <message>
        <source>Verbinding</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Ontvangst</source>
        <translation>Receive</translation>
    </message>
</context>
<context>
    <name>P50XDetection</name>
    <message>
        <source>Geen Intellibox of Twin-Center aangesloten.</source>
        <translation>No Intellibox or Twin-Center connected.</translation>
    </message>
    <message>
        <source>Please re-enable the P50x protocol!</source>
        <translation>Please re-enable the P50x protocol!</translation>
    </message>
    <message>
        <source>Reset de Intellibox, Twin-Center</source>
        <translation>Reset the Intellibox or Twin-Center</translation>
    </message>
    <message>
        <source>Onverwacht antwoord op xSo1: </source>
        <translation>Unexpected reply to xSo1: </translation>
    </message>
</context>
<context>
    <name>PortSettingsDialog</name>
    <message>
        <source>Setup</source>
        <translation>Setup</translation>
    </message>
    <message>
        <source> Settings </source>
        <translation> Settings </translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>Flow control</source>
        <translation>Flow control</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ProgrammingRun</name>
    <message>
        <source>De Centrale meldt dat de baan geen spanning heeft. Sorvell heeft de spanning weer ingeschakeld, maar de Centrale heeft dat niet bevestigd; er is niets naar de decoder gestuurd.
Melding: %1
Zoek naar kortsluiting (ook in de bedrading van de WD10), schakel zo nodig de spanning aan de Centrale weer in en druk opnieuw op &quot;Programmeer Kuehn WD10&quot;.</source>
        <translation>The command station reports that the track has no power. Sorvell switched the power back on, but the command station did not confirm it; nothing was sent to the decoder.
Message: %1
Look for a short circuit (the WD10&apos;s wiring too), switch the power back on at the command station if need be and press &quot;Program Kuehn WD10&quot; again.</translation>
    </message>
    <message>
        <source>De Centrale meldde dat de baan geen spanning had (%1); de spanning is weer ingeschakeld.</source>
        <translation>The command station reported that the track had no power (%1); the power is switched back on.</translation>
    </message>
    <message>
        <source>Zet wisselnummer: %1</source>
        <translation>Set turnout number: %1</translation>
    </message>
    <message>
        <source>Druk op de programmeerknop van de WD10</source>
        <translation>Press the programming button of the WD10</translation>
    </message>
</context>
<context>
    <name>RememberedSettings</name>
    <message>
        <source>cannot read the settings file %1; starting with the defaults</source>
        <translation>cannot read the settings file %1; starting with the defaults</translation>
    </message>
    <message>
        <source>the settings file %1 is damaged; starting with the defaults</source>
        <translation>the settings file %1 is damaged; starting with the defaults</translation>
    </message>
    <message>
        <source>cannot write the settings file %1; nothing is remembered</source>
        <translation>cannot write the settings file %1; nothing is remembered</translation>
    </message>
</context>
<context>
    <name>RunFailureMessage</name>
    <message>
        <source>De interface gaf geen bevestiging (01 04 05).</source>
        <translation>The interface gave no confirmation (01 04 05).</translation>
    </message>
    <message>
        <source>LocoNet gaf de opdracht niet terug.</source>
        <translation>LocoNet did not echo the command.</translation>
    </message>
    <message>
        <source>De interface heeft de opdracht niet van de poort afgenomen.</source>
        <translation>The interface did not take the command from the port.</translation>
    </message>
    <message>
        <source>De interface liet tijdens de stap het CTS-signaal vallen.</source>
        <translation>The interface dropped the CTS signal during the step.</translation>
    </message>
    <message>
        <source>Controleer of de Centrale aan staat en de baan spanning heeft.</source>
        <translation>Check that the command station is on and the track has power.</translation>
    </message>
    <message>
        <source>Controleer of de interface aan staat, of de kabel goed vastzit en of de baudrate van de poort die van de interface is.</source>
        <translation>Check that the interface is on, the cable is firmly in place and the port&apos;s baud rate is the interface&apos;s.</translation>
    </message>
    <message>
        <source>Controleer de kabel, de adapter en de Centrale.</source>
        <translation>Check the cable, the adapter and the command station.</translation>
    </message>
    <message>
        <source>Melding: %1</source>
        <translation>Message: %1</translation>
    </message>
    <message>
        <source>De Centrale gaf geen antwoord.</source>
        <translation>The command station gave no answer.</translation>
    </message>
    <message>
        <source>De Centrale heeft stap %1 van 4 (wisselnummer %2) geweigerd.</source>
        <translation>The command station refused step %1 of 4 (turnout number %2).</translation>
    </message>
    <message>
        <source>Stap %1 van 4 (wisselnummer %2) is niet bij de Centrale aangekomen of niet bevestigd.</source>
        <translation>Step %1 of 4 (turnout number %2) did not reach the command station or was not confirmed.</translation>
    </message>
    <message>
        <source>De decoder is niet geprogrammeerd. </source>
        <translation>The decoder is not programmed. </translation>
    </message>
    <message>
        <source> Druk daarna op &quot;Sluiten&quot;, zet de decoder opnieuw in de leerstand en begin opnieuw.</source>
        <translation> Then press &quot;Close&quot;, put the decoder in learning mode again and start over.</translation>
    </message>
    <message>
        <source>stap %1 van 4 (wisselnummer %2) %3. %4</source>
        <translation>step %1 of 4 (turnout number %2) %3. %4</translation>
    </message>
    <message>
        <source>geweigerd</source>
        <translation>refused</translation>
    </message>
    <message>
        <source>niet bevestigd</source>
        <translation>not confirmed</translation>
    </message>
    <message>
        <source>Programmeren afgebroken bij stap %1 (wisselnummer %2)</source>
        <translation>Programming stopped at step %1 (turnout number %2)</translation>
    </message>
    <message>
        <source>Let op: de Centrale heeft geen enkele opdracht bevestigd; of de decoder ze ontvangen heeft, is niet gecontroleerd.</source>
        <translation>Note: the command station confirmed none of the commands; whether the decoder received them has not been checked.</translation>
    </message>
</context>
<context>
    <name>SerialPortError</name>
    <message>
        <source>Unable to open com port</source>
        <translation>Unable to open com port</translation>
    </message>
    <message>
        <source>WriteFile function failed</source>
        <translation>WriteFile function failed</translation>
    </message>
    <message>
        <source>ReadFile function failed</source>
        <translation>ReadFile function failed</translation>
    </message>
    <message>
        <source>Invalid Async parameter</source>
        <translation>Invalid Async parameter</translation>
    </message>
    <message>
        <source>PurgeComm function failed</source>
        <translation>PurgeComm function failed</translation>
    </message>
    <message>
        <source>Unable to get async status</source>
        <translation>Unable to get async status</translation>
    </message>
    <message>
        <source>SetCommState function failed</source>
        <translation>SetCommState function failed</translation>
    </message>
    <message>
        <source>SetCommTimeouts failed</source>
        <translation>SetCommTimeouts failed</translation>
    </message>
    <message>
        <source>SetupComm function failed</source>
        <translation>SetupComm function failed</translation>
    </message>
    <message>
        <source>ClearCommError function failed</source>
        <translation>ClearCommError function failed</translation>
    </message>
    <message>
        <source>GetCommModemStatus function failed</source>
        <translation>GetCommModemStatus function failed</translation>
    </message>
    <message>
        <source>EscapeCommFunction function failed</source>
        <translation>EscapeCommFunction function failed</translation>
    </message>
    <message>
        <source>TransmitCommChar function failed</source>
        <translation>TransmitCommChar function failed</translation>
    </message>
    <message>
        <source>Cannot set property while connected</source>
        <translation>Cannot set property while connected</translation>
    </message>
    <message>
        <source>EnumPorts function failed</source>
        <translation>EnumPorts function failed</translation>
    </message>
    <message>
        <source>Failed to store settings</source>
        <translation>Failed to store settings</translation>
    </message>
    <message>
        <source>Failed to load settings</source>
        <translation>Failed to load settings</translation>
    </message>
    <message>
        <source>Link (un)registration failed</source>
        <translation>Link (un)registration failed</translation>
    </message>
    <message>
        <source>Cannot change led state if ComPort is selected</source>
        <translation>Cannot change led state if ComPort is selected</translation>
    </message>
    <message>
        <source>Cannot wait for event if event thread is created</source>
        <translation>Cannot wait for event if event thread is created</translation>
    </message>
    <message>
        <source>WaitForEvent method failed</source>
        <translation>WaitForEvent method failed</translation>
    </message>
    <message>
        <source>A component is linked to OnRxBuf event</source>
        <translation>A component is linked to OnRxBuf event</translation>
    </message>
    <message>
        <source>Registry error</source>
        <translation>Registry error</translation>
    </message>
</context>
<context>
    <name>SrcpLink</name>
    <message>
        <source>Op %1 luistert niets, of het is geen SRCP 0.8-server. Start de server en druk daarna opnieuw op &quot;Verbinden&quot;.</source>
        <translation>Nothing is listening on %1, or it is not an SRCP 0.8 server. Start the server and then press &quot;Connect&quot; again.</translation>
    </message>
    <message>
        <source>De verbinding met de SRCP-server op %1 is tijdens het aanmelden weggevallen. Start de server zo nodig opnieuw en druk daarna opnieuw op &quot;Verbinden&quot;.</source>
        <translation>The connection to the SRCP server at %1 was lost while signing on. Restart the server if need be and then press &quot;Connect&quot; again.</translation>
    </message>
    <message>
        <source>Het aanmelden bij de SRCP-server op %1 is mislukt.
Melding: %2
Druk op &quot;Verbinden&quot; om het opnieuw te proberen.</source>
        <translation>Signing on to the SRCP server at %1 failed.
Message: %2
Press &quot;Connect&quot; to try again.</translation>
    </message>
    <message>
        <source>Er draait geen SRCP-server op %1. Start de server en druk daarna op &quot;Verbinden&quot;.</source>
        <translation>No SRCP server is running at %1. Start the server and then press &quot;Connect&quot;.</translation>
    </message>
</context>
<context>
    <name>StationChoice</name>
    <message>
        <source>Sorvell spreekt Nederlands vanaf de volgende start.</source>
        <translation>Sorvell speaks English from the next start.</translation>
    </message>
    <message>
        <source>Configuratie Kuehn WD10 via Programmeertoets.</source>
        <translation>Kuehn WD10 setup by programming button.</translation>
    </message>
    <message>
        <source>Over IB/TC</source>
        <translation>About IB/TC</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is geen geldig adres van een SRCP-server.
Geef een computernaam of IP-adres, eventueel met een poort, bijvoorbeeld %2.</source>
        <translation>&quot;%1&quot; is not a valid SRCP server address.
Give a computer name or IP address, with a port if need be, for example %2.</translation>
    </message>
    <message>
        <source>Deze Centrale kan geen wisselnummers boven %1 schakelen; met dit adres zou de decoder een verkeerd adres leren.
Kies als eerste wisseladres %2 of lager.</source>
        <translation>This command station cannot switch turnout numbers above %1; with this address the decoder would learn a wrong one.
Choose %2 or lower as first turnout address.</translation>
    </message>
</context>
<context>
    <name>UserNotifier</name>
    <message>
        <source>Annuleren</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>WriteWholeFile</name>
    <message>
        <source>niet alles kon worden geschreven; is de schijf vol?</source>
        <translation>not everything could be written; is the disk full?</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Usage: sorvell [--help | --version]

Sorvell sets up a Kuehn WD10 accessory decoder through your model railway&apos;s command
station: an Intellibox or Twin-Center (LocoNet or P50X), a Lenz or Roco Multi-Maus
system, a Märklin 6050/6051 interface, or an SRCP 0.8 server.

Started without options it opens its window, in the desktop&apos;s language (English,
German, or Dutch for any other) or in the one chosen in the window: choose the central
type, connect, enter the decoder&apos;s first turnout address and the mode of each group,
put the WD10 in its learning mode and press &quot;Program Kuehn WD10&quot;.

  -h, --help     show this help and exit
      --version  show the version and exit

To try it without hardware, start sorvell-sim with a central type first.
</source>
        <translation>Usage: sorvell [--help | --version]

Sorvell sets up a Kuehn WD10 accessory decoder through your model railway&apos;s command
station: an Intellibox or Twin-Center (LocoNet or P50X), a Lenz or Roco Multi-Maus
system, a Märklin 6050/6051 interface, or an SRCP 0.8 server.

Started without options it opens its window, in the desktop&apos;s language (English,
German, or Dutch for any other) or in the one chosen in the window: choose the central
type, connect, enter the decoder&apos;s first turnout address and the mode of each group,
put the WD10 in its learning mode and press &quot;Program Kuehn WD10&quot;.

  -h, --help     show this help and exit
      --version  show the version and exit

To try it without hardware, start sorvell-sim with a central type first.
</translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation>cannot write the output: %1</translation>
    </message>
    <message>
        <source>this executable carries no version information</source>
        <translation>this executable carries no version information</translation>
    </message>
    <message>
        <source>the version information of this executable is incomplete</source>
        <translation>the version information of this executable is incomplete</translation>
    </message>
    <message>
        <source>the version information of this executable names no product</source>
        <translation>the version information of this executable names no product</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;
Try &apos;sorvell --help&apos; for more information.</source>
        <translation>unknown option &apos;%1&apos;
Try &apos;sorvell --help&apos; for more information.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;
Try &apos;sorvell --help&apos; for more information.</source>
        <translation>unexpected argument &apos;%1&apos;
Try &apos;sorvell --help&apos; for more information.</translation>
    </message>
</context>
</TS>
