#include "geometry/ConvexDistance.h"

#include <array>
#include <cmath>

namespace qv {

namespace {

// A point of the Minkowski difference A - B with the points of A and B it came from.
struct TVertex {
  TXYZPoint W, A, B;
};

// Up to four vertices and the weights that give the simplex's point nearest the origin.
struct TSimplex {
  std::array<TVertex, 4> V;
  std::array<double, 4> Weight{};
  int Count = 0;

  TXYZPoint Point() const {
    TXYZPoint p;
    for (int i = 0; i < Count; ++i) p = p + Weight[i] * V[i].W;
    return p;
  }
  TClosestPoints Witnesses() const {
    TClosestPoints r;
    for (int i = 0; i < Count; ++i) {
      r.OnA = r.OnA + Weight[i] * V[i].A;
      r.OnB = r.OnB + Weight[i] * V[i].B;
    }
    return r;
  }
  // Keeps the listed vertices with their weights.
  void Keep(std::initializer_list<std::pair<int, double>> kept) {
    std::array<TVertex, 4> v;
    int n = 0;
    for (auto [i, w] : kept) {
      v[n] = V[i];
      Weight[n] = w;
      ++n;
    }
    V = v;
    Count = n;
  }
};

double Det(const TXYZPoint& a, const TXYZPoint& b, const TXYZPoint& c) { return Dot(a, Cross(b, c)); }

void NearestOnSegment(TSimplex& s) {
  const TXYZPoint a = s.V[0].W, ab = s.V[1].W - a;
  const double len2 = Dot(ab, ab);
  const double t = len2 > 0 ? -Dot(a, ab) / len2 : 0.0;
  if (t <= 0) s.Keep({{0, 1.0}});
  else if (t >= 1) s.Keep({{1, 1.0}});
  else s.Keep({{0, 1 - t}, {1, t}});
}

// The triangle's point nearest the origin by its Voronoi regions; a triangle that has collapsed
// onto a line gives the nearer of its edges.
void NearestOnTriangle(TSimplex& s) {
  const TXYZPoint a = s.V[0].W, b = s.V[1].W, c = s.V[2].W;
  const TXYZPoint ab = b - a, ac = c - a;
  const double d1 = -Dot(ab, a), d2 = -Dot(ac, a);
  if (d1 <= 0 && d2 <= 0) return s.Keep({{0, 1.0}});
  const double d3 = -Dot(ab, b), d4 = -Dot(ac, b);
  if (d3 >= 0 && d4 <= d3) return s.Keep({{1, 1.0}});
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) {
    const double t = d1 / (d1 - d3);
    return s.Keep({{0, 1 - t}, {1, t}});
  }
  const double d5 = -Dot(ab, c), d6 = -Dot(ac, c);
  if (d6 >= 0 && d5 <= d6) return s.Keep({{2, 1.0}});
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) {
    const double t = d2 / (d2 - d6);
    return s.Keep({{0, 1 - t}, {2, t}});
  }
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) {
    const double t = (d4 - d3) / ((d4 - d3) + (d5 - d6));
    return s.Keep({{1, 1 - t}, {2, t}});
  }
  const double sum = va + vb + vc;
  if (!(sum > 0)) {
    // Degenerate: the nearest of the three edges.
    TSimplex best;
    double bestNorm = INFINITY;
    for (auto [i, j] : {std::pair{0, 1}, {0, 2}, {1, 2}}) {
      TSimplex e;
      e.V[0] = s.V[i];
      e.V[1] = s.V[j];
      e.Count = 2;
      NearestOnSegment(e);
      const TXYZPoint p = e.Point();
      if (Dot(p, p) < bestNorm) {
        bestNorm = Dot(p, p);
        best = e;
      }
    }
    s = best;
    return;
  }
  const double v = vb / sum, w = vc / sum;
  s.Keep({{0, 1 - v - w}, {1, v}, {2, w}});
}

