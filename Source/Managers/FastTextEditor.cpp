// The fast text editor's controls and how they are saved; the opening and
// ending are CEditorDialog's. The snippet is not limited: it is kept in the
// attachment, not in a record field.
#include "Managers/FastTextEditor.h"

#include <iterator>

#include "Managers/CEditorDialog.h"
#include "Managers/RecordManager.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/FastTextEditorIds.h"

namespace {

const int kTextFields[] = {IDC_FAST_TEXT_TITLE};

const EditorTemplate kTemplate = {IDD_FAST_TEXT,        RecordKind::FastText, IDC_FAST_TEXT_SAVE,
                                  IDC_FAST_TEXT_CANCEL, kTextFields,          std::size(kTextFields),
                                  false};

class CFastTextEditor : public CEditorDialog {
 public:
  CFastTextEditor() : CEditorDialog(kTemplate) {}

 private:
  void OnInit() override {
    if (!IsEdit()) return;
    // After a failed read (reported) the dialog shows what was read: the
    // title, or nothing.
    FastTextValues values;
    FastTextManager::GetRecordAt(RecordAddress(), values);
    SetText(IDC_FAST_TEXT_TITLE, values.title);
    SetText(IDC_FAST_TEXT_TEXT, values.text);
  }

  void OnSave() override {
    FastTextValues values;
    values.title = Text(IDC_FAST_TEXT_TITLE);
    values.text = Text(IDC_FAST_TEXT_TEXT);
    if (values.title.empty() || values.text.empty()) {
      AskToFill("Please Fill in All Fields.", values.title.empty() ? IDC_FAST_TEXT_TITLE : IDC_FAST_TEXT_TEXT);
      return;
    }
    if (StoreValues<FastTextManager>(values)) End(1);
  }
};

}  // namespace

int OpenFastTextEditor(HWND mainWindow, bool edit) {
  CFastTextEditor editor;
  return editor.Run(mainWindow, edit);
}
