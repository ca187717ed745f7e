#include "app/single_instance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace kv::app {
namespace {

// The request and the answer, one line each.
constexpr char kRequest[] = "1032\n";
constexpr char kAnswer[] = "ok\n";

}  // namespace

QString InstanceServerName(const std::string& iniPath) {
  const QString absolute = QFileInfo(QString::fromStdString(iniPath)).absoluteFilePath();
  const QByteArray digest =
      QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
  return QStringLiteral("kestrovale-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest));
}

QString HandOverFileName(const QString& commandLine) {
  if (commandLine.isEmpty() || !QFileInfo(commandLine).isRelative()) return commandLine;
  return QDir::current().absoluteFilePath(commandLine);
}

bool HandOverToRunningInstance(const QString& serverName, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(serverName);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kRequest);
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  QByteArray answer;
  while (!answer.contains('\n')) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
    answer += socket.readAll();
  }
  return answer == kAnswer;
}

InstanceServer::InstanceServer(std::function<void()> onHandOver, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), onHandOver_(std::move(onHandOver)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::Listen(const QString& serverName) {
  // Someone answers there: the name stays that program's. (Listening would
  // replace its socket, since the socket is made aside and renamed into place.)
  QLocalSocket probe;
  probe.connectToServer(serverName);
  if (probe.waitForConnected(500)) return false;
  // Nobody: at most a socket file left by a program that was killed.
  QLocalServer::removeServer(serverName);
  return server_->listen(serverName);
}

QString InstanceServer::errorString() const {
  return server_->errorString();
}

void InstanceServer::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      // Only a whole request line counts; anything else is ignored.
      if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > 64) socket->abort();
        return;
      }
      const QByteArray line = socket->readLine(64);
      if (line != kRequest) {
        socket->abort();
        return;
      }
      socket->write(kAnswer);
      socket->flush();
      QTimer::singleShot(0, this, [this] {
        if (onHandOver_) onHandOver_();
      });
    });
  }
}

}  // namespace kv::app
