// The record container of the tagged layout: headers, value encodings, skipping, the two file kinds.
#include <gtest/gtest.h>

#include "model/QuorvelaFiles.h"
#include "tools/writer/DocumentWriter.h"

namespace qv {
namespace {

using writer::TBytes;
using writer::TTaggedWriter;

TEST(QuorvelaFile, ReadsHeaderValuesAndVersionNumber) {
  TTaggedWriter w(false, "7.00");
  w.Integer(100, -123456);
  w.Byte(101, 200);
  w.Double(102, 2.5);
  w.Int64(103, -(int64_t{1} << 40));
  w.Chars(104, "abc");
  TQuorvelaFile f(w.Bytes(), false);
  EXPECT_EQ(f.ReadFileHeader(), 700);
  TRecordHeader h = f.ReadRecordHeader();
  EXPECT_EQ(h.Tag, 100);
  EXPECT_EQ(h.Length, 4);
  EXPECT_EQ(f.ReadInteger(), -123456);
  f.ReadRecordHeader();
  EXPECT_EQ(f.ReadByte(), 200);
  f.ReadRecordHeader();
  EXPECT_EQ(f.ReadDouble(), 2.5);
  f.ReadRecordHeader();
  EXPECT_EQ(f.ReadInt64(), -(int64_t{1} << 40));
  h = f.ReadRecordHeader();
  EXPECT_EQ(f.ReadChars(h.Length), "abc");
  EXPECT_FALSE(f.Ended());
  h = f.ReadRecordHeader();
  EXPECT_TRUE(f.Ended());
  EXPECT_EQ(h.Tag, 0);
  EXPECT_EQ(h.Length, 0);
}

TEST(QuorvelaFile, ViewerFileExchangesTagAndLength) {
  // Written by hand: the header words of a viewer file are length, middle, tag.
  TBytes bytes = writer::FileHeader("7.00");
  TBytes record = {4, 0, 0x34, 0x12, 0xD0, 0x84, 7, 0, 0, 0};  // length 4, middle 0x1234, tag 34000
  bytes.insert(bytes.end(), record.begin(), record.end());
  TQuorvelaFile f(bytes, true);
  f.ReadFileHeader();
  TRecordHeader h = f.ReadRecordHeader();
  EXPECT_EQ(h.Tag, 34000);  // above 32767: compared unsigned
  EXPECT_EQ(h.Middle, 0x1234);
  EXPECT_EQ(h.Length, 4);
  EXPECT_EQ(f.ReadInteger(), 7);
}

TEST(QuorvelaFile, FileHeaderVersionNumber) {
  EXPECT_EQ(TQuorvelaFile(writer::FileHeader("8.01"), false).ReadFileHeader(), 801);
  EXPECT_EQ(TQuorvelaFile(writer::FileHeader("7.x0"), false).ReadFileHeader(), 0);
  // A header cut before its version text reads as no number; nothing at all reads as nothing.
  TBytes shortHeader = writer::FileHeader("8.01");
  shortHeader.resize(11);
  EXPECT_EQ(TQuorvelaFile(shortHeader, false).ReadFileHeader(), 0);
  TQuorvelaFile empty({}, false);
  EXPECT_EQ(empty.ReadFileHeader(), 0);
  EXPECT_EQ(empty.ReadInteger(), 0);
  EXPECT_EQ(empty.ReadChars(5), "");
  empty.ReadRecordHeader();
  EXPECT_TRUE(empty.Ended());
}

TEST(QuorvelaFile, ShortValuesAtTheEndReadAsZeroOrShorter) {
  TBytes bytes = writer::FileHeader("7.00");
  bytes.insert(bytes.end(), {1, 2, 3});
  TQuorvelaFile f(bytes, false);
  f.ReadFileHeader();
  EXPECT_EQ(f.ReadChars(10), "\x01\x02\x03");
  EXPECT_EQ(f.ReadInteger(), 0);
  EXPECT_EQ(f.ReadDouble(), 0.0);
  EXPECT_EQ(f.ReadChars(0), "");
  EXPECT_EQ(f.ReadChars(-4), "");
}

TEST(QuorvelaFile, SectionLoopSkipsUnknownRecordsByLengthAndStopsAtTheEnd) {
  TTaggedWriter w(false);
  w.Record(500, {});                                          // unknown, no payload
  w.Record(501, TBytes(12, 0xEE), 0xFFFF);                    // unknown, 12 bytes, any middle word
  w.Integer(502, 42);
  w.Mark(599);
  w.Integer(502, 43);  // after the section's end
  TQuorvelaFile f(w.Bytes(), false);
  f.ReadFileHeader();
  std::vector<int> seen;
  ReadSection(f, 599, [&](const TRecordHeader& h) {
    if (h.Tag != 502) return false;
    seen.push_back(f.ReadInteger());
    return true;
  });
  EXPECT_EQ(seen, std::vector<int>{42});
  EXPECT_FALSE(f.Ended());
  // Without an end tag the loop ends with the file.
  seen.clear();
  ReadSection(f, 599, [&](const TRecordHeader& h) {
    seen.push_back(f.ReadInteger());
    return true;
  });
  EXPECT_EQ(seen, std::vector<int>{43});
  EXPECT_TRUE(f.Ended());
}

}  // namespace
}  // namespace qv
