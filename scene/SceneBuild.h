// The scene build: turns the open document into scene objects under the model root, from the
// document and the options panel. Every run throws away the previous scene and builds it again;
// it only creates and sets objects of the scene layer and never calls OpenGL.
#pragma once

#include "scene/SceneOptions.h"

namespace qv {

class TManifold;
class TGLBaseSceneObject;
class TTextWidths;

// The scale factor of a view reset: 5 / sizeX, so the block is 5 scene units long in X. A block
// without a positive, finite length in X is scaled by the larger usable one of sizeY and sizeZ, and
// by 5 / 100 when it has none, so that the scene always has finite numbers. The window and the
// command line both take it from here, so that they draw the same scene.
double ViewScaleFactor(double sizeX, double sizeY, double sizeZ);

// Frees every child of the model root, last first.
void ClearScene(TGLBaseSceneObject& modelRoot);

// Builds the document's scene under `modelRoot`: block body and cut-outs, face numbers, then every
// hole in list order. `scaleFactor` is 5 / SizeX as the view reset set it (scene units per document
// unit). With `documentLoaded` false the scene stays empty. `widths` measures texts whose frames
// follow their width; a caller that keeps one across runs opens the font once, and without one
// the run opens the font itself when it first needs a width.
void RebuildScene(TGLBaseSceneObject& modelRoot, const TManifold& doc, const TSceneOptions& options,
                  double scaleFactor, bool documentLoaded = true, TTextWidths* widths = nullptr);

}  // namespace qv
