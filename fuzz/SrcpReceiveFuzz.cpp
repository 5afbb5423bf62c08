// The SRCP receive path: text from a server arrives on a real connection (a listening socket of
// this process on the loopback interface) in pieces, the connection's read handler adds it to the
// receive log as the main window's does, and the reply wait's search watches the log for
// "416 ERROR no data" as SendSrcpGA does. After every piece the search must have found the
// reply exactly when some line of the log has held it, and the log must stay within its bound.
// A piece can be sent again and again to 16 KiB, as a flooding server does, to push the log
// past its bound.
#include <arpa/inet.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <cstdint>

#include "FuzzApplication.h"
#include "FuzzCheck.h"
#include "ScktComp/TClientSocket.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "srcp/MemoTextSearch.h"
#include "srcp/SrcpLines.h"
#include "srcp/SrcpReceive.h"

namespace {

constexpr qsizetype kFloodBytes = 16 * 1024;

bool AnyLineHolds(const TMemo& memo, const QString& text) {
  for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next())
    if (block.text().contains(text)) return true;
  return false;
}

// Processes events until condition holds; a coarse tick covers what changes without an event.
void WaitUntilTicking(const std::function<bool()>& condition) {
  QTimer tick;
  tick.start(1);
  WaitUntil(condition);
}

class ServerConnection {
 public:
  ServerConnection() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    Require(listener_ >= 0 &&
                ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                ::listen(listener_, 1) == 0 &&
                ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0,
            "a listening socket on the loopback interface");
    client_.SetAddress(QStringLiteral("127.0.0.1"));
    client_.SetPort(ntohs(address.sin_port));
    client_.OnRead = [this](QObject*, TCustomWinSocket*) { ShowReceivedText(client_, memo_); };
    client_.Open();
    server_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    Require(server_ >= 0, "the connection is accepted");
    WaitUntilTicking([this] { return client_.Active(); });
  }
  ~ServerConnection() {
    client_.Close();
    ::close(server_);
    ::close(listener_);
  }

  void Receive(const std::vector<QByteArray>& pieces) {
    memo_.Clear();
    ProcessMessages();
    const QString reply = QString::fromLatin1(SrcpNoDataReply);
    MemoTextSearch search(memo_, reply);
    bool held = false;
    for (const QByteArray& piece : pieces) {
      Send(piece);
      held = held || AnyLineHolds(memo_, reply);
      Require(search.Found() == held, "the reply is found exactly when the log has held it");
      Require(memo_.document()->characterCount() <= TMemo::kMaxChars,
              "the receive log stays within its bound");
    }
  }

 private:
  void Send(const QByteArray& bytes) {
    for (qsizetype sent = 0; sent < bytes.size();) {
      const ssize_t n = ::send(server_, bytes.constData() + sent,
                               static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
      Require(n > 0, "the server's text goes out");
      sent += n;
    }
    // Everything is read once the client has taken it in and has nothing left to read.
    WaitUntilTicking([this] {
      int unacknowledged = 0;
      ::ioctl(server_, SIOCOUTQ, &unacknowledged);
      return unacknowledged == 0 && client_.Socket()->ReceiveLength() == 0;
    });
  }

  int listener_ = -1;
  int server_ = -1;
  TClientSocket client_;
  TMemo memo_;
};

// Each piece is a header byte and up to 64 bytes; header bit 0x40 repeats the piece to 16 KiB.
std::vector<QByteArray> Pieces(const std::uint8_t* data, std::size_t size) {
  std::vector<QByteArray> pieces;
  for (const QByteArray& event : ReceiveEvents(data, size)) pieces.push_back(event);
  std::size_t at = 0;
  for (QByteArray& piece : pieces) {
    const bool flood = data[at] & 0x40;
    at += 1 + static_cast<std::size_t>(piece.size());
    if (!flood) continue;
    const QByteArray once = piece;
    while (piece.size() < kFloodBytes) piece += once;
  }
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StartFuzzApplication();
  static ServerConnection connection;
  connection.Receive(Pieces(data, size));
  return 0;
}