// True when the origin lies inside the tetrahedron (the weights are then its barycentric
// coordinates); otherwise the nearest point of its four faces.
bool NearestOnTetrahedron(TSimplex& s) {
  const TXYZPoint a = s.V[0].W, b = s.V[1].W, c = s.V[2].W, d = s.V[3].W;
  const double volume = Det(b - a, c - a, d - a);
  if (std::abs(volume) > 0) {
    const double lb = Det(-a, c - a, d - a) / volume;
    const double lc = Det(b - a, -a, d - a) / volume;
    const double ld = Det(b - a, c - a, -a) / volume;
    const double la = 1 - lb - lc - ld;
    if (la >= 0 && lb >= 0 && lc >= 0 && ld >= 0) {
      s.Keep({{0, la}, {1, lb}, {2, lc}, {3, ld}});
      return true;
    }
  }
  TSimplex best;
  double bestNorm = INFINITY;
  for (auto face : {std::array{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}}) {
    TSimplex t;
    for (int k = 0; k < 3; ++k) t.V[k] = s.V[face[k]];
    t.Count = 3;
    NearestOnTriangle(t);
    const TXYZPoint p = t.Point();
    if (Dot(p, p) < bestNorm) {
      bestNorm = Dot(p, p);
      best = t;
    }
  }
  s = best;
  return false;
}

// The iteration: the simplex's point v nearest the origin approaches the Minkowski difference's
// nearest point from above, while v . w of each new support point w bounds it from below.
template <class SupportA, class SupportB>
TClosestPoints Gjk(const SupportA& supportA, const SupportB& supportB, const TXYZPoint& start, double tolerance) {
  auto vertex = [&](const TXYZPoint& d) {
    TVertex v;
    v.A = supportA(d);
    v.B = supportB(-d);
    v.W = v.A - v.B;
    return v;
  };
  TSimplex s;
  s.V[0] = vertex(Length(start) > 0 ? start : TXYZPoint{1, 0, 0});
  s.Weight[0] = 1;
  s.Count = 1;
  const double touching = tolerance * 1e-3;
  for (int iteration = 0; iteration < 100; ++iteration) {
    bool inside = false;
    switch (s.Count) {
      case 2: NearestOnSegment(s); break;
      case 3: NearestOnTriangle(s); break;
      case 4: inside = NearestOnTetrahedron(s); break;
      default: break;
    }
    const TXYZPoint v = s.Point();
    const double vv = Dot(v, v);
    if (inside || vv <= touching * touching) {
      TClosestPoints r = s.Witnesses();
      r.OnB = r.OnA;
      r.Distance = 0;
      return r;
    }
    const TVertex w = vertex(-v);
    const double gap = vv - Dot(v, w.W);  // |v| times (upper bound - lower bound)
    bool known = gap <= 1e-9 * tolerance * std::sqrt(vv) || gap <= 1e-15 * vv;
    for (int i = 0; i < s.Count && !known; ++i) known = s.V[i].W == w.W;
    if (known) break;
    s.V[s.Count] = w;
    s.Weight[s.Count] = 0;
    ++s.Count;
  }
  TClosestPoints r = s.Witnesses();
  r.Distance = Length(r.OnA - r.OnB);
  return r;
}

TXYZPoint Middle(const TBorePiece& p) { return 0.5 * (p.Top + p.Bottom); }

}  // namespace

TClosestPoints PieceDistance(const TBorePiece& a, const TBorePiece& b, double tolerance) {
  return Gjk([&](const TXYZPoint& d) { return PieceSupport(a, d); },
             [&](const TXYZPoint& d) { return PieceSupport(b, d); }, Middle(b) - Middle(a), tolerance);
}

TClosestPoints PieceBoxDistance(const TBorePiece& a, const TBoundingBox& box, double tolerance) {
  auto corner = [&](const TXYZPoint& d) {
    return TXYZPoint{d.X >= 0 ? box.Max.X : box.Min.X, d.Y >= 0 ? box.Max.Y : box.Min.Y,
                     d.Z >= 0 ? box.Max.Z : box.Min.Z};
  };
  return Gjk([&](const TXYZPoint& d) { return PieceSupport(a, d); }, corner,
             0.5 * (box.Min + box.Max) - Middle(a), tolerance);
}

}  // namespace qv
