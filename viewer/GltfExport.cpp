#include "viewer/GltfExport.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "platform/AtomicFiles.h"
#include "scene/gl/GLGlyphs.h"
#include "scene/gl/GLMeshes.h"
#include "viewer/ViewerSession.h"

namespace qv {

namespace {

// What sets one material apart from another: the colour as drawn, whether it blends, whether it
// is lit.
struct TLook {
  float R, G, B, A;
  bool Blend;
  bool Unlit;
  auto operator<=>(const TLook&) const = default;
};

struct TPart {
  std::vector<float> Positions, Normals;
  std::vector<uint32_t> Indices;
};

// glTF colours are linear; the scene's are as shown on screen.
double Linear(float c) {
  const double v = std::clamp(static_cast<double>(c), 0.0, 1.0);
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

class TCollector {
public:
  TCollector(double scale) : Scale(scale) {}

  void Walk(const TGLBaseSceneObject& object, const TMatrix4& world) {
    for (int i = 0; i < object.Count(); ++i) {
      const TGLBaseSceneObject& child = object.Children(i);
      if (!child.Visible) continue;
      const TMatrix4 m = world * child.LocalMatrix();
      Add(child, m);
      Walk(child, m);
    }
  }

  std::map<TLook, TPart> Surfaces, Lines;

private:
  void Add(const TGLBaseSceneObject& object, const TMatrix4& m) {
    if (object.Kind() == TGLObjectKind::Lines) {
      const auto& lines = static_cast<const TGLLines&>(object);
      if (lines.Nodes.size() < 2) return;
      const TColorVector& c = lines.LineColor;
      Points.clear();
      for (const TVector3f& p : lines.Nodes)
        if (!Point(m, p)) return;
      TPart& part = Lines[{c.R, c.G, c.B, 1.0f, false, true}];
      const auto first = static_cast<uint32_t>(part.Positions.size() / 3);
      part.Positions.insert(part.Positions.end(), Points.begin(), Points.end());
      for (uint32_t i = 0; i + 1 < lines.Nodes.size(); ++i) part.Indices.insert(part.Indices.end(), {first + i, first + i + 1});
      return;
    }
    const TGLMaterial* material = object.Material();
    if (!material) return;
    Mesh = {};
    AppendObjectMesh(object, Mesh, &Glyphs);
    if (Mesh.Empty()) return;
    Points.clear();
    for (const TVector3f& p : Mesh.Positions)
      if (!Point(m, p)) return;
    const TColorVector& d = material->FrontProperties.Diffuse;
    const bool blend = material->BlendingMode == bmTransparency;
    TPart& part = Surfaces[{d.R, d.G, d.B, blend ? d.A : 1.0f, blend, false}];
    const auto first = static_cast<uint32_t>(part.Positions.size() / 3);
    part.Positions.insert(part.Positions.end(), Points.begin(), Points.end());
    for (size_t i = 0; i < Mesh.Positions.size(); ++i) {
      const TVector3f& n = Mesh.Normals[i];
      double w[3];
      for (int r = 0; r < 3; ++r) w[r] = m(r, 0) * n.X + m(r, 1) * n.Y + m(r, 2) * n.Z;
      const double l = std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
      for (double v : w) part.Normals.push_back(static_cast<float>(l > 0 ? v / l : 0.0));
    }
    for (uint32_t index : Mesh.Indices) part.Indices.push_back(first + index);
  }

  // A point in document units into Points; false when it is not a finite one (a damaged document's
  // object, which is then left out whole).
  bool Point(const TMatrix4& m, const TVector3f& p) {
    for (int r = 0; r < 3; ++r) {
      const auto v = static_cast<float>((m(r, 0) * p.X + m(r, 1) * p.Y + m(r, 2) * p.Z + m(r, 3)) / Scale);
      if (!std::isfinite(v)) return false;
      Points.push_back(v);
    }
    return true;
  }

  double Scale;
  TGLMesh Mesh;
  std::vector<float> Points;
  TGLGlyphCache Glyphs;
};

class TWriter {
public:
  int View(const void* data, size_t bytes, int target) {
    auto& buffer = Model.buffers[0].data;
    while (buffer.size() % 4) buffer.push_back(0);
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = buffer.size();
    view.byteLength = bytes;
    view.target = target;
    const auto* b = static_cast<const unsigned char*>(data);
    buffer.insert(buffer.end(), b, b + bytes);
    Model.bufferViews.push_back(view);
    return static_cast<int>(Model.bufferViews.size() - 1);
  }

  int Accessor(const std::vector<float>& values, bool bounds) {
    tinygltf::Accessor a;
    a.bufferView = View(values.data(), values.size() * sizeof(float), TINYGLTF_TARGET_ARRAY_BUFFER);
    a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    a.type = TINYGLTF_TYPE_VEC3;
    a.count = values.size() / 3;
    if (bounds) {
      a.minValues.assign(3, INFINITY);
      a.maxValues.assign(3, -INFINITY);
      for (size_t i = 0; i < values.size(); ++i) {
        a.minValues[i % 3] = std::min(a.minValues[i % 3], static_cast<double>(values[i]));
        a.maxValues[i % 3] = std::max(a.maxValues[i % 3], static_cast<double>(values[i]));
      }
    }
    Model.accessors.push_back(a);
    return static_cast<int>(Model.accessors.size() - 1);
  }

  int Indices(const std::vector<uint32_t>& indices) {
    tinygltf::Accessor a;
    a.bufferView = View(indices.data(), indices.size() * sizeof(uint32_t), TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    a.type = TINYGLTF_TYPE_SCALAR;
    a.count = indices.size();
    Model.accessors.push_back(a);
    return static_cast<int>(Model.accessors.size() - 1);
  }

  int Material(const TLook& look) {
    tinygltf::Material m;
    char name[48];
    std::snprintf(name, sizeof name, "#%02X%02X%02X", static_cast<unsigned>(std::lround(std::clamp(look.R, 0.0f, 1.0f) * 255)),
                  static_cast<unsigned>(std::lround(std::clamp(look.G, 0.0f, 1.0f) * 255)),
                  static_cast<unsigned>(std::lround(std::clamp(look.B, 0.0f, 1.0f) * 255)));
    m.name = name;
    if (look.Blend) m.name += " alpha " + std::to_string(std::lround(std::clamp(look.A, 0.0f, 1.0f) * 100)) + "%";
    if (look.Unlit) m.name += " line";
    auto& pbr = m.pbrMetallicRoughness;
    pbr.baseColorFactor = {Linear(look.R), Linear(look.G), Linear(look.B), std::clamp(static_cast<double>(look.A), 0.0, 1.0)};
    pbr.metallicFactor = 0.0;
    pbr.roughnessFactor = 1.0;
    if (look.Blend) m.alphaMode = "BLEND";
    if (look.Unlit) m.extensions["KHR_materials_unlit"] = tinygltf::Value(tinygltf::Value::Object());
    Model.materials.push_back(m);
    return static_cast<int>(Model.materials.size() - 1);
  }

  void Add(const TLook& look, const TPart& part, bool lines) {
    tinygltf::Primitive p;
    p.mode = lines ? TINYGLTF_MODE_LINE : TINYGLTF_MODE_TRIANGLES;
    p.material = Material(look);
    p.attributes["POSITION"] = Accessor(part.Positions, true);
    if (!lines) p.attributes["NORMAL"] = Accessor(part.Normals, false);
    p.indices = Indices(part.Indices);
    tinygltf::Mesh mesh;
    mesh.name = Model.materials.back().name;
    mesh.primitives.push_back(p);
    Model.meshes.push_back(mesh);
    tinygltf::Node node;
    node.name = mesh.name;
    node.mesh = static_cast<int>(Model.meshes.size() - 1);
    Model.nodes.push_back(node);
    Model.scenes[0].nodes.push_back(static_cast<int>(Model.nodes.size() - 1));
  }

  tinygltf::Model Model;
};

}  // namespace

bool ExportGltf(const TViewerSession& session, const std::string& path, std::string& error) {
  if (!session.DocumentLoaded()) {
    error = "No document is open.";
    return false;
  }
  const double scale = session.ScaleFactor();
  if (!std::isfinite(scale) || scale <= 0.0) {
    error = "The model has no usable size.";
    return false;
  }
  // The model root's own frame is the view's turn and shift: left out, so the model keeps the
  // document's axes.
  TCollector collector(scale);
  collector.Walk(session.ModelRoot(), TMatrix4::Identity());
  if (collector.Surfaces.empty() && collector.Lines.empty()) {
    error = "The model has nothing to export.";
    return false;
  }

  TWriter w;
  w.Model.asset.version = "2.0";
  w.Model.asset.generator = "Quorvela 3D Viewer";
  w.Model.buffers.emplace_back();
  w.Model.scenes.emplace_back();
  w.Model.defaultScene = 0;
  // Opaque surfaces first, see-through ones after them, lines last.
  for (bool blend : {false, true})
    for (const auto& [look, part] : collector.Surfaces)
      if (look.Blend == blend) w.Add(look, part, false);
  for (const auto& [look, part] : collector.Lines) w.Add(look, part, true);
  if (!collector.Lines.empty()) w.Model.extensionsUsed.push_back("KHR_materials_unlit");

  std::ostringstream bytes;
  tinygltf::TinyGLTF gltf;
  if (!gltf.WriteGltfSceneToStream(&w.Model, bytes, false, true)) {
    error = "The model could not be encoded.";
    return false;
  }
  std::string why;
  if (!WriteFileAtomically(path, bytes.str(), why, false)) {
    error = "Cannot write " + path + (why.empty() ? std::string() : ": " + why);
    return false;
  }
  return true;
}

}  // namespace qv
