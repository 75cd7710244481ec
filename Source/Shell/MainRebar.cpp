// MainRebar: the rebar at the top of the main window and its two bands, the
// main toolbar with the add buttons of the eight kinds and Help, and the edit
// toolbar, whose buttons the managers replace whenever a kind is shown.
#include "Shell/MainWindowControls.h"

#include "Library/CRebar.h"
#include "Library/CToolbar.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MainImageLists.h"

#include <vector>

namespace {

constexpr DWORD kRebarStyle =
    0x50800641;  // child, visible, border, top, no divider, var height, band borders
constexpr DWORD kMainToolbarStyle =
    0x50008944;  // child, visible, transparent, flat, tooltips, no divider, no resize
constexpr DWORD kEditToolbarStyle = 0x50009944;  // as the main toolbar, with labels right of the images
constexpr int kButtonStructSize = 20;
constexpr int kToolbarWidth = 200;
constexpr int kMainToolbarHeight = 55;
constexpr int kEditToolbarHeight = 28;
constexpr int kMainButtonWidth = 72;
// Wide enough for the longest caption ("Internet Resource") in one line.
constexpr int kMainButtonMaxWidth = 120;
constexpr int kEditButtonMinWidth = 32;
constexpr int kEditButtonMaxWidth = 132;

struct MainButton {
  int image;  // -1: a separator
  int command;
  const char* label;
};

const MainButton kMainButtons[] = {
    {0, IDM_ADD_TEXT_NOTE, "Text Note"},
    {1, IDM_ADD_AUDIO_NOTE, "Audio Note"},
    {2, IDM_ADD_VIDEO_NOTE, "Video Note"},
    {3, IDM_ADD_PHOTO, "Photo Album"},
    {4, IDM_ADD_TIME_NOTIFICATION, "Time Notification"},
    {5, IDM_ADD_EMAIL_RESOURCE, "Email Resource"},
    {6, IDM_ADD_INTERNET_RESOURCE, "Internet Resource"},
    {7, IDM_ADD_FAST_TEXT, "Fast Text"},
    {-1, 0, nullptr},
    {8, IDM_HELP_CONTENTS, "Help"},
    {9, IDM_FIND, "Find"},
};

void InsertMainButtons(const CToolbar& toolbar) {
  std::vector<TBBUTTON> buttons;
  for (const MainButton& entry : kMainButtons) {
    TBBUTTON button = {};
    if (entry.image < 0) {
      button.fsStyle = TBSTYLE_SEP;
    } else {
      button.iBitmap = entry.image;
      button.idCommand = entry.command;
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = TBSTYLE_BUTTON;
      button.iString = toolbar.AddString(entry.label);
    }
    buttons.push_back(button);
  }
  toolbar.AddButtons(static_cast<int>(buttons.size()), buttons.data());
}

// The toolbar is as high as its buttons are.
void FitHeightToButtons(const CToolbar& toolbar) {
  const DWORD size = static_cast<DWORD>(toolbar.Send(TB_GETBUTTONSIZE));
  RECT place = {};
  GetWindowRect(toolbar.GetWindow(), &place);
  SetWindowPos(toolbar.GetWindow(), nullptr, 0, 0, place.right - place.left, HIWORD(size),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A band too narrow for its toolbar shows a chevron that offers the buttons
// it hides (the edit toolbar's is fitted with each kind's buttons).
bool AppendBandWithChevron(const CRebar& rebar, const CToolbar& toolbar) {
  return rebar.AppendToolbarBand(toolbar.GetWindow(), kToolbarWidth) &&
         rebar.FitChevronToToolbar(toolbar.GetWindow());
}

}  // namespace

bool CreateMainRebar(HWND window) {
  CRebar rebar;
  if (!rebar.Create(window, ID_REBAR, WS_EX_TOOLWINDOW, kRebarStyle, 0, 0, 0, 0)) return false;

  HIMAGELIST mainImages = CreateMainToolbarImages();
  CToolbar mainToolbar;
  if (!mainToolbar.Create(rebar.GetWindow(), ID_MAIN_TOOLBAR, 0, kMainToolbarStyle, 0, 0, kToolbarWidth,
                          kMainToolbarHeight))
    return false;
  mainToolbar.SetButtonStructSize(kButtonStructSize);
  // The buttons take the width of the longest caption ("Time Notification"
  // and "Internet Resource" do not fit in 72 pixels and were cut).
  mainToolbar.SetButtonWidth(kMainButtonWidth, kMainButtonMaxWidth);
  mainToolbar.SetImageList(mainImages);
  InsertMainButtons(mainToolbar);
  FitHeightToButtons(mainToolbar);
  if (!AppendBandWithChevron(rebar, mainToolbar)) return false;

  HIMAGELIST editImages = CreateEditToolbarImages();
  CToolbar editToolbar;
  if (!editToolbar.Create(rebar.GetWindow(), ID_EDIT_TOOLBAR, 0, kEditToolbarStyle, 0, 0, kToolbarWidth,
                          kEditToolbarHeight))
    return false;
  editToolbar.SetButtonStructSize(kButtonStructSize);
  editToolbar.SetButtonWidth(kEditButtonMinWidth, kEditButtonMaxWidth);
  editToolbar.SetImageList(editImages);
  // Empty until a kind is shown, which fits its chevron to the buttons it
  // puts in; fitted here as well, the rebar would lay out its bands and move
  // both toolbars once more at every start.
  return rebar.AppendToolbarBand(editToolbar.GetWindow(), kToolbarWidth);
}
