// CSplitController: the drag of the splitter bar and the bar's window procedure.
#include "Library/CSplitController.h"

#include "Library/CSplitter.h"
#include "Library/ModeSetter.h"
#include "Library/PaintCanvas.h"
#include "Library/UpdateCanvas.h"
#include "Library/WindowProcGuard.h"

#include <windowsx.h>

namespace {

const char* const kGuardCaption = "Initialization WndProcSplitter";

bool gSplitterDragging = false;

CSplitController* ControllerOf(HWND bar) {
  return reinterpret_cast<CSplitController*>(GetWindowLongPtrA(bar, GWLP_USERDATA));
}

LRESULT HandleBarMessage(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(bar, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(new CSplitController(bar, create->hwndParent)));
    return 0;
  }
  CSplitController* controller = ControllerOf(bar);
  if (!controller) return DefWindowProcA(bar, message, wParam, lParam);
  switch (message) {
    case WM_SIZE:
      controller->OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_PAINT: {
      // The class background is the whole picture.
      PaintCanvas canvas(bar);
      return 0;
    }
    case WM_LBUTTONDOWN:
      controller->StartDrag(GET_X_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (wParam & MK_LBUTTON) controller->DragTo(GET_X_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      controller->EndDrag(GET_X_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      controller->OnCaptureChanged();
      return 0;
    case WM_DESTROY:
      SetWindowLongPtrA(bar, GWLP_USERDATA, 0);
      delete controller;
      return 0;
    default:
      return DefWindowProcA(bar, message, wParam, lParam);
  }
}

}  // namespace

LRESULT CALLBACK CSplitController::BarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunGuarded(window, kGuardCaption, [&] { return HandleBarMessage(window, message, wParam, lParam); });
}

bool CSplitController::IsDragging() {
  return gSplitterDragging;
}

CSplitController::CSplitController(HWND bar, HWND parent)
    : m_bar(bar),
      m_parent(parent),
      m_barWidth(0),
      m_barHeight(0),
      m_lineTop(0),
      m_dragOffset(0),
      m_lineX(0),
      m_lineShown(false) {}

void CSplitController::OnSize(int width, int height) {
  m_barWidth = width;
  m_barHeight = height;
}

void CSplitController::InvertLine() {
  UpdateCanvas canvas(m_parent);
  if (!canvas.GetHdc()) return;
  ModeSetter mode(canvas, R2_NOTXORPEN);
  MoveToEx(canvas, m_lineX, m_lineTop, nullptr);
  LineTo(canvas, m_lineX, m_lineTop + m_barHeight - 1);
  m_lineShown = !m_lineShown;
}

void CSplitController::StartDrag(int mouseX) {
  // A press while a line is still shown (its release was lost) must not
  // leave that line behind.
  if (m_lineShown) InvertLine();
  gSplitterDragging = true;
  SetCapture(m_bar);
  POINT parentOrigin = {0, 0};
  POINT barOrigin = {0, 0};
  ClientToScreen(m_parent, &parentOrigin);
  ClientToScreen(m_bar, &barOrigin);
  m_lineTop = barOrigin.y - parentOrigin.y;
  m_dragOffset = (barOrigin.x - parentOrigin.x) + m_barWidth / 2 - mouseX;
  m_lineX = mouseX + m_dragOffset;
  InvertLine();
}

void CSplitController::DragTo(int mouseX) {
  if (!gSplitterDragging) return;
  if (m_lineShown) InvertLine();
  m_lineX = mouseX + m_dragOffset;
  InvertLine();
}

void CSplitController::EndDrag(int mouseX) {
  if (!gSplitterDragging) return;
  // Releasing the capture erases the line (WM_CAPTURECHANGED).
  ReleaseCapture();
  if (m_lineShown) InvertLine();
  SendMessageA(m_parent, CSplitter::kSplitterMovedMessage, static_cast<WPARAM>(mouseX + m_dragOffset), 0);
  gSplitterDragging = false;
}

void CSplitController::OnCaptureChanged() {
  // Only a line that is on the surface may be inverted again; inverting
  // one that is not would leave a stray line behind.
  if (m_lineShown) InvertLine();
}
