// Where the SRCP server listens, as the user writes it: "host[:port]". The host is a dotted
// IPv4 address or a host name; without a port the server's usual one is meant.
#pragma once

#include <QString>
#include <optional>

struct SrcpServerAddress {
  static constexpr int kDefaultPort = 4303;

  QString host = QStringLiteral("127.0.0.1");
  int port = kDefaultPort;

  // Nothing (no address) for a text that names no IPv4 host or has a port outside 1 to 65535;
  // blanks around the text do not count.
  static std::optional<SrcpServerAddress> Parse(const QString& text);

  // A dotted IPv4 address needs no lookup.
  bool IsDottedAddress() const;
  // "host:port", as the user is shown it.
  QString ToString() const;

  bool operator==(const SrcpServerAddress&) const = default;
};
