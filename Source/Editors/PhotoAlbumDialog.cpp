// The photo dialog's controls, view and commands, and Add New Photos. The
// opening and ending, the one-editor rule and the kept record are
// CEditorDialog's; the arithmetic of layout, zoom and printing is
// PhotoGeometry's.
#include "Editors/PhotoAlbumDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "Editors/PhotoGeometry.h"
#include "Editors/PhotoPrinting.h"
#include "Editors/PrinterChoice.h"
#include "Graphics/CPicture.h"
#include "Graphics/PictureFormat.h"
#include "Library/CImageList.h"
#include "Library/CRebar.h"
#include "Library/CWinApp.h"
#include "Managers/CEditorDialog.h"
#include "Managers/ManagerWindows.h"
#include "Managers/PhotoAlbum.h"
#include "Managers/RecordManager.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/MainWindowIds.h"
#include "Resources/PhotoAlbumIds.h"

namespace {

constexpr char kFrameClass[] = "CPhotoFrameClass";
constexpr char kViewClass[] = "CPhotoClass";
constexpr char kUnknownExtensionCaption[] = "Filename with unknown extension";
// Shown in the frame when the photo's file cannot be decoded, and while a
// long decode runs.
constexpr char kNotShownText[] = "This photo cannot be shown: its file is missing or damaged.";
constexpr char kLoadingText[] = "Loading the photo...";
// A decode that has not ended by then shows the dialog and lets it work.
constexpr DWORD kQuietLoadMs = 200;
constexpr int kFrameX = 10, kFrameY = 35, kFrameWidth = 500, kFrameHeight = 290;
constexpr int kLineStep = 10, kPageStep = 50;
constexpr std::size_t kFileBufferSize = 8192;

// What the part keeps for the whole program: the photo shown, the zoom, the
// album position and mode, and where the view lies in its frame.
struct AlbumState {
  CPicture picture;
  float zoom = kFitZoom;
  int position = 0;
  bool albumMode = false;
  PhotoPlacement placement;
  // Album mode: the photos' record addresses, taken when the album opens.
  std::vector<std::uint32_t> addresses;
  // While a photo loads on the worker: its cancel flag (Close sets it).
  std::atomic<bool>* loadCancel = nullptr;
  HWND frame = nullptr;
  HWND view = nullptr;
};
AlbumState gAlbum;

PhotoFileChooser gFileChooser = nullptr;
PhotoPrinterChooser gPrinterChooser = nullptr;

struct ToolButton {
  int image;  // -1: a separator
  int command;
  const char* tooltip;
};
const ToolButton kToolButtons[] = {
    {3, IDM_PHOTO_ZOOM_IN, "Zoom in."},
    {8, IDM_PHOTO_FIT, "Fit to Window."},
    {4, IDM_PHOTO_ZOOM_OUT, "Zoom out."},
    {-1, 0, nullptr},
    {1, IDM_PHOTO_PRINT, "Print Photo."},
};

// Moves the view to its place less the scroll positions, keeping its size.
void MoveView() {
  const int x = GetScrollPos(gAlbum.frame, SB_HORZ), y = GetScrollPos(gAlbum.frame, SB_VERT);
  SetWindowPos(gAlbum.view, nullptr, gAlbum.placement.x - x, gAlbum.placement.y - y, gAlbum.placement.width,
               gAlbum.placement.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Range 0 to range at position 0; shown, if only disabled, when keep.
void SetBar(int bar, int range, bool keep) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_POS | (keep ? SIF_DISABLENOSCROLL : 0);
  info.nMax = range;
  SetScrollInfo(gAlbum.frame, bar, &info, TRUE);
  ShowScrollBar(gAlbum.frame, bar, keep || range > 0);
}

// Lays the view out for the current picture and zoom, then repaints it. A
// bar that shows takes room from the client area (and can bring the other
// bar), so which bars are needed is settled first, from the frame's area
// without bars. A bar once needed stays (disabled when its range turns out
// 0), so the layout cannot swing between two answers; any other range of 0
// hides its bar.
void LayOutView() {
  if (!gAlbum.frame || !gAlbum.view) return;
  RECT window;
  GetWindowRect(gAlbum.frame, &window);
  const int edgeX = 2 * GetSystemMetrics(SM_CXEDGE), edgeY = 2 * GetSystemMetrics(SM_CYEDGE);
  const int bareWidth = window.right - window.left - edgeX, bareHeight = window.bottom - window.top - edgeY;
  bool horizontal = false, vertical = false;
  for (int pass = 0; pass < 3; ++pass) {
    gAlbum.placement = PlacePhoto(bareWidth - (vertical ? GetSystemMetrics(SM_CXVSCROLL) : 0),
                                  bareHeight - (horizontal ? GetSystemMetrics(SM_CYHSCROLL) : 0),
                                  gAlbum.picture.Width(), gAlbum.picture.Height(), gAlbum.zoom);
    const bool needHorizontal = gAlbum.placement.horizontalRange > 0;
    const bool needVertical = gAlbum.placement.verticalRange > 0;
    if (needHorizontal == horizontal && needVertical == vertical) break;
    horizontal = horizontal || needHorizontal;
    vertical = vertical || needVertical;
  }
  SetBar(SB_VERT, gAlbum.placement.verticalRange, vertical);
  SetBar(SB_HORZ, gAlbum.placement.horizontalRange, horizontal);
  MoveView();
  InvalidateRect(gAlbum.view, nullptr, TRUE);
}

void Scroll(HWND frame, int bar, int request) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(frame, bar, &info);
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP: position -= kLineStep; break;
    case SB_LINEDOWN: position += kLineStep; break;
    case SB_PAGEUP: position -= kPageStep; break;
    case SB_PAGEDOWN: position += kPageStep; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: position = info.nTrackPos; break;
    default: return;
  }
  position = position < info.nMin ? info.nMin : position > info.nMax ? info.nMax : position;
  SetScrollPos(frame, bar, position, TRUE);
  MoveView();
}

