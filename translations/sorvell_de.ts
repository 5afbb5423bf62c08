<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="nl_NL">
<context>
    <name>AboutBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Afbeelding van de WD10-decoder</source>
        <translation>Abbildung des WD10-Decoders</translation>
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
        <translation>Decoderadresse: %1</translation>
    </message>
</context>
<context>
    <name>DecoderHistoryFile</name>
    <message>
        <source>regel %1 van de geschiedenis</source>
        <translation>Zeile %1 des Verlaufs</translation>
    </message>
    <message>
        <source> is afgebroken (een onderbroken schrijfbeurt)</source>
        <translation> ist abgebrochen (ein unterbrochener Schreibvorgang)</translation>
    </message>
    <message>
        <source> is onleesbaar</source>
        <translation> ist nicht lesbar</translation>
    </message>
    <message>
        <source>is onleesbaar</source>
        <translation>ist nicht lesbar</translation>
    </message>
    <message>
        <source>niet alles kon worden geschreven; is de schijf vol?</source>
        <translation>es konnte nicht alles geschrieben werden; ist der Datenträger voll?</translation>
    </message>
</context>
<context>
    <name>DecoderList</name>
    <message>
        <source>nog niet</source>
        <translation>noch nicht</translation>
    </message>
    <message>
        <source>geprogrammeerd op %1 via %2</source>
        <translation>programmiert am %1 über %2</translation>
    </message>
    <message>
        <source>niet bevestigd op %1 via %2</source>
        <translation>nicht bestätigt am %1 über %2</translation>
    </message>
    <message>
        <source>mislukt op %1: %2</source>
        <translation>fehlgeschlagen am %1: %2</translation>
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
        <translation>Erste Weichenadresse</translation>
    </message>
    <message>
        <source>Wisselnummers</source>
        <translation>Weichennummern</translation>
    </message>
    <message>
        <source>Decoderadres</source>
        <translation>Decoderadresse</translation>
    </message>
    <message>
        <source>Modus groep A</source>
        <translation>Modus Gruppe A</translation>
    </message>
    <message>
        <source>Modus groep B</source>
        <translation>Modus Gruppe B</translation>
    </message>
    <message>
        <source>Laatste resultaat</source>
        <translation>Letztes Ergebnis</translation>
    </message>
    <message>
        <source>de aanhalingstekens in deze rij kloppen niet</source>
        <translation>die Anführungszeichen in dieser Zeile stimmen nicht</translation>
    </message>
    <message>
        <source>kolom &quot;%1&quot; ontbreekt</source>
        <translation>Spalte &quot;%1&quot; fehlt</translation>
    </message>
    <message>
        <source>eerste wisseladres &quot;%1&quot; is geen getal</source>
        <translation>erste Weichenadresse &quot;%1&quot; ist keine Zahl</translation>
    </message>
    <message>
        <source>eerste wisseladres %1 ligt buiten %2 tot en met %3</source>
        <translation>erste Weichenadresse %1 liegt außerhalb von %2 bis %3</translation>
    </message>
    <message>
        <source>onbekende modus &quot;%1&quot; in groep %2</source>
        <translation>unbekannter Modus &quot;%1&quot; in Gruppe %2</translation>
    </message>
    <message>
        <source>Niets gelezen: de kopregel mist de kolom(men) %1.</source>
        <translation>Nichts gelesen: in der Kopfzeile fehlt die Spalte bzw. fehlen die Spalten %1.</translation>
    </message>
    <message>
        <source>Niets gelezen: het bestand heeft meer dan %1 rijen, meer decoders dan een baan kan hebben.</source>
        <translation>Nichts gelesen: die Datei hat mehr als %1 Zeilen, mehr Decoder, als eine Anlage haben kann.</translation>
    </message>
    <message>
        <source>Rij %1: %2.</source>
        <translation>Zeile %1: %2.</translation>
    </message>
</context>
<context>
    <name>DecoderListDelegate</name>
    <message>
        <source>Eerste wisseladres</source>
        <translation>Erste Weichenadresse</translation>
    </message>
    <message>
        <source> Het eerste wisseladres blijft %1.</source>
        <translation> Die erste Weichenadresse bleibt %1.</translation>
    </message>
    <message>
        <source>De gekozen Centrale kan een decoder met eerste wisseladres %1 niet bereiken; het hoogste eerste adres van een decoder is %2.</source>
        <translation>Die gewählte Zentrale erreicht keinen Decoder mit der ersten Weichenadresse %1; die höchste erste Adresse eines Decoders ist %2.</translation>
    </message>
    <message>
        <source>Het dichtstbij liggen %1 en %2.</source>
        <translation>Am nächsten liegen %1 und %2.</translation>
    </message>
    <message>
        <source>Het dichtstbij ligt %1.</source>
        <translation>Am nächsten liegt %1.</translation>
    </message>
    <message>
        <source>%1 is geen eerste adres van een decoder: een WD10 beslaat acht wisseladressen en begint bij 1, 9, 17, 25, … </source>
        <translation>%1 ist keine erste Adresse eines Decoders: ein WD10 belegt acht Weichenadressen und beginnt bei 1, 9, 17, 25, … </translation>
    </message>
    <message>
        <source>Mode van Groep A</source>
        <translation>Modus von Gruppe A</translation>
    </message>
    <message>
        <source>Mode van Groep B</source>
        <translation>Modus von Gruppe B</translation>
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
        <translation>ist nicht lesbar</translation>
    </message>
    <message>
        <source>heeft een ongeldige waarde bij &quot;%1%2&quot;</source>
        <translation>hat einen ungültigen Wert bei &quot;%1%2&quot;</translation>
    </message>
