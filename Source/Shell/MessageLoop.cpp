// MessageLoop: GetMessage, accelerators, translate and dispatch.
#include "Shell/MessageLoop.h"

int RunMessageLoop(HACCEL accelerators)
{
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) return -1;
        if (!got) return static_cast<int>(message.wParam);
        if (accelerators && message.hwnd && TranslateAcceleratorA(message.hwnd, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
