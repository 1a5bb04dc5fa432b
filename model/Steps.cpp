#include "model/Steps.h"

#include <cmath>
#include <numbers>

#include "model/RecordFile.h"

namespace qv {

double PointFactor(double pointAngle) { return std::tan((90.0 - pointAngle / 2.0) * std::numbers::pi / 180.0); }

void TStep::ReadTagged(TQuorvelaFile& file) {
  ReadSection(file, 29999, [&](const TRecordHeader& h) { return ReadTaggedField(*this, file, h); });
}

void TStep::ReadRecord(TRecordFile& file) { DecodeFields(*this, file.ReadBlock(RecordSize)); }

double TStep::ConeHeight() const { return PointFactor(PointAngle) * Diameter / 2.0; }

double TStep::OuterDiameter() const {
  return Threaded() && ThreadDiameter > Diameter ? ThreadDiameter : Diameter;
}

std::string TStep::Label() const {
  std::string label;
  if (Remark.empty()) return label;
  if (Remark[0] == '"') {
    std::string rest = Remark.substr(1);
    size_t q = rest.find('"');
    if (q != std::string::npos) rest.resize(q + 1);
    label = "\"" + rest;
  } else if (Remark[0] == '\'') {
    std::string rest = Remark.substr(1);
    size_t q = rest.find('\'');
    if (q != std::string::npos) rest.resize(q);
    label = rest;
  } else {
    return label;
  }
  if (!GroupCode.empty()) {
    for (size_t at = label.find("<>"); at != std::string::npos; at = label.find("<>", at + GroupCode.size()))
      label.replace(at, 2, GroupCode);
  }
  return label;
}

}  // namespace qv