</context>
<context>
    <name>DecoderListModel</name>
    <message>
        <source>Een andere decoder in de lijst heeft hetzelfde eerste adres.</source>
        <translation>Ein anderer Decoder in der Liste hat dieselbe erste Adresse.</translation>
    </message>
    <message>
        <source>De gekozen Centrale kan dit adres niet bereiken; het hoogste eerste adres is %1.</source>
        <translation>Die gewählte Zentrale erreicht diese Adresse nicht; die höchste erste Adresse ist %1.</translation>
    </message>
    <message>
        <source>%1–%2 (decoder %3)</source>
        <translation>%1–%2 (Decoder %3)</translation>
    </message>
    <message>
        <source> (dubbel)</source>
        <translation> (doppelt)</translation>
    </message>
    <message>
        <source> (onbereikbaar)</source>
        <translation> (nicht erreichbar)</translation>
    </message>
    <message>
        <source>Naam</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Eerste wisseladres</source>
        <translation>Erste Weichenadresse</translation>
    </message>
    <message>
        <source>Groep A</source>
        <translation>Gruppe A</translation>
    </message>
    <message>
        <source>Groep B</source>
        <translation>Gruppe B</translation>
    </message>
    <message>
        <source>Laatste resultaat</source>
        <translation>Letztes Ergebnis</translation>
    </message>
</context>
<context>
    <name>DecoderListStore</name>
    <message>
        <source>decoder %1</source>
        <translation>Decoder %1</translation>
    </message>
    <message>
        <source>decoder %1 (&quot;%2&quot;)</source>
        <translation>Decoder %1 (&quot;%2&quot;)</translation>
    </message>
    <message>
        <source>op die plaats staat een map</source>
        <translation>an dieser Stelle steht ein Ordner</translation>
    </message>
    <message>
        <source>het bestand kan niet worden geopend (%1)</source>
        <translation>die Datei lässt sich nicht öffnen (%1)</translation>
    </message>
    <message>
        <source>het bestand kan niet worden gelezen (%1)</source>
        <translation>die Datei lässt sich nicht lesen (%1)</translation>
    </message>
    <message>
        <source>de inhoud is geen leesbare lijst (fout bij teken %1)</source>
        <translation>der Inhalt ist keine lesbare Liste (Fehler bei Zeichen %1)</translation>
    </message>
    <message>
        <source>de inhoud is geen decoderlijst</source>
        <translation>der Inhalt ist keine Decoderliste</translation>
    </message>
    <message>
        <source>het is versie %1 van de lijst; dit programma kent versie %2</source>
        <translation>es ist Version %1 der Liste; dieses Programm kennt Version %2</translation>
    </message>
    <message>
        <source>een ander Sorvell-venster houdt de lijst al te lang vast</source>
        <translation>ein anderes Sorvell-Fenster hält die Liste schon zu lange fest</translation>
    </message>
    <message>
        <source>in de map mag niet worden geschreven</source>
        <translation>in den Ordner darf nicht geschrieben werden</translation>
    </message>
    <message>
        <source>de lijst kan niet worden vergrendeld</source>
        <translation>die Liste lässt sich nicht sperren</translation>
    </message>
    <message>
        <source>%1: %2.
Het bestand blijft zoals het is: %3
Wijzigingen worden deze keer niet bewaard; bij de volgende start probeert Sorvell het opnieuw.</source>
        <translation>%1: %2.
Die Datei bleibt, wie sie ist: %3
Änderungen werden diesmal nicht gespeichert; beim nächsten Start versucht Sorvell es erneut.</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet worden gelezen: %1.
Het bestand blijft zoals het is: %2
Sorvell begint met een lege lijst en bewaart die voortaan als %3.</source>
        <translation>Die Decoderliste lässt sich nicht lesen: %1.
Die Datei bleibt, wie sie ist: %2
Sorvell beginnt mit einer leeren Liste und speichert sie künftig als %3.</translation>
    </message>
    <message>
        <source>De decoderlijst kan nu niet worden gelezen</source>
        <translation>Die Decoderliste lässt sich jetzt nicht lesen</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet in de nieuwe vorm worden bewaard</source>
        <translation>Die Decoderliste lässt sich nicht in der neuen Form speichern</translation>
    </message>
    <message>
        <source>De geschiedenis kan nu niet worden gelezen</source>
        <translation>Der Verlauf lässt sich jetzt nicht lesen</translation>
    </message>
    <message>
        <source>… en nog %1.</source>
        <translation>… und %1 weitere.</translation>
    </message>
    <message>
        <source>Niet alles in de decoderlijst kan worden gelezen; al het andere is gelezen. Deze waarden blijven in %1 zoals ze stonden:
