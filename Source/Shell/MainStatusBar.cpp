// MainStatusBar: the status bar and the progress bar that lives in its
// second part, where the managers move it while they fill the record list.
#include "Shell/MainWindowControls.h"

#include "Library/CProgress.h"
#include "Library/CStatusbar.h"
#include "Resources/MainWindowIds.h"

namespace {

constexpr int kPartRightEdges[] = {150, 400, -1};
constexpr int kProgressInset = 4;
constexpr int kProgressWidth = 93;
constexpr int kProgressHeight = 15;

}  // namespace

bool CreateMainStatusBar(HWND window) {
  CStatusbar status;
  if (!status.Create(window, ID_STATUS_BAR, 0, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0))
    return false;
  status.SetParts(3, kPartRightEdges);
  status.SetPartText(0, "Ready");

  RECT part = {};
  status.GetPartRect(1, &part);
  // Hidden until a list fills or a long action runs (CBusyIndicator).
  CProgress progress;
  if (!progress.Create(status.GetWindow(), ID_PROGRESS_BAR, 0, WS_CHILD,
                       part.left + kProgressInset, kProgressInset, kProgressWidth, kProgressHeight))
    return false;
  progress.SetRange(0, 100);
  return true;
}
