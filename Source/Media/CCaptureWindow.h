// CCaptureWindow: the capture window that the capture dialog talks to,
// whichever provider makes it. Drivers are listed provider by provider (the
// platform's first, then the screen capture's), at most ten; connecting a
// driver of another provider replaces the window with one of that provider
// at the same place, and hands the new window the callbacks, capture file,
// audio format, sequence set-up and preview rate that the old one was given,
// so the dialog sees one window that connects to any listed driver.
#ifndef QUILLMATE_MEDIA_CCAPTUREWINDOW_H
#define QUILLMATE_MEDIA_CCAPTUREWINDOW_H

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "Media/CCaptureProvider.h"

class CCaptureWindow {
 public:
  static constexpr int kMaxDrivers = 10;

  // providers in listing order; by default the platform's and the screen
  // capture's.
  CCaptureWindow();
  explicit CCaptureWindow(std::vector<const CCaptureProvider*> providers);
  ~CCaptureWindow();
  CCaptureWindow(const CCaptureWindow&) = delete;
  CCaptureWindow& operator=(const CCaptureWindow&) = delete;

  // Driver n's description and version (n counts across providers, in
  // listing order, below kMaxDrivers); false when there is none.
  bool DriverDescription(int n, std::string& description, std::string& version);

  // Makes the window (a visible child `id` of parent) of the provider of
  // driver 0, or of the first provider that makes one. False when none does.
  bool Create(HWND parent, int id, int x, int y, int width, int height);
  // Connects driver n (WM_CAP_DRIVER_CONNECT), first replacing the window
  // when driver n belongs to another provider. False when it cannot.
  bool Connect(int n);
  // Sends a capture message to the window; 0 when there is none.
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  HWND Handle() const { return m_window; }
  void Destroy();

 private:
  struct DriverSlot {
    const CCaptureProvider* provider;
    int index;
  };
  const std::vector<DriverSlot>& Drivers();
  bool MakeWindow(const CCaptureProvider& provider);
  void Remember(UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<const CCaptureProvider*> m_providers;
  std::vector<DriverSlot> m_drivers;
  bool m_listed;
  HWND m_window;
  const CCaptureProvider* m_windowProvider;
  HWND m_parent;
  int m_id;
  // What a replacement window is given again, by message: the message's
  // wParam and a copy of what its lParam pointed to (or the value itself).
  struct Setting {
    WPARAM wParam;
    LPARAM value;
    std::vector<BYTE> bytes;
  };
  std::map<UINT, Setting> m_settings;
};

#endif  // QUILLMATE_MEDIA_CCAPTUREWINDOW_H
