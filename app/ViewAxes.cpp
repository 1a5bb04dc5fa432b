#include "app/ViewAxes.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace qv {

void DrawModelAxes(const TGLCameraState& camera, const TGLBaseSceneObject& modelRoot, float length) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(camera.Position.X, camera.Position.Y, camera.Position.Z, camera.Target.X, camera.Target.Y,
            camera.Target.Z, camera.Up.X, camera.Up.Y, camera.Up.Z);
  TMatrix4 world = modelRoot.LocalMatrix();
  for (const TGLBaseSceneObject* p = modelRoot.Parent(); p; p = p->Parent()) world = p->LocalMatrix() * world;
  glMultMatrixd(world.M.data());

  glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(1, 0xCCCC);
  glLineWidth(1.0f);
  glBegin(GL_LINES);
  for (int axis = 0; axis < 3; ++axis) {
    float end[3] = {0, 0, 0};
    float color[3] = {0, 0, 0};
    end[axis] = length;
    color[axis] = 1.0f;
    glColor3fv(color);
    glVertex3f(0, 0, 0);
    glVertex3fv(end);
    color[axis] = 0.5f;
    end[axis] = -length;
    glColor3fv(color);
    glVertex3f(0, 0, 0);
    glVertex3fv(end);
  }
  glEnd();
  glPopAttrib();
}

}  // namespace qv
