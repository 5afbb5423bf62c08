#include "p50x/P50XCommandScope.h"

#include "CPort/TComPort.h"
#include "p50x/P50XLink.h"
#include "platform/TMemo.h"

namespace {

// Commands on the stack since the window last ran other handlers.
int nesting = 0;
bool replyPending = false;

class NestingLevel {
 public:
  NestingLevel() { ++nesting; }
  ~NestingLevel() { --nesting; }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;
  bool Outermost() const { return nesting == 1; }
};

}  // namespace

bool RunP50XCommand(const std::function<void()>& command) {
  const P50XHost& host = CurrentP50XHost();
  if (replyPending) {
    host.memo1->AddLine(
        QStringLiteral("Opdracht overgeslagen: de vorige opdracht wacht nog op antwoord van de "
                       "Centrale"));
    return false;
  }
  const NestingLevel level;
  if (!level.Outermost()) {
    command();
    return true;
  }
  try {
    command();
    return true;
  } catch (const P50XNoReply&) {
    host.memo1->AddLine(QStringLiteral("No reply from the command station"));
    // Whatever arrives late belongs to the abandoned command, not to the next one.
    host.port->ClearBuffer(true, false);
    return false;
  }
}

P50XEventWindow::P50XEventWindow(bool pending)
    : savedNesting_(nesting), savedReplyPending_(replyPending) {
  nesting = 0;
  replyPending = replyPending || pending;
}

P50XEventWindow::~P50XEventWindow() {
  nesting = savedNesting_;
  replyPending = savedReplyPending_;
}

bool P50XBusy() {
  return replyPending;
}
