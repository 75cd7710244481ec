// A store action that fails is told in a box owned by the window in use,
// naming what could not be done, the file and the tools that examine and
// rescue it; the box comes once the store is closed, and the editor stays
// open with what was typed. The shell's requests (Send Mail, Browse) say so
// when the system cannot carry them out.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Database/gxFaultInjection.h"
#include "Managers/RecordManager.h"
#include "Managers/ShellRequests.h"
#include "Records/DataFolders.h"
#include "Records/RecordStore.h"
#include "Resources/EmailResourceEditorIds.h"
#include "Resources/MainWindowIds.h"
#include "Support/DialogDriver.h"
#include "Support/FileBytes.h"
#include "Support/TestMainWindow.h"

using namespace qmtest;

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// What a failure box must say, whichever action failed.
void ExpectFailureBox(const ShownBox& box, const char* what, void* owner) {
  EXPECT_TRUE(Contains(box.text, what)) << box.text;
  EXPECT_TRUE(Contains(box.text, StoreFilePath(RecordKind::EmailRes))) << box.text;
  EXPECT_TRUE(Contains(box.text, "\"qmdb check\"")) << box.text;
  EXPECT_TRUE(Contains(box.text, "\"qmdb salvage\"")) << box.text;
  EXPECT_EQ(box.caption, "Quillmate");
  EXPECT_EQ(box.style, kMbOk | kMbIconError);
  EXPECT_EQ(box.owner, owner);
}

// The shell refuses every request as a system without a mail program does.
std::vector<std::string> gRequests;
HINSTANCE WINAPI RefuseRequest(HWND, const char*, const char* file, const char*, const char*, int) {
  gRequests.push_back(file);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
}

using FailedSaveTest = MainWindowTest;

}  // namespace

TEST_F(FailedSaveTest, AFailedAddChangeOrDeleteIsToldAfterTheStoreIsClosedAndTheEditorKeepsWhatWasTyped) {
  EmailValues ann;
  ann.name = "Ann Smith";
  ann.email = "ann@example.com";
  ASSERT_EQ(EmailResManager::AppendRecord(m_main->Handle(), ann), 1);
  // The header claims an end far beyond the file's: the append is refused.
  Bytes disk = ReadFileBytes(StoreFilePath(RecordKind::EmailRes));
  disk[7] = 0x70;
  WriteFileBytes(StoreFilePath(RecordKind::EmailRes), disk);

  std::vector<int> storesOpenDuringBox;
  m_boxes.whileOpen = [&](std::size_t, const ShownBox&) { storesOpenDuringBox.push_back(RecordStore::LiveCount()); };
  HWND editor = nullptr;
  bool openAfterFailure = false;
  std::string keptName;
  m_boxes.answer = kIdYes;  // to the discard question at the end
  EXPECT_TRUE(DriveDialog("E-Mail Resource", [&] { m_main->Command(IDM_ADD_EMAIL_RESOURCE); }, [&](HWND dialog) {
    editor = dialog;
    TypeText(dialog, IDC_EMAIL_NAME, "Bob Jones");
    TypeText(dialog, IDC_EMAIL_EMAIL, "bob@example.com");
    Press(dialog, IDC_EMAIL_SAVE);
    openAfterFailure = IsWindow(dialog) && IsWindowVisible(dialog);
    keptName = TextOf(dialog, IDC_EMAIL_NAME);
    Press(dialog, IDC_EMAIL_CANCEL);
  }));
  EXPECT_TRUE(openAfterFailure);
  EXPECT_EQ(keptName, "Bob Jones");
  ASSERT_EQ(m_boxes.shown.size(), 2u) << "the failure, then the discard question";
  ExpectFailureBox(m_boxes.shown[0], "could not add the email resource", editor);
  EXPECT_EQ(m_boxes.shown[1].text, "Discard the changes to this email resource?");
  EXPECT_EQ(storesOpenDuringBox, (std::vector<int>{0, 0}));
  EXPECT_EQ(m_main->Rows().size(), 1u);

  // A change whose write fails, and a delete whose write fails: each told,
  // from the editor and from the main window on screen.
  DeleteFileA(StoreFilePath(RecordKind::EmailRes).c_str());
  ASSERT_EQ(EmailResManager::AppendRecord(m_main->Handle(), ann), 1);
  m_main->FocusRow(0);
  m_boxes.shown.clear();
  storesOpenDuringBox.clear();
  EXPECT_TRUE(DriveDialog("E-Mail Resource", [&] { m_main->Command(IDM_EDIT_EMAIL_RESOURCE); }, [&](HWND dialog) {
    editor = dialog;
    TypeText(dialog, IDC_EMAIL_NAME, "Ann Jones");
    gxInjectFault(gxFaultOp::Write, 1, false);
    Press(dialog, IDC_EMAIL_SAVE);
    gxClearFaults();
    openAfterFailure = IsWindow(dialog) && IsWindowVisible(dialog);
    Press(dialog, IDC_EMAIL_SAVE);  // the disk works again
  }));
  EXPECT_TRUE(openAfterFailure);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  ExpectFailureBox(m_boxes.shown[0], "could not save the changes to the email resource", editor);
  EXPECT_EQ(m_main->Rows()[0].texts[1], "Ann Jones");

  ShowWindow(m_main->Handle(), SW_SHOWNOACTIVATE);
  m_main->FocusRow(0);
  m_boxes.shown.clear();
  gxInjectFault(gxFaultOp::Write, 1, false);
  m_main->Command(IDM_DELETE_EMAIL_RESOURCES);
  gxClearFaults();
  // The delete question comes first; then the failure.
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[0].text, "Delete 1 e-mail address?");
  ExpectFailureBox(m_boxes.shown[1], "could not delete the email resource", m_main->Handle());
  EXPECT_EQ(storesOpenDuringBox, (std::vector<int>{0, 1, 0})) << "the change, the delete question (its store held), the delete";
  EXPECT_EQ(m_main->Rows().size(), 1u) << "the row of the record that stayed is gone";

  // Send Mail when the system has no program for "mailto:".
  m_boxes.shown.clear();
  gShellExecute = RefuseRequest;
  m_main->Command(IDM_SEND_MAIL);
  gShellExecute = &ShellExecuteA;
  EXPECT_EQ(gRequests, (std::vector<std::string>{"mailto:ann@example.com"}));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text,
            "Quillmate could not start a new mail with \"mailto:ann@example.com\".\n\nNo program is set up to open it.");
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].owner, m_main->Handle());
}
