// Each call sends its whole gesture in one SendInput, so nothing can come
// between a modifier and its key.
#include "Support/TypedInput.h"

#include <vector>

namespace qmtest {

namespace {

INPUT KeyInput(WORD key, bool up) {
  INPUT one = {};
  one.type = INPUT_KEYBOARD;
  one.ki.wVk = key;
  one.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return one;
}

INPUT MouseInput(DWORD flags, DWORD data = 0) {
  INPUT one = {};
  one.type = INPUT_MOUSE;
  one.mi.dwFlags = flags;
  one.mi.mouseData = data;
  return one;
}

void Send(std::vector<INPUT>& input) {
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

}  // namespace

void TypeKey(WORD key, WORD modifier) {
  std::vector<INPUT> input;
  if (modifier != 0) input.push_back(KeyInput(modifier, false));
  input.push_back(KeyInput(key, false));
  input.push_back(KeyInput(key, true));
  if (modifier != 0) input.push_back(KeyInput(modifier, true));
  Send(input);
}

void TurnWheel(POINT point, int delta, WORD modifier) {
  SetCursorPos(point.x, point.y);
  std::vector<INPUT> input;
  if (modifier != 0) input.push_back(KeyInput(modifier, false));
  input.push_back(MouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta)));
  if (modifier != 0) input.push_back(KeyInput(modifier, true));
  Send(input);
}

void ClickAt(POINT point) {
  SetCursorPos(point.x, point.y);
  std::vector<INPUT> input = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
  Send(input);
}

void PumpAsDialog(HWND dialog) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    if (!IsDialogMessageA(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

}  // namespace qmtest
