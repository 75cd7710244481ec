// The e-mail and internet resource editors (dialogs 8000 and 10000) driven
// through their controls inside their own modal loops, with the stores read
// back through the record layouts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Records/RecordText.h"
#include "Resources/EmailResourceEditorIds.h"
#include "Resources/InternetResourceEditorIds.h"
#include "Resources/MainWindowIds.h"
#include "Support/DialogDriver.h"
#include "Support/TestMainWindow.h"

using namespace qmtest;

namespace {

constexpr char kEmailCaption[] = "E-Mail Resource";
constexpr char kInternetCaption[] = "Internet Resource";

struct EmailField {
  int id;
  const char* text;
};
// Record order; each text names its field, so a field stored in the wrong
// place shows.
const EmailField kEmailFields[] = {
    {IDC_EMAIL_NAME, "Ann Smith"},      {IDC_EMAIL_COMPANY, "Acme Ltd"},   {IDC_EMAIL_ADDRESS, "1 High Street"},
    {IDC_EMAIL_CITY, "Leeds"},          {IDC_EMAIL_ZIP, "LS1 4AB"},        {IDC_EMAIL_STATE, "Yorkshire"},
    {IDC_EMAIL_PHONE, "+44 113 000 0000"}, {IDC_EMAIL_NICK, "annie"},      {IDC_EMAIL_COMMENT, "met at the fair"},
    {IDC_EMAIL_EMAIL, "ann@example.org"}};

std::vector<std::string> FieldsOf(const DatabaseDataEmailRes& record) {
  return {RecordTextOf(record.name),  RecordTextOf(record.company), RecordTextOf(record.address),
          RecordTextOf(record.city),  RecordTextOf(record.zip),     RecordTextOf(record.state),
          RecordTextOf(record.phone), RecordTextOf(record.nick),    RecordTextOf(record.comment),
          RecordTextOf(record.email)};
}

// Types as the keyboard does, one character message at a time, so that the
// control's text limit applies.
void TypeKeys(HWND dialog, int id, const std::string& text) {
  HWND control = GetDlgItem(dialog, id);
  for (char c : text) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 0);
}

using ResourceEditorTest = MainWindowTest;

}  // namespace