// An empty picture (a file that could not be decoded) is said in words in
// the middle of the frame.
void PaintNotShown(HWND frame) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(frame, &paint);
  RECT client;
  GetClientRect(frame, &client);
  InflateRect(&client, -16, -16);
  const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT measured = client;
  const char* text = gAlbum.loadCancel ? kLoadingText : kNotShownText;
  DrawTextA(dc, text, -1, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  RECT line = client;
  line.top += (client.bottom - client.top - (measured.bottom - measured.top)) / 2;
  DrawTextA(dc, text, -1, &line, DT_CENTER | DT_WORDBREAK);
  SelectObject(dc, oldFont);
  EndPaint(frame, &paint);
}

// The arrow keys and the mouse wheel: count steps of request, up to
// either end of the bar.
void ScrollSteps(int bar, int request, int count) {
  for (int i = 0; i < count; ++i) Scroll(gAlbum.frame, bar, request);
}

// Wheel turns add up (a fine-grained wheel sends less than a notch at a
// time); each whole notch scrolls the lines the user set for the wheel.
void ScrollByWheel(int bar, int delta, int& rest) {
  rest += delta;
  const int notches = rest / WHEEL_DELTA;
  rest -= notches * WHEEL_DELTA;
  if (notches == 0) return;
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const bool byPage = lines == WHEEL_PAGESCROLL;
  // Turned away from the user: up (or left).
  const int request = notches > 0 ? (byPage ? SB_PAGEUP : SB_LINEUP) : (byPage ? SB_PAGEDOWN : SB_LINEDOWN);
  ScrollSteps(bar, request, (notches > 0 ? notches : -notches) * (byPage ? 1 : static_cast<int>(lines)));
}

bool IsEditBox(HWND window) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  return lstrcmpiA(className, "Edit") == 0;
}

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  // A click on the photo gives it the arrow keys, even from an edit box.
  if (message == WM_LBUTTONDOWN) SetFocus(frame);
  if (message == WM_HSCROLL || message == WM_VSCROLL) {
    Scroll(frame, message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
    return 0;
  }
  if (message == WM_PAINT && gAlbum.picture.IsEmpty()) {
    PaintNotShown(frame);
    return 0;
  }
  return DefWindowProcA(frame, message, wParam, lParam);
}

LRESULT CALLBACK ViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) SetFocus(GetParent(view));
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(view, &paint);
    RECT client;
    GetClientRect(view, &client);
    gAlbum.picture.Draw(dc, client);
    EndPaint(view, &paint);
    return 0;
  }
  return DefWindowProcA(view, message, wParam, lParam);
}

