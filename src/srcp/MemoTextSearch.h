// Watches a log pane for a text while the pane fills. The pane holds up to 256 KiB, and a server
// that floods it changes it many times a second; searching all of it after every change would
// cost the window more than showing the text does. So only what changed since the last look is
// searched (with the few characters before it that a match could start in).
#pragma once

#include <QMetaObject>
#include <QString>
#include <limits>

class TMemo;

class MemoTextSearch {
 public:
  // text must not hold a line break: a match then lies within one line of the pane, which is
  // what lets a change be searched on its own.
  MemoTextSearch(TMemo& memo, QString text);
  ~MemoTextSearch();
  MemoTextSearch(const MemoTextSearch&) = delete;
  MemoTextSearch& operator=(const MemoTextSearch&) = delete;

  // True once the pane's text has contained the text at one of the looks so far.
  bool Found();

 private:
  static constexpr int kNothing = std::numeric_limits<int>::max();

  void Changed(int position, int removed, int added);

  TMemo& memo_;
  QString text_;
  QMetaObject::Connection watch_;
  int unsearchedFrom_ = 0;
  bool found_;
};
