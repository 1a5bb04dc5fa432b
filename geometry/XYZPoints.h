// Points and vectors in space, in block or scene coordinates (doubles).
#pragma once

namespace qv {

struct TXYZPoint {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
};

TXYZPoint MakeXYZPoint(double x, double y, double z);

inline TXYZPoint operator+(const TXYZPoint& a, const TXYZPoint& b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline TXYZPoint operator-(const TXYZPoint& a, const TXYZPoint& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline TXYZPoint operator-(const TXYZPoint& a) { return {-a.X, -a.Y, -a.Z}; }
inline TXYZPoint operator*(double s, const TXYZPoint& a) { return {s * a.X, s * a.Y, s * a.Z}; }
inline TXYZPoint operator*(const TXYZPoint& a, double s) { return s * a; }
inline bool operator==(const TXYZPoint& a, const TXYZPoint& b) { return a.X == b.X && a.Y == b.Y && a.Z == b.Z; }

double Dot(const TXYZPoint& a, const TXYZPoint& b);
TXYZPoint Cross(const TXYZPoint& a, const TXYZPoint& b);
double Length(const TXYZPoint& a);
// The vector scaled to length 1; a zero vector stays zero.
TXYZPoint Normalized(const TXYZPoint& a);

}  // namespace qv