// Registered once per run, the first time a photo is shown.
void RegisterViewClasses() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA frame = {};
  frame.lpfnWndProc = FrameProc;
  frame.hInstance = gApp.GetResourceInstance();
  frame.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frame.lpszClassName = kFrameClass;
  WNDCLASSA view = frame;
  view.lpfnWndProc = ViewProc;
  view.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  view.lpszClassName = kViewClass;
  registered = RegisterClassA(&frame) != 0 && RegisterClassA(&view) != 0;
}

// One photo decoded on a worker thread, so that the dialog stays usable
// while a slow picture (a progressive JPEG of many scans) decodes.
struct PictureLoad {
  std::string path;
  int format = kFormatUnknown;
  CPicture picture;
  std::atomic<bool> cancel{false};
  bool loaded = false;
};

DWORD WINAPI LoadOnWorker(LPVOID parameter) {
  auto* load = static_cast<PictureLoad*>(parameter);
  load->loaded = load->picture.Load(load->path, load->format, &load->cancel);
  return 0;
}

bool DefaultFileChooser(HWND owner, std::string& buffer) {
  std::vector<char> names(kFileBufferSize, '\0');
  OPENFILENAMEA request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = "Photos\0*.jpg;*.png;*.gif;*.tiff;*.bmp\0All Files\0*.*\0";
  request.lpstrFile = names.data();
  request.nMaxFile = static_cast<DWORD>(names.size());
  request.lpstrTitle = "Add New Photos";
  request.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameA(&request)) return false;
  buffer.assign(names.data(), names.size());
  return true;
}

// The main window's page setup, for the print dialog's printer.
PAGESETUPDLGA* gAlbumPageSetup = nullptr;

HDC DefaultPrinterChooser(HWND owner) {
  HDC printer = nullptr;
  if (gAlbumPageSetup == nullptr || !ChoosePrinter(owner, *gAlbumPageSetup, PD_NOSELECTION, printer)) return nullptr;
  return printer;
}

const int kTextFields[] = {IDC_PHOTO_TITLE, IDC_PHOTO_COMMENT};
const EditorTemplate kTemplate = {IDD_PHOTO_ALBUM, RecordKind::PhotoAlbum, IDC_PHOTO_UPDATE, IDC_PHOTO_CLOSE,
                                  kTextFields,     std::size(kTextFields),   false,
                                  IDM_PHOTO_PRINT};

class CPhotoAlbumDialog : public CEditorDialog {
 public:
  CPhotoAlbumDialog() : CEditorDialog(kTemplate) {}

