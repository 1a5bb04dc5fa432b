// A comment printed on a drawing: its text comes from a text file or from its own lines.
#pragma once
#include <cstdint>
#include <string>

#include "geometry/XYPoints.h"
#include "model/Fields.h"
#include "model/OwnedList.h"
#include "model/PointFields.h"
#include "model/StringLists.h"

namespace qv {

class TRecordFile;

class TCommentFile {
public:
  // The fixed part; the lines follow it in a record image.
  static constexpr size_t RecordSize = 104;
  static constexpr size_t MinImageSize = RecordSize + 4;

  TCommentFile() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  bool ReadRecord(TRecordFile& file);
  void Assign(const TCommentFile& source) { *this = source; }

  std::string FileName;
  TXYPoint Position;
  uint8_t UseTextFile;  // nonzero: the text is the file's, else the lines
  TStringList Lines;

  template <class V> void Describe(V& v) {
    v.Text("FileName", FileName, 0, 80, "", TTag(60110));
    TXYFields position{Position, 60120, 60130, 0.0};
    v.Struct("Position", position, 84);
    v.Field("UseTextFile", UseTextFile, 100, uint8_t{1}, TTag(60140));
    v.Lines("Lines", Lines, 60150);
  }
};

class TCommentFileList : public TOwnedList<TCommentFile> {
public:
  bool ReadRecord(TRecordFile& file);
  // Copies of the source's comment files, in order, replace the list's own.
  void Assign(const TCommentFileList& source);
};

}  // namespace qv
