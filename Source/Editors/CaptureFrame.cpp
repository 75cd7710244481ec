// The capture frame's window class, its layout of the capture window and its
// scrolling.
#include "Editors/CaptureFrame.h"

#include <vfw.h>

#include <algorithm>

#include "Library/WindowClassDef.h"
#include "Media/CCaptureWindow.h"

namespace {

const char kFrameClass[] = "vidframeClass";
constexpr int kLineStep = 10;
constexpr int kPageStep = 50;
bool gLayingOut = false;

CCaptureWindow* CaptureOf(HWND frame) {
  return reinterpret_cast<CCaptureWindow*>(GetWindowLongPtrA(frame, GWLP_USERDATA));
}

SIZE PictureSize(CCaptureWindow& capture) {
  CAPSTATUS status = {};
  if (!capture.Send(WM_CAP_GET_STATUS, sizeof status, reinterpret_cast<LPARAM>(&status))) return {0, 0};
  return {static_cast<LONG>(status.uiImageWidth), static_cast<LONG>(status.uiImageHeight)};
}

// A bar hidden when the picture fits, else ranging over the overhang.
void SetRange(HWND frame, int bar, int picture, int client) {
  SetScrollRange(frame, bar, 0, picture < client ? 0 : picture - client, TRUE);
}

int ClampedPosition(HWND frame, int bar, int position) {
  int low = 0, high = 0;
  GetScrollRange(frame, bar, &low, &high);
  return std::clamp(position, low, std::max(low, high));
}

void PassScroll(HWND frame, CCaptureWindow& capture) {
  POINT scroll = {GetScrollPos(frame, SB_HORZ), GetScrollPos(frame, SB_VERT)};
  capture.Send(WM_CAP_SET_SCROLL, 0, reinterpret_cast<LPARAM>(&scroll));
}

void Scroll(HWND frame, int bar, WPARAM request) {
  CCaptureWindow* capture = CaptureOf(frame);
  int position = GetScrollPos(frame, bar);
  switch (LOWORD(request)) {
    case SB_LINEUP: position -= kLineStep; break;
    case SB_LINEDOWN: position += kLineStep; break;
    case SB_PAGEUP: position -= kPageStep; break;
    case SB_PAGEDOWN: position += kPageStep; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: position = static_cast<short>(HIWORD(request)); break;
    default: break;
  }
  SetScrollPos(frame, bar, ClampedPosition(frame, bar, position), TRUE);
  if (capture) PassScroll(frame, *capture);
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HSCROLL:
      Scroll(frame, SB_HORZ, wParam);
      return 0;
    case WM_VSCROLL:
      Scroll(frame, SB_VERT, wParam);
      return 0;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      if (CCaptureWindow* capture = CaptureOf(frame)) return capture->Send(message, wParam, lParam);
      return 0;
    case WM_MOVE:
    case WM_SIZE:
      // Showing or hiding a scroll bar during a layout resizes the client
      // area; the layout under way accounts for that itself.
      if (!gLayingOut && CaptureOf(frame) && CaptureOf(frame)->Handle()) LayOutCaptureWindow(frame);
      break;
    default:
      break;
  }
  return DefWindowProcA(frame, message, wParam, lParam);
}

bool RegisterFrameClass() {
  // Once per run of the program; RegisterClassExA rather than Register(),
  // which throws: this runs inside the dialog's window procedure.
  static const bool registered = [] {
    WindowClassDef windowClass(FrameProc, kFrameClass, GetModuleHandleA(nullptr));
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

HWND CreateCaptureFrame(HWND dialog, int x, int y, int width, int height, CCaptureWindow& capture) {
  if (!RegisterFrameClass()) return nullptr;
  HWND frame = CreateWindowExA(WS_EX_CLIENTEDGE, kFrameClass, "",
                               WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, x, y, width,
                               height, dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (frame) SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&capture));
  return frame;
}

void LayOutCaptureWindow(HWND frame) {
  CCaptureWindow* capture = CaptureOf(frame);
  if (!capture || gLayingOut) return;
  gLayingOut = true;
  const POINT kept = {GetScrollPos(frame, SB_HORZ), GetScrollPos(frame, SB_VERT)};
  RECT client;
  GetClientRect(frame, &client);
  const SIZE picture = PictureSize(*capture);
  SetRange(frame, SB_HORZ, picture.cx, client.right);
  SetRange(frame, SB_VERT, picture.cy, client.bottom);
  // The vertical bar narrows the client area.
  GetClientRect(frame, &client);
  SetRange(frame, SB_HORZ, picture.cx, client.right);

  SetScrollPos(frame, SB_HORZ, ClampedPosition(frame, SB_HORZ, kept.x), TRUE);
  SetScrollPos(frame, SB_VERT, ClampedPosition(frame, SB_VERT, kept.y), TRUE);
  PassScroll(frame, *capture);

  int x = std::max(0, static_cast<int>((client.right - picture.cx) / 2));
  const int y = std::max(0, static_cast<int>((client.bottom - picture.cy) / 2));
  // Start the picture on a screen column that is a multiple of 4.
  POINT screen = {x, y};
  ClientToScreen(frame, &screen);
  x -= screen.x % 4;
  InvalidateRect(frame, nullptr, TRUE);
  UpdateWindow(frame);
  MoveWindow(capture->Handle(), x, y, picture.cx, picture.cy, TRUE);
  InvalidateRect(frame, nullptr, FALSE);
  gLayingOut = false;
}
