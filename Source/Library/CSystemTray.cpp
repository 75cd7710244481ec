// CSystemTray: the icon, its hidden window, tooltip, balloons and pop-up
// menu. Hiding windows into the notification area lives in
// CSystemTrayHiding.cpp.
#include "Library/CSystemTray.h"

#include <shellapi.h>

#include <cstring>

namespace {

// The one tray object of the process; the tray window's procedure serves it.
CSystemTray* gTrayObject = nullptr;

// Broadcast by a (re)started shell to every top-level window.
const UINT gTaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

// SPI_SETWORKAREA, as reported by WM_SETTINGCHANGE.
constexpr WPARAM kWorkAreaChanged = 47;

constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

struct PlatformVersion {
  bool known = false;
  DWORD major = 0;
  DWORD platformId = 0;
};

PlatformVersion QueryPlatformVersion() {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;  // 148
  PlatformVersion version;
  if (GetVersionExA(&info)) {
    version.known = true;
    version.major = info.dwMajorVersion;
    version.platformId = info.dwPlatformId;
  }
  return version;
}

bool PlatformHasBalloons() {
  PlatformVersion version = QueryPlatformVersion();
  return version.known && version.platformId == VER_PLATFORM_WIN32_NT && version.major > 4;
}

// Copies at most size - 1 characters and always terminates; null gives "".
void CopyText(char* target, std::size_t size, const char* text) {
  std::size_t length = text ? std::strlen(text) : 0;
  if (length > size - 1) length = size - 1;
  if (length) std::memcpy(target, text, length);
  target[length] = '\0';
}

}  // namespace

CSystemTray::CSystemTray()
    : m_icon(),
      m_instance(nullptr),
      m_trayWindow(nullptr),
      m_targetWindow(nullptr),
      m_enabled(false),
      m_hidden(true),
      m_removed(true),
      m_addPending(false),
      m_balloons(PlatformHasBalloons()),
      m_defaultItem(0),
      m_defaultByPosition(true),
      m_creationFlags(0) {
  gTrayObject = this;
}

CSystemTray::~CSystemTray() {
  DeleteIcon();
  if (m_trayWindow) DestroyWindow(m_trayWindow);
  if (gTrayObject == this) gTrayObject = nullptr;
}

bool CSystemTray::Notify(DWORD action) {
  // The shell reads as much of the record as cbSize announces.
  return Shell_NotifyIconA(action, reinterpret_cast<NOTIFYICONDATAA*>(&m_icon)) != FALSE;
}

