// Keeps the decoder list in the user's data folder ($XDG_DATA_HOME/Sorvell/): the rows in
// decoders.json, written whole or not at all, and the history of runs beside it in
// decoders-history.jsonl, only ever appended to (DecoderHistoryFile), so that a save costs the
// same however long the history has grown.
//
// Any number of Sorvell windows, in one process or many, may share the folder. A save takes the
// list's lock file (decoders.json.lock), reads the rows again, lays this window's changes since
// it last read or wrote them onto what the file holds now (DecoderListMerge: rows by their id),
// appends this window's new runs, writes the rows, and hands the merged list back, so that the
// window shows the other windows' rows and runs too. A lock around read-merge-write, not one
// file per row or per window: the rows must stay one file a user can copy, and a list of 10,000
// rows is read and written in a few milliseconds, so the lock is never held long.
//
// A row or run with a value the reader does not accept is kept as it stood and named once;
// everything else is read. Only a file that is no decoder list at all is damaged: it is kept and
// never written over, and the list goes on under a new name beside it. A file that cannot be read
// now (permissions, an I/O error) is left alone for this start and read again at the next.
//
// The rows' file is version 2. A version-1 file (rows and history in one document) is read as
// it is and carried over at once: its history goes to the history file, its rows get ids. An
// older Sorvell reads a version-2 file as the newer version it is: it leaves it alone and starts
// a list of its own beside it.
#pragma once

#include <QString>
#include <vector>

#include "window/DecoderList.h"
#include "window/DecoderListMerge.h"

class DecoderListStore {
 public:
  // The folder the list lives in; by default the user's data folder.
  explicit DecoderListStore(QString folder = DefaultFolder());
  static QString DefaultFolder();

  struct Loaded {
    DecoderList list;
    // Empty when the list was read whole (or there was none yet); otherwise, in Dutch, what could
    // not be read and what becomes of it.
    QString problem;
  };
  Loaded Load();
  // Brings the file and list together: this list's changes since the last Load or Save go into
  // the file, and list becomes what the file now holds, other windows' changes included. False,
  // with the reason in Dutch, when the file could not be written; a run that reached the history
  // is not written again. A list whose file could not be read at Load is not saved (true): the
  // user was told then that changes are not kept this time. A save before any Load loads first,
  // so that even then a damaged file is kept.
  bool Save(DecoderList& list, QString* why = nullptr);

  // The file that Load read and Save writes, and its history.
  QString FileName() const { return fileName_; }
  QString HistoryFileName() const;

 private:
  enum class State { Unread, Keeping, NotKeeping };

  QString folder_;
  QString fileName_;
  State state_ = State::Unread;
  // The rows as this store last read or wrote them, to tell this window's changes from others'.
  std::vector<DecoderRow> base_;
  // The file's entries as base_ came from them (values that did not read included), and the
  // file's stamp then: while the stamp holds, a save need not read the file again.
  std::vector<StoredRow> baseEntries_;
  QByteArray baseStamp_;
  // How many runs at the start of the list's history the history file already holds, and where
  // in it the runs this store has not read yet begin.
  std::size_t knownRuns_ = 0;
  qint64 historyEnd_ = 0;
};
