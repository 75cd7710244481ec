// The internet resource editor's controls and how they are saved; the
// opening and ending are CEditorDialog's.
#include "Editors/InternetResourceEditor.h"

#include <iterator>

#include "Library/CComboBox.h"
#include "Managers/CEditorDialog.h"
#include "Managers/KindDescription.h"
#include "Managers/RecordManager.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/InternetResourceEditorIds.h"

namespace {

// What a new bookmark's address starts with. Stored addresses are shown as
// they are, the old "http:" and two backslashes included.
const char kInitialAddress[] = "https://";
// The categories in list order; the stored value is the index.
constexpr int kCategoryCount = 6;

const int kTextFields[] = {IDC_INTERNET_TITLE, IDC_INTERNET_ADDRESS};

const EditorTemplate kTemplate = {IDD_INTERNET_RESOURCE, RecordKind::InternetRes, IDC_INTERNET_SAVE,
                                  IDC_INTERNET_CANCEL,   kTextFields,             std::size(kTextFields),
                                  false};

class CInternetResourceEditor : public CEditorDialog {
 public:
  CInternetResourceEditor() : CEditorDialog(kTemplate) {}

 private:
  void OnInit() override {
    CComboBox categories(Dialog(), IDC_INTERNET_CATEGORY);
    for (int category = 0; category < kCategoryCount; ++category) categories.AddString(ResourceTypeText(category));
    categories.SetCurSel(0);
    SetText(IDC_INTERNET_ADDRESS, kInitialAddress);

    InternetValues values;
    if (!IsEdit() || !InternetResManager::GetRecordAt(RecordAddress(), values)) return;
    SetText(IDC_INTERNET_TITLE, values.title);
    SetText(IDC_INTERNET_ADDRESS, values.address);
    // Stored values outside the list are shown, and saved, as "Others".
    const int stored = values.resourceType;
    categories.SetCurSel(stored >= 0 && stored < kCategoryCount ? stored : kCategoryCount - 1);
  }

  // Into the untouched prefix the caret goes behind it, so what is typed
  // completes the address instead of replacing the prefix.
  bool OnCommand(int id, int notifyCode) override {
    if (id != IDC_INTERNET_ADDRESS || notifyCode != EN_SETFOCUS) return false;
    if (Text(IDC_INTERNET_ADDRESS) == kInitialAddress) {
      const WPARAM end = sizeof kInitialAddress - 1;
      SendDlgItemMessageA(Dialog(), IDC_INTERNET_ADDRESS, EM_SETSEL, end, end);
    }
    return true;
  }

  void OnSave() override {
    InternetValues values;
    values.resourceType = CComboBox(Dialog(), IDC_INTERNET_CATEGORY).GetCurSel();
    values.title = Text(IDC_INTERNET_TITLE);
    values.address = Text(IDC_INTERNET_ADDRESS);
    // The untouched prefix is no address yet.
    const bool noAddress = values.address.empty() || values.address == kInitialAddress;
    if (values.title.empty() || noAddress) {
      AskToFill("Please Fill in All Fields.", values.title.empty() ? IDC_INTERNET_TITLE : IDC_INTERNET_ADDRESS);
      return;
    }
    if (values.resourceType < 0) values.resourceType = 0;
    if (StoreValues<InternetResManager>(values)) End(1);
  }
};

}  // namespace

int OpenInternetResourceEditor(HWND mainWindow, bool edit) {
  CInternetResourceEditor editor;
  return editor.Run(mainWindow, edit);
}
