// The scene tree as JSON, for the command line's --scene-dump and for comparing scenes in tests:
// one object per scene object with its kind, tag, frame, kind properties, material and children.
// Numbers are the single-precision values the scene layer holds; texts are decoded from
// Windows-1252.
#pragma once

#include "model/Dump.h"

namespace qv {

class TGLBaseSceneObject;

TJson DumpSceneObject(const TGLBaseSceneObject& object);
// The children of `root` as an array.
TJson DumpSceneChildren(const TGLBaseSceneObject& root);

}  // namespace qv
