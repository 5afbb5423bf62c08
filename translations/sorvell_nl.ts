<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl_NL" sourcelanguage="nl_NL">
<context>
    <name>AboutBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Afbeelding van de WD10-decoder</source>
        <translation>Afbeelding van de WD10-decoder</translation>
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
        <translation>Decoderadres: %1</translation>
    </message>
</context>
<context>
    <name>DecoderHistoryFile</name>
    <message>
        <source>regel %1 van de geschiedenis</source>
        <translation>regel %1 van de geschiedenis</translation>
    </message>
    <message>
        <source> is afgebroken (een onderbroken schrijfbeurt)</source>
        <translation> is afgebroken (een onderbroken schrijfbeurt)</translation>
    </message>
    <message>
        <source> is onleesbaar</source>
        <translation> is onleesbaar</translation>
    </message>
    <message>
        <source>is onleesbaar</source>
        <translation>is onleesbaar</translation>
    </message>
    <message>
        <source>niet alles kon worden geschreven; is de schijf vol?</source>
        <translation>niet alles kon worden geschreven; is de schijf vol?</translation>
    </message>
</context>
<context>
    <name>DecoderList</name>
    <message>
        <source>nog niet</source>
        <translation>nog niet</translation>
    </message>
    <message>
        <source>geprogrammeerd op %1 via %2</source>
        <translation>geprogrammeerd op %1 via %2</translation>
    </message>
    <message>
        <source>niet bevestigd op %1 via %2</source>
        <translation>niet bevestigd op %1 via %2</translation>
    </message>
    <message>
        <source>mislukt op %1: %2</source>
        <translation>mislukt op %1: %2</translation>
    </message>
</context>
<context>
    <name>DecoderListCsv</name>
    <message>
        <source>Naam</source>
        <translation>Naam</translation>
    </message>
    <message>
        <source>Eerste wisseladres</source>
        <translation>Eerste wisseladres</translation>
    </message>
    <message>
        <source>Wisselnummers</source>
        <translation>Wisselnummers</translation>
    </message>
    <message>
        <source>Decoderadres</source>
        <translation>Decoderadres</translation>
    </message>
    <message>
        <source>Modus groep A</source>
        <translation>Modus groep A</translation>
    </message>
    <message>
        <source>Modus groep B</source>
        <translation>Modus groep B</translation>
    </message>
    <message>
        <source>Laatste resultaat</source>
        <translation>Laatste resultaat</translation>
    </message>
    <message>
        <source>de aanhalingstekens in deze rij kloppen niet</source>
        <translation>de aanhalingstekens in deze rij kloppen niet</translation>
    </message>
    <message>
        <source>kolom &quot;%1&quot; ontbreekt</source>
        <translation>kolom &quot;%1&quot; ontbreekt</translation>
    </message>
    <message>
        <source>eerste wisseladres &quot;%1&quot; is geen getal</source>
        <translation>eerste wisseladres &quot;%1&quot; is geen getal</translation>
    </message>
    <message>
        <source>eerste wisseladres %1 ligt buiten %2 tot en met %3</source>
        <translation>eerste wisseladres %1 ligt buiten %2 tot en met %3</translation>
    </message>
    <message>
        <source>onbekende modus &quot;%1&quot; in groep %2</source>
        <translation>onbekende modus &quot;%1&quot; in groep %2</translation>
    </message>
    <message>
        <source>Niets gelezen: de kopregel mist de kolom(men) %1.</source>
        <translation>Niets gelezen: de kopregel mist de kolom(men) %1.</translation>
    </message>
    <message>
        <source>Niets gelezen: het bestand heeft meer dan %1 rijen, meer decoders dan een baan kan hebben.</source>
        <translation>Niets gelezen: het bestand heeft meer dan %1 rijen, meer decoders dan een baan kan hebben.</translation>
    </message>
    <message>
        <source>Rij %1: %2.</source>
        <translation>Rij %1: %2.</translation>
    </message>
</context>
<context>
    <name>DecoderListDelegate</name>
    <message>
        <source>Eerste wisseladres</source>
        <translation>Eerste wisseladres</translation>
    </message>
    <message>
        <source> Het eerste wisseladres blijft %1.</source>
        <translation> Het eerste wisseladres blijft %1.</translation>
    </message>
    <message>
        <source>De gekozen Centrale kan een decoder met eerste wisseladres %1 niet bereiken; het hoogste eerste adres van een decoder is %2.</source>
        <translation>De gekozen Centrale kan een decoder met eerste wisseladres %1 niet bereiken; het hoogste eerste adres van een decoder is %2.</translation>
    </message>
    <message>
        <source>Het dichtstbij liggen %1 en %2.</source>
        <translation>Het dichtstbij liggen %1 en %2.</translation>
    </message>
    <message>
        <source>Het dichtstbij ligt %1.</source>
        <translation>Het dichtstbij ligt %1.</translation>
    </message>
    <message>
        <source>%1 is geen eerste adres van een decoder: een WD10 beslaat acht wisseladressen en begint bij 1, 9, 17, 25, … </source>
        <translation>%1 is geen eerste adres van een decoder: een WD10 beslaat acht wisseladressen en begint bij 1, 9, 17, 25, … </translation>
    </message>
    <message>
        <source>Mode van Groep A</source>
        <translation>Mode van Groep A</translation>
    </message>
    <message>
        <source>Mode van Groep B</source>
        <translation>Mode van Groep B</translation>
    </message>
    <message>
        <source>Naam</source>
        <translation>Naam</translation>
    </message>
