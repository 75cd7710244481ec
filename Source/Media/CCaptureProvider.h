// CCaptureProvider: where capture drivers and capture windows come from. The
// capture dialog never knows which one it talks to: it lists drivers, makes
// a capture window and sends it the platform's capture messages (WM_CAP_...)
// through CCaptureWindow. Two providers exist: the platform's capture window
// (avicap32: cameras and other drivers of the system) and the program's own
// screen capture window (CScreenCaptureWindow), whose one driver is listed
// after the platform's.
#ifndef QUILLMATE_MEDIA_CCAPTUREPROVIDER_H
#define QUILLMATE_MEDIA_CCAPTUREPROVIDER_H

#include <windows.h>

#include <string>
#include <vector>

class CCaptureProvider {
 public:
  virtual ~CCaptureProvider() = default;
  // The description and version of the provider's driver `index` (from 0);
  // false when it has no such driver.
  virtual bool DriverDescription(int index, std::string& description, std::string& version) const = 0;
  // A visible child window `id` of parent that answers the capture messages,
  // not yet connected to a driver; null when the provider cannot make one.
  virtual HWND CreateCaptureWindow(HWND parent, int id, int x, int y, int width, int height) const = 0;
};

// The platform's capture window and drivers (capGetDriverDescription,
// capCreateCaptureWindow).
const CCaptureProvider& PlatformCaptureProvider();
// The program's own screen capture window with its one driver.
const CCaptureProvider& ScreenCaptureProvider();

// The providers that a capture window made without a list of its own lists,
// in order: the platform's, then the screen capture's. Tests put others in
// their place; an empty list restores these.
std::vector<const CCaptureProvider*> DefaultCaptureProviders();
void SetDefaultCaptureProviders(std::vector<const CCaptureProvider*> providers);

#endif  // QUILLMATE_MEDIA_CCAPTUREPROVIDER_H
