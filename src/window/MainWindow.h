// The main window: the user picks the command station (the central type), connects, enters the
// decoder's address and modes, programs the WD10 and closes. The window builds and places its
// controls and shows; what the controls do, and what a close does, MainController decides.
#pragma once

#include <QWidget>
#include <memory>

#include "window/MainWindowWidgets.h"

class MainController;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildWindow();

  MainWindowWidgets widgets_;
  std::unique_ptr<MainController> controller_;
};
