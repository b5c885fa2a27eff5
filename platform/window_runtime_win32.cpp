#include "platform/window_runtime_win32.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "platform/cp936_win32.h"
#include "platform/dpi.h"

namespace {

constexpr wchar_t kClassName[] = L"XiudengWindow";
constexpr UINT kDestroyRequest = WM_APP + 1;
constexpr UINT kTrayCallback = WM_APP + 2;
constexpr UINT kTrayIconId = 1;
constexpr WORD kIconResource = 1;
constexpr size_t kTipBytes = 62;
constexpr int kColumnWidths[] = {100, 300};
constexpr const char* kColumnTitles[] = {"进程名称", "所在路径"};

int ControlId(Control control) {
  return 100 + static_cast<int>(control);
}
UINT_PTR TimerId(Timer timer) {
  return 1 + static_cast<UINT_PTR>(timer);
}
// Ends a burst of row changes; apart from the design's timers.
constexpr UINT_PTR kBurstTimer = 100;
constexpr UINT kBurstPauseMs = 100;

// Takes a copy, so that nothing of the runtime is referenced while the handler runs: it may
// destroy or load windows, or dispatch more events.
void Invoke(Handler handler) {
  if (handler) handler();
}

class UniqueMenu {
 public:
  UniqueMenu() : menu_(CreatePopupMenu()) {}
  UniqueMenu(const UniqueMenu&) = delete;
  UniqueMenu& operator=(const UniqueMenu&) = delete;
  ~UniqueMenu() {
    if (menu_) DestroyMenu(menu_);
  }
  HMENU get() const { return menu_; }

 private:
  HMENU menu_;
};

// At most kTipBytes of code page 936, cut before a two-byte character that would not fit whole.
std::wstring TrayTip(const Text& tip) {
  size_t end = 0;
  while (end < tip.size()) {
    const size_t next = end + (IsLeadByte(static_cast<unsigned char>(tip[end])) ? 2 : 1);
    if (next > kTipBytes) break;
    end = next;
  }
  return Wide(std::string_view(tip).substr(0, end));
}

std::wstring WindowText(HWND handle) {
  std::wstring text(GetWindowTextLengthW(handle) + 1, L'\0');
  text.resize(GetWindowTextW(handle, text.data(), static_cast<int>(text.size())));
  return text;
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kList:
      return {WC_LISTVIEWW,
              LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case ControlKind::kButton:
      return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::kCheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::kLabel:
      break;
  }
  return {L"STATIC", SS_LEFT, 0};
}

// Sized by LayOut.
void AddColumns(HWND list) {
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int column = 0; column < 2; ++column) {
    std::wstring title = Wide(kColumnTitles[column]);
    LVCOLUMNW description{};
    description.mask = LVCF_TEXT;
    description.pszText = title.data();
    SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&description));
  }
}

// Placed and sized by LayOut.
HWND AddControl(HWND parent, const ControlDesign& design) {
  const ControlClass kind = ClassOf(design.kind);
  HWND control = CreateWindowExW(
      kind.exStyle, kind.name, Wide(design.caption).c_str(), WS_CHILD | WS_VISIBLE | kind.style, 0,
      0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(design.id))),
      GetModuleHandleW(nullptr), nullptr);
  if (design.kind == ControlKind::kList) {
    AddColumns(control);
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);  // the window starts hidden
  }
  return control;
}

// Windows 8.1 and later tell each monitor's DPI; before, every monitor has the system's.
int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int MonitorDpi(HMONITOR monitor) {
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  // Looked up, not linked: shcore.dll is missing before Windows 8.1. 0 is MDT_EFFECTIVE_DPI.
  static const auto getDpiForMonitor =
      reinterpret_cast<GetDpiForMonitorFunction>(reinterpret_cast<void (*)()>(
          GetProcAddress(LoadLibraryW(L"shcore.dll"), "GetDpiForMonitor")));
  UINT dpiX = 0, dpiY = 0;
  if (getDpiForMonitor && getDpiForMonitor(monitor, 0, &dpiX, &dpiY) == S_OK && dpiX > 0) {
    return static_cast<int>(dpiX);
  }
  return SystemDpi();
}

int PrimaryDpi() {
  return MonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

}  // namespace

