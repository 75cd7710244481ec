// The platform's capture drivers and window (avicap32). Under Wine both are
// stubs: no driver is described and no window is made.
#include "Media/CCaptureProvider.h"

#include <vfw.h>

namespace {

class CPlatformCaptureProvider : public CCaptureProvider {
 public:
  bool DriverDescription(int index, std::string& description, std::string& version) const override {
    char name[256] = {};
    char number[256] = {};
    if (!capGetDriverDescriptionA(static_cast<WORD>(index), name, sizeof name, number, sizeof number)) return false;
    description = name;
    version = number;
    return true;
  }

  HWND CreateCaptureWindow(HWND parent, int id, int x, int y, int width, int height) const override {
    return capCreateCaptureWindowA("", WS_CHILD | WS_VISIBLE, x, y, width, height, parent, id);
  }
};

}  // namespace

const CCaptureProvider& PlatformCaptureProvider() {
  static const CPlatformCaptureProvider provider;
  return provider;
}
