// An exception thrown by an editor's handler (memory running out while a
// picture or a body loads) does not cross the dialog manager, which would
// end the program: a box tells of it and the editor carries on.
#include <windows.h>

#include <gtest/gtest.h>

#include <new>

#include "Managers/CEditorDialog.h"
#include "Resources/EmailResourceEditorIds.h"
#include "Support/DialogDriver.h"
#include "Support/TestMainWindow.h"

using namespace qmtest;

namespace {

const int kNoFields[] = {IDC_EMAIL_NAME};
const EditorTemplate kTemplate = {IDD_EMAIL_RESOURCE, RecordKind::EmailRes, IDC_EMAIL_SAVE, IDC_EMAIL_CANCEL,
                                  kNoFields,          1,                    false};
constexpr int kThrowingCommand = 0x7F01;

// The e-mail template with a handler that runs out of memory.
class CThrowingEditor : public CEditorDialog {
 public:
  CThrowingEditor() : CEditorDialog(kTemplate) {}

 private:
  void OnInit() override {}
  void OnSave() override { End(1); }
  bool OnCommand(int id, int) override {
    if (id == kThrowingCommand) throw std::bad_alloc();
    return false;
  }
};

}  // namespace

TEST_F(MainWindowTest, AnExceptionInAnEditorHandlerIsToldInABoxAndTheEditorCarriesOn) {
  int result = -1;
  bool stillOpen = false;
  HWND editor = nullptr;
  ASSERT_TRUE(DriveDialog("E-Mail Resource",
                          [&] {
                            CThrowingEditor dialog;
                            result = dialog.Run(m_main->Handle(), false);
                          },
                          [&](HWND dialog) {
                            editor = dialog;
                            SendMessageA(dialog, WM_COMMAND, kThrowingCommand, 0);
                            stillOpen = IsWindow(dialog) != FALSE;
                            Press(dialog, IDC_EMAIL_SAVE);
                          }));
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(result, 1);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].owner, editor);
  EXPECT_EQ(m_boxes.shown[0].text, "Unknown Error");
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
}
