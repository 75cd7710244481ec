// CSystemTray: one icon in the notification area. It owns a hidden
// "TrayIconClass" window that receives the icon's mouse messages, the icon's
// tooltip and balloon, and its pop-up menu (a menu resource whose id is the
// icon id); it also hides any top-level window into the notification area and
// brings it back. Derived classes adjust the menu in PrepareMenu.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>

// The shell's notification-icon record in the layout that has the state, the
// balloon text, timeout, title and icon flags but no GUID: the record every
// shell since version 5 accepts, whatever the headers' _WIN32_IE would make
// of NOTIFYICONDATAA.
struct TrayIconRecord {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[128];
  DWORD dwState;
  DWORD dwStateMask;
  CHAR szInfo[256];
  UINT uTimeout;
  CHAR szInfoTitle[64];
  DWORD dwInfoFlags;
};
static_assert(sizeof(TrayIconRecord) == 488, "the shell reads a 488-byte notification-icon record");
static_assert(offsetof(TrayIconRecord, dwInfoFlags) == offsetof(NOTIFYICONDATAA, dwInfoFlags),
              "the record must lie like the platform's NOTIFYICONDATAA");

class CSystemTray {
 public:
  static constexpr const char* kWindowClassName = "TrayIconClass";
  static constexpr int kMaxTooltipLength = 128;
  // Balloon icons.
  static constexpr DWORD kBalloonNone = 0;
  static constexpr DWORD kBalloonInfo = 1;
  static constexpr DWORD kBalloonWarning = 2;
  static constexpr DWORD kBalloonError = 3;

  // Becomes the process's tray object, whose window procedure it serves.
  CSystemTray();
  // Removes the icon and destroys the tray window.
  virtual ~CSystemTray();
  CSystemTray(const CSystemTray&) = delete;
  CSystemTray& operator=(const CSystemTray&) = delete;

  // The icon's notification handler: iconId and mouseMessage are the two
  // parameters of the callback message. Returns 0 when the message is not
  // for this icon, there is no window to act for or the menu cannot be
  // loaded, else 1. A right-button release shows the menu, a left double
  // click posts the default command.
  virtual LRESULT HandleTrayMessage(WPARAM iconId, LPARAM mouseMessage);
  // Called with the menu's first pop-up just before it is shown.
  virtual void PrepareMenu(HMENU menu);
  // The user clicked the balloon last shown (NIN_BALLOONUSERCLICK); does
  // nothing here.
  virtual void OnBalloonClick();

  // Makes the tray window and adds the icon. The caller keeps to:
  // callbackMessage >= WM_APP, tooltip of at most 128 characters (longer
  // ones are cut to 127), balloon text under 256 and title under 64
  // characters, balloon icon 0..3, timeout 10..30 seconds. parent null: the
  // tray window receives the icon's messages. Returns false when the
  // platform has no notification area or the shell refused the icon.
  bool Create(HINSTANCE instance, HWND parent, UINT callbackMessage, const char* tooltip, HICON icon,
              UINT iconId, bool hidden = false, const char* balloonText = nullptr,
              const char* balloonTitle = nullptr, DWORD balloonIcon = kBalloonNone, UINT balloonTimeout = 10);

  // Shows a balloon on the icon; false at once where the platform has none.
  bool ShowBalloonTip(const char* text, const char* title = nullptr, DWORD icon = kBalloonNone,
                      UINT timeoutSeconds = 10);

  // The window that receives the menu's commands.
  void SetNotifyWindow(HWND window) { m_targetWindow = window; }
  HWND GetNotifyWindow() const { return m_targetWindow; }

  // False when not enabled; true without asking the shell while the icon is
  // hidden; otherwise the shell's answer.
  bool ChangeIcon(HICON icon);
  // Whether the icon is removed afterwards.
  bool DeleteIcon();

  // The default item of the menu (bold; a double click chooses it), by
  // position or by command id.
  void SetDefaultMenuItem(UINT item, bool byPosition);

  // Hide a top-level window into the notification area (with the caption
  // animation when the platform animates minimising) and bring it back.
  // They need no tray object.
  static void HideToTray(HWND window);
  static void RestoreFromTray(HWND window);

  static LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND GetTrayWindow() const { return m_trayWindow; }
  const TrayIconRecord& GetIconRecord() const { return m_icon; }
  bool IsEnabled() const { return m_enabled; }
  bool IsHidden() const { return m_hidden; }
  bool IsRemoved() const { return m_removed; }
  bool IsAddPending() const { return m_addPending; }
  bool SupportsBalloons() const { return m_balloons; }

 protected:
  // The window that the menu and the foreground belong to: the target when
  // one is set, else the record's window.
  HWND CommandWindow() const;

 private:
  // NIM_ADD with the creation flags; sets the three state flags from the result.
  bool AddIcon();
  // The shell restarted or the work area changed: see the procedure.
  void OnShellRestarted();
  void OnWorkAreaChanged();
  // False, showing nothing, when the menu resource or its first pop-up is missing.
  bool ShowMenu(HWND commandWindow);
  // The command id of the default item; 0 when the menu cannot be loaded.
  UINT DefaultCommand() const;
  bool Notify(DWORD action);

  TrayIconRecord m_icon;
  HINSTANCE m_instance;
  HWND m_trayWindow;
  HWND m_targetWindow;
  bool m_enabled;
  bool m_hidden;
  bool m_removed;
  bool m_addPending;
  bool m_balloons;
  UINT m_defaultItem;
  bool m_defaultByPosition;
  UINT m_creationFlags;
};