TEST_F(ResourceEditorTest, EmailEntriesNeedNameAndAddressAndLandFieldForFieldWhenAddedAndEdited) {
  // Nothing focused: the edit command opens nothing.
  m_main->Command(IDM_SHOW_EMAIL_RESOURCES);
  EXPECT_FALSE(DriveDialog(kEmailCaption, [this] { m_main->Command(IDM_EDIT_EMAIL_RESOURCE); }, [](HWND) {}));

  HWND editor = nullptr;
  bool keptContents = false;
  int nameLength = 0;
  ASSERT_TRUE(DriveDialog(kEmailCaption, [this] { m_main->Command(IDM_ADD_EMAIL_RESOURCE); },
                          [&](HWND dialog) {
                            editor = dialog;
                            // A company but no name, then a name but no address: refused.
                            TypeText(dialog, IDC_EMAIL_COMPANY, "Acme Ltd");
                            TypeText(dialog, IDC_EMAIL_EMAIL, "ann@example.org");
                            Press(dialog, IDC_EMAIL_SAVE);
                            TypeText(dialog, IDC_EMAIL_EMAIL, "");
                            TypeText(dialog, IDC_EMAIL_NAME, "Ann Smith");
                            Press(dialog, IDC_EMAIL_SAVE);
                            keptContents = TextOf(dialog, IDC_EMAIL_COMPANY) == "Acme Ltd" &&
                                           TextOf(dialog, IDC_EMAIL_NAME) == "Ann Smith";
                            // Typing stops at the field's 254 characters.
                            TypeText(dialog, IDC_EMAIL_NAME, "");
                            TypeKeys(dialog, IDC_EMAIL_NAME, std::string(300, 'n'));
                            nameLength = GetWindowTextLengthA(GetDlgItem(dialog, IDC_EMAIL_NAME));
                            for (const EmailField& field : kEmailFields) TypeText(dialog, field.id, field.text);
                            Press(dialog, IDC_EMAIL_SAVE);
                          }));
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  for (const ShownBox& box : m_boxes.shown) {
    EXPECT_EQ(box.text, "Please Fill at least Name and Email.");
    EXPECT_EQ(box.caption, "Quillmate");
    EXPECT_EQ(box.style & 0xF0u, kMbIconInformation);
    EXPECT_EQ(box.owner, editor);
  }
  EXPECT_TRUE(keptContents);
  EXPECT_EQ(nameLength, 254);

  std::vector<std::string> expected;
  for (const EmailField& field : kEmailFields) expected.push_back(field.text);
  auto stored = StoredRecords<DatabaseDataEmailRes>();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(FieldsOf(stored[0].second), expected);
  ASSERT_EQ(m_main->Rows().size(), 1u);
  EXPECT_EQ(m_main->Rows()[0].address, stored[0].first);

  // Edit: the stored fields are shown; a name and an e-mail alone are enough.
  m_main->FocusRow(0);
  std::vector<std::string> shown;
  ASSERT_TRUE(DriveDialog(kEmailCaption, [this] { m_main->Command(IDM_EDIT_CURRENT); },
                          [&](HWND dialog) {
                            for (const EmailField& field : kEmailFields) shown.push_back(TextOf(dialog, field.id));
                            for (const EmailField& field : kEmailFields) TypeText(dialog, field.id, "");
                            TypeText(dialog, IDC_EMAIL_NAME, "Ann Jones");
                            TypeText(dialog, IDC_EMAIL_EMAIL, "ann.jones@example.org");
                            Press(dialog, IDC_EMAIL_SAVE);
                          }));
  EXPECT_EQ(shown, expected);
  auto changed = StoredRecords<DatabaseDataEmailRes>();
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].first, stored[0].first) << "changed in place, not added";
  EXPECT_EQ(FieldsOf(changed[0].second), (std::vector<std::string>{"Ann Jones", "", "", "", "", "", "", "", "",
                                                                   "ann.jones@example.org"}));
  EXPECT_EQ(m_main->Rows()[0].texts[1], "Ann Jones");

  // Esc ends the dialog as Cancel does, once the change is given up:
  // nothing changes.
  m_main->FocusRow(0);
  ASSERT_TRUE(DriveDialog(kEmailCaption, [this] { m_main->Command(IDM_EDIT_EMAIL_RESOURCE); },
                          [&](HWND dialog) {
                            TypeText(dialog, IDC_EMAIL_NAME, "Somebody else");
                            m_boxes.answer = kIdYes;
                            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                          }));
  EXPECT_EQ(FieldsOf(StoredRecords<DatabaseDataEmailRes>()[0].second)[0], "Ann Jones");
}

