// The axes of the model root: dashed lines along its own X, Y and Z axes, drawn over a frame that
// the renderer has just drawn (its projection still in place).
#pragma once

#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"

namespace qv {

// Each axis reaches `length` units both ways from the origin; the positive halves are pure red,
// green and blue, the negative halves the same at half intensity; unlit, 1 pixel, pattern 0xCCCC.
void DrawModelAxes(const TGLCameraState& camera, const TGLBaseSceneObject& modelRoot, float length);

}  // namespace qv
