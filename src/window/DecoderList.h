// The layout's decoders as the user keeps them: one row per WD10 with its name, first turnout
// address and the modes of its two groups, and what its last programming run came to. A WD10
// cannot be read back, so this list and the history of runs are the user's only record of what
// each decoder learnt.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// One programming run, as the history keeps it and a row shows its last.
struct RunRecord {
  enum class Result {
    Programmed,   // every step confirmed by the station
    Unconfirmed,  // the commands went out, but the station confirmed nothing
    Failed,       // refused or lost at a step: the decoder is not programmed
  };

  QDateTime when;
  QString decoderName;
  int firstAddress = 1;
  int modeA = 2;  // mode numbers, DecoderModel::kModes
  int modeB = 2;
  QString central;  // the central type's caption, e.g. "Lenz/Multi-Maus"
  Result result = Result::Failed;
  // For a failed run: the station's own words, or which confirmation did not come.
  QString stationSaid;

  bool operator==(const RunRecord&) const = default;
};

struct DecoderRow {
  QString name;
  int firstAddress = 1;
  int modeA = 2;  // mode numbers, DecoderModel::kModes
  int modeB = 2;
  std::optional<RunRecord> lastRun;
  // The row's own name for the file, which no edit changes: two windows on one list tell by it
  // which row the other one edited, added or removed, wherever it now stands.
  QString id{};

  bool operator==(const DecoderRow&) const = default;
};

class DecoderList {
 public:
  const std::vector<DecoderRow>& Rows() const { return rows_; }
  const std::vector<RunRecord>& History() const { return history_; }

  // A row without an id is given a new one.
  void Add(DecoderRow row);
  // The row keeps its id, whatever row says.
  void Update(int index, DecoderRow row);
  void Remove(int index);
  // Moves the row at from so that it ends up at to.
  void Move(int from, int to);
  // The row's last run becomes run, and run joins the history.
  void Record(int index, const RunRecord& run);
  // A history entry of a run that belonged to no row (the main window's own runs).
  void RecordUnlisted(const RunRecord& run);

  // Another row has the same first address: one of the two decoders would answer to both.
  bool SharesFirstAddress(int index) const;

 private:
  friend class DecoderListStore;
  std::vector<DecoderRow> rows_;
  std::vector<RunRecord> history_;
};

// A row's last result in the user's words: "nog niet", "geprogrammeerd op <date time> via
// <central type>", "niet bevestigd op …" or "mislukt op <date time>: <the station's words>".
QString LastRunText(const std::optional<RunRecord>& run);
