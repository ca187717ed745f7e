// One running program per user and configuration file: a program started
// with a file while another runs hands the file over and ends, so that the
// file opens in the window the user already has. The file name travels
// through the configuration key "FileCmd"; the local socket only carries
// the request to read it (command 1032) and its answer.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QLocalServer;

namespace kv::app {

// The running program's socket name: per user (the socket itself is open to
// that user only) and per configuration file, since the file name is read
// back from that file; runs with another KESTROVALE_INI do not meet.
QString InstanceServerName(const std::string& iniPath);

// The file of the command line as the running program must read it: a
// relative path made absolute against this run's folder, since the running
// program has a folder of its own.
QString HandOverFileName(const QString& commandLine);

// Asks the program listening at serverName to open the file of "FileCmd".
// True once it has answered; false when none listens or it does not answer
// within timeoutMs (this run then starts normally and opens the file itself).
bool HandOverToRunningInstance(const QString& serverName, int timeoutMs = 5000);

// The running program's side of the hand-over.
class InstanceServer : public QObject {
  Q_OBJECT
 public:
  // onHandOver runs from the event loop, after the answer has gone back, so
  // that a question it asks (save the changed problem?) keeps no second
  // program waiting.
  explicit InstanceServer(std::function<void()> onHandOver, QObject* parent = nullptr);
  ~InstanceServer() override;

  // Listens at serverName, taking over a socket left by a program that
  // ended without closing it. False when the name cannot be used.
  bool Listen(const QString& serverName);
  QString errorString() const;

 private:
  void Accept();

  QLocalServer* server_;
  std::function<void()> onHandOver_;
};

}  // namespace kv::app
