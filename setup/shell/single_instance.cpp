#include "shell/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace korvena::kalibro {
namespace {

constexpr int kAnswerWaitMs = 1000;

QString ServerNameFor(const QString& title) {
  const QByteArray digest = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (directory.isEmpty()) directory = QDir::tempPath();
  return QDir(directory).filePath("kalibro-" + QString::fromLatin1(digest));
}

}  // namespace

SingleInstance::SingleInstance(const QString& title) : serverName_(ServerNameFor(title)) {}

bool SingleInstance::ActivateRunningCopy() const {
  QLocalSocket socket;
  socket.connectToServer(serverName_);
  if (!socket.waitForConnected(kAnswerWaitMs)) return false;
  socket.write("front\n");
  socket.waitForBytesWritten(kAnswerWaitMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Listen(std::function<void()> bringToFront) {
  QLocalServer::removeServer(serverName_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this, bringToFront = std::move(bringToFront)] {
    while (QLocalSocket* copy = server_.nextPendingConnection()) {
      QObject::connect(copy, &QLocalSocket::disconnected, copy, &QObject::deleteLater);
      bringToFront();
    }
  });
  return server_.listen(serverName_);
}

}  // namespace korvena::kalibro