</source>
        <translation>Nicht alles in der Decoderliste lässt sich lesen; alles andere wurde gelesen. Diese Werte bleiben in %1, wie sie waren:
</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet worden bewaard in %1: %2.</source>
        <translation>Die Decoderliste lässt sich nicht in %1 speichern: %2.</translation>
    </message>
    <message>
        <source>de map %1 kan niet worden gemaakt</source>
        <translation>der Ordner %1 lässt sich nicht anlegen</translation>
    </message>
    <message>
        <source>; het blijft zoals het is</source>
        <translation>; sie bleibt, wie sie ist</translation>
    </message>
</context>
<context>
    <name>DecoderListWindow</name>
    <message>
        <source>Decoderlijst opslaan als</source>
        <translation>Decoderliste speichern unter</translation>
    </message>
    <message>
        <source>Decoderlijst openen</source>
        <translation>Decoderliste öffnen</translation>
    </message>
    <message>
        <source>Spreadsheet (*.csv);;Alle bestanden (*)</source>
        <translation>Tabelle (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>decoderlijst.csv</source>
        <translation>Decoderliste.csv</translation>
    </message>
    <message>
        <source>decoder</source>
        <translation>Decoder</translation>
    </message>
    <message>
        <source>decoders</source>
        <translation>Decoder</translation>
    </message>
    <message>
        <source>rij</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>rijen</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>wordt</source>
        <translation>wird</translation>
    </message>
    <message>
        <source>worden</source>
        <translation>werden</translation>
    </message>
    <message>
        <source>is</source>
        <translation>wurde</translation>
    </message>
    <message>
        <source>zijn</source>
        <translation>wurden</translation>
    </message>
    <message>
        <source>Decoderlijst</source>
        <translation>Decoderliste</translation>
    </message>
    <message>
        <source>Decoders</source>
        <translation>Decoder</translation>
    </message>
    <message>
        <source>Toelichting bij het eerste wisseladres</source>
        <translation>Hinweis zur ersten Weichenadresse</translation>
    </message>
    <message>
        <source>Toevoegen</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Verwijderen</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Omhoog</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Omlaag</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Kies</source>
        <translation>Wählen</translation>
    </message>
    <message>
        <source>Zet het adres en de modes van deze decoder in het hoofdvenster</source>
        <translation>Übernimmt die Adresse und die Modi dieses Decoders ins Hauptfenster</translation>
    </message>
    <message>
        <source>Programmeer reeks</source>
        <translation>Serie programmieren</translation>
    </message>
    <message>
        <source>Programmeert de gekozen decoders, of alle die nog niet geprogrammeerd zijn, een voor een</source>
        <translation>Programmiert die gewählten Decoder, oder alle noch nicht programmierten, einen nach dem anderen</translation>
    </message>
    <message>
        <source>Openen…</source>
        <translation>Öffnen…</translation>
    </message>
    <message>
        <source>Opslaan als…</source>
        <translation>Speichern unter…</translation>
    </message>
    <message>
        <source>Sluiten</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>De decoderlijst kon niet worden opgeslagen in %1.</source>
        <translation>Die Decoderliste konnte nicht in %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>Decoder %1</source>
        <translation>Decoder %1</translation>
    </message>
    <message>
        <source>Maak eerst verbinding met de Centrale in het hoofdvenster; daarna kan de reeks beginnen.</source>
        <translation>Verbinden Sie sich zuerst im Hauptfenster mit der Zentrale; danach kann die Serie beginnen.</translation>
    </message>
    <message>
        <source>Alle decoders in de lijst zijn al geprogrammeerd. Kies de decoders die opnieuw geprogrammeerd moeten worden en druk dan op &quot;Programmeer reeks&quot;.</source>
        <translation>Alle Decoder in der Liste sind schon programmiert. Wählen Sie die Decoder, die neu programmiert werden sollen, und drücken Sie dann auf &quot;Serie programmieren&quot;.</translation>
    </message>
    <message>
        <source> De lijst blijft zoals hij was.</source>
        <translation> Die Liste bleibt, wie sie war.</translation>
    </message>
    <message>
        <source>%1 is groter dan %2 MB, veel groter dan de decoderlijst van een baan; er is niets uit gelezen.</source>
        <translation>%1 ist größer als %2 MB, viel größer als die Decoderliste einer Anlage; es wurde nichts daraus gelesen.</translation>
    </message>
    <message>
        <source>%1 kon niet worden gelezen.</source>
        <translation>%1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Uit %1 is geen enkele decoder gelezen.</source>
        <translation>Aus %1 wurde kein einziger Decoder gelesen.</translation>
    </message>
    <message>
        <source>De %1 in de lijst %2 vervangen door de %3 uit %4.</source>
        <translation>Die %1 in der Liste %2 durch die %3 aus %4 ersetzt.</translation>
    </message>
    <message>
        <source> %1 uit het bestand %2 overgeslagen.</source>
        <translation> %1 der Datei %2 übersprungen.</translation>
    </message>
    <message>
        <source> De geschiedenis van de runs blijft bewaard.</source>
        <translation> Der Verlauf der Programmierläufe bleibt erhalten.</translation>
    </message>
    <message>
        <source>%1 uit %2 %3 overgeslagen:</source>
        <translation>%1 aus %2 %3 übersprungen:</translation>
    </message>
    <message>
        <source>De decoderlijst kon niet worden opgeslagen als %1.</source>
        <translation>Die Decoderliste konnte nicht als %1 gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>DecoderModel</name>
    <message>
        <source>4 uitgangen als impuls (LS100)</source>
        <translation>4 Ausgänge Impuls (LS100)</translation>
    </message>
    <message>
        <source>4 uitgangen als impuls (K83)</source>
        <translation>4 Ausgänge Impuls (K83)</translation>
    </message>
    <message>
        <source>4 uitgangen als aan/uit (K84)</source>
        <translation>4 Ausgänge Ein/Aus (K84)</translation>
    </message>
    <message>
        <source>Verlichtingsmode</source>
        <translation>Beleuchtungsmodus</translation>
    </message>
    <message>
        <source>Sein met 2 begrippen</source>
        <translation>Signal mit 2 Begriffen</translation>
    </message>
    <message>
        <source>Sein met 4 begrippen</source>
        <translation>Signal mit 4 Begriffen</translation>
    </message>
    <message>
        <source>NS-Sein met 4 begrippen</source>
        <translation>NS-Signal mit 4 Begriffen</translation>
    </message>
</context>
<context>
    <name>DecoderSeries</name>
    <message>
        <source>(zonder naam)</source>
        <translation>(ohne Namen)</translation>
    </message>
    <message>
        <source>Decoder %1 van %2: %3
Wisseladressen %4–%5 (decoder %6), Groep A: %7, Groep B: %8.

Zet deze decoder in de leerstand: houd zijn programmeertoets ingedrukt tot de leds van Groep A en Groep B samen aangaan, en laat de toets dan los.
Druk daarna op OK. Annuleren beëindigt de reeks.</source>
        <translation>Decoder %1 von %2: %3
Weichenadressen %4–%5 (Decoder %6), Gruppe A: %7, Gruppe B: %8.

Bringen Sie diesen Decoder in den Lernmodus: Halten Sie seine Programmiertaste gedrückt, bis die LEDs von Gruppe A und Gruppe B zusammen leuchten, und lassen Sie die Taste dann los.
Drücken Sie danach auf OK. Abbrechen beendet die Serie.</translation>
    </message>
    <message>
        <source>%1 (wisseladressen %2–%3) heeft zijn adres en modes ontvangen%4.
Druk nu op de programmeerknop van de WD10.</source>
        <translation>%1 (Weichenadressen %2–%3) hat seine Adresse und Modi empfangen%4.
Drücken Sie jetzt die Programmiertaste des WD10.</translation>
    </message>
    <message>
        <source>, maar de Centrale heeft niets bevestigd</source>
        <translation>, aber die Zentrale hat nichts bestätigt</translation>
    </message>
    <message>
        <source>
Het hoofdvenster is tijdens de run gewijzigd: de decoder heeft %1, Groep A: %2, Groep B: %3 geleerd, en dat staat nu in de lijst.</source>
        <translation>
Das Hauptfenster wurde während des Laufs geändert: der Decoder hat %1, Gruppe A: %2, Gruppe B: %3 gelernt, und das steht jetzt in der Liste.</translation>
    </message>
</context>
<context>
    <name>ExceptionDisplay</name>
    <message>
        <source>

U hebt geen toegang tot %1. Voeg uw gebruiker toe aan de groep &quot;%2&quot; (sudo adduser $USER %2), meld u af en weer aan, en probeer het opnieuw.</source>
        <translation>

Sie haben keinen Zugriff auf %1. Fügen Sie Ihren Benutzer der Gruppe &quot;%2&quot; hinzu (sudo adduser $USER %2), melden Sie sich ab und wieder an und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>deze poort</source>
        <translation>diese Schnittstelle</translation>
    </message>
    <message>
        <source>

De verbinding met de poort is weggevallen. Is de USB-adapter losgetrokken of de centrale uitgeschakeld? Sluit het programma, sluit de adapter weer aan en start opnieuw.</source>
        <translation>

Die Verbindung zur Schnittstelle ist weg. Wurde der USB-Adapter abgezogen oder die Zentrale ausgeschaltet? Schließen Sie das Programm, stecken Sie den Adapter wieder ein und starten Sie neu.</translation>
    </message>
</context>
<context>
    <name>LineLed</name>
    <message>
        <source>Verbinding</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Draaggolf (RLSD)</source>
        <translation>Träger (RLSD)</translation>
    </message>
    <message>
        <source>Belsignaal</source>
        <translation>Klingelsignal</translation>
    </message>
    <message>
        <source>Ontvangen</source>
        <translation>Empfangen</translation>
    </message>
    <message>
        <source>Verzenden</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>aan</source>
        <translation>an</translation>
    </message>
    <message>
        <source>uit</source>
        <translation>aus</translation>
    </message>
</context>
<context>
    <name>LinkFactory</name>
    <message>
        <source>Kies Compoort</source>
        <translation>Schnittstelle wählen</translation>
    </message>
    <message>
        <source>Verbinden</source>
        <translation>Verbinden</translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>Deze Centrale kan het eerste wisseladres %1 niet bereiken.
Kies in de decoderlijst als eerste wisseladres %2 of lager.</source>
        <translation>Diese Zentrale erreicht die erste Weichenadresse %1 nicht.
Wählen Sie in der Decoderliste %2 oder niedriger als erste Weichenadresse.</translation>
    </message>
    <message>
        <source>Verbinding met de Centrale is verbroken</source>
        <translation>Die Verbindung zur Zentrale ist unterbrochen</translation>
    </message>
    <message>
        <source>De verbinding met de SRCP-server op %1 is verbroken.
Start de server zo nodig opnieuw en druk daarna op &quot;Verbinden&quot;.</source>
        <translation>Die Verbindung zum SRCP-Server auf %1 ist unterbrochen.
Starten Sie den Server falls nötig neu und drücken Sie danach auf &quot;Verbinden&quot;.</translation>
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
        <translation>1: Schließen Sie den Decoder an die Digitalspannung an. Halten Sie dann seine
Programmiertaste einige Sekunden gedrückt, bis die LEDs von Gruppe A und Gruppe B zusammen leuchten.

2: Lassen Sie die Programmiertaste los; jetzt leuchtet nur die LED von Gruppe A.
Füllen Sie die Felder unten aus und drücken Sie dann auf &apos;WD10 programmieren&apos;.
Wenn alles gesendet ist, beendet die jetzt aktive Schaltfläche Schließen das Programm.</translation>
    </message>
    <message>
        <source>Configuratie Kuehn WD10</source>
        <translation>Kuehn WD10 einrichten</translation>
    </message>
    <message>
        <source>Selectie Scherm</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>Aanwijzingen</source>
        <translation>Anleitung</translation>
    </message>
    <message>
        <source>SRCP-server:</source>
        <translation>SRCP-Server:</translation>
    </message>
    <message>
        <source>Adres van de SRCP-server</source>
        <translation>Adresse des SRCP-Servers</translation>
    </message>
    <message>
        <source>Programmeren Kuehn WD10</source>
        <translation>Kuehn WD10 programmieren</translation>
    </message>
    <message>
        <source>Eerste wisseladres</source>
        <translation>Erste Weichenadresse</translation>
    </message>
    <message>
        <source>Decoderadres: 2500</source>
        <translation>Decoderadresse: 2500</translation>
    </message>
    <message>
        <source>Eerste wisseladres Groep B</source>
        <translation>Erste Weichenadresse Gruppe B</translation>
    </message>
    <message>
        <source>Groep A</source>
        <translation>Gruppe A</translation>
    </message>
    <message>
        <source>Groep B</source>
        <translation>Gruppe B</translation>
    </message>
    <message>
        <source>Programmeer Kuehn WD10</source>
        <translation>WD10 programmieren</translation>
    </message>
    <message>
        <source>Volgende decoder</source>
        <translation>Nächster Decoder</translation>
    </message>
    <message>
        <source>Houdt de verbinding en zet het volgende vrije wisseladres klaar</source>
        <translation>Hält die Verbindung und stellt die nächste freie Weichenadresse ein</translation>
    </message>
    <message>
        <source>Sluiten</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>About IB/TC</source>
        <translation>Über IB/TC</translation>
    </message>
    <message>
        <source>Decoderlijst…</source>
        <translation>Decoderliste…</translation>
    </message>
    <message>
        <source>Opent de lijst van de decoders van de baan</source>
        <translation>Öffnet die Liste der Decoder der Anlage</translation>
    </message>
    <message>
        <source>Verbindingslog</source>
        <translation>Verbindungsprotokoll</translation>
    </message>
    <message>
        <source>Ontvangstlog</source>
        <translation>Empfangsprotokoll</translation>
    </message>
    <message>
        <source>SRCP-informatielog</source>
        <translation>SRCP-Infoprotokoll</translation>
    </message>
    <message>
        <source>Taal</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Signalen</source>
        <translation>Signale</translation>
    </message>
    <message>
        <source>Verbinding</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Ontvangst</source>
        <translation>Empfang</translation>
    </message>
</context>
<context>
    <name>P50XDetection</name>
    <message>
        <source>Geen Intellibox of Twin-Center aangesloten.</source>
        <translation>Keine Intellibox oder Twin-Center angeschlossen.</translation>
    </message>
    <message>
        <source>Please re-enable the P50x protocol!</source>
        <translation>Bitte das P50X-Protokoll wieder einschalten!</translation>
    </message>
    <message>
        <source>Reset de Intellibox, Twin-Center</source>
        <translation>Intellibox bzw. Twin-Center zurücksetzen</translation>
    </message>
    <message>
        <source>Onverwacht antwoord op xSo1: </source>
        <translation>Unerwartete Antwort auf xSo1: </translation>
    </message>
</context>
<context>
    <name>PortSettingsDialog</name>
    <message>
        <source>Setup</source>
        <translation>Schnittstelleneinstellungen</translation>
    </message>
    <message>
        <source> Settings </source>
        <translation> Einstellungen </translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Datenbits</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Stoppbits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parität</translation>
    </message>
    <message>
        <source>Flow control</source>
        <translation>Flusssteuerung</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>ProgrammingRun</name>
    <message>
        <source>De Centrale meldt dat de baan geen spanning heeft. Sorvell heeft de spanning weer ingeschakeld, maar de Centrale heeft dat niet bevestigd; er is niets naar de decoder gestuurd.
Melding: %1
Zoek naar kortsluiting (ook in de bedrading van de WD10), schakel zo nodig de spanning aan de Centrale weer in en druk opnieuw op &quot;Programmeer Kuehn WD10&quot;.</source>
        <translation>Die Zentrale meldet, dass das Gleis keinen Strom hat. Sorvell hat den Strom wieder eingeschaltet, aber die Zentrale hat das nicht bestätigt; es wurde nichts an den Decoder gesendet.
Meldung: %1
Suchen Sie nach einem Kurzschluss (auch in der Verdrahtung des WD10), schalten Sie falls nötig den Strom an der Zentrale wieder ein und drücken Sie erneut auf &quot;WD10 programmieren&quot;.</translation>
    </message>
    <message>
        <source>De Centrale meldde dat de baan geen spanning had (%1); de spanning is weer ingeschakeld.</source>
        <translation>Die Zentrale meldete, dass das Gleis keinen Strom hatte (%1); der Strom ist wieder eingeschaltet.</translation>
    </message>
    <message>
        <source>Zet wisselnummer: %1</source>
        <translation>Stelle Weichennummer: %1</translation>
    </message>
    <message>
        <source>Druk op de programmeerknop van de WD10</source>
        <translation>Drücken Sie die Programmiertaste des WD10</translation>
    </message>
</context>
<context>
    <name>RememberedSettings</name>
    <message>
        <source>cannot read the settings file %1; starting with the defaults</source>
        <translation>die Einstellungsdatei %1 kann nicht gelesen werden; Sorvell startet mit den Standardeinstellungen</translation>
    </message>
    <message>
        <source>the settings file %1 is damaged; starting with the defaults</source>
        <translation>die Einstellungsdatei %1 ist beschädigt; Sorvell startet mit den Standardeinstellungen</translation>
    </message>
    <message>
        <source>cannot write the settings file %1; nothing is remembered</source>
        <translation>die Einstellungsdatei %1 kann nicht geschrieben werden; es wird nichts gespeichert</translation>
    </message>
</context>
<context>
    <name>RunFailureMessage</name>
    <message>
        <source>De interface gaf geen bevestiging (01 04 05).</source>
        <translation>Die Schnittstelle hat nicht bestätigt (01 04 05).</translation>
    </message>
    <message>
        <source>LocoNet gaf de opdracht niet terug.</source>
        <translation>LocoNet hat den Befehl nicht zurückgegeben.</translation>
    </message>
    <message>
        <source>De interface heeft de opdracht niet van de poort afgenomen.</source>
        <translation>Die Schnittstelle hat den Befehl nicht vom Port abgenommen.</translation>
    </message>
    <message>
        <source>De interface liet tijdens de stap het CTS-signaal vallen.</source>
        <translation>Die Schnittstelle hat während des Schritts das CTS-Signal fallen lassen.</translation>
    </message>
    <message>
        <source>Controleer of de Centrale aan staat en de baan spanning heeft.</source>
        <translation>Prüfen Sie, ob die Zentrale eingeschaltet ist und das Gleis Strom hat.</translation>
    </message>
    <message>
        <source>Controleer of de interface aan staat, of de kabel goed vastzit en of de baudrate van de poort die van de interface is.</source>
        <translation>Prüfen Sie, ob die Schnittstelle eingeschaltet ist, das Kabel fest sitzt und die Baudrate des Ports die der Schnittstelle ist.</translation>
    </message>
    <message>
        <source>Controleer de kabel, de adapter en de Centrale.</source>
        <translation>Prüfen Sie das Kabel, den Adapter und die Zentrale.</translation>
    </message>
    <message>
        <source>Melding: %1</source>
        <translation>Meldung: %1</translation>
    </message>
    <message>
        <source>De Centrale gaf geen antwoord.</source>
        <translation>Die Zentrale hat nicht geantwortet.</translation>
    </message>
    <message>
        <source>De Centrale heeft stap %1 van 4 (wisselnummer %2) geweigerd.</source>
        <translation>Die Zentrale hat Schritt %1 von 4 (Weichennummer %2) abgelehnt.</translation>
    </message>
    <message>
        <source>Stap %1 van 4 (wisselnummer %2) is niet bij de Centrale aangekomen of niet bevestigd.</source>
        <translation>Schritt %1 von 4 (Weichennummer %2) ist nicht bei der Zentrale angekommen oder wurde nicht bestätigt.</translation>
    </message>
    <message>
        <source>De decoder is niet geprogrammeerd. </source>
        <translation>Der Decoder ist nicht programmiert. </translation>
    </message>
    <message>
        <source> Druk daarna op &quot;Sluiten&quot;, zet de decoder opnieuw in de leerstand en begin opnieuw.</source>
        <translation> Drücken Sie danach auf &quot;Schließen&quot;, bringen Sie den Decoder erneut in den Lernmodus und beginnen Sie von vorn.</translation>
    </message>
    <message>
        <source>stap %1 van 4 (wisselnummer %2) %3. %4</source>
        <translation>Schritt %1 von 4 (Weichennummer %2) %3. %4</translation>
    </message>
    <message>
        <source>geweigerd</source>
        <translation>abgelehnt</translation>
    </message>
    <message>
        <source>niet bevestigd</source>
        <translation>nicht bestätigt</translation>
    </message>
    <message>
        <source>Programmeren afgebroken bij stap %1 (wisselnummer %2)</source>
        <translation>Programmierung bei Schritt %1 (Weichennummer %2) abgebrochen</translation>
    </message>
    <message>
        <source>Let op: de Centrale heeft geen enkele opdracht bevestigd; of de decoder ze ontvangen heeft, is niet gecontroleerd.</source>
        <translation>Achtung: die Zentrale hat keinen einzigen Befehl bestätigt; ob der Decoder sie empfangen hat, wurde nicht geprüft.</translation>
    </message>
</context>
<context>
    <name>SerialPortError</name>
    <message>
        <source>Unable to open com port</source>
        <translation>Die serielle Schnittstelle lässt sich nicht öffnen</translation>
    </message>
    <message>
        <source>WriteFile function failed</source>
        <translation>Die Funktion WriteFile ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>ReadFile function failed</source>
        <translation>Die Funktion ReadFile ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Invalid Async parameter</source>
        <translation>Ungültiger asynchroner Parameter</translation>
    </message>
    <message>
        <source>PurgeComm function failed</source>
        <translation>Die Funktion PurgeComm ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Unable to get async status</source>
        <translation>Der asynchrone Status lässt sich nicht abfragen</translation>
    </message>
    <message>
        <source>SetCommState function failed</source>
        <translation>Die Funktion SetCommState ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>SetCommTimeouts failed</source>
        <translation>SetCommTimeouts ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>SetupComm function failed</source>
        <translation>Die Funktion SetupComm ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>ClearCommError function failed</source>
        <translation>Die Funktion ClearCommError ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>GetCommModemStatus function failed</source>
        <translation>Die Funktion GetCommModemStatus ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>EscapeCommFunction function failed</source>
        <translation>Die Funktion EscapeCommFunction ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>TransmitCommChar function failed</source>
        <translation>Die Funktion TransmitCommChar ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Cannot set property while connected</source>
        <translation>Die Eigenschaft lässt sich bei bestehender Verbindung nicht ändern</translation>
    </message>
    <message>
        <source>EnumPorts function failed</source>
        <translation>Die Funktion EnumPorts ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Failed to store settings</source>
        <translation>Die Einstellungen ließen sich nicht speichern</translation>
    </message>
    <message>
        <source>Failed to load settings</source>
        <translation>Die Einstellungen ließen sich nicht laden</translation>
    </message>
    <message>
        <source>Link (un)registration failed</source>
        <translation>An- oder Abmelden der Verknüpfung ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Cannot change led state if ComPort is selected</source>
        <translation>Der Zustand der LED lässt sich nicht ändern, solange ein ComPort gewählt ist</translation>
    </message>
    <message>
        <source>Cannot wait for event if event thread is created</source>
        <translation>Warten auf ein Ereignis ist nicht möglich, solange der Ereignis-Thread besteht</translation>
    </message>
    <message>
        <source>WaitForEvent method failed</source>
        <translation>Die Methode WaitForEvent ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>A component is linked to OnRxBuf event</source>
        <translation>Eine Komponente ist mit dem Ereignis OnRxBuf verknüpft</translation>
    </message>
    <message>
        <source>Registry error</source>
        <translation>Registrierungsfehler</translation>
    </message>
</context>
<context>
    <name>SrcpLink</name>
    <message>
        <source>Op %1 luistert niets, of het is geen SRCP 0.8-server. Start de server en druk daarna opnieuw op &quot;Verbinden&quot;.</source>
        <translation>Auf %1 antwortet nichts, oder es ist kein SRCP-0.8-Server. Starten Sie den Server und drücken Sie danach erneut auf &quot;Verbinden&quot;.</translation>
    </message>
    <message>
        <source>De verbinding met de SRCP-server op %1 is tijdens het aanmelden weggevallen. Start de server zo nodig opnieuw en druk daarna opnieuw op &quot;Verbinden&quot;.</source>
        <translation>Die Verbindung zum SRCP-Server auf %1 ist während der Anmeldung abgebrochen. Starten Sie den Server falls nötig neu und drücken Sie danach erneut auf &quot;Verbinden&quot;.</translation>
    </message>
    <message>
        <source>Het aanmelden bij de SRCP-server op %1 is mislukt.
Melding: %2
Druk op &quot;Verbinden&quot; om het opnieuw te proberen.</source>
        <translation>Die Anmeldung beim SRCP-Server auf %1 ist fehlgeschlagen.
Meldung: %2
Drücken Sie auf &quot;Verbinden&quot;, um es erneut zu versuchen.</translation>
    </message>
    <message>
        <source>Er draait geen SRCP-server op %1. Start de server en druk daarna op &quot;Verbinden&quot;.</source>
        <translation>Auf %1 läuft kein SRCP-Server. Starten Sie den Server und drücken Sie danach auf &quot;Verbinden&quot;.</translation>
    </message>
</context>
<context>
    <name>StationChoice</name>
    <message>
        <source>Sorvell spreekt Nederlands vanaf de volgende start.</source>
        <translation>Sorvell spricht ab dem nächsten Start Deutsch.</translation>
    </message>
    <message>
        <source>Configuratie Kuehn WD10 via Programmeertoets.</source>
        <translation>Kuehn WD10 einrichten über die Programmiertaste.</translation>
    </message>
    <message>
        <source>Over IB/TC</source>
        <translation>Über IB/TC</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is geen geldig adres van een SRCP-server.
Geef een computernaam of IP-adres, eventueel met een poort, bijvoorbeeld %2.</source>
        <translation>&quot;%1&quot; ist keine gültige Adresse eines SRCP-Servers.
Geben Sie einen Rechnernamen oder eine IP-Adresse an, eventuell mit Port, zum Beispiel %2.</translation>
    </message>
    <message>
        <source>Deze Centrale kan geen wisselnummers boven %1 schakelen; met dit adres zou de decoder een verkeerd adres leren.
Kies als eerste wisseladres %2 of lager.</source>
        <translation>Diese Zentrale kann keine Weichennummern über %1 schalten; mit dieser Adresse würde der Decoder eine falsche Adresse lernen.
Wählen Sie %2 oder niedriger als erste Weichenadresse.</translation>
    </message>
</context>
<context>
    <name>UserNotifier</name>
    <message>
        <source>Annuleren</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>WriteWholeFile</name>
    <message>
        <source>niet alles kon worden geschreven; is de schijf vol?</source>
        <translation>es konnte nicht alles geschrieben werden; ist der Datenträger voll?</translation>
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
        <translation>Aufruf: sorvell [--help | --version]

Sorvell richtet einen Kuehn WD10-Zubehördecoder über die Zentrale Ihrer Modellbahn ein:
eine Intellibox oder Twin-Center (LocoNet oder P50X), ein Lenz- oder Roco-Multi-Maus-
System, eine Märklin 6050/6051-Schnittstelle oder einen SRCP-0.8-Server.

Ohne Optionen öffnet es sein Fenster, in der Sprache des Desktops (Englisch, Deutsch,
sonst Niederländisch) oder in der im Fenster gewählten: Zentralentyp wählen, verbinden,
die erste Weichenadresse des Decoders und den Modus jeder Gruppe eingeben, den WD10 in
den Lernmodus bringen und auf &quot;WD10 programmieren&quot; drücken.

  -h, --help     diese Hilfe zeigen und beenden
      --version  die Version zeigen und beenden

Zum Ausprobieren ohne Hardware zuerst sorvell-sim mit einem Zentralentyp starten.
</translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation>die Ausgabe kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>this executable carries no version information</source>
        <translation>diese Programmdatei enthält keine Versionsinformationen</translation>
    </message>
    <message>
        <source>the version information of this executable is incomplete</source>
        <translation>die Versionsinformationen dieser Programmdatei sind unvollständig</translation>
    </message>
    <message>
        <source>the version information of this executable names no product</source>
        <translation>die Versionsinformationen dieser Programmdatei nennen kein Produkt</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;
Try &apos;sorvell --help&apos; for more information.</source>
        <translation>unbekannte Option &apos;%1&apos;
Weitere Informationen erhalten Sie mit &apos;sorvell --help&apos;.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;
Try &apos;sorvell --help&apos; for more information.</source>
        <translation>unerwartetes Argument &apos;%1&apos;
Weitere Informationen erhalten Sie mit &apos;sorvell --help&apos;.</translation>
    </message>
</context>
</TS>
