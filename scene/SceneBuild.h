// The scene build: turns the open document into scene objects under the model root, from the
// document and the options panel. Every run throws away the previous scene and builds it again;
// it only creates and sets objects of the scene layer and never calls OpenGL.
#pragma once

#include "scene/SceneOptions.h"

namespace qv {

class TManifold;
class TGLBaseSceneObject;

// Frees every child of the model root, last first.
void ClearScene(TGLBaseSceneObject& modelRoot);

// Builds the document's scene under `modelRoot`: block body and cut-outs, face numbers, then every
// hole in list order. `scaleFactor` is 5 / SizeX as the view reset set it (scene units per document
// unit). With `documentLoaded` false the scene stays empty.
void RebuildScene(TGLBaseSceneObject& modelRoot, const TManifold& doc, const TSceneOptions& options,
                  double scaleFactor, bool documentLoaded = true);

}  // namespace qv
