// Project, revisions, sessions and the to-do record: tagged sections, defaults, record images.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "loader/DocumentLoader.h"
#include "model/DateTimes.h"
#include "model/Manifolds.h"
#include "model/RecordFile.h"
#include "tests/TestFiles.h"
#include "tests/model/ByteImages.h"
#include "tools/writer/DocumentWriter.h"

namespace qv {
namespace {

using test::TByteImage;
using writer::TBytes;
using writer::TTaggedWriter;

TManifold& LoadTopLevel(TManifold& m, const test::TTempDir& dir, const std::function<void(TTaggedWriter&)>& body) {
  TTaggedWriter w(false);
  body(w);
  w.Mark(1999);
  EXPECT_TRUE(LoadManifoldFile(m, dir.Write("d.mnf", w.Bytes())));
  return m;
}

TEST(ProjectSection, FieldsCommentsAndVariablesInFileOrder) {
  test::TTempDir dir;
  TManifold m;
  const std::string longComment(300, 'c');
  LoadTopLevel(m, dir, [&](TTaggedWriter& w) {
    w.Mark(4000);
    w.Chars(4200, "first");
    w.Chars(4010, std::string(40, 'd'));  // cut to 30
    w.Chars(4200, longComment);            // no limit in the tagged layout
    w.Double(4030, 40000.25);
    w.Double(4040, 40001.5);
    w.Chars(4250, "PRESSURE=350");
    w.Chars(4050, "Project");
    w.Chars(4060, "Order 7");
    w.Chars(4070, "Client");
    w.Chars(4080, "Drawing 12");
    w.Byte(4090, 1);
    w.Double(4092, 40002.75);
    w.Chars(4094, "350 bar");
    w.Chars(4200, "");
    w.Record(4300, TBytes(9, 0xEE));  // unknown to the project
    w.Mark(4999);
  });
  const TProject& p = m.Project;
  ASSERT_EQ(p.Comments.Count(), 3);
  EXPECT_EQ(p.Comments.Items(0), "first");
  EXPECT_EQ(p.Comments.Items(1), longComment);
  EXPECT_EQ(p.Comments.Items(2), "");
  ASSERT_EQ(p.Variables.Count(), 1);
  EXPECT_EQ(p.Variables.Items(0), "PRESSURE=350");
  EXPECT_EQ(p.Drawn, std::string(30, 'd'));
  EXPECT_EQ(p.Checked, "");
  EXPECT_EQ(p.CreatedOn, 40000.25);
  EXPECT_EQ(p.ModifiedOn, 40001.5);
  EXPECT_EQ(p.ProjectName, "Project");
  EXPECT_EQ(p.OrderNumber, "Order 7");
  EXPECT_EQ(p.Client, "Client");
  EXPECT_EQ(p.Drawing, "Drawing 12");
  EXPECT_EQ(p.FinishedForProduction, 1);
  EXPECT_EQ(p.StatusDate, 40002.75);
  EXPECT_EQ(p.Pressure, "350 bar");
}

TEST(ProjectSection, ADocumentWithoutOneKeepsTheResetProject) {
  test::TTempDir dir;
  TManifold m;
  m.Project.AddComment("left over");
  m.Project.Variables.Add("X=1");
  m.Project.Drawn = "someone";
  double before = NowAsDateTime();
  LoadTopLevel(m, dir, [](TTaggedWriter& w) { w.Mark(2000); w.Mark(2999); });
  double after = NowAsDateTime();
  const TProject& p = m.Project;
  EXPECT_EQ(p.Comments.Count(), 0);
  EXPECT_EQ(p.Variables.Count(), 0);
  EXPECT_EQ(p.Drawn, "");
  // One reading of the clock for all three dates.
  EXPECT_GE(p.CreatedOn, before);
  EXPECT_LE(p.CreatedOn, after);
  EXPECT_EQ(p.ModifiedOn, p.CreatedOn);
  EXPECT_EQ(p.StatusDate, p.CreatedOn);
}

TEST(RevisionSection, TwoRevisionsInFileOrderWithTodayAsTheDefaultDate) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(3000);
    w.Chars(3010, "A-1234567");  // cut to 5
    w.Double(3020, 41000.0);
    w.Chars(3030, "first issue");
    w.Chars(3040, "dr");
    w.Chars(3050, "ch");
    w.Mark(3999);
    w.Mark(3000);
    w.Chars(3010, "B");
    w.Mark(3999);
  });
  ASSERT_EQ(m.Revisions.Count(), 2);
  const TRevision& a = m.Revisions.Items(0);
  EXPECT_EQ(a.Number, "A-123");
  EXPECT_EQ(a.Date, 41000.0);
  EXPECT_EQ(a.Description, "first issue");
  EXPECT_EQ(a.Drawn, "dr");
  EXPECT_EQ(a.Checked, "ch");
  const TRevision& b = m.Revisions.Items(1);
  EXPECT_EQ(b.Number, "B");
  // Today, without a time of day.
  double now = NowAsDateTime();
  EXPECT_EQ(b.Date, std::floor(b.Date));
  EXPECT_LE(b.Date, now);
  EXPECT_GT(b.Date, now - 1.0);
}

