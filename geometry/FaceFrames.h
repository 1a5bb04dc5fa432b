// The block, its six numbered faces and the transforms from face coordinates (u, v, depth) to block
// and scene coordinates.
//
// Block coordinates start at one block corner. The scene origin is the block's centre, every scene
// axis runs against the block axis of the same name, and scene lengths are document lengths times
// the scale factor. Each face has a drawing frame (p, q, n): n the outward normal, p the drawing x
// direction and q the drawing y direction, p x q = n, so the face seen from outside has p pointing
// right and q up. Offsets, rotations and tilt directions on a face are measured in that frame.
//
// Face numbers outside 1..6 come only from damaged documents; every function here treats them as
// face 1 so that nothing downstream gets a zero axis.
#pragma once

#include "geometry/XYPoints.h"
#include "geometry/XYZPoints.h"

namespace qv {

struct TBlockExtents {
  double SizeX = 0.0;
  double SizeY = 0.0;
  double SizeZ = 0.0;
};

struct TFaceFrame {
  TXYZPoint P;  // drawing x direction, scene coordinates
  TXYZPoint Q;  // drawing y direction
  TXYZPoint N;  // outward normal
};

bool IsFaceNumber(int face);

// Unit vectors of the face's drawing frame in scene coordinates.
const TFaceFrame& FaceFrame(int face);

// Face coordinates (u, v, depth into the block) to block coordinates.
TXYZPoint FaceToBlock(const TBlockExtents& block, int face, double u, double v, double d);

// Block coordinates to scene coordinates.
TXYZPoint BlockToScene(const TBlockExtents& block, double scaleFactor, const TXYZPoint& p);

// FaceToBlock followed by BlockToScene.
TXYZPoint FaceToScene(const TBlockExtents& block, double scaleFactor, int face, double u, double v, double d);

// The scene vector a * p + b * q of an in-plane offset (a, b) in the face's drawing frame.
TXYZPoint FaceOffset(int face, double a, double b);

// Unit vector out of the block along the axis of a bore drilled into the face, tilted by
// tiltAngle (degrees) away from the normal towards the in-plane direction tiltDirection
// (degrees, counter-clockwise from p towards q).
TXYZPoint BoreAxis(int face, double tiltAngle, double tiltDirection);

}  // namespace qv
