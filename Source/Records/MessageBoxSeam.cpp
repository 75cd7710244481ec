// Dispatch between an installed script and the platform's box.
#include "Records/MessageBoxSeam.h"

#include <utility>

namespace {

MessageBoxScript& InstalledScript() {
  static MessageBoxScript script;
  return script;
}

MessageBoxOwnerFinder gOwnerFinder = nullptr;
// Boxes are shown on the user-interface thread only.
int gOpenBoxes = 0;

struct OpenBox {
  OpenBox() { ++gOpenBoxes; }
  ~OpenBox() { --gOpenBoxes; }
};

}  // namespace

void SetMessageBoxOwnerFinder(MessageBoxOwnerFinder finder) {
  gOwnerFinder = finder;
}

int ShowMessageBox(void* ownerWindow, const char* text, const char* caption, unsigned style) {
  if (ownerWindow == nullptr && gOwnerFinder != nullptr) ownerWindow = gOwnerFinder();
  const char* safeText = text != nullptr ? text : "";
  const char* safeCaption = caption != nullptr ? caption : "";
  OpenBox open;
  if (InstalledScript()) return InstalledScript()(ownerWindow, safeText, safeCaption, style);
  return PlatformShowMessageBox(ownerWindow, safeText, safeCaption, style);
}

int OpenMessageBoxCount() {
  return gOpenBoxes;
}

int DefaultMessageBoxAnswer(unsigned style) {
  static const int kButtons[][3] = {
      {kIdOk, kIdOk, kIdOk},            // kMbOk
      {kIdOk, kIdCancel, kIdOk},        // kMbOkCancel
      {kIdAbort, kIdRetry, kIdIgnore},  // kMbAbortRetryIgnore
      {kIdYes, kIdNo, kIdCancel},       // kMbYesNoCancel
      {kIdYes, kIdNo, kIdYes},          // kMbYesNo
      {kIdRetry, kIdCancel, kIdRetry},  // kMbRetryCancel
  };
  unsigned set = style & 0xFu;
  if (set > kMbRetryCancel) set = kMbOk;
  unsigned button = (style & 0xF00u) >> 8;  // 0, 1 or 2
  if (button > 2) button = 0;
  return kButtons[set][button];
}

ScopedMessageBoxScript::ScopedMessageBoxScript(MessageBoxScript script)
    : m_previous(std::exchange(InstalledScript(), std::move(script))) {}

ScopedMessageBoxScript::~ScopedMessageBoxScript() {
  InstalledScript() = std::move(m_previous);
}
