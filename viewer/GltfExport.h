// The open document's model as a glTF 2.0 binary file (*.glb), made without a display: the
// triangles of every visible box, bore, ring and text of the model (not the axes), and its lines,
// in the document's unit with the block's centre at the origin, axes as the scene has them.
#pragma once
#include <string>

namespace qv {

class TViewerSession;

// Writes the session's model to `path`: one material per distinct colour and opacity (see-through
// ones blended), one mesh per material holding all its triangles, lines in one mesh per colour.
// False with the reason in `error` when no document is open, the model has nothing to write or the
// file cannot be written.
bool ExportGltf(const TViewerSession& session, const std::string& path, std::string& error);

}  // namespace qv
