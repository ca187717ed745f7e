// kestrovale: the program's entry.
#include <QApplication>

#include "app/startup.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return kv::app::RunProgram(application);
}
