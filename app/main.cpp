#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include "app/ApplicationHandling.h"
#include "app/CommandLine.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setOrganizationName(qv::CompanyName);
  QCoreApplication::setApplicationName(qv::ApplicationKey);
  QCoreApplication::setApplicationVersion(QV_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription(QString(qv::ApplicationTitle) + ": shows manifold documents (*.mnf, *.mvf) in 3D.");
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption dump("dump", "Print the document in FILE as JSON and exit.", "FILE");
  QCommandLineOption yes("yes", "Answer Yes to the loader's questions (with --dump).");
  parser.addOption(dump);
  parser.addOption(yes);
  parser.addPositionalArgument("FILE", "The document to open.");
  parser.process(app);

  if (parser.isSet(dump)) return qv::RunDump(QFile::encodeName(parser.value(dump)).toStdString(), parser.isSet(yes));
  std::fputs("The window is not available in this build; use --dump FILE.\n", stderr);
  return 2;
}
