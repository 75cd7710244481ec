// The text note editor's opening, commands and saving; the opening and
// ending rules are CEditorDialog's, the bars TextNoteToolbar's, the formats
// RichTextFormat's, the file RichTextFile's and the printing
// RichTextPrinter's.
#include "Editors/TextNoteEditor.h"

#include <iterator>

#include "Editors/RichTextCheck.h"
#include "Editors/RichTextFile.h"
#include "Editors/RichTextFormat.h"
#include "Editors/RichTextKeys.h"
#include "Editors/RichTextPrinter.h"
#include "Editors/TextNoteToolbar.h"
#include "Library/CComboBox.h"
#include "Library/CRichEdit.h"
#include "Managers/CEditorDialog.h"
#include "Managers/RecordManager.h"
#include "Records/AttachmentName.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/TextNoteEditorIds.h"

ChooseColorFunction gChooseColorDialog = ChooseColorA;
COLORREF gCustomColours[16] = {RGB(0x00, 0x00, 0x80)};

namespace {

const int kTextFields[] = {IDC_TEXT_NOTE_TITLE};

const EditorTemplate kTemplate = {IDD_TEXT_NOTE,        RecordKind::TextNote, IDC_TEXT_NOTE_SAVE,
                                  IDC_TEXT_NOTE_CANCEL, kTextFields,          std::size(kTextFields),
                                  false};

constexpr DWORD kBodyEvents = ENM_UPDATE | ENM_KEYEVENTS | ENM_MOUSEEVENTS;
// Posted to itself: the keyboard focus goes to the body once the dialog runs.
constexpr UINT kFocusBody = WM_APP + 1;

class CTextNoteEditor : public CEditorDialog {
 public:
  explicit CTextNoteEditor(PAGESETUPDLGA& pageSetup) : CEditorDialog(kTemplate), m_pageSetup(pageSetup) {}

 private:
  CRichEdit Body() const { return CRichEdit(Dialog(), IDC_TEXT_NOTE_BODY); }
  CComboBox TypeBox() const { return CComboBox(Dialog(), IDC_TEXT_NOTE_TYPE); }

  void OnInit() override {
    m_toolbar.Create(Dialog());
    CComboBox type = TypeBox();
    type.AddString("Normal");
    type.AddString("Urgent");
    type.SetCurSel(0);
    const CRichEdit body = Body();
    RaiseRichTextLimit(body);
    InstallRichTextKeys(body.GetWindow(), {IDM_TEXT_BOLD, IDM_TEXT_ITALIC, IDM_TEXT_UNDERLINE});
    SetDefaultCharFormat(body);
    body.SetEventMask(kBodyEvents);
    RefreshToolbar();
    // The dialog manager puts the focus on the first control after this
    // returns, so the body takes it once the dialog runs.
    PostMessageA(Dialog(), kFocusBody, 0, 0);
    if (!IsEdit()) return;
    NoteValues values;
    if (!TextNoteManager::GetRecordAt(RecordAddress(), values)) return;
    SetText(IDC_TEXT_NOTE_TITLE, values.title);
    // A body past the RTF limits never reaches the control: it opens empty
    // (the box names the file) and is replaced only if the user saves.
    std::string error;
    if (RichTextFileCanBeLoaded(Dialog(), values.attachment) && !LoadRichText(body, values.attachment, error)) {
      KeepUnreadBody(values.attachment, error);
    }
    type.SetCurSel(values.noteType == 1 ? 1 : 0);
    RefreshToolbar();
  }

  // A body that could not be read whole must not be saved over its file:
  // the body is shown empty and read-only, and Save changes only the title
  // and the type.
  void KeepUnreadBody(const std::string& path, const std::string& error) {
    m_bodyUnread = true;
    m_unreadFileName = BareFileName(path);
    const CRichEdit body = Body();
    SetWindowTextA(body.GetWindow(), "");
    body.Send(EM_SETREADONLY, TRUE);
    const std::string text = "The text of this note could not be read from " + path + ":\n" + error +
                             "\nIt is left as it is: nothing will be saved over it.";
    ShowBox(text.c_str(), "Quillmate", kMbOk | kMbIconError);
  }

  void OnSave() override {
    const CRichEdit body = Body();
    NoteValues values;
    values.title = Text(IDC_TEXT_NOTE_TITLE);
    if (values.title.empty() || (body.GetTextLength() < 1 && !m_bodyUnread)) {
      ShowBox("Please Fill in All Fields.", "Quillmate", kMbOk | kMbIconInformation);
      return;
    }
    values.noteType = TypeBox().GetCurSel() == 1 ? 1 : 0;
    if (m_bodyUnread) {
      // The record keeps its attachment; the file is not touched.
      values.attachment = m_unreadFileName;
      if (StoreValues<TextNoteManager>(values)) End(1);
      return;
    }
    if (ChangesOpenedRecord()) {
      SaveChanged(body, values);
    } else {
      SaveNew(body, values);
    }
  }

