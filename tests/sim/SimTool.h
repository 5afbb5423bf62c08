// The sorvell-sim tool run as the user runs it, with a runtime directory of the test's own so
// that its published ports stay out of the user's port list.
#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "support/WaitFor.h"

class SimTool {
 public:
  explicit SimTool(const QString& runtimeDirectory) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDirectory);
    process_.setProcessEnvironment(environment);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput,
                     [this] { output_ += QString::fromUtf8(process_.readAllStandardOutput()); });
  }
  ~SimTool() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }

  void Start(const QStringList& arguments) {
    process_.start(QStringLiteral(SORVELL_SIM_PATH), arguments);
  }
  // Asks the tool to end as Ctrl+C would (SIGTERM); true when it ended by itself.
  bool End() {
    process_.terminate();
    return Finished();
  }
  bool Finished() {
    return WaitFor([&] { return process_.state() == QProcess::NotRunning; });
  }
  int ExitCode() const { return process_.exitCode(); }
  QProcess::ExitStatus ExitStatus() const { return process_.exitStatus(); }
  QString ErrorOutput() { return QString::fromUtf8(process_.readAllStandardError()); }
  // Everything it printed on its standard output so far.
  const QString& Output() const { return output_; }
  bool WaitForOutput(const QString& text) {
    return WaitFor([&] { return output_.contains(text); });
  }

 private:
  QProcess process_;
  QString output_;
};
