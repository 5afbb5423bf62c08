// Puts a simulator's pty into the program's port list: a link with the simulator's name, in the
// directory where the program looks for published ports, for as long as this object lives. A
// link left behind by a simulator that died is replaced; the link of one still running is not.
#pragma once

#include <QString>

class PublishedPort {
 public:
  // Throws std::runtime_error, with a message for the user, when the port cannot be published.
  PublishedPort(const QString& directory, const QString& name, const QString& target);
  ~PublishedPort();
  PublishedPort(const PublishedPort&) = delete;
  PublishedPort& operator=(const PublishedPort&) = delete;

  const QString& LinkPath() const { return linkPath_; }

 private:
  QString linkPath_;
  QString target_;
  int lockFd_ = -1;
};
