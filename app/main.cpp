#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include "app/ApplicationHandling.h"
#include "app/CheckCommands.h"
#include "app/CommandLine.h"
#include "app/WindowMain.h"
#include "viewer/Options.h"

int main(int argc, char* argv[]) {
  // `quorvela-viewer [FILE]` opens the window; the command-line modes run without a display.
  if (qv::WantsWindow(argc, argv)) return qv::RunWindow(argc, argv);

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
  QCommandLineOption holes("holes", "Print the hole table of FILE (aligned text) and exit.", "FILE");
  QCommandLineOption csv("csv", "With --holes: the table as CSV.");
  parser.addOptions({holes, csv});
  QCommandLineOption sceneDump("scene-dump", "Print the scene built from FILE as JSON and exit.", "FILE");
  QCommandLineOption exportPicture("export", "Draw the view of FILE into the picture OUT (.bmp or .png) and exit.",
                                   "OUT");
  QCommandLineOption exportGltf("export-gltf", "Write the 3D model of FILE to OUT as glTF 2.0 binary (.glb) and exit.",
                                "OUT");
  QCommandLineOption size("size", "Picture size for --export: the view framed as the window shows it at 548x710 (the default), fitted and centred.", "WxH");
  QCommandLineOption set("set", QString("Set an option box, KEY one of ") + QString::fromUtf8(qv::OptionKeyList().data(),
                          static_cast<qsizetype>(qv::OptionKeyList().size())) + ".", "KEY=0|1");
  QCommandLineOption textHeight("text-height", "Text height factor, 1 to 200 (default 10).", "N");
  QCommandLineOption uncheckGroup("uncheck-group", "Uncheck the groups-list entry CODE (\"(None)\": the first).",
                                  "CODE");
  QCommandLineOption hideUnchecked("hide-unchecked", "Hide the holes of unchecked groups.");
  QCommandLineOption noAntialias("no-antialias", "With --export: edges as the view draws them, not smoothed.");
  QCommandLineOption noBackground("no-background", "With --export to a PNG picture: a transparent background.");
  QCommandLineOption watch("watch", "With --export: a new picture each time FILE changes, until stopped.");
  QCommandLineOption thumbnail("thumbnail", "Write a PNG thumbnail of IN to OUT, at most SIZE pixels on its longer "
                               "side (followed by OUT and SIZE), as a file manager asks for one.", "IN");
  QCommandLineOption wall("wall", "Print the minimum wall between the bores of the holes numbered A and B "
                          "(followed by B and FILE) as JSON.", "A");
  QCommandLineOption check("check", "Check the circuits of FILE: connections, shorts, thin walls, break-outs; "
                           "print them as JSON.", "FILE");
  QCommandLineOption minWall("min-wall", "With --check: walls thinner than W (document unit) are reported.", "W");
  QCommandLineOption text("text", "With --check: print the findings as text.");
  parser.addOptions({sceneDump, exportPicture, exportGltf, size, noAntialias, noBackground, watch, set, textHeight,
                     uncheckGroup, hideUnchecked, thumbnail, wall, check, minWall, text});
  parser.addPositionalArgument("FILE", "The document to open.");
  parser.process(app);

  auto bytes = [](const QString& s) { return QFile::encodeName(s).toStdString(); };
  if (parser.isSet(dump)) return qv::RunDump(bytes(parser.value(dump)), parser.isSet(yes));
  if (parser.isSet(holes)) return qv::RunHoles(bytes(parser.value(holes)), parser.isSet(csv), parser.isSet(yes));
  if (parser.isSet(thumbnail)) {
    const QStringList rest = parser.positionalArguments();
    if (rest.size() != 2) parser.showHelp(2);
    return qv::RunThumbnail(bytes(parser.value(thumbnail)), bytes(rest[0]), bytes(rest[1]));
  }
  if (parser.isSet(wall)) {
    const QStringList rest = parser.positionalArguments();
    if (rest.size() != 2) parser.showHelp(2);
    return qv::RunWall(bytes(parser.value(wall)), bytes(rest[0]), bytes(rest[1]));
  }
  if (parser.isSet(check)) return qv::RunCheck(bytes(parser.value(check)), bytes(parser.value(minWall)), parser.isSet(text));
  if (parser.isSet(sceneDump) || parser.isSet(exportPicture) || parser.isSet(exportGltf)) {
    qv::TSceneFlags flags;
    for (const QString& v : parser.values(set)) flags.Sets.push_back(bytes(v));
    flags.TextHeight = bytes(parser.value(textHeight));
    for (const QString& v : parser.values(uncheckGroup)) flags.UncheckGroups.push_back(v.toStdString());
    flags.HideUnchecked = parser.isSet(hideUnchecked);
    if (parser.isSet(sceneDump)) return qv::RunSceneDump(bytes(parser.value(sceneDump)), flags, parser.isSet(yes));
    if (parser.positionalArguments().isEmpty()) parser.showHelp(2);
    if (parser.isSet(exportGltf))
      return qv::RunExportGltf(bytes(parser.value(exportGltf)), bytes(parser.positionalArguments().first()), flags,
                               parser.isSet(yes));
    qv::TExportFlags picture;
    picture.Size = bytes(parser.value(size));
    picture.NoBackground = parser.isSet(noBackground);
    picture.NoAntialias = parser.isSet(noAntialias);
    picture.Watch = parser.isSet(watch);
    return qv::RunExport(bytes(parser.value(exportPicture)), bytes(parser.positionalArguments().first()), picture, flags,
                         parser.isSet(yes));
  }
  parser.showHelp(2);
}
