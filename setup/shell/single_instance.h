#pragma once
// One Kalibro per user: the first copy serves a local socket named after the
// application title; a second copy finds it, asks the first to come to the
// front and ends without touching the port.
#include <QLocalServer>
#include <QString>
#include <functional>

namespace korvena::kalibro {

class SingleInstance {
 public:
  // The socket lives in the user's runtime directory, named after `title`.
  explicit SingleInstance(const QString& title);

  // True when a running copy answered; it has been asked to come to the front.
  bool ActivateRunningCopy() const;

  // Serves later copies: `bringToFront` runs whenever one starts. A socket
  // left behind by a copy that crashed is replaced.
  bool Listen(std::function<void()> bringToFront);

  const QString& serverName() const { return serverName_; }

 private:
  QString serverName_;
  QLocalServer server_;
};

}  // namespace korvena::kalibro
