// Keeps the decoder list and the history of runs on disk, in the user's data folder
// ($XDG_DATA_HOME/Sorvell/). Every save replaces the file whole or not at all, so a crash or a
// full disk never leaves half a list. A file that cannot be read is never written over.
#pragma once

#include <QString>

#include "WD10/DecoderList.h"

class DecoderListStore {
 public:
  // The folder the list lives in; by default the user's data folder.
  explicit DecoderListStore(QString folder = DefaultFolder());
  static QString DefaultFolder();

  struct Loaded {
    DecoderList list;
    // Empty when the list was read (or there was none yet); otherwise, in Dutch, what was wrong
    // with the file, that it was kept, and under which name the list is now saved.
    QString problem;
  };
  // Reads the list. A damaged or unreadable file stays as it is, and later saves go to a new
  // name beside it.
  Loaded Load();
  // Writes the list and its history atomically. False, with the reason in Dutch, on failure.
  // A save before any Load checks the file first, so that even then a damaged one is kept.
  bool Save(const DecoderList& list, QString* why = nullptr);

  // The file that Load read and Save writes.
  QString FileName() const { return fileName_; }

 private:
  QString folder_;
  QString fileName_;
  bool checked_ = false;
};