 private:
  void OnInit() override {
    gAlbum.zoom = kFitZoom;
    gAlbum.frame = gAlbum.view = nullptr;
    BuildToolbar();
    PhotoValues values;
    const bool found = gAlbum.albumMode ? StepAlbum(gAlbum.addresses, values, false, gAlbum.position, true)
                                        : PhotoAlbumManager::GetRecordAt(RecordAddress(), values) != 0;
    const int albumOnly[] = {IDC_PHOTO_UPDATE, IDC_PHOTO_TITLE, IDC_PHOTO_COMMENT};
    const int propertiesOnly[] = {IDC_PHOTO_BACK, IDC_PHOTO_FORWARD};
    for (int id : albumOnly) EnableWindow(GetDlgItem(Dialog(), id), !gAlbum.albumMode);
    for (int id : propertiesOnly) EnableWindow(GetDlgItem(Dialog(), id), gAlbum.albumMode);
    // Enter in Title or Comment updates the photo rather than closing the
    // dialog; Esc still closes it.
    if (!gAlbum.albumMode) SendMessageA(Dialog(), DM_SETDEFID, IDC_PHOTO_UPDATE, 0);
    // The frame and view exist whatever the first photo is, so that Back and
    // Forward can show the others.
    RegisterViewClasses();
    gAlbum.frame = CreateWindowExA(WS_EX_CLIENTEDGE, kFrameClass, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                                   kFrameX, kFrameY, kFrameWidth, kFrameHeight, Dialog(),
                                   reinterpret_cast<HMENU>(IDC_PHOTO_FRAME), gApp.GetResourceInstance(), nullptr);
    gAlbum.view = CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, gAlbum.frame,
                                  reinterpret_cast<HMENU>(IDC_PHOTO_VIEW), gApp.GetResourceInstance(), nullptr);
    if (found) {
      ShowTexts(values);
      const int format = PictureFormatOfPath(values.picturePath);
      if (format == kFormatUnknown) {
        ShowBox(values.picturePath.c_str(), kUnknownExtensionCaption, kMbOk | kMbIconWarning);
      } else {
        // A file the picture layer cannot read leaves the picture empty,
        // which the frame says in words.
        LoadPhoto(values.picturePath, format);
      }
    }
    LayOutView();
  }

  // Beyond Ctrl+P: the wheel scrolls the photo (with Shift, sideways), the
  // arrow keys too unless an edit box has them for its caret, and Page Up
  // and Page Down are Back and Forward.
  bool OnLoopMessage(const MSG& message) override {
    if (CEditorDialog::OnLoopMessage(message)) return true;
    switch (message.message) {
      case WM_MOUSEWHEEL: {
        const bool sideways = (GET_KEYSTATE_WPARAM(message.wParam) & MK_SHIFT) != 0;
        ScrollByWheel(sideways ? SB_HORZ : SB_VERT, GET_WHEEL_DELTA_WPARAM(message.wParam), m_wheelRest);
        return true;
      }
      case WM_KEYDOWN: break;
      default: return false;
    }
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    const WPARAM key = message.wParam;
    if (key == VK_PRIOR || key == VK_NEXT) {
      HWND button = GetDlgItem(Dialog(), key == VK_PRIOR ? IDC_PHOTO_BACK : IDC_PHOTO_FORWARD);
      if (!IsWindowEnabled(button)) return false;
      SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
      return true;
    }
    if (key != VK_LEFT && key != VK_RIGHT && key != VK_UP && key != VK_DOWN) return false;
    if (IsEditBox(message.hwnd)) return false;
    const bool sideways = key == VK_LEFT || key == VK_RIGHT;
    ScrollSteps(sideways ? SB_HORZ : SB_VERT, key == VK_LEFT || key == VK_UP ? SB_LINEUP : SB_LINEDOWN, 1);
    return true;
  }

  // Update: the properties mode's title and comment, the dialog stays open.
  void OnSave() override {
    PhotoValues values;
    values.title = Text(IDC_PHOTO_TITLE);
    values.comment = Text(IDC_PHOTO_COMMENT);
    if (values.title.empty() || values.comment.empty()) {
      AskToFill("Please Fill in All Fields.", values.title.empty() ? IDC_PHOTO_TITLE : IDC_PHOTO_COMMENT);
      return;
    }
    // The dialog stays open: what was stored is no longer unsaved.
    if (!gAlbum.albumMode && ChangesOpenedRecord() &&
        PhotoAlbumManager::ChangeRecordAt(MainWindow(), RecordAddress(), values)) {
      RememberSavedState();
    }
  }

  bool OnCommand(int id, int) override {
    // While a photo loads, the view's commands wait; Close stops the load.
    if (gAlbum.loadCancel) {
      for (const ToolButton& button : kToolButtons) {
        if (button.command != 0 && id == button.command) return true;
      }
      if (id == IDC_PHOTO_BACK || id == IDC_PHOTO_FORWARD) return true;
    }
    switch (id) {
      case IDM_PHOTO_ZOOM_IN: Zoom(ZoomIn(gAlbum.zoom)); return true;
      case IDM_PHOTO_ZOOM_OUT: Zoom(ZoomOut(gAlbum.zoom)); return true;
      case IDM_PHOTO_FIT: Zoom(kFitZoom); return true;
      case IDM_PHOTO_PRINT: Print(); return true;
      case IDC_PHOTO_BACK: Step(true); return true;
      case IDC_PHOTO_FORWARD: Step(false); return true;
      default: return false;
    }
  }

  bool OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR&) override {
    if (message == WM_NOTIFY) {
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code != TTN_NEEDTEXTA) return false;
      for (const ToolButton& button : kToolButtons) {
        if (button.tooltip && header->idFrom == static_cast<UINT_PTR>(button.command)) {
          reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(button.tooltip);
        }
      }
      return true;
    }
    if (message == WM_DESTROY) {
      gAlbum.picture.Empty();
      gAlbum.frame = gAlbum.view = nullptr;
    }
    return false;
  }

  void BuildToolbar() {
    HWND rebar = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, "",
                                 WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                     RBS_BANDBORDERS | CCS_NODIVIDER,
                                 0, 0, 0, 0, Dialog(), reinterpret_cast<HMENU>(IDC_PHOTO_REBAR),
                                 gApp.GetResourceInstance(), nullptr);
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS |
                                       CCS_NODIVIDER | CCS_NORESIZE,
                                   0, 3, 200, 30, rebar, reinterpret_cast<HMENU>(IDC_PHOTO_TOOLBAR),
                                   gApp.GetResourceInstance(), nullptr);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 25, 0);
    HBITMAP strip = LoadBitmapA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDB_PHOTO_TOOLBAR));
    if (strip) {
      m_images.AddMasked(strip, RGB(255, 0, 255));
      DeleteObject(strip);
    }
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.GetHandle()));
    SendMessageA(toolbar, TB_SETBUTTONWIDTH, 0, MAKELPARAM(28, 28));
    for (const ToolButton& entry : kToolButtons) {
      TBBUTTON button = {};
      button.iBitmap = entry.image < 0 ? 0 : entry.image;
      button.idCommand = entry.command;
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = entry.image < 0 ? TBSTYLE_SEP : TBSTYLE_BUTTON;
      SendMessageA(toolbar, TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&button));
    }
    CRebar(Dialog(), IDC_PHOTO_REBAR).AppendToolbarBand(toolbar, 200);
  }

  // Another photo's texts are nothing the user changed. With them, where
  // the photo stands among the album's ("3 of 12").
  void ShowTexts(const PhotoValues& values) {
    SetText(IDC_PHOTO_COMMENT, values.comment);
    SetText(IDC_PHOTO_TITLE, values.title);
    RememberSavedState();
    std::size_t position = static_cast<std::size_t>(gAlbum.position), count = gAlbum.addresses.size();
    if (!gAlbum.albumMode) {
      // Properties: the opened photo among the rows the list shows.
      const std::vector<std::uint32_t> rows = AlbumAddresses(MainWindow());
      position =
          static_cast<std::size_t>(std::find(rows.begin(), rows.end(), RecordAddress()) - rows.begin());
      count = rows.size();
    }
    const std::string text =
        position < count ? std::to_string(position + 1) + " of " + std::to_string(count) : std::string();
    SetText(IDC_PHOTO_POSITION, text);
  }

  void Zoom(float zoom) {
    gAlbum.zoom = zoom;
    LayOutView();
  }

  // Back and Forward: the neighbouring photo, or the same one again at the
  // ends of the list; an unknown extension keeps the photo shown.
  void Step(bool back) {
    gAlbum.zoom = kFitZoom;
    PhotoValues values;
    if (!StepAlbum(gAlbum.addresses, values, back, gAlbum.position, false)) return;
    const int format = PictureFormatOfPath(values.picturePath);
    if (format == kFormatUnknown) {
      ShowBox(values.picturePath.c_str(), kUnknownExtensionCaption, kMbOk | kMbIconWarning);
      return;
    }
    LoadPhoto(values.picturePath, format);
    ShowTexts(values);
    LayOutView();
    InvalidateRect(gAlbum.frame, nullptr, TRUE);
  }

  bool CanCancel() override {
    if (gAlbum.loadCancel) *gAlbum.loadCancel = true;
    return true;
  }

  // Decodes the photo into the shown picture on a worker thread. A decode
  // that ends within kQuietLoadMs shows nothing of this; a longer one shows
  // the dialog, with the frame saying it is loading, and handles the
  // dialog's own messages (the rest waits for the dialog's loop) until the
  // worker ends; Close cancels the decode, which stops at its next step.
  void LoadPhoto(const std::string& path, int format) {
    gAlbum.picture.Empty();
    PictureLoad load;
    load.path = path;
    load.format = format;
    HANDLE worker = CreateThread(nullptr, 0, LoadOnWorker, &load, 0, nullptr);
    if (!worker) {
      gAlbum.picture.Load(path, format);
      return;
    }
    gAlbum.loadCancel = &load.cancel;
    if (WaitForSingleObject(worker, kQuietLoadMs) == WAIT_TIMEOUT) {
      // No view and no bars while there is no picture: the frame's words.
      LayOutView();
      ShowWindow(Dialog(), SW_SHOW);
      InvalidateRect(gAlbum.frame, nullptr, TRUE);
      while (MsgWaitForMultipleObjects(1, &worker, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageA(&message, Dialog(), 0, 0, PM_REMOVE)) {
          if (!IsDialogMessageA(Dialog(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
          }
        }
      }
    }
    // The worker has ended here: both waits above only end when it has.
    CloseHandle(worker);
    gAlbum.loadCancel = nullptr;
    if (load.loaded && !load.cancel) gAlbum.picture = std::move(load.picture);
    InvalidateRect(gAlbum.frame, nullptr, TRUE);
  }

  void Print() {
    HDC printer = (gPrinterChooser ? gPrinterChooser : DefaultPrinterChooser)(Dialog());
    if (!printer) return;
    SetMapMode(printer, MM_TEXT);
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = "QuillmatePhoto";
    if (StartDocA(printer, &document) > 0) {
      if (StartPage(printer) > 0) {
        PrintPhotoOnPage(Dialog(), gAlbum.picture, PrintPageOf(printer));
        EndPage(printer);
      }
      EndDoc(printer);
    }
    DeleteDC(printer);
  }

  CImageList m_images;
  int m_wheelRest = 0;
};

}  // namespace

