// The import table is walked by name: each imported library's list of names
// (OriginalFirstThunk) runs beside its list of addresses (FirstThunk), which
// the loader filled and which the program's calls go through.
#include "Support/ImportHook.h"

#include <cstring>

namespace qmtest {

namespace {

void WriteSlot(void** slot, void* value) {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

ScopedImportHook::ScopedImportHook(const char* function, void* replacement) {
  auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return;
  for (auto* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       library->Name != 0; ++library) {
    if (library->OriginalFirstThunk == 0) continue;
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      void** slot = reinterpret_cast<void**>(&addresses->u1.Function);
      if (m_original == nullptr) m_original = *slot;
      m_slots.push_back(slot);
      WriteSlot(slot, replacement);
    }
  }
}

ScopedImportHook::~ScopedImportHook() {
  for (void** slot : m_slots) WriteSlot(slot, m_original);
}

}  // namespace qmtest
