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

void WriteToDo(TTaggedWriter& w, TToDo& toDo) {
  w.Mark(4500);
  w.Fields(toDo);
  for (auto& hole : toDo.Holes) WriteHole(w, *hole);
  w.Mark(4799);
}

void WritePlotSettings(TTaggedWriter& w, TPlotSettings& settings) {
  w.Mark(50000);
  w.Fields(settings);
  WriteSections(w, 60100, 60199, settings.CommentFiles);
  w.Mark(61100);
  w.Fields(settings.DrillingList);
  WriteSections(w, 61300, 61399, settings.DrillingList.Columns);
  w.Mark(61299);
  w.Mark(59999);
}

void WriteLayout(TTaggedWriter& w, TLayout& layout) {
  w.Mark(43000);
  w.Fields(layout);
  WriteSections(w, 46000, 46999, layout.InsertBlocks);
  WriteSections(w, 45000, 45999, layout.TextBlocks);
  WriteSections(w, 44000, 44999, layout.Attributes);
  w.Mark(43999);
}

void WriteBillOfMaterials(TTaggedWriter& w, TBillOfMaterials& bom) {
  w.Mark(41000);
  w.Fields(bom);
  WriteSections(w, 40000, 40999, bom.UserItems);
  w.Mark(41999);
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
  } else if constexpr (std::is_same_v<T, TProject>) {
    w.Lines(obj.Comments);
    w.Lines(obj.Variables);
  } else if constexpr (std::is_same_v<T, TCommentFile> || std::is_same_v<T, TTextBlock>) {
    w.Lines(obj.Lines);
  } else if constexpr (std::is_same_v<T, TPlotSettings>) {
    WriteListImage(w, obj.CommentFiles);
    WriteImage(w, obj.DrillingList);
  } else if constexpr (std::is_same_v<T, TDrillingListDrawingSettings>) {
    WriteListImage(w, obj.Columns);
  } else if constexpr (std::is_same_v<T, TLayout>) {
    WriteListImage(w, obj.InsertBlocks);
    WriteListImage(w, obj.TextBlocks);
    WriteListImage(w, obj.Attributes);
  } else if constexpr (std::is_same_v<T, TBillOfMaterials>) {
    WriteListImage(w, obj.UserItems);
    w.Integer(obj.IntegerValues.Count());
    for (int i = 0; i < obj.IntegerValues.Count(); ++i) w.Integer(obj.IntegerValues.Value(i));
    w.Lines(obj.Lines);
  }
}

// The to-do record has no fixed part: its lines, then its holes.
void WriteToDoImage(TImageWriter& w, TToDo& toDo) {
  w.Lines(toDo.Lines);
  WriteListImage(w, toDo.Holes);
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
  WriteSections(w, 3000, 3999, doc.Revisions);
  WriteSection(w, 4000, 4999, doc.Project);
  WriteToDo(w, doc.ToDo);
  WriteSections(w, 8000, 8999, doc.Sessions);
  WritePlotSettings(w, doc.PlotSettings1);
  WritePlotSettings(w, doc.PlotSettings2);
  for (auto& layout : doc.Layouts) WriteLayout(w, *layout);
  WriteBillOfMaterials(w, doc.BillOfMaterials);
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
  WriteListImage(w, doc.Revisions);
  WriteListImage(w, doc.Sessions);
  WriteImage(w, doc.Project);
  WriteToDoImage(w, doc.ToDo);
  WriteImage(w, doc.PlotSettings1);
  WriteImage(w, doc.PlotSettings2);
  WriteListImage(w, doc.Layouts);
  WriteListImage(w, doc.Groups);
  WriteListImage(w, doc.CutOuts);
  WriteListImage(w, doc.HoleTexts);
  WriteListImage(w, doc.Assemblies);
  WriteListImage(w, doc.Crosses);
  WriteImage(w, doc.CalculateSettings);
  WriteListImage(w, doc.Holes);
  WriteImage(w, doc.BillOfMaterials);
  return w.Bytes();
}

}  // namespace qv::writer
