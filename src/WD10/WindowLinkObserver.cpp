#include "WD10/WindowLinkObserver.h"

#include "About/TAboutBox.h"
#include "WD10/MainWindow.h"
#include "platform/TMemo.h"

void WindowLinkObserver::LogConnection(const QString& line) {
  window_.connectionLog->AddLine(line);
}

void WindowLinkObserver::LogReceived(const QString& entry) {
  window_.receiveLog->AddLine(entry);
}

void WindowLinkObserver::ShowReceiveStatus(const QString& text) {
  window_.receiveLog->SetText(text);
}

void WindowLinkObserver::LogInformation(const QString& entry) {
  window_.infoLog->AddLine(entry);
}

void WindowLinkObserver::ShowVersionValue(StationVersionField field, const QString& value) {
  window_.AboutBox->ShowValue(field, value);
}

void WindowLinkObserver::WaitMs(int milliseconds) {
  window_.WaitMs(milliseconds);
}
