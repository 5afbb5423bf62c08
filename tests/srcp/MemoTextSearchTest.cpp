#include "srcp/MemoTextSearch.h"

#include <gtest/gtest.h>

#include <QTextCursor>
#include <random>

#include "platform/TMemo.h"

namespace {

// The watch must agree with a search of the whole text at every look, whatever happened to the
// pane since the last one: entries added, text typed onto the last line or in the middle, text
// deleted (which can join two halves of a match), the oldest text dropped because the pane is
// full, the pane cleared or replaced. Each episode starts a new watch on the pane as it stands
// and runs until the text turns up.
TEST(MemoTextSearch, AgreesWithSearchingTheWholeText) {
  const QString pieces[] = {"416", " ERROR", " no", " data", "4", "16 ERROR no data", "416 ERROR n",
                            "x",   " ",      "SR",  "CP",    "S", "RCP 0.8",          "\n"};
  const QString fillerLine = QStringLiteral("1765000000.123 100 INFO 8 FB 1 1\n");
  std::mt19937 random(20240611);
  const auto below = [&](int bound) {
    return std::uniform_int_distribution<int>(0, bound - 1)(random);
  };
  const auto smallText = [&] {
    QString text;
    for (int n = 1 + below(3); n > 0; --n) text += pieces[below(std::size(pieces))];
    return text;
  };

  TMemo memo;
  for (const QString& needle : {QStringLiteral("416 ERROR no data"), QStringLiteral("SRCP")}) {
    int found = 0;
    for (int episode = 0; episode < 100; ++episode) {
      if (memo.Text().contains(needle)) {
        memo.Clear();
        // Half of the episodes start with a full pane.
        if (below(2) == 0) memo.AddLine(fillerLine.repeated(8000));
      }
      MemoTextSearch search(memo, needle);
      bool seen = false;
      for (int step = 0; step < 80 && !seen; ++step) {
        QTextCursor cursor(memo.document());
        const int length = memo.document()->characterCount() - 1;
        const int action = below(100);
        if (action < 30) {
          memo.AddLine(smallText());
        } else if (action < 60) {
          cursor.movePosition(QTextCursor::End);
          cursor.insertText(smallText());
        } else if (action < 70) {
          cursor.setPosition(below(length + 1));
          cursor.insertText(smallText());
        } else if (action < 85 && length > 0) {
          const int from = below(length);
          cursor.setPosition(from);
          cursor.setPosition(std::min(length, from + 1 + below(4)), QTextCursor::KeepAnchor);
          cursor.removeSelectedText();
        } else if (action < 87) {
          memo.Clear();
        } else if (action < 89) {
          memo.SetText(smallText());
        }
        if (below(3) == 0) {
          seen = memo.Text().contains(needle);
          ASSERT_EQ(search.Found(), seen)
              << "episode " << episode << " step " << step << ", " << needle.toStdString();
        }
      }
      found += seen;
    }
    // The pieces make a match neither rare nor certain, so both answers are tried often.
    EXPECT_GT(found, 20) << needle.toStdString();
    EXPECT_LT(found, 80) << needle.toStdString();
  }
}

// The everyday case under a flood: the pane is full, so each reply added pushes as much old text
// out at the front, and the reply must still be found where it ends up.
TEST(MemoTextSearch, FindsAReplyAddedToAFullPane) {
  TMemo memo;
  memo.AddLine(QStringLiteral("1765000000.123 100 INFO 8 FB 1 1\n").repeated(8000));
  MemoTextSearch search(memo, "416 ERROR no data");
  EXPECT_FALSE(search.Found());
  memo.AddLine("1765000000.123 100 INFO 8 FB 1 0");
  EXPECT_FALSE(search.Found());

  memo.AddLine("1765000000.123 416 ERROR no data");

  EXPECT_TRUE(search.Found());
}

}  // namespace
