// The dialog's capture window across providers; see the header.
#include "Media/CCaptureWindow.h"

#include <vfw.h>

#include <cstring>
#include <utility>

namespace {

// Settings whose lParam is a value (a callback), not a pointer to data.
bool IsValueSetting(UINT message) {
  return message == WM_CAP_SET_CALLBACK_STATUSA || message == WM_CAP_SET_CALLBACK_ERRORA ||
         message == WM_CAP_SET_CALLBACK_YIELD || message == WM_CAP_SET_PREVIEWRATE;
}

// Settings whose lParam points to data of wParam bytes.
bool IsSizedSetting(UINT message) {
  return message == WM_CAP_SET_AUDIOFORMAT || message == WM_CAP_SET_SEQUENCE_SETUP;
}

std::vector<const CCaptureProvider*> gDefaultProviders;

}  // namespace

std::vector<const CCaptureProvider*> DefaultCaptureProviders() {
  if (!gDefaultProviders.empty()) return gDefaultProviders;
  return {&PlatformCaptureProvider(), &ScreenCaptureProvider()};
}

void SetDefaultCaptureProviders(std::vector<const CCaptureProvider*> providers) {
  gDefaultProviders = std::move(providers);
}

CCaptureWindow::CCaptureWindow() : CCaptureWindow(DefaultCaptureProviders()) {}

CCaptureWindow::CCaptureWindow(std::vector<const CCaptureProvider*> providers)
    : m_providers(std::move(providers)),
      m_listed(false),
      m_window(nullptr),
      m_windowProvider(nullptr),
      m_parent(nullptr),
      m_id(0) {}

CCaptureWindow::~CCaptureWindow() {
  Destroy();
}

const std::vector<CCaptureWindow::DriverSlot>& CCaptureWindow::Drivers() {
  if (m_listed) return m_drivers;
  m_listed = true;
  for (const CCaptureProvider* provider : m_providers) {
    std::string description, version;
    for (int index = 0; static_cast<int>(m_drivers.size()) < kMaxDrivers &&
                        provider->DriverDescription(index, description, version);
         ++index) {
      m_drivers.push_back({provider, index});
    }
  }
  return m_drivers;
}

bool CCaptureWindow::DriverDescription(int n, std::string& description, std::string& version) {
  const auto& drivers = Drivers();
  if (n < 0 || n >= static_cast<int>(drivers.size())) return false;
  return drivers[n].provider->DriverDescription(drivers[n].index, description, version);
}

bool CCaptureWindow::Create(HWND parent, int id, int x, int y, int width, int height) {
  Destroy();
  m_parent = parent;
  m_id = id;
  const auto& drivers = Drivers();
  std::vector<const CCaptureProvider*> order;
  if (!drivers.empty()) order.push_back(drivers[0].provider);
  order.insert(order.end(), m_providers.begin(), m_providers.end());
  for (const CCaptureProvider* provider : order) {
    m_window = provider->CreateCaptureWindow(parent, id, x, y, width, height);
    if (m_window) {
      m_windowProvider = provider;
      return true;
    }
  }
  return false;
}

bool CCaptureWindow::MakeWindow(const CCaptureProvider& provider) {
  RECT place = {0, 0, 0, 0};
  if (m_window) {
    GetWindowRect(m_window, &place);
    MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&place), 2);
    DestroyWindow(m_window);
  }
  m_window = provider.CreateCaptureWindow(m_parent, m_id, place.left, place.top, place.right - place.left,
                                          place.bottom - place.top);
  m_windowProvider = m_window ? &provider : nullptr;
  if (!m_window) return false;
  for (const auto& [message, setting] : m_settings) {
    const LPARAM lParam = setting.bytes.empty() ? setting.value : reinterpret_cast<LPARAM>(setting.bytes.data());
    SendMessageA(m_window, message, setting.wParam, lParam);
  }
  return true;
}

bool CCaptureWindow::Connect(int n) {
  const auto& drivers = Drivers();
  if (n < 0 || n >= static_cast<int>(drivers.size()) || !m_parent) return false;
  if (drivers[n].provider != m_windowProvider && !MakeWindow(*drivers[n].provider)) return false;
  return m_window && SendMessageA(m_window, WM_CAP_DRIVER_CONNECT, drivers[n].index, 0) != 0;
}

void CCaptureWindow::Remember(UINT message, WPARAM wParam, LPARAM lParam) {
  Setting setting{wParam, lParam, {}};
  if (message == WM_CAP_FILE_SET_CAPTURE_FILEA && lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    setting.bytes.assign(text, text + std::strlen(text) + 1);
  } else if (IsSizedSetting(message) && lParam) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(lParam);
    setting.bytes.assign(bytes, bytes + wParam);
  } else if (!IsValueSetting(message)) {
    return;
  }
  m_settings[message] = std::move(setting);
}

LRESULT CCaptureWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!m_window || !IsWindow(m_window)) return 0;
  const LRESULT result = SendMessageA(m_window, message, wParam, lParam);
  if (result) Remember(message, wParam, lParam);
  return result;
}

void CCaptureWindow::Destroy() {
  if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
  m_window = nullptr;
  m_windowProvider = nullptr;
}