TEST(SessionSection, SixtyFourBitValueAndTextCutTo80) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(8000);
    w.Double(8010, -2.5);
    w.Int64(8020, 0x123456789ALL);
    w.Chars(8030, std::string(90, 's'));
    w.Mark(8999);
    w.Mark(8000);
    w.Mark(8999);
  });
  ASSERT_EQ(m.Sessions.Count(), 2);
  EXPECT_EQ(m.Sessions.Items(0).RealValue, -2.5);
  EXPECT_EQ(m.Sessions.Items(0).Int64Value, 0x123456789ALL);
  EXPECT_EQ(m.Sessions.Items(0).Text, std::string(80, 's'));
  EXPECT_EQ(m.Sessions.Items(1).Int64Value, 0);
  EXPECT_EQ(m.Sessions.Items(1).Text, "");
}

TEST(ToDoSection, LinesAndHolesReadLikeTheBlocksOwn) {
  test::TTempDir dir;
  TManifold m;
  test::TRecordingMessages messages;
  m.SetMessages(&messages);
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(4500);
    w.Chars(4700, "drill the ports");
    w.Mark(10000);
    w.Integer(10010, 7);
    w.Integer(10200, 3);
    w.Mark(20000);
    w.Double(20100, 8);
    w.Chars(20300, "'TD");
    w.Mark(29999);
    w.Mark(19999);
    w.Chars(4700, "check the plug");
    w.Mark(10000);  // a hole without steps: told, and given the error step
    w.Integer(10010, 8);
    w.Mark(19999);
    w.Mark(4799);
  });
  EXPECT_EQ(m.Holes.Count(), 0);  // the to-do's holes are not the block's
  ASSERT_EQ(m.ToDo.Lines.Count(), 2);
  EXPECT_EQ(m.ToDo.Lines.Items(0), "drill the ports");
  EXPECT_EQ(m.ToDo.Lines.Items(1), "check the plug");
  ASSERT_EQ(m.ToDo.Holes.Count(), 2);
  const THole& h = m.ToDo.Holes.Items(0);
  EXPECT_EQ(h.Number, 7);
  EXPECT_EQ(h.Face, 3);
  ASSERT_EQ(h.Steps.Count(), 1);
  EXPECT_EQ(h.Steps.Items(0).Diameter, 8);
  EXPECT_EQ(h.Steps.Items(0).Label(), "TD");
  ASSERT_EQ(m.ToDo.Holes.Items(1).Steps.Count(), 1);
  EXPECT_EQ(m.ToDo.Holes.Items(1).Steps.Items(0).Remark, "ERROR!");
  ASSERT_EQ(messages.Errors.size(), 1u);
  EXPECT_EQ(messages.Errors[0].rfind("Error in hole 8: No diameters found!", 0), 0u);
}

TEST(ToDoSection, EndsWith4799NotWithAHolesEndTag) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(4500);
    w.Mark(4999);  // the project's end tag means nothing here
    w.Chars(4700, "still inside");
    w.Mark(4799);
    w.Mark(4000);  // a project section after it is read as usual
    w.Chars(4010, "me");
    w.Mark(4999);
  });
  ASSERT_EQ(m.ToDo.Lines.Count(), 1);
  EXPECT_EQ(m.ToDo.Lines.Items(0), "still inside");
  EXPECT_EQ(m.Project.Drawn, "me");
}

// --- Record images -----------------------------------------------------------------------------------

TByteImage RevisionImage(const std::string& number, double date, const std::string& description) {
  TByteImage r;
  r.Text(number, 5).Zeros(2).F64(date).Text(description, 128).Text("drawn", 30).Text("checked", 30).Zeros(1);
  return r;
}

TEST(RevisionRecord, FieldsAtTheirOffsetsAndAShortRecordReportsIt) {
  TByteImage file;
  file.I32(2);
  TByteImage first = RevisionImage("A", 40123.0, "initial");
  ASSERT_EQ(first.Size(), TRevision::RecordSize);
  file.Append(first.Bytes()).Append(RevisionImage("B", 40200.5, "ports moved").Bytes());
  TRecordFile f(file.Bytes());
  TRevisionList list;
  EXPECT_TRUE(list.ReadRecord(f));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0).Number, "A");
  EXPECT_EQ(list.Items(0).Date, 40123.0);
  EXPECT_EQ(list.Items(0).Description, "initial");
  EXPECT_EQ(list.Items(0).Drawn, "drawn");
  EXPECT_EQ(list.Items(0).Checked, "checked");
  EXPECT_EQ(list.Items(1).Date, 40200.5);
  EXPECT_FALSE(f.Truncated());

  // Cut inside the Drawn text: number, date and description are there, the rest keeps its value.
  TBytes cut(first.Bytes().begin(), first.Bytes().begin() + 150);
  TRecordFile g(cut);
  TRevision r;
  r.Drawn = "kept";
  EXPECT_FALSE(r.ReadRecord(g));
  EXPECT_EQ(r.Description, "initial");
  EXPECT_EQ(r.Drawn, "kept");
  EXPECT_TRUE(g.Truncated());
}

