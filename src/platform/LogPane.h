// A multi-line log pane. Text is 8-bit, one byte a character. The pane keeps at most
// kMaxChars characters, dropping the oldest, so a command station that floods the log cannot
// grow the program's memory without bound.
#pragma once

#include <QPlainTextEdit>

class LogPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kMaxChars = 256 * 1024;

  explicit LogPane(QWidget* parent = nullptr);

  // Adds one entry; an entry with embedded line breaks shows as several lines. An entry that
  // alone fills the pane leaves only its tail.
  void AddLine(const QString& line);
  void SetText(const QString& text);
  QString Text() const;
  void Clear();
  // The lines as shown, one entry a line.
  QStringList Lines() const;

 private:
  void TrimToLimit();
};
