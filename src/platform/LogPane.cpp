#include "platform/LogPane.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

LogPane::LogPane(QWidget* parent) : QPlainTextEdit(parent) {
  // A log is read, not written in: Tab leads on to the next control instead of trapping the
  // keyboard in the pane.
  setTabChangesFocus(true);
}

void LogPane::AddLine(const QString& line) {
  // An entry as long as the pane's limit would push out everything before it and most of
  // itself: its tail replaces the text at once, which shows the same for far less work. A
  // flooding server can hand over megabytes in one read.
  if (line.size() >= kMaxChars) {
    SetText(line.last(kMaxChars));
    return;
  }
  appendPlainText(line);
  TrimToLimit();
}

void LogPane::SetText(const QString& text) {
  setPlainText(text);
  TrimToLimit();
}

QString LogPane::Text() const {
  return toPlainText();
}

void LogPane::Clear() {
  clear();
}

QStringList LogPane::Lines() const {
  if (document()->isEmpty()) return {};
  return toPlainText().split(QLatin1Char('\n'));
}

void LogPane::TrimToLimit() {
  const int excess = document()->characterCount() - kMaxChars;
  if (excess <= 0) return;
  // Positions, not character steps: a flood without line ends makes one enormous block, and
  // walking it a character at a time would freeze the window.
  QTextCursor cursor(document());
  cursor.setPosition(0);
  cursor.setPosition(excess, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}
