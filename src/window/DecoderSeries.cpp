#include "window/DecoderSeries.h"

#include <QCoreApplication>
#include <tuple>

#include "platform/UserNotifier.h"
#include "window/DecoderListWindow.h"
#include "window/DecoderModel.h"

namespace {

constexpr int kLastTurnoutOffset = 2 * DecoderModel::kGroupBOffset - 1;

QString NameOf(const DecoderRow& row) {
  return row.name.isEmpty() ? QCoreApplication::translate("DecoderSeries", "(zonder naam)")
                            : row.name;
}

QString SeriesPrompt(const DecoderRow& row, int position, int count) {
  return QCoreApplication::translate(
             "DecoderSeries",
             "Decoder %1 van %2: %3\n"
             "Wisseladressen %4–%5 (decoder %6), Groep A: %7, Groep B: %8.\n\n"
             "Zet deze decoder in de leerstand: houd zijn programmeertoets ingedrukt tot de "
             "leds van Groep A en Groep B samen aangaan, en laat de toets dan los.\n"
             "Druk daarna op OK. Annuleren beëindigt de reeks.")
      .arg(position)
      .arg(count)
      .arg(NameOf(row))
      .arg(row.firstAddress)
      .arg(row.firstAddress + kLastTurnoutOffset)
      .arg(DecoderModel::DecoderNumber(row.firstAddress))
      .arg(DecoderModel::ModeCaption(row.modeA), DecoderModel::ModeCaption(row.modeB));
}

QString LearntMessage(const DecoderRow& row, const RunRecord& run, bool changed) {
  return QCoreApplication::translate(
             "DecoderSeries",
             "%1 (wisseladressen %2–%3) heeft zijn adres en modes ontvangen%4.\n"
             "Druk nu op de programmeerknop van de WD10.")
             .arg(NameOf(row))
             .arg(run.firstAddress)
             .arg(run.firstAddress + kLastTurnoutOffset)
             .arg(run.result == RunRecord::Result::Unconfirmed
                      ? QCoreApplication::translate("DecoderSeries",
                                                    ", maar de Centrale heeft niets bevestigd")
                      : QString()) +
         (changed
              ? QCoreApplication::translate(
                    "DecoderSeries",
                    "\nHet hoofdvenster is tijdens de run gewijzigd: de decoder "
                    "heeft %1, Groep A: %2, Groep B: %3 geleerd, en dat staat "
                    "nu in de lijst.")
                    .arg(run.firstAddress)
                    .arg(DecoderModel::ModeCaption(run.modeA), DecoderModel::ModeCaption(run.modeB))
              : QString());
}

}  // namespace

Task<void> DecoderSeries::Run(std::vector<QString> ids) {
  list_.SetSeriesInProgress(true);
  // Also when the series is ended where it waits (a close).
  const struct SeriesEnd {
    DecoderListWindow& list;
    ~SeriesEnd() { list.SetSeriesInProgress(false); }
  } end{list_};
  for (std::size_t position = 0; position < ids.size(); ++position) {
    const std::optional<DecoderRow> row = list_.RowWithId(ids[position]);
    if (!row) continue;
    if (!host_.readyToProgram()) co_return;
    const bool ready = co_await AskOkCancel(SeriesPrompt(*row, int(position) + 1, int(ids.size())));
    if (!ready) co_return;
    // Another window may have removed the row while the question was open.
    if (!list_.RowWithId(ids[position]) || !host_.readyToProgram()) co_return;
    list_.ChooseRowWithId(ids[position]);
    std::optional<RunRecord> run = co_await host_.program(*row);
    if (!run) co_return;
    run->decoderName = row->name;
    // The main window's fields can be changed while a run goes on, and each step sends what its
    // field says when it comes: the decoder learnt the run's address and modes, which the row
    // then shows, never its old ones marked as programmed. A failed run taught nothing, and the
    // row keeps what it is still to be given.
    const bool learnt = run->result != RunRecord::Result::Failed;
    const bool changed = std::tie(run->firstAddress, run->modeA, run->modeB) !=
                         std::tie(row->firstAddress, row->modeA, row->modeB);
    std::optional<DecoderRow> sent;
    if (learnt && changed) {
      sent = *row;
      std::tie(sent->firstAddress, sent->modeA, sent->modeB) =
          std::tie(run->firstAddress, run->modeA, run->modeB);
    }
    list_.RecordSeriesRun(ids[position], sent, *run);
    // A refused or lost step has been told in the run's own box, and the row says why.
    if (!learnt) co_return;
    co_await ShowMessageAndWait(LearntMessage(*row, *run, changed));
  }
}
