#include "srcp/MemoTextSearch.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "platform/TMemo.h"

MemoTextSearch::MemoTextSearch(TMemo& memo, QString text)
    : memo_(memo), text_(std::move(text)), found_(text_.isEmpty()) {
  watch_ = QObject::connect(
      memo_.document(), &QTextDocument::contentsChange,
      [this](int position, int removed, int added) { Changed(position, removed, added); });
}

MemoTextSearch::~MemoTextSearch() {
  QObject::disconnect(watch_);
}

bool MemoTextSearch::Found() {
  if (found_ || unsearchedFrom_ == kNothing) return found_;
  const int from = std::max(0, unsearchedFrom_ - static_cast<int>(text_.size() - 1));
  unsearchedFrom_ = kNothing;
  found_ = !memo_.document()->find(text_, from, QTextDocument::FindCaseSensitively).isNull();
  return found_;
}

void MemoTextSearch::Changed(int position, int removed, int added) {
  int unsearched = unsearchedFrom_;
  if (unsearched != kNothing) {
    if (unsearched >= position + removed)
      unsearched += added - removed;
    else if (unsearched > position)
      unsearched = position;
  }
  // The pane drops its oldest text from the front: what is left was all there at the last look,
  // so nothing new can match. Any other change may.
  const bool droppedAtFront = position == 0 && added == 0;
  unsearchedFrom_ = droppedAtFront ? unsearched : std::min(unsearched, position);
}
