#include "tools/writer/Documents.h"

namespace qv::writer {

namespace {

// --- Tagged layout -----------------------------------------------------------------------------------

// A section of plain fields: the opening record, the fields, the end record.
template <class T> void WriteSection(TTaggedWriter& w, uint16_t open, uint16_t end, T& obj) {
  w.Mark(open);
  w.Fields(obj);
  w.Mark(end);
}

template <class List> void WriteSections(TTaggedWriter& w, uint16_t open, uint16_t end, List& list) {
  for (auto& item : list) WriteSection(w, open, end, *item);
}

void WriteAlternateValve(TTaggedWriter& w, TAlternateValve& alternative) {
  w.Mark(9300);
  w.Fields(alternative);
  WriteSections(w, 30000, 39999, alternative.Valves);
  w.Mark(9399);
}

void WriteAssembly(TTaggedWriter& w, TAssembly& assembly) {
  w.Mark(9000);
  w.Fields(assembly);
  for (auto& alternative : assembly.AlternateValves) WriteAlternateValve(w, *alternative);
  w.Mark(9199);
}

void WriteCalculateSettings(TTaggedWriter& w, TCalculateSettingsNew& settings) {
  w.Mark(13000);
  w.Fields(settings);
  WriteSections(w, 12000, 12999, settings.WallThicknessRanges);
  w.Mark(13999);
}

// --- Record image ------------------------------------------------------------------------------------

template <class T> void WriteImage(TImageWriter& w, T& obj);

template <class List> void WriteListImage(TImageWriter& w, List& list) {
  w.Integer(list.Count());
  for (auto& item : list) WriteImage(w, *item);
}

void WriteNoteImage(TImageWriter& w, TManufacturingNote& note) {
  w.Raw({note.StandardNoteDisabled});
  w.Lines(note.Lines);
}

// A fixed record, followed by the lists that belong to it.
template <class T> void WriteImage(TImageWriter& w, T& obj) {
  w.Record(obj);
  if constexpr (std::is_same_v<T, TAlternateValve>) {
    WriteListImage(w, obj.Valves);
  } else if constexpr (std::is_same_v<T, TAssembly>) {
    WriteListImage(w, obj.AlternateValves);
  } else if constexpr (std::is_same_v<T, TCalculateSettingsNew>) {
    WriteListImage(w, obj.WallThicknessRanges);
  } else if constexpr (std::is_same_v<T, THole>) {
    WriteListImage(w, obj.Steps);
    WriteListImage(w, obj.ExtraDiameters);
    WriteListImage(w, obj.Contours);
    WriteListImage(w, obj.Valves);
    WriteListImage(w, obj.HoleTexts);
    WriteNoteImage(w, obj.ManufacturingNote);
  }
}

}  // namespace

void WriteHole(TTaggedWriter& w, THole& hole) {
  w.Mark(10000);
  w.Fields(hole);
  WriteSections(w, 20000, 29999, hole.Steps);
  WriteSections(w, 28000, 28999, hole.ExtraDiameters);
  WriteSections(w, 6000, 6999, hole.Contours);
  WriteSections(w, 30000, 39999, hole.Valves);
  WriteSections(w, 34000, 34999, hole.HoleTexts);
  WriteSection(w, 32300, 32399, hole.ManufacturingNote);
  w.Mark(19999);
}

TBytes TaggedDocument(TManifold& doc, bool viewerFile) {
  TTaggedWriter w(viewerFile);
  w.Mark(2000);
  w.Fields(doc);
  w.Mark(2999);
  WriteSections(w, 5000, 5999, doc.Groups);
  WriteSections(w, 32000, 32999, doc.CutOuts);
  WriteSections(w, 34000, 34999, doc.HoleTexts);
  for (auto& assembly : doc.Assemblies) WriteAssembly(w, *assembly);
  WriteSections(w, 9400, 9499, doc.Crosses);
  WriteCalculateSettings(w, doc.CalculateSettings);
  for (auto& hole : doc.Holes) WriteHole(w, *hole);
  w.Mark(1999);
  return w.Bytes();
}

TBytes RecordImageDocument(TManifold& doc) {
  TImageWriter w;
  w.Raw(FileHeader("8.01"));
  w.Record(doc);
  // Revisions, sessions, project, to-do, both plot settings and layouts come first.
  WriteListImage(w, doc.Groups);
  WriteListImage(w, doc.CutOuts);
  WriteListImage(w, doc.HoleTexts);
  WriteListImage(w, doc.Assemblies);
  WriteListImage(w, doc.Crosses);
  WriteImage(w, doc.CalculateSettings);
  WriteListImage(w, doc.Holes);
  // The bill of materials comes last.
  return w.Bytes();
}

}  // namespace qv::writer