bool CSystemTray::Create(HINSTANCE instance, HWND parent, UINT callbackMessage, const char* tooltip,
                         HICON icon, UINT iconId, bool hidden, const char* balloonText,
                         const char* balloonTitle, DWORD balloonIcon, UINT balloonTimeout) {
  PlatformVersion version = QueryPlatformVersion();
  if (version.known && version.major < 4) {
    m_enabled = false;
    return false;
  }
  m_enabled = true;
  m_instance = instance;

  // A second Create replaces the first icon rather than leaking it.
  DeleteIcon();
  if (m_trayWindow) {
    DestroyWindow(m_trayWindow);
    m_trayWindow = nullptr;
  }

  WNDCLASSEXA windowClass;
  std::memset(&windowClass, 0, sizeof windowClass);
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = TrayWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClassName;
  RegisterClassExA(&windowClass);  // already registered by an earlier object: fine

  m_trayWindow = CreateWindowExA(0, kWindowClassName, "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);

  std::memset(&m_icon, 0, sizeof m_icon);
  m_icon.cbSize = sizeof m_icon;
  m_icon.hWnd = parent ? parent : m_trayWindow;
  m_icon.uID = iconId;
  m_icon.hIcon = icon;
  m_icon.uFlags = kIconFlags;
  m_icon.uCallbackMessage = callbackMessage;
  CopyText(m_icon.szTip, kMaxTooltipLength, tooltip);

  bool withBalloon = m_balloons && balloonText;
  if (withBalloon) {
    m_icon.uFlags |= NIF_INFO;
    CopyText(m_icon.szInfo, sizeof m_icon.szInfo, balloonText);
    CopyText(m_icon.szInfoTitle, sizeof m_icon.szInfoTitle, balloonTitle);
    m_icon.uTimeout = balloonTimeout * 1000;
    m_icon.dwInfoFlags = balloonIcon;
  }

  m_hidden = hidden;
  m_targetWindow = m_icon.hWnd;
  if (m_balloons && m_hidden) {
    m_icon.uFlags = NIF_STATE;
    m_icon.dwState = NIS_HIDDEN;
    m_icon.dwStateMask = NIS_HIDDEN;
  }
  m_creationFlags = m_icon.uFlags;

  bool result = true;
  if (!m_hidden || m_balloons) result = AddIcon();
  // Later modifications must not show the welcome balloon again.
  if (withBalloon) m_icon.szInfo[0] = '\0';
  return result;
}

bool CSystemTray::AddIcon() {
  m_icon.uFlags = m_creationFlags;
  bool added = Notify(NIM_ADD);
  m_removed = m_hidden = m_addPending = !added;
  // Balloon clicks (NIN_BALLOONUSERCLICK) are reported only to icons of the
  // newer notification version. The version shares its place in the record
  // with the balloon timeout, which every balloon sets afresh.
  if (added && m_balloons) {
    m_icon.uTimeout = NOTIFYICON_VERSION;
    Notify(NIM_SETVERSION);
  }
  return added;
}

bool CSystemTray::ShowBalloonTip(const char* text, const char* title, DWORD icon, UINT timeoutSeconds) {
  if (!m_balloons) return false;
  m_icon.uFlags = NIF_INFO;
  CopyText(m_icon.szInfo, sizeof m_icon.szInfo, text);
  CopyText(m_icon.szInfoTitle, sizeof m_icon.szInfoTitle, title);
  m_icon.dwInfoFlags = icon;
  m_icon.uTimeout = timeoutSeconds * 1000;
  bool shown = Notify(NIM_MODIFY);
  m_icon.szInfo[0] = '\0';
  return shown;
}

bool CSystemTray::ChangeIcon(HICON icon) {
  if (!m_enabled) return false;
  m_icon.hIcon = icon;
  if (m_hidden) return true;
  m_icon.uFlags = NIF_ICON;
  return Notify(NIM_MODIFY);
}

bool CSystemTray::DeleteIcon() {
  m_addPending = false;
  if (!m_enabled || m_removed) return true;
  m_icon.uFlags = 0;
  if (Notify(NIM_DELETE)) m_hidden = m_removed = true;
  return m_removed;
}

void CSystemTray::SetDefaultMenuItem(UINT item, bool byPosition) {
  m_defaultItem = item;
  m_defaultByPosition = byPosition;
}

void CSystemTray::PrepareMenu(HMENU) {}

void CSystemTray::OnBalloonClick() {}

HWND CSystemTray::CommandWindow() const {
  return m_targetWindow ? m_targetWindow : m_icon.hWnd;
}

LRESULT CSystemTray::HandleTrayMessage(WPARAM iconId, LPARAM mouseMessage) {
  if (iconId != m_icon.uID) return 0;
  HWND target = CommandWindow();
  if (!target) return 0;

  switch (mouseMessage) {
    case WM_RBUTTONUP:
    // The newer notification version reports the menu key and Shift+F10
    // on the icon as WM_CONTEXTMENU, and Enter or Space as NIN_KEYSELECT.
    case WM_CONTEXTMENU:
      return ShowMenu(target) ? 1 : 0;
    case NIN_BALLOONUSERCLICK:
      OnBalloonClick();
      return 1;
    case NIN_KEYSELECT:
    case WM_LBUTTONDBLCLK: {
      SetForegroundWindow(m_icon.hWnd);
      UINT command = DefaultCommand();
      if (!command) return 0;
      PostMessageA(target, WM_COMMAND, command, 0);
      return 1;
    }
    default:
      return 1;
  }
}

bool CSystemTray::ShowMenu(HWND target) {
  HMENU menu = LoadMenuA(m_instance, MAKEINTRESOURCEA(m_icon.uID));
  if (!menu) return false;
  HMENU popup = GetSubMenu(menu, 0);
  if (!popup) {
    DestroyMenu(menu);
    return false;
  }
  SetMenuDefaultItem(popup, m_defaultItem, m_defaultByPosition);
  PrepareMenu(popup);

  POINT cursor;
  GetCursorPos(&cursor);
  // The window must be foreground before TrackPopupMenu, or the menu will
  // not close when the user clicks elsewhere; the null message afterwards
  // lets a second right click open it again at once.
  SetForegroundWindow(m_icon.hWnd);
  TrackPopupMenu(popup, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, target, nullptr);
  PostMessageA(m_icon.hWnd, WM_NULL, 0, 0);
  DestroyMenu(menu);
  return true;
}

UINT CSystemTray::DefaultCommand() const {
  if (!m_defaultByPosition) return m_defaultItem;
  HMENU menu = LoadMenuA(m_instance, MAKEINTRESOURCEA(m_icon.uID));
  if (!menu) return 0;
  UINT command = 0;
  if (HMENU popup = GetSubMenu(menu, 0)) {
    UINT id = GetMenuItemID(popup, static_cast<int>(m_defaultItem));
    if (id != static_cast<UINT>(-1)) command = id;
  }
  DestroyMenu(menu);
  return command;
}

void CSystemTray::OnShellRestarted() {
  // A new shell knows no icons. Bring ours back unless it was deleted on
  // purpose (hidden and removed without a pending add). A failed re-add
  // leaves the add pending for the next restart; nothing else happens.
  if (!m_enabled) return;
  if (m_addPending || !m_hidden) AddIcon();
}

void CSystemTray::OnWorkAreaChanged() {
  // The icon may still be shown, and adding it twice would fail: only an
  // add that never succeeded is tried again.
  if (m_enabled && m_addPending) AddIcon();
}

LRESULT CALLBACK CSystemTray::TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CSystemTray* tray = gTrayObject;
  if (!tray || window != tray->m_trayWindow) return DefWindowProcA(window, message, wParam, lParam);

  if (message == gTaskbarCreatedMessage) {
    tray->OnShellRestarted();
    return 0;
  }
  if (message == WM_SETTINGCHANGE && wParam == kWorkAreaChanged) {
    tray->OnWorkAreaChanged();
    return 0;
  }
  if (message == tray->m_icon.uCallbackMessage && message != 0)
    return tray->HandleTrayMessage(wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}
