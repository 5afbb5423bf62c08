#include "WD10/RunFailureMessage.h"

QString RunFailureMessage(int step, int turnout, const AccessoryOutcome& outcome) {
  const QString what =
      outcome.result == AccessoryOutcome::Result::Refused
          ? QStringLiteral("De Centrale heeft stap %1 van 4 (wisselnummer %2) geweigerd.")
          : QStringLiteral(
                "Stap %1 van 4 (wisselnummer %2) is niet bij de Centrale aangekomen "
                "of niet bevestigd.");
  const QString said = outcome.stationSaid.isEmpty()
                           ? QStringLiteral("De Centrale gaf geen antwoord.")
                           : QStringLiteral("Melding: %1").arg(outcome.stationSaid);
  const QString advice =
      outcome.result == AccessoryOutcome::Result::Refused
          ? QStringLiteral("Controleer of de Centrale aan staat en de baan spanning heeft.")
          : QStringLiteral("Controleer de kabel, de adapter en de Centrale.");
  return what.arg(step).arg(turnout) + u'\n' + said + u'\n' +
         QStringLiteral("De decoder is niet geprogrammeerd. ") + advice +
         QStringLiteral(
             " Druk daarna op \"Sluiten\", zet de decoder opnieuw in de leerstand en "
             "begin opnieuw.");
}

QString RunFailureLogLine(int step, int turnout) {
  return QStringLiteral("Programmeren afgebroken bij stap %1 (wisselnummer %2)")
      .arg(step)
      .arg(turnout);
}
