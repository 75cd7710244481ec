// The e-mail resource editor: one table pairs each edit control with its
// field of the values, and one loop moves all ten each way.
#include "Editors/EmailResourceEditor.h"

#include <iterator>
#include <string>

#include "Managers/CEditorDialog.h"
#include "Managers/RecordManager.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/EmailResourceEditorIds.h"

namespace {

// In the order the fields are exchanged with the manager (record order).
const int kFieldIds[] = {IDC_EMAIL_NAME,  IDC_EMAIL_COMPANY, IDC_EMAIL_ADDRESS, IDC_EMAIL_CITY,
                         IDC_EMAIL_ZIP,   IDC_EMAIL_STATE,   IDC_EMAIL_PHONE,   IDC_EMAIL_NICK,
                         IDC_EMAIL_COMMENT, IDC_EMAIL_EMAIL};
std::string EmailValues::* const kFieldMembers[] = {
    &EmailValues::name,  &EmailValues::company, &EmailValues::address, &EmailValues::city,
    &EmailValues::zip,   &EmailValues::state,   &EmailValues::phone,   &EmailValues::nick,
    &EmailValues::comment, &EmailValues::email};
static_assert(std::size(kFieldIds) == std::size(kFieldMembers), "one member per control");

const EditorTemplate kTemplate = {IDD_EMAIL_RESOURCE, RecordKind::EmailRes, IDC_EMAIL_SAVE, IDC_EMAIL_CANCEL,
                                  kFieldIds,          std::size(kFieldIds), false};

class CEmailResourceEditor : public CEditorDialog {
 public:
  CEmailResourceEditor() : CEditorDialog(kTemplate) {}

 private:
  void OnInit() override {
    EmailValues values;
    if (!IsEdit() || !EmailResManager::GetRecordAt(RecordAddress(), values)) return;
    for (std::size_t i = 0; i < std::size(kFieldIds); ++i) SetText(kFieldIds[i], values.*kFieldMembers[i]);
  }

  void OnSave() override {
    EmailValues values;
    for (std::size_t i = 0; i < std::size(kFieldIds); ++i) values.*kFieldMembers[i] = Text(kFieldIds[i]);
    if (values.name.empty() || values.email.empty()) {
      AskToFill("Please Fill at least Name and Email.", values.name.empty() ? IDC_EMAIL_NAME : IDC_EMAIL_EMAIL);
      return;
    }
    if (StoreValues<EmailResManager>(values)) End(1);
  }
};

}  // namespace

int OpenEmailResourceEditor(HWND mainWindow, bool edit) {
  CEmailResourceEditor editor;
  return editor.Run(mainWindow, edit);
}
