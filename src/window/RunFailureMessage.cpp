#include "window/RunFailureMessage.h"

#include <QCoreApplication>

namespace {

using Missing = AccessoryOutcome::MissingConfirmation;

// What did not come, in the user's words; empty where the station's own words say it.
QString MissingConfirmationText(Missing missing) {
  switch (missing) {
    case Missing::InterfaceAnswer:
      return QCoreApplication::translate("RunFailureMessage",
                                         "De interface gaf geen bevestiging (01 04 05).");
    case Missing::LocoNetEcho:
      return QCoreApplication::translate("RunFailureMessage",
                                         "LocoNet gaf de opdracht niet terug.");
    case Missing::BytesNotSent:
      return QCoreApplication::translate(
          "RunFailureMessage", "De interface heeft de opdracht niet van de poort afgenomen.");
    case Missing::ClearToSendDropped:
      return QCoreApplication::translate(
          "RunFailureMessage", "De interface liet tijdens de stap het CTS-signaal vallen.");
    case Missing::None:
      break;
  }
  return {};
}

QString Advice(const AccessoryOutcome& outcome) {
  if (outcome.result == AccessoryOutcome::Result::Refused)
    return QCoreApplication::translate(
        "RunFailureMessage", "Controleer of de Centrale aan staat en de baan spanning heeft.");
  if (outcome.missing != Missing::None)
    return QCoreApplication::translate(
        "RunFailureMessage",
        "Controleer of de interface aan staat, of de kabel goed vastzit en of de "
        "baudrate van de poort die van de interface is.");
  return QCoreApplication::translate("RunFailureMessage",
                                     "Controleer de kabel, de adapter en de Centrale.");
}

QString WhatTheStationSaid(const AccessoryOutcome& outcome) {
  QString said = MissingConfirmationText(outcome.missing);
  if (!outcome.stationSaid.isEmpty())
    said +=
        (said.isEmpty() ? QString() : QStringLiteral(" ")) +
        QCoreApplication::translate("RunFailureMessage", "Melding: %1").arg(outcome.stationSaid);
  return said.isEmpty()
             ? QCoreApplication::translate("RunFailureMessage", "De Centrale gaf geen antwoord.")
             : said;
}

}  // namespace

QString RunFailureMessage(int step, int turnout, const AccessoryOutcome& outcome) {
  const QString what =
      outcome.result == AccessoryOutcome::Result::Refused
          ? QCoreApplication::translate(
                "RunFailureMessage", "De Centrale heeft stap %1 van 4 (wisselnummer %2) geweigerd.")
          : QCoreApplication::translate(
                "RunFailureMessage",
                "Stap %1 van 4 (wisselnummer %2) is niet bij de Centrale aangekomen "
                "of niet bevestigd.");
  return what.arg(step).arg(turnout) + u'\n' + WhatTheStationSaid(outcome) + u'\n' +
         QCoreApplication::translate("RunFailureMessage", "De decoder is niet geprogrammeerd. ") +
         Advice(outcome) +
         QCoreApplication::translate(
             "RunFailureMessage",
             " Druk daarna op \"Sluiten\", zet de decoder opnieuw in de leerstand en "
             "begin opnieuw.");
}

QString RunFailureRecord(int step, int turnout, const AccessoryOutcome& outcome) {
  return QCoreApplication::translate("RunFailureMessage", "stap %1 van 4 (wisselnummer %2) %3. %4")
      .arg(step)
      .arg(turnout)
      .arg(outcome.result == AccessoryOutcome::Result::Refused
               ? QCoreApplication::translate("RunFailureMessage", "geweigerd")
               : QCoreApplication::translate("RunFailureMessage", "niet bevestigd"),
           WhatTheStationSaid(outcome));
}

QString RunFailureLogLine(int step, int turnout) {
  return QCoreApplication::translate("RunFailureMessage",
                                     "Programmeren afgebroken bij stap %1 (wisselnummer %2)")
      .arg(step)
      .arg(turnout);
}

QString UnconfirmedRunLogLine() {
  return QCoreApplication::translate(
      "RunFailureMessage",
      "Let op: de Centrale heeft geen enkele opdracht bevestigd; of de decoder ze ontvangen "
      "heeft, is niet gecontroleerd.");
}
