#include "WD10/WindowLinkObserver.h"

#include "About/TAboutBox.h"
#include "WD10/TFrm_WD10.h"
#include "platform/TMemo.h"

void WindowLinkObserver::LogConnection(const QString& line) {
  window_.Memo1->AddLine(line);
}

void WindowLinkObserver::LogReceived(const QString& entry) {
  window_.Memo3->AddLine(entry);
}

void WindowLinkObserver::ShowReceiveStatus(const QString& text) {
  window_.Memo3->SetText(text);
}

void WindowLinkObserver::LogInformation(const QString& entry) {
  window_.memo4->AddLine(entry);
}

void WindowLinkObserver::ShowVersionValue(StationVersionField field, const QString& value) {
  window_.AboutBox->ShowValue(field, value);
}

void WindowLinkObserver::WaitMs(int milliseconds) {
  window_.WaitMs(milliseconds);
}
