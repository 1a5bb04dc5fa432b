// The tilt of a hole as versions 4.10 and older stored it, for the writers of those layouts.
#pragma once
#include "geometry/XYPoints.h"
#include "legacy/Convert.h"
#include "model/Holes.h"

namespace qv::writer {

// The old angle and direction (0 or 90) that convert to the hole's tilt; 0 and 0 when none does.
inline void OldTilt(const THole& h, double& angle, double& direction) {
  for (double a : {h.TiltAngle, -h.TiltAngle})
    for (double d : {0.0, 90.0}) {
      double ca = a, cd = d;
      ConvertOldTilt(ca, cd, h.Face);
      if (ca == NormalizeAngle(h.TiltAngle) && cd == NormalizeAngle(h.TiltDirection)) {
        angle = a;
        direction = d;
        return;
      }
    }
  angle = direction = 0.0;
}

}  // namespace qv::writer
