// ManagerList and RecordList: the two panes of the splitter. The manager list
// is created in report view and then switched to icon view by replacing its
// whole style, which drops the report bit.
#include "Shell/MainWindowControls.h"

#include "Library/CListView.h"
#include "Library/ListTypeAhead.h"
#include "Managers/RecordListRows.h"
#include "Resources/MainWindowIds.h"
#include "Shell/KindCommands.h"
#include "Shell/MainImageLists.h"

namespace {

constexpr int kManagerIconSpacing = 108;

}  // namespace

HWND CreateManagerList(HWND window) {
  CListView managers;
  if (!managers.Create(window, ID_MANAGER_LIST, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 0,
                       0))
    return nullptr;
  // One manager at a time, and its highlight stays when the focus moves to
  // the record list: it names the kind on display. The icons flow into as
  // many columns as the pane's width holds whenever it changes.
  SetWindowLongA(managers.GetWindow(), GWL_STYLE,
                 WS_CHILD | WS_VISIBLE | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE);
  managers.SetImageList(CreateManagerImagesLarge(), LVSIL_NORMAL);
  managers.SetImageList(CreateManagerImagesSmall(), LVSIL_SMALL);
  // Room for "Time Notification" on one line of a label; the rows keep the
  // height the icons give them.
  const DWORD spacing = static_cast<DWORD>(managers.Send(LVM_GETITEMSPACING, FALSE));
  managers.Send(LVM_SETICONSPACING, 0, MAKELPARAM(kManagerIconSpacing, HIWORD(spacing)));
  for (int position = 0; position < kRecordKindCount; ++position) {
    managers.InsertItem(position, KindCommandsAt(position)->managerName, position, 0);
  }
  return managers.GetWindow();
}

namespace {
constexpr int kTitleColumn = 1;
}  // namespace

HWND CreateRecordList(HWND window) {
  CListView records;
  // The selection stays visible while a question about it is open.
  if (!records.Create(window, ID_RECORD_LIST, WS_EX_CLIENTEDGE,
                      WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0))
    return nullptr;
  records.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  // Every kind's second column holds its titles (the names of e-mail
  // resources); without type-ahead there the list would search the dates.
  InstallListTypeAhead(records.GetWindow(), kTitleColumn, FindListedRowByPrefix);
  return records.GetWindow();
}