</context>
<context>
    <name>DecoderListJson</name>
    <message>
        <source>is onleesbaar</source>
        <translation>is onleesbaar</translation>
    </message>
    <message>
        <source>heeft een ongeldige waarde bij &quot;%1%2&quot;</source>
        <translation>heeft een ongeldige waarde bij &quot;%1%2&quot;</translation>
    </message>
</context>
<context>
    <name>DecoderListModel</name>
    <message>
        <source>Een andere decoder in de lijst heeft hetzelfde eerste adres.</source>
        <translation>Een andere decoder in de lijst heeft hetzelfde eerste adres.</translation>
    </message>
    <message>
        <source>De gekozen Centrale kan dit adres niet bereiken; het hoogste eerste adres is %1.</source>
        <translation>De gekozen Centrale kan dit adres niet bereiken; het hoogste eerste adres is %1.</translation>
    </message>
    <message>
        <source>%1–%2 (decoder %3)</source>
        <translation>%1–%2 (decoder %3)</translation>
    </message>
    <message>
        <source> (dubbel)</source>
        <translation> (dubbel)</translation>
    </message>
    <message>
        <source> (onbereikbaar)</source>
        <translation> (onbereikbaar)</translation>
    </message>
    <message>
        <source>Naam</source>
        <translation>Naam</translation>
    </message>
    <message>
        <source>Eerste wisseladres</source>
        <translation>Eerste wisseladres</translation>
    </message>
    <message>
        <source>Groep A</source>
        <translation>Groep A</translation>
    </message>
    <message>
        <source>Groep B</source>
        <translation>Groep B</translation>
    </message>
    <message>
        <source>Laatste resultaat</source>
        <translation>Laatste resultaat</translation>
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
        <translation>op die plaats staat een map</translation>
    </message>
    <message>
        <source>het bestand kan niet worden geopend (%1)</source>
        <translation>het bestand kan niet worden geopend (%1)</translation>
    </message>
    <message>
        <source>het bestand kan niet worden gelezen (%1)</source>
        <translation>het bestand kan niet worden gelezen (%1)</translation>
    </message>
    <message>
        <source>de inhoud is geen leesbare lijst (fout bij teken %1)</source>
        <translation>de inhoud is geen leesbare lijst (fout bij teken %1)</translation>
    </message>
    <message>
        <source>de inhoud is geen decoderlijst</source>
        <translation>de inhoud is geen decoderlijst</translation>
    </message>
    <message>
        <source>het is versie %1 van de lijst; dit programma kent versie %2</source>
        <translation>het is versie %1 van de lijst; dit programma kent versie %2</translation>
    </message>
    <message>
        <source>een ander Sorvell-venster houdt de lijst al te lang vast</source>
        <translation>een ander Sorvell-venster houdt de lijst al te lang vast</translation>
    </message>
    <message>
        <source>in de map mag niet worden geschreven</source>
        <translation>in de map mag niet worden geschreven</translation>
    </message>
    <message>
        <source>de lijst kan niet worden vergrendeld</source>
        <translation>de lijst kan niet worden vergrendeld</translation>
    </message>
    <message>
        <source>%1: %2.
Het bestand blijft zoals het is: %3
Wijzigingen worden deze keer niet bewaard; bij de volgende start probeert Sorvell het opnieuw.</source>
        <translation>%1: %2.
Het bestand blijft zoals het is: %3
Wijzigingen worden deze keer niet bewaard; bij de volgende start probeert Sorvell het opnieuw.</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet worden gelezen: %1.
Het bestand blijft zoals het is: %2
Sorvell begint met een lege lijst en bewaart die voortaan als %3.</source>
        <translation>De decoderlijst kan niet worden gelezen: %1.
Het bestand blijft zoals het is: %2
Sorvell begint met een lege lijst en bewaart die voortaan als %3.</translation>
    </message>
    <message>
        <source>De decoderlijst kan nu niet worden gelezen</source>
        <translation>De decoderlijst kan nu niet worden gelezen</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet in de nieuwe vorm worden bewaard</source>
        <translation>De decoderlijst kan niet in de nieuwe vorm worden bewaard</translation>
    </message>
    <message>
        <source>De geschiedenis kan nu niet worden gelezen</source>
        <translation>De geschiedenis kan nu niet worden gelezen</translation>
    </message>
    <message>
        <source>… en nog %1.</source>
        <translation>… en nog %1.</translation>
    </message>
    <message>
        <source>Niet alles in de decoderlijst kan worden gelezen; al het andere is gelezen. Deze waarden blijven in %1 zoals ze stonden:
