#include "window/WindowLinkObserver.h"

#include "about/AboutBox.h"
#include "platform/LogPane.h"

void WindowLinkObserver::LogConnection(const QString& line) {
  panes_.connectionLog.AddLine(line);
}

void WindowLinkObserver::LogReceived(const QString& entry) {
  panes_.receiveLog.AddLine(entry);
}

void WindowLinkObserver::ShowReceiveStatus(const QString& text) {
  panes_.receiveLog.SetText(text);
}

void WindowLinkObserver::LogInformation(const QString& entry) {
  panes_.infoLog.AddLine(entry);
}

void WindowLinkObserver::ShowVersionValue(StationVersionField field, const QString& value) {
  panes_.aboutBox.ShowValue(field, value);
}
