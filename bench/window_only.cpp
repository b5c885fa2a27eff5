// The yardsticks for start-up: a Win32 program that only registers a class and shows one window,
// and (built with XIUDENG_COMMON_CONTROLS) the same program loading the common controls 6 under
// the program's manifest, as the program must for its list.
#include <windows.h>

#ifdef XIUDENG_COMMON_CONTROLS
#include <commctrl.h>
#endif

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef XIUDENG_COMMON_CONTROLS
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
#endif
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"WindowOnly";
  RegisterClassW(&windowClass);
  HWND window =
      CreateWindowExW(0, L"WindowOnly", L"window only", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