</source>
        <translation>Niet alles in de decoderlijst kan worden gelezen; al het andere is gelezen. Deze waarden blijven in %1 zoals ze stonden:
</translation>
    </message>
    <message>
        <source>De decoderlijst kan niet worden bewaard in %1: %2.</source>
        <translation>De decoderlijst kan niet worden bewaard in %1: %2.</translation>
    </message>
    <message>
        <source>de map %1 kan niet worden gemaakt</source>
        <translation>de map %1 kan niet worden gemaakt</translation>
    </message>
    <message>
        <source>; het blijft zoals het is</source>
        <translation>; het blijft zoals het is</translation>
    </message>
</context>
<context>
    <name>DecoderListWindow</name>
    <message>
        <source>Decoderlijst opslaan als</source>
        <translation>Decoderlijst opslaan als</translation>
    </message>
    <message>
        <source>Decoderlijst openen</source>
        <translation>Decoderlijst openen</translation>
    </message>
    <message>
        <source>Spreadsheet (*.csv);;Alle bestanden (*)</source>
        <translation>Spreadsheet (*.csv);;Alle bestanden (*)</translation>
    </message>
    <message>
        <source>decoderlijst.csv</source>
        <translation>decoderlijst.csv</translation>
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
        <translation>rij</translation>
    </message>
    <message>
        <source>rijen</source>
        <translation>rijen</translation>
    </message>
    <message>
        <source>wordt</source>
        <translation>wordt</translation>
    </message>
    <message>
        <source>worden</source>
        <translation>worden</translation>
    </message>
    <message>
        <source>is</source>
        <translation>is</translation>
    </message>
    <message>
        <source>zijn</source>
        <translation>zijn</translation>
    </message>
    <message>
        <source>Decoderlijst</source>
        <translation>Decoderlijst</translation>
    </message>
    <message>
        <source>Decoders</source>
        <translation>Decoders</translation>
    </message>
    <message>
        <source>Toelichting bij het eerste wisseladres</source>
        <translation>Toelichting bij het eerste wisseladres</translation>
    </message>
    <message>
        <source>Toevoegen</source>
        <translation>Toevoegen</translation>
    </message>
    <message>
        <source>Verwijderen</source>
        <translation>Verwijderen</translation>
    </message>
    <message>
        <source>Omhoog</source>
        <translation>Omhoog</translation>
    </message>
    <message>
        <source>Omlaag</source>
        <translation>Omlaag</translation>
    </message>
    <message>
        <source>Kies</source>
        <translation>Kies</translation>
    </message>
    <message>
        <source>Zet het adres en de modes van deze decoder in het hoofdvenster</source>
        <translation>Zet het adres en de modes van deze decoder in het hoofdvenster</translation>
    </message>
    <message>
        <source>Programmeer reeks</source>
        <translation>Programmeer reeks</translation>
    </message>
    <message>
        <source>Programmeert de gekozen decoders, of alle die nog niet geprogrammeerd zijn, een voor een</source>
        <translation>Programmeert de gekozen decoders, of alle die nog niet geprogrammeerd zijn, een voor een</translation>
    </message>
    <message>
        <source>Openen…</source>
        <translation>Openen…</translation>
    </message>
    <message>
        <source>Opslaan als…</source>
        <translation>Opslaan als…</translation>
    </message>
    <message>
        <source>Sluiten</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>De decoderlijst kon niet worden opgeslagen in %1.</source>
        <translation>De decoderlijst kon niet worden opgeslagen in %1.</translation>
    </message>
    <message>
        <source>Decoder %1</source>
        <translation>Decoder %1</translation>
    </message>
    <message>
        <source>Maak eerst verbinding met de Centrale in het hoofdvenster; daarna kan de reeks beginnen.</source>
        <translation>Maak eerst verbinding met de Centrale in het hoofdvenster; daarna kan de reeks beginnen.</translation>
    </message>
    <message>
        <source>Alle decoders in de lijst zijn al geprogrammeerd. Kies de decoders die opnieuw geprogrammeerd moeten worden en druk dan op &quot;Programmeer reeks&quot;.</source>
        <translation>Alle decoders in de lijst zijn al geprogrammeerd. Kies de decoders die opnieuw geprogrammeerd moeten worden en druk dan op &quot;Programmeer reeks&quot;.</translation>
    </message>
    <message>
        <source> De lijst blijft zoals hij was.</source>
        <translation> De lijst blijft zoals hij was.</translation>
    </message>
    <message>
        <source>%1 is groter dan %2 MB, veel groter dan de decoderlijst van een baan; er is niets uit gelezen.</source>
        <translation>%1 is groter dan %2 MB, veel groter dan de decoderlijst van een baan; er is niets uit gelezen.</translation>
    </message>
    <message>
        <source>%1 kon niet worden gelezen.</source>
        <translation>%1 kon niet worden gelezen.</translation>
    </message>
    <message>
        <source>Uit %1 is geen enkele decoder gelezen.</source>
        <translation>Uit %1 is geen enkele decoder gelezen.</translation>
    </message>
    <message>
        <source>De %1 in de lijst %2 vervangen door de %3 uit %4.</source>
        <translation>De %1 in de lijst %2 vervangen door de %3 uit %4.</translation>
    </message>
    <message>
        <source> %1 uit het bestand %2 overgeslagen.</source>
        <translation> %1 uit het bestand %2 overgeslagen.</translation>
    </message>
    <message>
        <source> De geschiedenis van de runs blijft bewaard.</source>
        <translation> De geschiedenis van de runs blijft bewaard.</translation>
    </message>
    <message>
        <source>%1 uit %2 %3 overgeslagen:</source>
        <translation>%1 uit %2 %3 overgeslagen:</translation>
    </message>
    <message>
        <source>De decoderlijst kon niet worden opgeslagen als %1.</source>
        <translation>De decoderlijst kon niet worden opgeslagen als %1.</translation>
    </message>