int OpenPhotoAlbum(HWND mainWindow, bool albumMode, PAGESETUPDLGA& pageSetup) {
  gAlbumPageSetup = &pageSetup;
  if (albumMode && ListView_GetItemCount(GetDlgItem(mainWindow, ID_RECORD_LIST)) < 1) return 0;
  gAlbum.position = 0;
  gAlbum.albumMode = albumMode;
  gAlbum.addresses = albumMode ? AlbumAddresses(mainWindow) : std::vector<std::uint32_t>();
  CPhotoAlbumDialog dialog;
  const int result = dialog.Run(mainWindow, !albumMode);
  return result == 0 ? 0 : result + 1;
}

int AddNewPhotos(HWND mainWindow) {
  // One editor at a time: while one is open, it comes forward instead.
  if (CEditorDialog::BringOpenEditorForward()) return 1;
  std::string buffer;
  if (!(gFileChooser ? gFileChooser : DefaultFileChooser)(mainWindow, buffer)) return 1;
  const std::string first = buffer.substr(0, buffer.find('\0'));
  std::string folder;
  std::vector<std::string> names;
  const DWORD attributes = GetFileAttributesA(first.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const std::string::size_type slash = first.rfind('\\');
    folder = slash == std::string::npos ? std::string() : first.substr(0, slash);
    names.push_back(slash == std::string::npos ? first : first.substr(slash + 1));
  } else {
    folder = first;
    for (std::string::size_type at = first.size() + 1; at < buffer.size() && buffer[at] != '\0';) {
      const std::string::size_type end = buffer.find('\0', at);
      names.push_back(buffer.substr(at, end == std::string::npos ? std::string::npos : end - at));
      if (end == std::string::npos) break;
      at = end + 1;
    }
  }
  PhotoAlbumManager::ShowRecords(mainWindow);
  CBusyIndicator busy(mainWindow);
  HWND progress = GetDlgItem(GetDlgItem(mainWindow, ID_STATUS_BAR), ID_PROGRESS_BAR);
  std::string refused;
  for (const std::string& name : names) {
    SendMessageA(progress, PBM_SETPOS, 0, 0);
    const std::string path = folder + "\\" + name;
    // Only what the album can show is added: a file no decoder accepts
    // would be an empty frame for ever.
    CPicture probe;
    if (probe.Load(path, PictureFormatOfPath(path))) {
      probe.Empty();
      AddPhoto(mainWindow, name, "No Comment", path, false);
    } else {
      refused += "\n" + path;
    }
    SendMessageA(progress, PBM_SETPOS, 100, 0);
  }
  if (!refused.empty()) {
    const std::string text = "These files are not pictures the album can show, and were not added:\n" + refused;
    ShowMessageBox(mainWindow, text.c_str(), "Quillmate", kMbOk | kMbIconWarning);
  }
  return 1;
}

void SetPhotoFileChooser(PhotoFileChooser chooser) { gFileChooser = chooser; }

void SetPhotoPrinterChooser(PhotoPrinterChooser chooser) { gPrinterChooser = chooser; }