Win32WindowRuntime::Win32WindowRuntime(std::map<WindowId, WindowDesign> designs, Handler teardown)
    : designs_(std::move(designs)),
      teardown_(std::move(teardown)),
      taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  const HINSTANCE module = GetModuleHandleW(nullptr);
  trayIcon_ = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = module;
  windowClass.hIcon = LoadIconW(module, MAKEINTRESOURCEW(kIconResource));
  windowClass.hIconSm = trayIcon_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly for a later runtime of the same process
  owner_ = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, module,
                           nullptr);
}

Win32WindowRuntime::~Win32WindowRuntime() {
  for (const auto& [id, window] : std::exchange(windows_, {})) {
    if (window.trayTip) NotifyTray(window.handle, {}, NIM_DELETE);
    ::DestroyWindow(window.handle);
  }
  ::DestroyWindow(owner_);
}

int Win32WindowRuntime::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  RunTeardown();
  return 0;
}

void Win32WindowRuntime::ProcessPendingEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the main loop, which ends on it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32WindowRuntime::LoadWindow(WindowId window) {
  if (const auto open = windows_.find(window); open != windows_.end()) {
    if (open->second.state != State::kDestroyRequested) {
      const HWND handle = open->second.handle;
      if (IsIconic(handle)) {
        ShowWindow(handle, SW_RESTORE);
      } else {
        SetForegroundWindow(handle);
      }
      return;
    }
    CarryOutDestroy(window);
  }
  Create(window);
  // The destroy carried out above may have taken the last window, and a window that could not
  // be created leaves nothing to wait for.
  QuitWhenNoWindows();
}

void Win32WindowRuntime::Create(WindowId window) {
  const WindowDesign& design = designs_.at(window);
  const DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | (design.minimizeBox ? WS_MINIMIZEBOX : 0);
  // Centred on the primary screen, so laid out for its DPI.
  const int dpi = PrimaryDpi();
  const int width = ToPixels(design.width, dpi), height = ToPixels(design.height, dpi);
  const HWND handle = CreateWindowExW(
      0, kClassName, Wide(design.title).c_str(), style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
      design.taskbarButton ? nullptr : owner_, nullptr, GetModuleHandleW(nullptr), this);
  if (!handle) return;
  windows_[window] = OpenWindow{.handle = handle, .dpi = dpi};
  for (const ControlDesign& control : design.controls) {
    windows_[window].controls[control.id] = AddControl(handle, control);
  }
  LayOut(window);

  Invoke(design.created);
  if (!design.shownWhenLoaded) return;
  if (const HWND shown = Find(window)) ShowWindow(shown, SW_SHOW);
}