  // The body goes first, in place of the old one; the record follows only
  // when the body was written.
  void SaveChanged(const CRichEdit& body, const NoteValues& values) {
    NoteValues stored;
    if (!TextNoteManager::GetRecordAt(RecordAddress(), stored)) return;
    if (!WriteBody(body, stored.attachment)) return;
    if (TextNoteManager::ChangeRecordAt(MainWindow(), RecordAddress(), values)) End(1);
  }

  void SaveNew(const CRichEdit& body, NoteValues values) {
    std::string path;
    MakeAttachmentName(gTextNoteFolder, "TextNote", "doc", path);
    if (!WriteBody(body, path)) return;
    values.attachment = BareFileName(path);
    if (TextNoteManager::AppendRecord(MainWindow(), values)) {
      End(1);
      return;
    }
    // No record names the file.
    DeleteFileA(path.c_str());
  }

  // A body that cannot be written is reported with the file error's own
  // text; the dialog stays open with what was typed.
  bool WriteBody(const CRichEdit& body, const std::string& path) {
    std::string error;
    if (SaveRichText(body, path, error)) return true;
    ShowBox(error.c_str(), "Quillmate", kMbOk | kMbIconError);
    return false;
  }

  bool OnCommand(int id, int notifyCode) override {
    const CRichEdit body = Body();
    switch (id) {
      case IDM_TEXT_BOLD:
        ToggleCharEffect(body, CFE_BOLD);
        break;
      case IDM_TEXT_ITALIC:
        ToggleCharEffect(body, CFE_ITALIC);
        break;
      case IDM_TEXT_UNDERLINE:
        ToggleCharEffect(body, CFE_UNDERLINE);
        break;
      case IDM_TEXT_COLOR:
        ChooseColour(body);
        break;
      case IDM_TEXT_LEFT:
        SetAlignment(body, PFA_LEFT);
        break;
      case IDM_TEXT_CENTER:
        SetAlignment(body, PFA_CENTER);
        break;
      case IDM_TEXT_RIGHT:
        SetAlignment(body, PFA_RIGHT);
        break;
      case IDM_TEXT_BULLET:
        ToggleBullet(body);
        break;
      case IDM_TEXT_PRINT:
        PrintBody(Dialog(), body, m_pageSetup);
        break;
      case IDC_TEXT_NOTE_FACE:
        if (notifyCode != CBN_SELCHANGE) return false;
        SetFaceName(body, m_toolbar.ChosenFace());
        break;
      case IDC_TEXT_NOTE_SIZE:
        if (notifyCode != CBN_SELCHANGE || m_toolbar.ChosenHeightTwips() == 0) return false;
        SetHeightTwips(body, m_toolbar.ChosenHeightTwips());
        break;
      default:
        return false;
    }
    SetFocus(body.GetWindow());
    RefreshToolbar();
    return true;
  }

  void ChooseColour(const CRichEdit& body) {
    CHOOSECOLORA request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = Dialog();
    request.rgbResult = RGB(0, 0, 0);
    request.lpCustColors = gCustomColours;
    request.Flags = CC_RGBINIT;
    if (gChooseColorDialog(&request)) SetTextColour(body, request.rgbResult);
  }

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
    switch (message) {
      case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW) {
          CTextNoteToolbar::SupplyTooltip(header);
          return true;
        }
        if (header->idFrom == IDC_TEXT_NOTE_BODY && header->code == EN_MSGFILTER) {
          RefreshToolbar();
          result = 0;  // the body handles the key or mouse message as usual
          return true;
        }
        return false;
      }
      case kFocusBody:
        // Unlike a tab into it, which would select the whole text, the caret
        // starts at the beginning.
        SetFocus(Body().GetWindow());
        Body().SetSelection(0, 0);
        RefreshToolbar();
        return true;
      case WM_SIZE:
        m_toolbar.Resize(wParam, lParam);
        return false;
      case WM_DESTROY:
        m_toolbar.Destroy();
        return false;
      default:
        return false;
    }
  }

  void RefreshToolbar() const { m_toolbar.Show(ReadSelectionFormat(Body())); }

  PAGESETUPDLGA& m_pageSetup;
  CTextNoteToolbar m_toolbar;
  bool m_bodyUnread = false;
  std::string m_unreadFileName;
};

}  // namespace

int OpenTextNoteEditor(HWND mainWindow, bool edit, PAGESETUPDLGA& pageSetup) {
  // The template's body is a rich edit: its class must exist before the
  // dialog is made. Without the library the dialog's creation fails and
  // reports it.
  LoadRichEditLibrary();
  CTextNoteEditor editor(pageSetup);
  return editor.Run(mainWindow, edit);
}
