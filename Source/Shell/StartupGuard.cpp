// StartupGuard: catches what start-up throws.
#include "Shell/StartupGuard.h"

#include "Records/MessageBoxSeam.h"

namespace {

void ShowStartupError(const char* text) {
  ShowMessageBox(nullptr, text, "Error", kMbOk | kMbIconWarning);
}

}  // namespace

bool RunStartupGuarded(const std::function<void()>& steps) {
  try {
    steps();
    return true;
  } catch (const char* text) {
    ShowStartupError(text ? text : kUnknownStartupError);
  } catch (...) {
    ShowStartupError(kUnknownStartupError);
  }
  return false;
}