</context>
<context>
    <name>DecoderModel</name>
    <message>
        <source>4 uitgangen als impuls (LS100)</source>
        <translation>4 uitgangen als impuls (LS100)</translation>
    </message>
    <message>
        <source>4 uitgangen als impuls (K83)</source>
        <translation>4 uitgangen als impuls (K83)</translation>
    </message>
    <message>
        <source>4 uitgangen als aan/uit (K84)</source>
        <translation>4 uitgangen als aan/uit (K84)</translation>
    </message>
    <message>
        <source>Verlichtingsmode</source>
        <translation>Verlichtingsmode</translation>
    </message>
    <message>
        <source>Sein met 2 begrippen</source>
        <translation>Sein met 2 begrippen</translation>
    </message>
    <message>
        <source>Sein met 4 begrippen</source>
        <translation>Sein met 4 begrippen</translation>
    </message>
    <message>
        <source>NS-Sein met 4 begrippen</source>
        <translation>NS-Sein met 4 begrippen</translation>
    </message>
</context>
<context>
    <name>DecoderSeries</name>
    <message>
        <source>(zonder naam)</source>
        <translation>(zonder naam)</translation>
    </message>
    <message>
        <source>Decoder %1 van %2: %3
Wisseladressen %4–%5 (decoder %6), Groep A: %7, Groep B: %8.

Zet deze decoder in de leerstand: houd zijn programmeertoets ingedrukt tot de leds van Groep A en Groep B samen aangaan, en laat de toets dan los.
Druk daarna op OK. Annuleren beëindigt de reeks.</source>
        <translation>Decoder %1 van %2: %3
Wisseladressen %4–%5 (decoder %6), Groep A: %7, Groep B: %8.

Zet deze decoder in de leerstand: houd zijn programmeertoets ingedrukt tot de leds van Groep A en Groep B samen aangaan, en laat de toets dan los.
Druk daarna op OK. Annuleren beëindigt de reeks.</translation>
    </message>
    <message>
        <source>%1 (wisseladressen %2–%3) heeft zijn adres en modes ontvangen%4.
Druk nu op de programmeerknop van de WD10.</source>
        <translation>%1 (wisseladressen %2–%3) heeft zijn adres en modes ontvangen%4.
Druk nu op de programmeerknop van de WD10.</translation>
    </message>
    <message>
        <source>, maar de Centrale heeft niets bevestigd</source>
        <translation>, maar de Centrale heeft niets bevestigd</translation>
    </message>
    <message>
        <source>
Het hoofdvenster is tijdens de run gewijzigd: de decoder heeft %1, Groep A: %2, Groep B: %3 geleerd, en dat staat nu in de lijst.</source>
        <translation>
Het hoofdvenster is tijdens de run gewijzigd: de decoder heeft %1, Groep A: %2, Groep B: %3 geleerd, en dat staat nu in de lijst.</translation>
    </message>
</context>
<context>
    <name>ExceptionDisplay</name>
    <message>
        <source>

U hebt geen toegang tot %1. Voeg uw gebruiker toe aan de groep &quot;%2&quot; (sudo adduser $USER %2), meld u af en weer aan, en probeer het opnieuw.</source>
        <translation>

U hebt geen toegang tot %1. Voeg uw gebruiker toe aan de groep &quot;%2&quot; (sudo adduser $USER %2), meld u af en weer aan, en probeer het opnieuw.</translation>
    </message>
    <message>
        <source>deze poort</source>
        <translation>deze poort</translation>
    </message>
    <message>
        <source>

De verbinding met de poort is weggevallen. Is de USB-adapter losgetrokken of de centrale uitgeschakeld? Sluit het programma, sluit de adapter weer aan en start opnieuw.</source>
        <translation>

De verbinding met de poort is weggevallen. Is de USB-adapter losgetrokken of de centrale uitgeschakeld? Sluit het programma, sluit de adapter weer aan en start opnieuw.</translation>
    </message>
