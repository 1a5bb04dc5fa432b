#include "platform/OffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <fstream>

namespace qv {

TPicture::TPixel TPicture::Pixel(int x, int y) const {
  const size_t i = (static_cast<size_t>(y) * Width + x) * 3;
  return {Rgb.at(i), Rgb.at(i + 1), Rgb.at(i + 2)};
}

struct TOffscreenContext::TImpl {
  EGLDisplay Display = EGL_NO_DISPLAY;
  EGLContext Context = EGL_NO_CONTEXT;
  GLuint Framebuffer = 0;
  GLuint Renderbuffers[2] = {0, 0};
  PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;

  template <class F> bool Resolve(F& f, const char* name) {
    f = reinterpret_cast<F>(eglGetProcAddress(name));
    return f != nullptr;
  }

  void Destroy() {
    if (Context != EGL_NO_CONTEXT && eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, Context)) {
      if (Framebuffer) DeleteFramebuffers(1, &Framebuffer);
      if (Renderbuffers[0]) DeleteRenderbuffers(2, Renderbuffers);
    }
    // The display stays initialised: it is one per process and platform, so terminating it would
    // pull it from under any other off-screen context that is still alive.
    if (Display != EGL_NO_DISPLAY) {
      eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
      if (Context != EGL_NO_CONTEXT) eglDestroyContext(Display, Context);
    }
    Display = EGL_NO_DISPLAY;
    Context = EGL_NO_CONTEXT;
    Framebuffer = 0;
    Renderbuffers[0] = Renderbuffers[1] = 0;
  }
};

TOffscreenContext::TOffscreenContext() : Impl_(std::make_unique<TImpl>()) {}

TOffscreenContext::~TOffscreenContext() { Impl_->Destroy(); }

bool TOffscreenContext::Create(int width, int height, std::string& error) {
  Impl_->Destroy();
  if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide) {
    error = "picture size out of range";
    return false;
  }
  TImpl& d = *Impl_;
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) {
    error = "EGL offers no platform displays";
    return false;
  }
  d.Display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  EGLint major = 0, minor = 0;
  if (d.Display == EGL_NO_DISPLAY || !eglInitialize(d.Display, &major, &minor)) {
    d.Display = EGL_NO_DISPLAY;
    error = "no surfaceless EGL display";
    return false;
  }
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                     EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                                     EGL_DEPTH_SIZE, 24, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (!eglBindAPI(EGL_OPENGL_API) || !eglChooseConfig(d.Display, configAttributes, &config, 1, &configs) ||
      configs < 1) {
    d.Destroy();
    error = "no EGL configuration for desktop OpenGL";
    return false;
  }
  const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  d.Context = eglCreateContext(d.Display, config, EGL_NO_CONTEXT, contextAttributes);
  if (d.Context == EGL_NO_CONTEXT || !eglMakeCurrent(d.Display, EGL_NO_SURFACE, EGL_NO_SURFACE, d.Context)) {
    d.Destroy();
    error = "cannot create an OpenGL compatibility context";
    return false;
  }
  if (!d.Resolve(d.GenFramebuffers, "glGenFramebuffers") ||
      !d.Resolve(d.DeleteFramebuffers, "glDeleteFramebuffers") ||
      !d.Resolve(d.BindFramebuffer, "glBindFramebuffer") ||
      !d.Resolve(d.GenRenderbuffers, "glGenRenderbuffers") ||
      !d.Resolve(d.DeleteRenderbuffers, "glDeleteRenderbuffers") ||
      !d.Resolve(d.BindRenderbuffer, "glBindRenderbuffer") ||
      !d.Resolve(d.RenderbufferStorage, "glRenderbufferStorage") ||
      !d.Resolve(d.FramebufferRenderbuffer, "glFramebufferRenderbuffer") ||
      !d.Resolve(d.CheckFramebufferStatus, "glCheckFramebufferStatus")) {
    d.Destroy();
    error = "the OpenGL context has no framebuffer objects";
    return false;
  }
  d.GenFramebuffers(1, &d.Framebuffer);
  d.BindFramebuffer(GL_FRAMEBUFFER, d.Framebuffer);
  d.GenRenderbuffers(2, d.Renderbuffers);
  d.BindRenderbuffer(GL_RENDERBUFFER, d.Renderbuffers[0]);
  d.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  d.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, d.Renderbuffers[0]);
  d.BindRenderbuffer(GL_RENDERBUFFER, d.Renderbuffers[1]);
  d.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  d.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, d.Renderbuffers[1]);
  if (d.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    d.Destroy();
    error = "cannot create a framebuffer of that size";
    return false;
  }
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
  Width_ = width;
  Height_ = height;
  return true;
}

bool TOffscreenContext::MakeCurrent() {
  TImpl& d = *Impl_;
  if (d.Context == EGL_NO_CONTEXT) return false;
  if (!eglMakeCurrent(d.Display, EGL_NO_SURFACE, EGL_NO_SURFACE, d.Context)) return false;
  d.BindFramebuffer(GL_FRAMEBUFFER, d.Framebuffer);
  return true;
}

void TOffscreenContext::DoneCurrent() {
  if (Impl_->Display != EGL_NO_DISPLAY)
    eglMakeCurrent(Impl_->Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void ReadFramebuffer(int width, int height, TPicture& picture) {
  picture.Width = width;
  picture.Height = height;
  picture.Rgb.assign(static_cast<size_t>(width) * height * 3, 0);
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  // OpenGL rows run from the bottom; the picture's from the top.
  std::vector<uint8_t> rows(picture.Rgb.size());
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
  const size_t stride = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y)
    std::copy_n(rows.data() + (height - 1 - y) * stride, stride, picture.Rgb.data() + y * stride);
}

void TOffscreenContext::ReadPicture(TPicture& picture) {
  if (Impl_->Context == EGL_NO_CONTEXT) {
    picture.Width = Width_;
    picture.Height = Height_;
    picture.Rgb.assign(static_cast<size_t>(Width_) * Height_ * 3, 0);
    return;
  }
  ReadFramebuffer(Width_, Height_, picture);
}

std::vector<uint8_t> BmpFileBytes(const TPicture& picture) {
  const uint32_t stride = (static_cast<uint32_t>(picture.Width) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * static_cast<uint32_t>(picture.Height);
  const uint32_t fileSize = 14 + 40 + imageSize;
  std::vector<uint8_t> out;
  out.reserve(fileSize);
  auto u16 = [&](uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  out.push_back('B');
  out.push_back('M');
  u32(fileSize);
  u32(0);
  u32(14 + 40);
  u32(40);
  u32(static_cast<uint32_t>(picture.Width));
  u32(static_cast<uint32_t>(picture.Height));  // positive: rows stored from the bottom
  u16(1);
  u16(24);
  u32(0);  // no compression
  u32(imageSize);
  u32(3780);  // 96 dots per inch
  u32(3780);
  u32(0);
  u32(0);
  for (int y = picture.Height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.Width; ++x) {
      const TPicture::TPixel p = picture.Pixel(x, y);
      out.push_back(p.B);
      out.push_back(p.G);
      out.push_back(p.R);
    }
    for (uint32_t pad = static_cast<uint32_t>(picture.Width) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

bool WriteBmpFile(const std::string& path, const TPicture& picture) {
  const std::vector<uint8_t> bytes = BmpFileBytes(picture);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}

}  // namespace qv
