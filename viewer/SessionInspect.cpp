// The session's questions about what lies under the pointer, the selected hole and its highlight,
// and the standard views.
#include <algorithm>
#include <cmath>
#include <set>

#include "geometry/FaceFrames.h"
#include "model/Manifolds.h"
#include "scene/gl/GLRayCast.h"
#include "viewer/ViewerSession.h"

namespace qv {

namespace {

TXYZPoint From(const TVector3f& v) { return {v.X, v.Y, v.Z}; }
TVector3f To(const TXYZPoint& v) { return {static_cast<float>(v.X), static_cast<float>(v.Y), static_cast<float>(v.Z)}; }

// A warm glow added to the selected hole's surfaces: it lifts every colour, the dark grey of
// unchecked groups and the translucent bores included, without hiding which group it is.
constexpr TColorVector HighlightGlow{0.55f, 0.35f, 0.0f, 1.0f};
constexpr TColorVector NoGlow{0.0f, 0.0f, 0.0f, 1.0f};
// The marks drawn over it: thick unlit lines in orange, which no text, ring or mark of the scene uses.
constexpr TColorVector HighlightLine{1.0f, 0.5f, 0.0f, 1.0f};

// Where a hole lies in the model root's frame (scene units): its entry, its axis out of the block,
// its largest radius and how deep it goes below its entry.
struct THolePlace {
  TXYZPoint Entry, Axis;
  double Radius = 0, Depth = 0;
};

THolePlace PlaceOf(const TManifold& doc, const THole& hole, double scale) {
  THolePlace place;
  const TBlockExtents block{doc.SizeX, doc.SizeY, doc.SizeZ};
  place.Entry = FaceToScene(block, scale, hole.Face, hole.X, hole.Y, hole.StartDepth);
  place.Axis = hole.Angled() ? BoreAxis(hole.Face, hole.TiltAngle, hole.TiltDirection) : FaceFrame(hole.Face).N;
  place.Radius = scale * hole.Steps.MaxDiameter() / 2;
  for (const auto& step : hole.Steps) place.Depth = std::max(place.Depth, scale * step->Depth);
  return place;
}

void SetGlow(TGLBaseSceneObject& object, int32_t number, bool on) {
  if (object.Tag == number)
    if (TGLMaterial* material = object.Material()) {
      material->FrontProperties.Emission = on ? HighlightGlow : NoGlow;
      if (material->HasBackProperties()) material->BackProperties().Emission = on ? HighlightGlow : NoGlow;
    }
  for (int i = 0; i < object.Count(); ++i) SetGlow(object.Children(i), number, on);
}

// A circle of radius r about `centre` across the unit axis a.
void AddCircle(TGLBaseSceneObject& parent, const TXYZPoint& centre, const TXYZPoint& a, double r) {
  TXYZPoint e1 = Cross(a, std::abs(a.X) < 0.9 ? TXYZPoint{1, 0, 0} : TXYZPoint{0, 1, 0});
  e1 = Normalized(e1);
  const TXYZPoint e2 = Cross(a, e1);
  auto& line = parent.AddNewChild<TGLLines>();
  constexpr int Segments = 48;
  for (int i = 0; i <= Segments; ++i) {
    const double phi = 2 * M_PI * i / Segments;
    line.AddNode(To(centre + r * std::cos(phi) * e1 + r * std::sin(phi) * e2));
  }
  line.LineColor = HighlightLine;
  line.LineWidth = 3.0f;
}

}  // namespace

void TViewerSession::SetViewSize(int width, int height) {
  ViewWidth_ = std::max(1, width);
  ViewHeight_ = std::max(1, height);
  UpdateZoomLimit();
}

void TViewerSession::UpdateZoomLimit() {
  Navigator_.ViewLargestSide = std::max(ViewWidth_, ViewHeight_);
  if (!DocumentLoaded_) {
    Navigator_.ModelReach = 0;
    return;
  }
  // Half the block's diagonal, and a margin for what stands out of it (texts, item numbers).
  const double half = 0.5 * ScaleFactor_ * std::hypot(Document_->SizeX, Document_->SizeY, Document_->SizeZ);
  Navigator_.ModelReach = std::isfinite(half) ? 1.25 * half : 0.0;
}

void TViewerSession::IndexForPicking() {
  // The block body is the one box of the scene and belongs to no hole: it is looked through.
  PickIndex_.Build(*ModelRoot_, [](const TGLBaseSceneObject& object) {
    return object.Tag != 0 || object.Kind() != TGLObjectKind::Cube;
  });

  Mouths_.clear();
  std::set<int32_t> built;
  for (int i = 0; i < ModelRoot_->Count(); ++i)
    if (const TGLBaseSceneObject& root = ModelRoot_->Children(i);
        root.Visible && (root.Kind() == TGLObjectKind::Cylinder || root.Kind() == TGLObjectKind::Annulus))
      built.insert(root.Tag);  // a bore's face step
  for (int i = 0; i < Document_->Holes.Count(); ++i) {
    const THole& hole = Document_->Holes.Items(i);
    if (hole.Steps.Count() == 0 || !built.count(hole.Number) || Document_->Holes.IndexOfNumber(hole.Number) != i) continue;
    const THolePlace place = PlaceOf(*Document_, hole, ScaleFactor_);
    Mouths_.push_back({place.Entry, place.Axis, ScaleFactor_ * hole.Steps.Last().OuterDiameter() / 2, i});
  }
}

int TViewerSession::PickHole(double x, double y) const {
  if (!DocumentLoaded_) return -1;
  const TGLRay ray = ViewRay(View_.Camera, ViewWidth_, ViewHeight_, x, y);
  const TGLRayHit hit = PickIndex_.Cast(ray);
  int picked = hit.Object ? Document_->Holes.IndexOfNumber(hit.Object->Tag) : -1;
  double nearest = hit.Object ? hit.T : INFINITY;
  if (const std::optional<TGLRay> local = RayToLocal(*ModelRoot_, ray))
    for (const THoleMouth& mouth : Mouths_) {
      const double across = Dot(local->Direction, mouth.Axis);
      if (across == 0) continue;
      const double t = Dot(mouth.Centre - local->Origin, mouth.Axis) / across;
      if (!(t >= 0 && t < nearest)) continue;
      const TXYZPoint off = local->At(t) - mouth.Centre;
      if (Dot(off, off) <= mouth.Radius * mouth.Radius) {
        nearest = t;
        picked = mouth.Index;
      }
    }
  return picked;
}

void TViewerSession::SelectHole(int index) {
  if (index < -1 || index >= Document_->Holes.Count() || !DocumentLoaded_) index = -1;
  if (index == Selected_) return;
  if (Selected_ >= 0) ApplyHighlight(Document_->Holes.Items(Selected_).Number, false);
  Selected_ = index;
  if (Selected_ >= 0) ApplyHighlight(Document_->Holes.Items(Selected_).Number, true);
  BuildHighlightMarks();
  Notify();
  if (SelectionChanged) SelectionChanged();
}

void TViewerSession::ApplyHighlight(int32_t number, bool on) {
  for (int i = 0; i < ModelRoot_->Count(); ++i) SetGlow(ModelRoot_->Children(i), number, on);
}

void TViewerSession::BuildHighlightMarks() {
  Highlight_->DeleteChildren();
  if (Selected_ < 0 || !DocumentLoaded_) return;
  const THolePlace place = PlaceOf(*Document_, Document_->Holes.Items(Selected_), ScaleFactor_);
  // A ring around the entry a little wider than the widest step, one around the bottom, and the
  // axis from just outside the face to the bottom.
  const double r = std::max(place.Radius * 1.4, 0.02);
  AddCircle(*Highlight_, place.Entry, place.Axis, r);
  const TXYZPoint bottom = place.Entry - place.Depth * place.Axis;
  if (place.Depth > 0) AddCircle(*Highlight_, bottom, place.Axis, r * 0.7);
  auto& axis = Highlight_->AddNewChild<TGLLines>();
  axis.AddNode(To(place.Entry + 2 * r * place.Axis));
  axis.AddNode(To(bottom));
  axis.LineColor = HighlightLine;
  axis.LineWidth = 3.0f;
}

void TViewerSession::CentreOnHole(int index) {
  if (!DocumentLoaded_ || index < 0 || index >= Document_->Holes.Count()) return;
  const THolePlace place = PlaceOf(*Document_, Document_->Holes.Items(index), ScaleFactor_);
  const TXYZPoint world = From(ModelRoot_->LocalMatrix().TransformPoint(To(place.Entry)));
  const TXYZPoint shift = From(View_.Camera.Target) - world;
  ModelRoot_->SetPosition(To(From(ModelRoot_->Position()) + shift));
  ViewMoved();
}

void TViewerSession::RestoreStartView() {
  ModelRoot_->SetDirection(0, 0, 1);
  ModelRoot_->SetUp(0, 1, 0);
  if (DocumentLoaded_) ResetView();
  else {
    ModelRoot_->SetPosition(View_.Camera.Target);
    ViewMoved();
  }
}

void TViewerSession::OrientModel(const TXYZPoint& right, const TXYZPoint& up, const TXYZPoint& back) {
  const TGLViewAxes screen = ViewAxes(View_.Camera);
  // The turn R with R right = screen right, R up = screen up, R back = screen back.
  auto turn = [&](const TXYZPoint& v) {
    return Dot(right, v) * screen.Right + Dot(up, v) * screen.Up + Dot(back, v) * screen.Back;
  };
  ModelRoot_->SetDirection(To(turn({0, 0, 1})));
  ModelRoot_->SetUp(To(turn({0, 1, 0})));
}

void TViewerSession::LookAtFace(int face) {
  if (!IsFaceNumber(face)) return;
  const TFaceFrame& f = FaceFrame(face);
  OrientModel(f.P, f.Q, f.N);
  FitAll();
}

void TViewerSession::LookIsometric() {
  // Faces 1, 2 and 3 turned equally towards the eye, face 1 at the top.
  const TXYZPoint back = Normalized(TXYZPoint{1, 1, 1});
  const TXYZPoint up = Normalized(TXYZPoint{0, 0, 1} - back * Dot(TXYZPoint{0, 0, 1}, back));
  OrientModel(Cross(up, back), up, back);
  FitAll();
}

void TViewerSession::FitAll() {
  ModelRoot_->SetPosition(View_.Camera.Target);
  if (DocumentLoaded_) {
    const TGLViewAxes screen = ViewAxes(View_.Camera);
    const TMatrix4 frame = ModelRoot_->LocalMatrix();
    const TXYZPoint target = From(View_.Camera.Target);
    const double ppu = PixelsPerUnit(View_.Camera);
    // A tenth of the view left free around the block.
    const double halfW = 0.45 * ViewWidth_, halfH = 0.45 * ViewHeight_;
    const double half[3] = {0.5 * ScaleFactor_ * Document_->SizeX, 0.5 * ScaleFactor_ * Document_->SizeY,
                            0.5 * ScaleFactor_ * Document_->SizeZ};
    double distance = 0;
    for (int corner = 0; corner < 8; ++corner) {
      const TXYZPoint local{corner & 1 ? half[0] : -half[0], corner & 2 ? half[1] : -half[1],
                            corner & 4 ? half[2] : -half[2]};
      const TXYZPoint w = From(frame.TransformPoint(To(local))) - target;
      // A point at depth d - z (z towards the eye) and offset x lands x / (d - z) * ppu pixels out.
      const double z = Dot(w, screen.Back);
      distance = std::max({distance, z + std::abs(Dot(w, screen.Right)) * ppu / halfW,
                           z + std::abs(Dot(w, screen.Up)) * ppu / halfH});
    }
    distance = std::clamp(distance, 10.0 * MinCameraDistance, double(Navigator_.FarthestDistance()));
    if (std::isfinite(distance)) View_.Camera.Position = To(target + distance * screen.Back);
  }
  ViewMoved();
}

}  // namespace qv