</context>
<context>
    <name>LineLed</name>
    <message>
        <source>Verbinding</source>
        <translation>Verbinding</translation>
    </message>
    <message>
        <source>Draaggolf (RLSD)</source>
        <translation>Draaggolf (RLSD)</translation>
    </message>
    <message>
        <source>Belsignaal</source>
        <translation>Belsignaal</translation>
    </message>
    <message>
        <source>Ontvangen</source>
        <translation>Ontvangen</translation>
    </message>
    <message>
        <source>Verzenden</source>
        <translation>Verzenden</translation>
    </message>
    <message>
        <source>aan</source>
        <translation>aan</translation>
    </message>
    <message>
        <source>uit</source>
        <translation>uit</translation>
    </message>
</context>
<context>
    <name>LinkFactory</name>
    <message>
        <source>Kies Compoort</source>
        <translation>Kies Compoort</translation>
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
        <translation>Deze Centrale kan het eerste wisseladres %1 niet bereiken.
Kies in de decoderlijst als eerste wisseladres %2 of lager.</translation>
    </message>
    <message>
        <source>Verbinding met de Centrale is verbroken</source>
        <translation>Verbinding met de Centrale is verbroken</translation>
    </message>
    <message>
        <source>De verbinding met de SRCP-server op %1 is verbroken.
Start de server zo nodig opnieuw en druk daarna op &quot;Verbinden&quot;.</source>
        <translation>De verbinding met de SRCP-server op %1 is verbroken.
Start de server zo nodig opnieuw en druk daarna op &quot;Verbinden&quot;.</translation>
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
        <translation>1: Sluit de decoder op de digitale spanning aan. Druk aansluitend op de programmeer 
toets voor enkele seconden en wel zolang dat de led van Groep A en Groep B samen 
aangaan.

2: Laat de programmeertoets los Nu brand alleen de LED van groep A.
Nu kunnen de gegevens worden ingevuld in onderstaand scherm, nadat deze volledig 
is ingevuld druk op het  &apos;Programmeer Sorvell&apos; knopje. Als de gegevens verzonden 
zijn kan het programma worden afgesloten met de actief geworden knop Sluiten.</translation>
    </message>
    <message>
        <source>Configuratie Kuehn WD10</source>
        <translation>Configuratie Kuehn WD10</translation>
    </message>
    <message>
        <source>Selectie Scherm</source>
        <translation>Selectie Scherm</translation>
    </message>
    <message>
        <source>Aanwijzingen</source>
        <translation>Aanwijzingen</translation>
    </message>
    <message>
        <source>SRCP-server:</source>
        <translation>SRCP-server:</translation>
    </message>
    <message>
        <source>Adres van de SRCP-server</source>
        <translation>Adres van de SRCP-server</translation>
    </message>
    <message>
        <source>Programmeren Kuehn WD10</source>
        <translation>Programmeren Kuehn WD10</translation>
    </message>
    <message>
        <source>Eerste wisseladres</source>
        <translation>Eerste wisseladres</translation>
    </message>
    <message>
        <source>Decoderadres: 2500</source>
        <translation>Decoderadres: 2500</translation>
    </message>
    <message>
        <source>Eerste wisseladres Groep B</source>
        <translation>Eerste wisseladres Groep B</translation>
    </message>
    <message>
        <source>Groep A</source>
        <translation>Groep A</translation>
    </message>
    <message>
        <source>Groep B</source>
        <translation>Groep B</translation>
    </message>
    <message>
        <source>Programmeer Kuehn WD10</source>
        <translation>Programmeer Kuehn WD10</translation>
    </message>
    <message>
        <source>Volgende decoder</source>
        <translation>Volgende decoder</translation>
    </message>
    <message>
        <source>Houdt de verbinding en zet het volgende vrije wisseladres klaar</source>
        <translation>Houdt de verbinding en zet het volgende vrije wisseladres klaar</translation>
    </message>
    <message>
        <source>Sluiten</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>About IB/TC</source>
        <translation>About IB/TC</translation>
    </message>
    <message>
        <source>Decoderlijst…</source>
        <translation>Decoderlijst…</translation>
    </message>
    <message>
        <source>Opent de lijst van de decoders van de baan</source>
        <translation>Opent de lijst van de decoders van de baan</translation>
    </message>
    <message>
        <source>Verbindingslog</source>
        <translation>Verbindingslog</translation>
    </message>
    <message>
        <source>Ontvangstlog</source>
        <translation>Ontvangstlog</translation>
    </message>
    <message>
        <source>SRCP-informatielog</source>
        <translation>SRCP-informatielog</translation>
    </message>
    <message>
        <source>Taal</source>
        <translation>Taal</translation>
    </message>
    <message>
        <source>Signalen</source>
        <translation>Signalen</translation>
    </message>
    <message>
        <source>Verbinding</source>
        <translation>Verbinding</translation>
    </message>
    <message>
        <source>Ontvangst</source>
        <translation>Ontvangst</translation>
    </message>
