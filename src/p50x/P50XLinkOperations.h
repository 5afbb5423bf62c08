// The operations of the P50X link that interface detection runs between its own raw writes, so
// that detection needs no more of the link than these.
#pragma once

#include <QByteArray>

class P50XLinkOperations {
 public:
  virtual bool SendP50X(const QByteArray& command) = 0;
  virtual QByteArray ReadUntilPrompt() = 0;
  virtual void SetXPrefixMode(bool on) = 0;
  // The link's fixed sleeps, which tests shorten.
  virtual void SleepLink(int milliseconds) const = 0;

 protected:
  ~P50XLinkOperations() = default;
};
