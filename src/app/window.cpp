// The window's tie to the panel layer: the GLUT callbacks that feed the
// layer's event routing, ImGui's OpenGL2 renderer for the panels, and a
// look at the window system's queue for input waiting behind a long frame.
#include "app/window.h"

#include <GL/freeglut.h>
#include <imgui.h>

#include "backends/imgui_impl_opengl2.h"
#include "ui/layer.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/extensions/XI2.h>

namespace {

int lastTime = 0; // ms since glutInit, at the previous panel frame

void reshapeCb(int w, int h) {
  ui::master.reshapeEvent(w, h);
}
void motionCb(int x, int y) {
  ui::master.motionEvent(x, y);
}
void passiveCb(int x, int y) {
  ui::master.passiveEvent(x, y);
}

void mouseCb(int b, int s, int x, int y) {
  ui::master.mouseEvent(b, s, x, y, glutGetModifiers());
}

void keyCb(unsigned char c, int x, int y) {
  ui::master.keyEvent(c, x, y, glutGetModifiers());
}

void keyUpCb(unsigned char c, int x, int y) {
  ui::master.keyUpEvent(c, x, y, glutGetModifiers());
}

void specialCb(int k, int, int) {
  ui::master.specialEvent(k, true, glutGetModifiers());
}
void specialUpCb(int k, int, int) {
  ui::master.specialEvent(k, false, glutGetModifiers());
}

void newFrame() {
  ImGui_ImplOpenGL2_NewFrame();
  int now = glutGet(GLUT_ELAPSED_TIME);
  ImGui::GetIO().DeltaTime = (now - lastTime > 0 ? now - lastTime : 1) / 1000.0f;
  lastTime = now;
  ImGui::NewFrame();
}

void render() {
  ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
}

// What the look at the queue needs to know: the input extension's events
// (the toolkit takes the pointer through it where the server has it) carry
// no button state until unpacked, so the layer's own state tells a drag.
struct Look {
  int xinput; // the input extension's major opcode, -1 without it
  bool held;  // a button is down, as the layer has seen so far
  bool seen;  // input is waiting
};

// Notes a button, a key, a drag or a request to close the window, and
// takes nothing out of the queue.
// NOLINTNEXTLINE(readability-non-const-parameter): the type Xlib asks of a predicate
Bool noteInput(Display *, XEvent *e, XPointer arg) {
  Look &look = *reinterpret_cast<Look *>(arg);
  const unsigned held = Button1Mask | Button2Mask | Button3Mask;
  if (e->type == GenericEvent && e->xgeneric.extension == look.xinput) {
    int t = e->xgeneric.evtype;
    if (t == XI_ButtonPress || t == XI_ButtonRelease || t == XI_KeyPress || t == XI_KeyRelease ||
        (t == XI_Motion && look.held))
      look.seen = true;
    return False;
  }
  switch (e->type) {
  case ButtonPress:
  case ButtonRelease:
  case KeyPress:
  case KeyRelease:
  case ClientMessage:
    look.seen = true;
    break;
  case MotionNotify:
    if (e->xmotion.state & held) look.seen = true;
    break;
  default:
    break;
  }
  return False;
}

// Reads what the server has sent so far into Xlib's queue, then looks.
bool windowInput() {
  static int xinput = -2;
  Display *d = glXGetCurrentDisplay();
  if (!d) return false;
  int event, error;
  if (xinput == -2 && !XQueryExtension(d, "XInputExtension", &xinput, &event, &error)) xinput = -1;
  Look look{xinput, ui::master.buttonHeld(), false};
  XEvent unused;
  XCheckIfEvent(d, &unused, noteInput, reinterpret_cast<XPointer>(&look));
  return look.seen;
}

void publishText(const std::string &text) {
  Display *d = glXGetCurrentDisplay();
  GLXDrawable w = glXGetCurrentDrawable();
  if (!d || !w) return;
  XChangeProperty(d, w, XInternAtom(d, "TRESOLVA_TEXT", False),
                  XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char *>(text.data()), (int)text.size());
}

} // namespace

void attachToWindow(float scale, const char *fontFile) {
  ui::master.init(scale, fontFile);
  ImGui_ImplOpenGL2_Init();
  ui::master.newFrameHook = newFrame;
  ui::master.renderHook = render;
  ui::master.windowInputHook = windowInput;
  ui::master.textHook = publishText;
  glutReshapeFunc(reshapeCb);
  glutMouseFunc(mouseCb);
  glutMotionFunc(motionCb);
  // ImGui needs every pointer motion to track hovering.
  glutPassiveMotionFunc(passiveCb);
  glutKeyboardFunc(keyCb);
  glutKeyboardUpFunc(keyUpCb);
  glutSpecialFunc(specialCb);
  glutSpecialUpFunc(specialUpCb);
}