</context>
<context>
    <name>P50XDetection</name>
    <message>
        <source>Geen Intellibox of Twin-Center aangesloten.</source>
        <translation>Geen Intellibox of Twin-Center aangesloten.</translation>
    </message>
    <message>
        <source>Please re-enable the P50x protocol!</source>
        <translation>Please re-enable the P50x protocol!</translation>
    </message>
    <message>
        <source>Reset de Intellibox, Twin-Center</source>
        <translation>Reset de Intellibox, Twin-Center</translation>
    </message>
    <message>
        <source>Onverwacht antwoord op xSo1: </source>
        <translation>Onverwacht antwoord op xSo1: </translation>
    </message>
</context>
<context>
    <name>PortSettingsDialog</name>
    <message>
        <source>Setup</source>
        <translation>Poortinstellingen</translation>
    </message>
    <message>
        <source> Settings </source>
        <translation> Instellingen </translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Poort</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Databits</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Stopbits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Pariteit</translation>
    </message>
    <message>
        <source>Flow control</source>
        <translation>Stroombesturing</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
</context>
<context>
    <name>ProgrammingRun</name>
    <message>
        <source>De Centrale meldt dat de baan geen spanning heeft. Sorvell heeft de spanning weer ingeschakeld, maar de Centrale heeft dat niet bevestigd; er is niets naar de decoder gestuurd.
Melding: %1
Zoek naar kortsluiting (ook in de bedrading van de WD10), schakel zo nodig de spanning aan de Centrale weer in en druk opnieuw op &quot;Programmeer Kuehn WD10&quot;.</source>
        <translation>De Centrale meldt dat de baan geen spanning heeft. Sorvell heeft de spanning weer ingeschakeld, maar de Centrale heeft dat niet bevestigd; er is niets naar de decoder gestuurd.
Melding: %1
Zoek naar kortsluiting (ook in de bedrading van de WD10), schakel zo nodig de spanning aan de Centrale weer in en druk opnieuw op &quot;Programmeer Kuehn WD10&quot;.</translation>
    </message>
    <message>
        <source>De Centrale meldde dat de baan geen spanning had (%1); de spanning is weer ingeschakeld.</source>
        <translation>De Centrale meldde dat de baan geen spanning had (%1); de spanning is weer ingeschakeld.</translation>
    </message>
    <message>
        <source>Zet wisselnummer: %1</source>
        <translation>Zet wisselnummer: %1</translation>
    </message>
    <message>
        <source>Druk op de programmeerknop van de WD10</source>
        <translation>Druk op de programmeerknop van de WD10</translation>
    </message>
</context>
<context>
    <name>RememberedSettings</name>
    <message>
        <source>cannot read the settings file %1; starting with the defaults</source>
        <translation>kan het instellingenbestand %1 niet lezen; Sorvell start met de standaardinstellingen</translation>
    </message>
    <message>
        <source>the settings file %1 is damaged; starting with the defaults</source>
        <translation>het instellingenbestand %1 is beschadigd; Sorvell start met de standaardinstellingen</translation>
    </message>
    <message>
        <source>cannot write the settings file %1; nothing is remembered</source>
        <translation>kan het instellingenbestand %1 niet schrijven; er wordt niets onthouden</translation>
    </message>
</context>
<context>
    <name>RunFailureMessage</name>
    <message>
        <source>De interface gaf geen bevestiging (01 04 05).</source>
        <translation>De interface gaf geen bevestiging (01 04 05).</translation>
    </message>
    <message>
        <source>LocoNet gaf de opdracht niet terug.</source>
        <translation>LocoNet gaf de opdracht niet terug.</translation>
    </message>
    <message>
        <source>De interface heeft de opdracht niet van de poort afgenomen.</source>
        <translation>De interface heeft de opdracht niet van de poort afgenomen.</translation>
    </message>
    <message>
        <source>De interface liet tijdens de stap het CTS-signaal vallen.</source>
        <translation>De interface liet tijdens de stap het CTS-signaal vallen.</translation>
    </message>
    <message>
        <source>Controleer of de Centrale aan staat en de baan spanning heeft.</source>
        <translation>Controleer of de Centrale aan staat en de baan spanning heeft.</translation>
    </message>
    <message>
        <source>Controleer of de interface aan staat, of de kabel goed vastzit en of de baudrate van de poort die van de interface is.</source>
        <translation>Controleer of de interface aan staat, of de kabel goed vastzit en of de baudrate van de poort die van de interface is.</translation>
    </message>
    <message>
        <source>Controleer de kabel, de adapter en de Centrale.</source>
        <translation>Controleer de kabel, de adapter en de Centrale.</translation>
    </message>
    <message>
        <source>Melding: %1</source>
        <translation>Melding: %1</translation>
    </message>
    <message>
        <source>De Centrale gaf geen antwoord.</source>
        <translation>De Centrale gaf geen antwoord.</translation>
    </message>
    <message>
        <source>De Centrale heeft stap %1 van 4 (wisselnummer %2) geweigerd.</source>
        <translation>De Centrale heeft stap %1 van 4 (wisselnummer %2) geweigerd.</translation>
    </message>
    <message>
        <source>Stap %1 van 4 (wisselnummer %2) is niet bij de Centrale aangekomen of niet bevestigd.</source>
        <translation>Stap %1 van 4 (wisselnummer %2) is niet bij de Centrale aangekomen of niet bevestigd.</translation>
    </message>
    <message>
        <source>De decoder is niet geprogrammeerd. </source>
        <translation>De decoder is niet geprogrammeerd. </translation>
    </message>
    <message>
        <source> Druk daarna op &quot;Sluiten&quot;, zet de decoder opnieuw in de leerstand en begin opnieuw.</source>
        <translation> Druk daarna op &quot;Sluiten&quot;, zet de decoder opnieuw in de leerstand en begin opnieuw.</translation>
    </message>
    <message>
        <source>stap %1 van 4 (wisselnummer %2) %3. %4</source>
        <translation>stap %1 van 4 (wisselnummer %2) %3. %4</translation>
    </message>
    <message>
        <source>geweigerd</source>
        <translation>geweigerd</translation>
    </message>
    <message>
        <source>niet bevestigd</source>
        <translation>niet bevestigd</translation>
    </message>
    <message>
        <source>Programmeren afgebroken bij stap %1 (wisselnummer %2)</source>
        <translation>Programmeren afgebroken bij stap %1 (wisselnummer %2)</translation>
    </message>
    <message>
        <source>Let op: de Centrale heeft geen enkele opdracht bevestigd; of de decoder ze ontvangen heeft, is niet gecontroleerd.</source>
        <translation>Let op: de Centrale heeft geen enkele opdracht bevestigd; of de decoder ze ontvangen heeft, is niet gecontroleerd.</translation>
    </message>
