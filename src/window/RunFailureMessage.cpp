#include "window/RunFailureMessage.h"

namespace {

using Missing = AccessoryOutcome::MissingConfirmation;

// What did not come, in the user's words; empty where the station's own words say it.
QString MissingConfirmationText(Missing missing) {
  switch (missing) {
    case Missing::InterfaceAnswer:
      return QStringLiteral("De interface gaf geen bevestiging (01 04 05).");
    case Missing::LocoNetEcho:
      return QStringLiteral("LocoNet gaf de opdracht niet terug.");
    case Missing::BytesNotSent:
      return QStringLiteral("De interface heeft de opdracht niet van de poort afgenomen.");
    case Missing::ClearToSendDropped:
      return QStringLiteral("De interface liet tijdens de stap het CTS-signaal vallen.");
    case Missing::None:
      break;
  }
  return {};
}

QString Advice(const AccessoryOutcome& outcome) {
  if (outcome.result == AccessoryOutcome::Result::Refused)
    return QStringLiteral("Controleer of de Centrale aan staat en de baan spanning heeft.");
  if (outcome.missing != Missing::None)
    return QStringLiteral(
        "Controleer of de interface aan staat, of de kabel goed vastzit en of de "
        "baudrate van de poort die van de interface is.");
  return QStringLiteral("Controleer de kabel, de adapter en de Centrale.");
}

QString WhatTheStationSaid(const AccessoryOutcome& outcome) {
  QString said = MissingConfirmationText(outcome.missing);
  if (!outcome.stationSaid.isEmpty())
    said += (said.isEmpty() ? QString() : QStringLiteral(" ")) +
            QStringLiteral("Melding: %1").arg(outcome.stationSaid);
  return said.isEmpty() ? QStringLiteral("De Centrale gaf geen antwoord.") : said;
}

}  // namespace

QString RunFailureMessage(int step, int turnout, const AccessoryOutcome& outcome) {
  const QString what =
      outcome.result == AccessoryOutcome::Result::Refused
          ? QStringLiteral("De Centrale heeft stap %1 van 4 (wisselnummer %2) geweigerd.")
          : QStringLiteral(
                "Stap %1 van 4 (wisselnummer %2) is niet bij de Centrale aangekomen "
                "of niet bevestigd.");
  return what.arg(step).arg(turnout) + u'\n' + WhatTheStationSaid(outcome) + u'\n' +
         QStringLiteral("De decoder is niet geprogrammeerd. ") + Advice(outcome) +
         QStringLiteral(
             " Druk daarna op \"Sluiten\", zet de decoder opnieuw in de leerstand en "
             "begin opnieuw.");
}

QString RunFailureRecord(int step, int turnout, const AccessoryOutcome& outcome) {
  return QStringLiteral("stap %1 van 4 (wisselnummer %2) %3. %4")
      .arg(step)
      .arg(turnout)
      .arg(outcome.result == AccessoryOutcome::Result::Refused ? QStringLiteral("geweigerd")
                                                               : QStringLiteral("niet bevestigd"),
           WhatTheStationSaid(outcome));
}

QString RunFailureLogLine(int step, int turnout) {
  return QStringLiteral("Programmeren afgebroken bij stap %1 (wisselnummer %2)")
      .arg(step)
      .arg(turnout);
}

QString UnconfirmedRunLogLine() {
  return QStringLiteral(
      "Let op: de Centrale heeft geen enkele opdracht bevestigd; of de decoder ze ontvangen "
      "heeft, is niet gecontroleerd.");
}