TEST_F(ResourceEditorTest, BookmarksStartWithHttpsNeedMoreThanThePrefixStoreTheCategoryIndexAndEditInPlace) {
  int categoryOnOpen = -1;
  std::string addressOnOpen;
  std::vector<std::string> categories;
  bool stayedOpen = false;
  HWND focusAfterNoTitle = nullptr, focusAfterPrefixOnly = nullptr;
  DWORD caretAfterPrefixOnly = 0;
  ASSERT_TRUE(DriveDialog(kInternetCaption, [this] { m_main->Command(IDM_ADD_INTERNET_RESOURCE); },
                          [&](HWND dialog) {
                            categoryOnOpen = ChosenListItem(dialog, IDC_INTERNET_CATEGORY);
                            addressOnOpen = TextOf(dialog, IDC_INTERNET_ADDRESS);
                            HWND list = GetDlgItem(dialog, IDC_INTERNET_CATEGORY);
                            for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
                              char text[32] = {};
                              SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                              categories.emplace_back(text);
                            }
                            SetForegroundWindow(dialog);  // where the user works
                            Press(dialog, IDC_INTERNET_SAVE);  // no title
                            stayedOpen = IsWindowVisible(dialog) != 0;
                            focusAfterNoTitle = GetFocus();
                            TypeText(dialog, IDC_INTERNET_TITLE, "Weather");
                            ChooseListItem(dialog, IDC_INTERNET_CATEGORY, 5);
                            Press(dialog, IDC_INTERNET_SAVE);  // only the untouched prefix
                            focusAfterPrefixOnly = GetFocus();
                            caretAfterPrefixOnly = static_cast<DWORD>(
                                SendDlgItemMessageA(dialog, IDC_INTERNET_ADDRESS, EM_GETSEL, 0, 0));
                            // What is typed then completes the address.
                            TypeKeys(dialog, IDC_INTERNET_ADDRESS, "weather.example.org/");
                            Press(dialog, IDC_INTERNET_SAVE);
                          }));
  EXPECT_EQ(categoryOnOpen, 0);
  EXPECT_EQ(addressOnOpen, "https://");
  EXPECT_EQ(categories,
            (std::vector<std::string>{"Personal", "Bussines", "Funny", "News", "Shopping", "Others"}));
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  for (const ShownBox& box : m_boxes.shown) {
    EXPECT_EQ(box.text, "Please Fill in All Fields.");
    EXPECT_EQ(box.caption, "Quillmate");
  }
  // After the box the address took the focus (EditorKeyboardTests follow the
  // focus itself), and its caret sits behind the prefix.
  (void)focusAfterNoTitle;
  (void)focusAfterPrefixOnly;
  EXPECT_EQ(caretAfterPrefixOnly, static_cast<DWORD>(MAKELONG(8, 8))) << "the caret sits behind https://";

  auto stored = StoredRecords<DatabaseDataInternetRes>();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].second.title), "Weather");
  EXPECT_EQ(RecordTextOf(stored[0].second.address), "https://weather.example.org/");
  EXPECT_EQ(stored[0].second.resourceType, 5);
  ASSERT_EQ(m_main->Rows().size(), 1u);
  EXPECT_EQ(m_main->Rows()[0].texts[1], "Weather");

  // Edit from the double click: the stored values are shown and changed.
  m_main->FocusRow(0);
  std::string title, address;
  int category = -1;
  ASSERT_TRUE(DriveDialog(kInternetCaption, [this] { m_main->DoubleClickRecordList(); },
                          [&](HWND dialog) {
                            title = TextOf(dialog, IDC_INTERNET_TITLE);
                            address = TextOf(dialog, IDC_INTERNET_ADDRESS);
                            category = ChosenListItem(dialog, IDC_INTERNET_CATEGORY);
                            TypeText(dialog, IDC_INTERNET_ADDRESS, "http://weather.example.org/");
                            ChooseListItem(dialog, IDC_INTERNET_CATEGORY, 3);
                            Press(dialog, IDC_INTERNET_SAVE);
                          }));
  EXPECT_EQ(title, "Weather");
  EXPECT_EQ(address, "https://weather.example.org/");
  EXPECT_EQ(category, 5);
  auto changed = StoredRecords<DatabaseDataInternetRes>();
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].first, stored[0].first);
  EXPECT_EQ(RecordTextOf(changed[0].second.address), "http://weather.example.org/");
  EXPECT_EQ(changed[0].second.resourceType, 3);
  EXPECT_EQ(m_main->Rows()[0].texts[3], "News");
}

TEST_F(ResourceEditorTest, AStoredOldStyleAddressIsShownAndKeptAsItIs) {
  InternetValues old{"Old", "http:\\\\old.example.org", 1};
  ASSERT_NE(InternetResManager::AppendRecord(m_main->Handle(), old), 0);
  m_main->FocusRow(0);
  std::string address;
  ASSERT_TRUE(DriveDialog(kInternetCaption, [this] { m_main->Command(IDM_EDIT_INTERNET_RESOURCE); },
                          [&](HWND dialog) {
                            address = TextOf(dialog, IDC_INTERNET_ADDRESS);
                            TypeText(dialog, IDC_INTERNET_TITLE, "Old, renamed");
                            Press(dialog, IDC_INTERNET_SAVE);
                          }));
  EXPECT_EQ(address, "http:\\\\old.example.org");
  auto stored = StoredRecords<DatabaseDataInternetRes>();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].second.title), "Old, renamed");
  EXPECT_EQ(RecordTextOf(stored[0].second.address), "http:\\\\old.example.org");
  EXPECT_TRUE(m_boxes.shown.empty());
}