</context>
<context>
    <name>SerialPortError</name>
    <message>
        <source>Unable to open com port</source>
        <translation>Kan de compoort niet openen</translation>
    </message>
    <message>
        <source>WriteFile function failed</source>
        <translation>De functie WriteFile is mislukt</translation>
    </message>
    <message>
        <source>ReadFile function failed</source>
        <translation>De functie ReadFile is mislukt</translation>
    </message>
    <message>
        <source>Invalid Async parameter</source>
        <translation>Ongeldige asynchrone parameter</translation>
    </message>
    <message>
        <source>PurgeComm function failed</source>
        <translation>De functie PurgeComm is mislukt</translation>
    </message>
    <message>
        <source>Unable to get async status</source>
        <translation>Kan de asynchrone status niet opvragen</translation>
    </message>
    <message>
        <source>SetCommState function failed</source>
        <translation>De functie SetCommState is mislukt</translation>
    </message>
    <message>
        <source>SetCommTimeouts failed</source>
        <translation>SetCommTimeouts is mislukt</translation>
    </message>
    <message>
        <source>SetupComm function failed</source>
        <translation>De functie SetupComm is mislukt</translation>
    </message>
    <message>
        <source>ClearCommError function failed</source>
        <translation>De functie ClearCommError is mislukt</translation>
    </message>
    <message>
        <source>GetCommModemStatus function failed</source>
        <translation>De functie GetCommModemStatus is mislukt</translation>
    </message>
    <message>
        <source>EscapeCommFunction function failed</source>
        <translation>De functie EscapeCommFunction is mislukt</translation>
    </message>
    <message>
        <source>TransmitCommChar function failed</source>
        <translation>De functie TransmitCommChar is mislukt</translation>
    </message>
    <message>
        <source>Cannot set property while connected</source>
        <translation>Kan de eigenschap niet wijzigen zolang er verbinding is</translation>
    </message>
    <message>
        <source>EnumPorts function failed</source>
        <translation>De functie EnumPorts is mislukt</translation>
    </message>
    <message>
        <source>Failed to store settings</source>
        <translation>Opslaan van de instellingen is mislukt</translation>
    </message>
    <message>
        <source>Failed to load settings</source>
        <translation>Laden van de instellingen is mislukt</translation>
    </message>
    <message>
        <source>Link (un)registration failed</source>
        <translation>Aan- of afmelden van de koppeling is mislukt</translation>
    </message>
    <message>
        <source>Cannot change led state if ComPort is selected</source>
        <translation>Kan de toestand van de led niet wijzigen als er een ComPort gekozen is</translation>
    </message>
    <message>
        <source>Cannot wait for event if event thread is created</source>
        <translation>Kan niet op een gebeurtenis wachten als de gebeurtenisthread al bestaat</translation>
    </message>
    <message>
        <source>WaitForEvent method failed</source>
        <translation>De methode WaitForEvent is mislukt</translation>
    </message>
    <message>
        <source>A component is linked to OnRxBuf event</source>
        <translation>Er is een component aan de gebeurtenis OnRxBuf gekoppeld</translation>
    </message>
    <message>
        <source>Registry error</source>
        <translation>Registerfout</translation>
    </message>
