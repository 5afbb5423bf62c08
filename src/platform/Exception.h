// The base of the exceptions that the components raise. It carries a message for the user
// and, where the failure came from the operating system, the OS error number and the file
// or device it concerned, so that the exception display can explain it.
#pragma once

#include <QString>
#include <exception>

class Exception : public std::exception {
 public:
  explicit Exception(QString message) : message_(std::move(message)), what_(message_.toUtf8()) {}

  const QString& Message() const { return message_; }
  const char* what() const noexcept override { return what_.constData(); }

  // errno of the failing OS call, or -1 when the failure was not the OS's.
  virtual int OsErrorNumber() const { return -1; }
  // The path of the device or file the OS call was about; empty when there is none.
  virtual QString OsErrorSubject() const { return {}; }

 private:
  QString message_;
  QByteArray what_;
};

// The message of any exception: ours with its text as the user reads it, others as they say.
inline QString MessageOf(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error)) return own->Message();
  return QString::fromLocal8Bit(error.what());
}