TEST(SessionRecord, FieldsAtTheirOffsets) {
  TByteImage file;
  file.I32(1).F64(1.25).I32(5).I32(1).Text("session", 80).Zeros(3);
  ASSERT_EQ(file.Size(), 4 + TSession::RecordSize);
  TRecordFile f(file.Bytes());
  TSessionList list;
  list.ReadRecord(f);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0).RealValue, 1.25);
  EXPECT_EQ(list.Items(0).Int64Value, 0x100000005LL);
  EXPECT_EQ(list.Items(0).Text, "session");
}

TEST(ProjectRecord, FixedPartThenCommentAndVariableLines) {
  TByteImage file;
  file.Text("drawer", 30).Text("checker", 30).Zeros(2).F64(40000.5).F64(40001.5);
  file.Text("project", 64).Text("order", 64).Text("client", 64).Text("drawing", 64);
  file.U8(1).Zeros(3).F64(40002.5).Text("210 bar", 30).Zeros(1);
  ASSERT_EQ(file.Size(), TProject::RecordSize);
  file.I32(2).Text("line one", 255).Text(std::string(255, 'x'), 255, 255);
  file.I32(1).Text("A=1", 255);
  TRecordFile f(file.Bytes());
  TProject p;
  p.AddComment("old");  // the reader appends; the document resets first
  EXPECT_TRUE(p.ReadRecord(f));
  EXPECT_EQ(p.Drawn, "drawer");
  EXPECT_EQ(p.Checked, "checker");
  EXPECT_EQ(p.CreatedOn, 40000.5);
  EXPECT_EQ(p.ModifiedOn, 40001.5);
  EXPECT_EQ(p.ProjectName, "project");
  EXPECT_EQ(p.OrderNumber, "order");
  EXPECT_EQ(p.Client, "client");
  EXPECT_EQ(p.Drawing, "drawing");
  EXPECT_EQ(p.FinishedForProduction, 1);
  EXPECT_EQ(p.StatusDate, 40002.5);
  EXPECT_EQ(p.Pressure, "210 bar");
  ASSERT_EQ(p.Comments.Count(), 3);
  EXPECT_EQ(p.Comments.Items(1), "line one");
  EXPECT_EQ(p.Comments.Items(2), std::string(255, 'x'));
  ASSERT_EQ(p.Variables.Count(), 1);
  EXPECT_EQ(p.Variables.Items(0), "A=1");
  EXPECT_EQ(f.Remaining(), 0u);
}

TEST(ToDoRecord, EmptyToDoIsTwoZeroCounts) {
  TByteImage file;
  file.I32(0).I32(0).I32(77);
  TRecordFile f(file.Bytes());
  TToDo t;
  t.ReadRecord(f);
  EXPECT_EQ(t.Lines.Count(), 0);
  EXPECT_EQ(t.Holes.Count(), 0);
  EXPECT_EQ(f.ReadInteger(), 77);  // exactly eight bytes were taken
}

TEST(ToDoRecord, NegativeCountsMeanNoItemsAndHugeCountsReadOnlyWhatIsThere) {
  TByteImage file;
  file.I32(-5);                          // no lines
  file.I32(0x7FFFFFFF);                  // holes: far more than the file holds
  file.Zeros(THole::RecordSize - 10);    // not even one whole hole image
  TRecordFile f(file.Bytes());
  TToDo t;
  t.ReadRecord(f);
  EXPECT_EQ(t.Lines.Count(), 0);
  EXPECT_EQ(t.Holes.Count(), 0);
  EXPECT_TRUE(f.Truncated());

  TByteImage lines;
  lines.I32(1000).Text("only", 255).Text("two", 255);  // two of a thousand announced lines
  TRecordFile g(lines.Bytes());
  TStringList list;
  list.ReadRecord(g);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(1), "two");
  EXPECT_TRUE(g.Truncated());
}

TEST(LineRecords, OnlyTheCharactersTheLengthByteCountsAreKept) {
  TByteImage file;
  file.I32(1).Text("abc", 255, 2);  // the length byte says 2: only "ab" counts
  TRecordFile f(file.Bytes());
  TStringList list;
  list.ReadRecord(f);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), "ab");
}

}  // namespace
}  // namespace qv
