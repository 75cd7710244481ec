// The process-wide application object and its handle fallbacks.
#include "Library/CWinApp.h"

CWinApp gApp;

HINSTANCE CWinApp::GetInstance() const {
  return m_instance ? m_instance : GetModuleHandleA(nullptr);
}

HINSTANCE CWinApp::GetResourceInstance() {
  if (!m_resourceInstance) m_resourceInstance = GetInstance();
  return m_resourceInstance;
}