void Win32WindowRuntime::LayOut(WindowId window) {
  OpenWindow& open = windows_.at(window);
  const int dpi = open.dpi;
  // The stock font is made for the system DPI. Without a font Wine draws Chinese captions as
  // boxes.
  const auto stockFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  UniqueFont font;
  if (const int systemDpi = SystemDpi(); dpi != systemDpi) {
    LOGFONTW look{};
    GetObjectW(stockFont, sizeof look, &look);
    look.lfHeight = MulDivRounded(look.lfHeight, dpi, systemDpi);
    font.reset(CreateFontIndirectW(&look));
  }
  const WPARAM shownFont = reinterpret_cast<WPARAM>(font ? font.get() : stockFont);
  for (const ControlDesign& design : designs_.at(window).controls) {
    const HWND control = open.controls[design.id];
    SetWindowPos(control, nullptr, ToPixels(design.left, dpi), ToPixels(design.top, dpi),
                 ToPixels(design.width, dpi), ToPixels(design.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, shownFont, TRUE);
    if (design.kind != ControlKind::kList) continue;
    for (int column = 0; column < 2; ++column) {
      SendMessageW(control, LVM_SETCOLUMNWIDTH, column, ToPixels(kColumnWidths[column], dpi));
    }
  }
  // Only now that no control uses the previous font any more.
  open.font = std::move(font);
}

void Win32WindowRuntime::DestroyWindow(WindowId window) {
  const auto open = windows_.find(window);
  if (open == windows_.end() || open->second.state != State::kOpen) return;
  open->second.state = State::kDestroyRequested;
  PostMessageW(open->second.handle, kDestroyRequest, 0, 0);
}

void Win32WindowRuntime::CarryOutDestroy(WindowId window) {
  auto open = windows_.find(window);
  if (open == windows_.end() || open->second.state == State::kDestroying) return;
  open->second.state = State::kDestroying;
  Invoke(designs_.at(window).willBeDestroyed);

  // Nothing else removes a window that is being destroyed; look it up again all the same.
  open = windows_.find(window);
  if (open == windows_.end()) return;
  const OpenWindow closing = std::move(open->second);
  windows_.erase(open);
  if (closing.trayTip) NotifyTray(closing.handle, {}, NIM_DELETE);
  ::DestroyWindow(closing.handle);
}

void Win32WindowRuntime::QuitWhenNoWindows() {
  if (windows_.empty()) PostQuitMessage(0);
}

void Win32WindowRuntime::SetShown(WindowId window, bool shown) {
  // SW_SHOW keeps a minimised window minimised.
  if (const HWND handle = Find(window)) ShowWindow(handle, shown ? SW_SHOW : SW_HIDE);
}

void Win32WindowRuntime::SetTopmost(WindowId window, bool topmost) {
  if (const HWND handle = Find(window)) {
    SetWindowPos(handle, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  }
}

void Win32WindowRuntime::MoveWindow(WindowId window, int left, int top) {
  if (const HWND handle = Find(window)) {
    const int dpi = PrimaryDpi();
    SetWindowPos(handle, nullptr,
                 PositionToPixels(left, ScreenWidth(), GetSystemMetrics(SM_CXSCREEN), dpi),
                 PositionToPixels(top, ScreenHeight(), GetSystemMetrics(SM_CYSCREEN), dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32WindowRuntime::SetTimerPeriod(WindowId window, Timer timer, int milliseconds) {
  const auto open = windows_.find(window);
  if (open == windows_.end()) return;
  int& period = open->second.periods[timer];
  if (period == milliseconds) return;
  period = milliseconds;
  KillTimer(open->second.handle, TimerId(timer));
  if (milliseconds > 0) SetTimer(open->second.handle, TimerId(timer), milliseconds, nullptr);
}

Text Win32WindowRuntime::Caption(WindowId window, Control control) {
  const HWND handle = ControlHandle(window, control);
  return handle ? Narrow(WindowText(handle)) : Text();
}

void Win32WindowRuntime::SetCaption(WindowId window, Control control, const Text& caption) {
  if (const HWND handle = ControlHandle(window, control)) {
    SetWindowTextW(handle, Wide(caption).c_str());
  }
}

bool Win32WindowRuntime::Ticked(WindowId window, Control control) {
  const HWND handle = ControlHandle(window, control);
  return handle && SendMessageW(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32WindowRuntime::SetTicked(WindowId window, Control control, bool ticked) {
  // BM_SETCHECK sends no BN_CLICKED.
  if (const HWND handle = ControlHandle(window, control)) {
    SendMessageW(handle, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void Win32WindowRuntime::SetTrayIcon(WindowId window, const Text& tip) {
  const auto open = windows_.find(window);
  if (open == windows_.end()) return;
  const bool added = open->second.trayTip.has_value();
  open->second.trayTip = TrayTip(tip);
  NotifyTray(open->second.handle, *open->second.trayTip, added ? NIM_MODIFY : NIM_ADD);
}

void Win32WindowRuntime::NotifyTray(HWND handle, const std::wstring& tip, DWORD action) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = handle;
  data.uID = kTrayIconId;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kTrayCallback;
  data.hIcon = trayIcon_;
  tip.copy(data.szTip, std::size(data.szTip) - 1);
  Shell_NotifyIconW(action, &data);
}

void Win32WindowRuntime::PopUpTrayMenu(WindowId window) {
  PopUp(window, TPM_RIGHTALIGN | TPM_TOPALIGN, -5, -5, true);
}

void Win32WindowRuntime::PopUpMenu(WindowId window) {
  PopUp(window, TPM_LEFTALIGN | TPM_TOPALIGN, 3, 3, false);
}

void Win32WindowRuntime::PopUp(WindowId window, UINT alignment, int dx, int dy, bool fromTray) {
  const auto open = windows_.find(window);
  if (open == windows_.end()) return;
  const HWND handle = open->second.handle;
  dx = ToPixels(dx, open->second.dpi);
  dy = ToPixels(dy, open->second.dpi);
  const std::vector<MenuItemDesign>& items = designs_.at(window).menu;
  POINT cursor{};
  GetCursorPos(&cursor);
  // Without the foreground, a tray menu would not close when the user clicks elsewhere.
  if (fromTray) SetForegroundWindow(handle);
  int chosen = 0;
  {
    UniqueMenu menu;
    for (size_t item = 0; item < items.size(); ++item) {
      if (items[item].caption == "-") {
        AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      } else {
        AppendMenuW(menu.get(), MF_STRING, item + 1, Wide(items[item].caption).c_str());
      }
    }
    chosen = TrackPopupMenu(menu.get(), alignment | TPM_RETURNCMD | TPM_NONOTIFY, cursor.x + dx,
                            cursor.y + dy, 0, handle, nullptr);
  }
  // The documented fix for a tray menu that would otherwise not open a second time.
  if (fromTray) PostMessageW(handle, WM_NULL, 0, 0);
  if (chosen > 0) Invoke(designs_.at(window).menu[chosen - 1].selected);
}

int Win32WindowRuntime::ShowMessageBox(const Text& text, int style, const Text& title) {
  return ::MessageBoxW(nullptr, Wide(text).c_str(), Wide(title.empty() ? "信息：" : title).c_str(),
                       static_cast<UINT>(style) | MB_TASKMODAL) -
         1;
}

void Win32WindowRuntime::Exit(int code) {
  RunTeardown();
  ExitProcess(static_cast<UINT>(code));
}

void Win32WindowRuntime::RunTeardown() {
  // Taken out first, so that a teardown that ends the program itself does not run twice.
  Invoke(std::exchange(teardown_, nullptr));
}

// The look comes from the common-controls 6 manifest in the executable, for every window alike;
// there is nothing to switch at run time.
void Win32WindowRuntime::SetVisualStyle(int) {}

int Win32WindowRuntime::ScreenWidth() {
  return ToUnits(GetSystemMetrics(SM_CXSCREEN), PrimaryDpi());
}

int Win32WindowRuntime::ScreenHeight() {
  return ToUnits(GetSystemMetrics(SM_CYSCREEN), PrimaryDpi());
}

// Rows change in bursts: a scan rewrites the whole list, one row between pending events. Redrawn
// after every row, a list costs 19 ms a row under Wine while its window is shown (a scan of 400
// processes took 8 s, longer than its period) and 0.36 ms while hidden, against 5 us without: so
// a list is redrawn once a burst is over, kBurstPauseMs after its last change, and only while its
// window is visible.
void Win32WindowRuntime::ChangeRows(WindowId window) {
  OpenWindow& open = windows_.at(window);
  open.lastRowChange = GetTickCount64();
  if (open.changingRows) return;
  open.changingRows = true;
  SendMessageW(ControlHandle(window, Control::kList), WM_SETREDRAW, FALSE, 0);
  SetTimer(open.handle, kBurstTimer, kBurstPauseMs, nullptr);
}

void Win32WindowRuntime::EndRowChanges(WindowId window) {
  OpenWindow& open = windows_.at(window);
  KillTimer(open.handle, kBurstTimer);
  open.changingRows = false;
  UpdateRedraw(window, IsWindowVisible(open.handle));
}

void Win32WindowRuntime::UpdateRedraw(WindowId window, bool visible) {
  const HWND list = ControlHandle(window, Control::kList);
  if (!list) return;
  const bool redraw = visible && !windows_.at(window).changingRows;
  SendMessageW(list, WM_SETREDRAW, redraw, 0);
  if (redraw) InvalidateRect(list, nullptr, TRUE);
}

void Win32WindowRuntime::RemoveAllRows(WindowId window) {
  if (const HWND list = ControlHandle(window, Control::kList)) {
    ChangeRows(window);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  }
}

int Win32WindowRuntime::InsertRow(WindowId window, int position, const Text& caption) {
  const HWND list = ControlHandle(window, Control::kList);
  if (!list) return -1;
  ChangeRows(window);
  const int count = RowCount(window);
  std::wstring text = Wide(caption);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = position < 0 ? count : std::min(position, count);
  item.pszText = text.data();
  return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void Win32WindowRuntime::SetCellText(WindowId window, int row, int column, const Text& text) {
  const HWND list = ControlHandle(window, Control::kList);
  if (!list) return;
  ChangeRows(window);
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

Text Win32WindowRuntime::CellText(WindowId window, int row, int column) {
  const HWND list = ControlHandle(window, Control::kList);
  if (!list || row < 0 || row >= RowCount(window)) return {};
  // The list reports only how much it copied: grow until the text fits with room to spare.
  std::wstring buffer(256, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = static_cast<size_t>(
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

int Win32WindowRuntime::RowCount(WindowId window) {
  const HWND list = ControlHandle(window, Control::kList);
  return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int Win32WindowRuntime::Selection(WindowId window) {
  const HWND list = ControlHandle(window, Control::kList);
  return list ? static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED)) : -1;
}

void Win32WindowRuntime::RefreshList(WindowId window) {
  if (const HWND list = ControlHandle(window, Control::kList)) {
    EndRowChanges(window);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
  }
}

HWND Win32WindowRuntime::Find(WindowId window) const {
  const auto open = windows_.find(window);
  return open == windows_.end() ? nullptr : open->second.handle;
}

std::optional<WindowId> Win32WindowRuntime::IdOf(HWND handle) const {
  for (const auto& [id, window] : windows_) {
    if (window.handle == handle) return id;
  }
  return std::nullopt;
}

HWND Win32WindowRuntime::ControlHandle(WindowId window, Control control) const {
  const auto open = windows_.find(window);
  if (open == windows_.end()) return nullptr;
  const auto found = open->second.controls.find(control);
  return found == open->second.controls.end() ? nullptr : found->second;
}

LRESULT CALLBACK Win32WindowRuntime::WindowProc(HWND handle, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  // The hidden owner carries no runtime; a window being created or destroyed has no id.
  auto* runtime = reinterpret_cast<Win32WindowRuntime*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (runtime) {
    if (const auto id = runtime->IdOf(handle)) {
      if (runtime->OnMessage(*id, message, wParam, lParam)) return 0;
    }
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

bool Win32WindowRuntime::OnMessage(WindowId window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WindowDesign& design = designs_.at(window);
  switch (message) {
    case kDestroyRequest:
      // A load may already have carried the request out; the window it made is not meant.
      if (windows_.at(window).state != State::kDestroyRequested) return true;
      [[fallthrough]];
    case WM_CLOSE:
      CarryOutDestroy(window);
      QuitWhenNoWindows();
      return true;
    case WM_TIMER: {
      if (wParam == kBurstTimer) {
        if (GetTickCount64() - windows_.at(window).lastRowChange >= kBurstPauseMs) {
          EndRowChanges(window);
        }
        return true;
      }
      const auto tick = std::ranges::find_if(
          design.ticks, [&](const auto& entry) { return TimerId(entry.first) == wParam; });
      if (tick != design.ticks.end()) Invoke(tick->second);
      return true;
    }
    case WM_COMMAND: {
      if (lParam == 0 || HIWORD(wParam) != BN_CLICKED) return false;
      const auto control = std::ranges::find_if(design.controls, [&](const ControlDesign& entry) {
        return ControlId(entry.id) == LOWORD(wParam);
      });
      if (control != design.controls.end()) Invoke(control->clicked);
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code != NM_RCLICK ||
          header->idFrom != static_cast<UINT_PTR>(ControlId(Control::kList))) {
        return false;
      }
      Invoke(design.listRightClick);
      return true;
    }
    case WM_SHOWWINDOW:
      UpdateRedraw(window, wParam);
      return false;
    case WM_DPICHANGED: {
      // Moved to a monitor of another DPI: the system suggests the frame, scaled.
      const auto& frame = *reinterpret_cast<const RECT*>(lParam);
      OpenWindow& open = windows_.at(window);
      open.dpi = LOWORD(wParam);
      SetWindowPos(open.handle, nullptr, frame.left, frame.top, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut(window);
      return true;
    }
    case kTrayCallback:
      if (lParam == WM_LBUTTONUP || lParam == WM_LBUTTONDBLCLK || lParam == WM_RBUTTONUP) {
        Invoke(design.trayEvent);
      }
      return true;
  }
  if (message == taskbarCreated_) {
    // Explorer started again, with an empty notification area.
    const auto open = windows_.find(window);
    if (open->second.trayTip) NotifyTray(open->second.handle, *open->second.trayTip, NIM_ADD);
    return true;
  }
  return false;
}
