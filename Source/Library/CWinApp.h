// CWinApp: the application object holding the module handles. String
// resources are loaded from its resource instance, which tests and satellite
// resource modules may point elsewhere.
#pragma once

#include <windows.h>

class CWinApp {
 public:
  CWinApp() : m_instance(nullptr), m_resourceInstance(nullptr) {}

  void SetInstance(HINSTANCE instance) { m_instance = instance; }
  void SetResourceInstance(HINSTANCE instance) { m_resourceInstance = instance; }

  // The stored instance, or the executable's module when none was stored.
  HINSTANCE GetInstance() const;
  // Falls back to the instance, then to the executable's module; the
  // fallback is kept so later calls return the same handle.
  HINSTANCE GetResourceInstance();

 private:
  HINSTANCE m_instance;
  HINSTANCE m_resourceInstance;
};

// The process's application object, filled in by start-up.
extern CWinApp gApp;