</context>
<context>
    <name>SrcpLink</name>
    <message>
        <source>Op %1 luistert niets, of het is geen SRCP 0.8-server. Start de server en druk daarna opnieuw op &quot;Verbinden&quot;.</source>
        <translation>Op %1 luistert niets, of het is geen SRCP 0.8-server. Start de server en druk daarna opnieuw op &quot;Verbinden&quot;.</translation>
    </message>
    <message>
        <source>De verbinding met de SRCP-server op %1 is tijdens het aanmelden weggevallen. Start de server zo nodig opnieuw en druk daarna opnieuw op &quot;Verbinden&quot;.</source>
        <translation>De verbinding met de SRCP-server op %1 is tijdens het aanmelden weggevallen. Start de server zo nodig opnieuw en druk daarna opnieuw op &quot;Verbinden&quot;.</translation>
    </message>
    <message>
        <source>Het aanmelden bij de SRCP-server op %1 is mislukt.
Melding: %2
Druk op &quot;Verbinden&quot; om het opnieuw te proberen.</source>
        <translation>Het aanmelden bij de SRCP-server op %1 is mislukt.
Melding: %2
Druk op &quot;Verbinden&quot; om het opnieuw te proberen.</translation>
    </message>
    <message>
        <source>Er draait geen SRCP-server op %1. Start de server en druk daarna op &quot;Verbinden&quot;.</source>
        <translation>Er draait geen SRCP-server op %1. Start de server en druk daarna op &quot;Verbinden&quot;.</translation>
    </message>
</context>
<context>
    <name>StationChoice</name>
    <message>
        <source>Sorvell spreekt Nederlands vanaf de volgende start.</source>
        <translation>Sorvell spreekt Nederlands vanaf de volgende start.</translation>
    </message>
    <message>
        <source>Configuratie Kuehn WD10 via Programmeertoets.</source>
        <translation>Configuratie Kuehn WD10 via Programmeertoets.</translation>
    </message>
    <message>
        <source>Over IB/TC</source>
        <translation>Over IB/TC</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is geen geldig adres van een SRCP-server.
Geef een computernaam of IP-adres, eventueel met een poort, bijvoorbeeld %2.</source>
        <translation>&quot;%1&quot; is geen geldig adres van een SRCP-server.
Geef een computernaam of IP-adres, eventueel met een poort, bijvoorbeeld %2.</translation>
    </message>
    <message>
        <source>Deze Centrale kan geen wisselnummers boven %1 schakelen; met dit adres zou de decoder een verkeerd adres leren.
Kies als eerste wisseladres %2 of lager.</source>
        <translation>Deze Centrale kan geen wisselnummers boven %1 schakelen; met dit adres zou de decoder een verkeerd adres leren.
Kies als eerste wisseladres %2 of lager.</translation>
    </message>
</context>
<context>
    <name>UserNotifier</name>
    <message>
        <source>Annuleren</source>
        <translation>Annuleren</translation>
    </message>
</context>
<context>
    <name>WriteWholeFile</name>
    <message>
        <source>niet alles kon worden geschreven; is de schijf vol?</source>
        <translation>niet alles kon worden geschreven; is de schijf vol?</translation>
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
        <translation>Gebruik: sorvell [--help | --version]

Sorvell stelt een Kuehn WD10-accessoiredecoder in via de Centrale van uw modelbaan:
een Intellibox of Twin-Center (LocoNet of P50X), een Lenz- of Roco Multi-Maus-systeem,
een Märklin 6050/6051-interface of een SRCP 0.8-server.

Zonder opties opent het zijn venster, in de taal van de desktop (Engels, Duits, of
Nederlands voor elke andere) of in de taal die in het venster gekozen is: kies het type
Centrale, maak verbinding, vul het eerste wisseladres van de decoder en de mode van elke
groep in, zet de WD10 in de leerstand en druk op &quot;Programmeer Kuehn WD10&quot;.

  -h, --help     toon deze hulp en stop
      --version  toon de versie en stop

Start eerst sorvell-sim met een type Centrale om het zonder hardware te proberen.
</translation>
    </message>
    <message>
        <source>cannot write the output: %1</source>
        <translation>kan de uitvoer niet schrijven: %1</translation>
    </message>
    <message>
        <source>this executable carries no version information</source>
        <translation>dit programmabestand bevat geen versie-informatie</translation>
    </message>
    <message>
        <source>the version information of this executable is incomplete</source>
        <translation>de versie-informatie van dit programmabestand is onvolledig</translation>
    </message>
    <message>
        <source>the version information of this executable names no product</source>
        <translation>de versie-informatie van dit programmabestand noemt geen product</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;
Try &apos;sorvell --help&apos; for more information.</source>
        <translation>onbekende optie &apos;%1&apos;
Zie &apos;sorvell --help&apos; voor meer informatie.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;
Try &apos;sorvell --help&apos; for more information.</source>
        <translation>onverwacht argument &apos;%1&apos;
Zie &apos;sorvell --help&apos; voor meer informatie.</translation>
    </message>
</context>
</TS>
