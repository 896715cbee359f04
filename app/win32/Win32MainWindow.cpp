#include "app/win32/Win32MainWindow.h"

#include <commctrl.h>

#include "app/win32/Win32Layout.h"
#include "base/Utf.h"
#include "update/Version.h"

namespace velmora {

namespace {

constexpr wchar_t kClassName[] = L"VelmoraMainWindow";
constexpr UINT_PTR kUpdateTimerId = 1;
constexpr int kFirstControlId = 100;
constexpr int kIconId = 1;  // the first icon group of Velmora.rc

int IdOf(TControl control) { return kFirstControlId + static_cast<int>(control); }

}  // namespace

TWin32MainWindow::TWin32MainWindow(HINSTANCE instance, Platform& platform) : FInstance(instance), FPlatform(platform) {
  FForm = std::make_unique<TFormMain>(*this, platform, RealGenerators(platform), [&platform] {
    return std::make_unique<TUpdateWorker>(platform, ProductPageUrl);
  });
  FFaceBrush = ::GetSysColorBrush(COLOR_BTNFACE);
}

TWin32MainWindow::~TWin32MainWindow() = default;

int TWin32MainWindow::Scale(int value) const { return ::MulDiv(value, static_cast<int>(FDpi), 96); }

HWND TWin32MainWindow::Control(TControl control) const { return FControls[static_cast<int>(control)]; }

int TWin32MainWindow::Run(int showCommand) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &TWin32MainWindow::WindowProc;
  wc.hInstance = FInstance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  // The title bar takes the small icon, Alt+Tab and the task bar the large one.
  const auto loadIcon = [this](int width, int height) {
    return static_cast<HICON>(::LoadImageW(FInstance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, width, height, 0));
  };
  FIconLarge.Reset(loadIcon(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
  FIconSmall.Reset(loadIcon(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
  wc.hIcon = FIconLarge.Get();
  wc.hIconSm = FIconSmall.Get();
  ::RegisterClassExW(&wc);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  FWindow = ::CreateWindowExW(0, kClassName, L"Velmora", style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                              nullptr, FInstance, this);
  if (!FWindow) return 1;
  ::ShowWindow(FWindow, showCommand);
  ::UpdateWindow(FWindow);
  try {
    FForm->FormShow();
  } catch (...) {
  }
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!FKeys->PreTranslate(msg) && !::IsDialogMessageW(FWindow, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (::IsWindow(FWindow)) FKeys->FollowFocus();
  }
  return static_cast<int>(msg.wParam);
}

void TWin32MainWindow::CreateControls() {
  for (const TControlSpec& entry : ControlSpecs) {
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (entry.Kind) {
      case TControlKind::Label: break;
      case TControlKind::Link: style |= SS_NOTIFY; break;
      case TControlKind::DatePicker:
        cls = DATETIMEPICK_CLASSW;
        style |= WS_TABSTOP | DTS_SHORTDATEFORMAT;
        break;
      case TControlKind::Edit:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case TControlKind::Button:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case TControlKind::DefaultButton:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_DEFPUSHBUTTON;
        break;
      case TControlKind::StatusMemo:
        // ES_WANTRETURN keeps Enter in the box instead of running the default button.
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_WANTRETURN;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case TControlKind::CheckBox:
        cls = L"BUTTON";
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
      case TControlKind::FileMemo:
        cls = L"EDIT";
        style |= WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    HWND h = ::CreateWindowExW(exStyle, cls, L"", style, 0, 0, 10, 10, FWindow,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(entry.Control))), FInstance, nullptr);
    FControls[static_cast<int>(entry.Control)] = h;
  }
  ::SendMessageW(Control(TControl::EditJokeCount), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"20"));
}

void TWin32MainWindow::ApplyLayout() {
  FFont.Reset(::CreateFontW(-::MulDiv(9, static_cast<int>(FDpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI"));
  // The labels are measured in the font they will show; the DC gets its own font back
  // before it is released.
  const TWindowDC dc(FWindow);
  const TSelection font(dc.Get(), FFont.Get());
  for (const TControlSpec& entry : ControlSpecs) {
    HWND h = Control(entry.Control);
    ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
    int width = Scale(entry.Width), height = Scale(entry.Height);
    if (entry.Width == 0) {  // a label takes the size of its text
      wchar_t text[512];
      int n = ::GetWindowTextW(h, text, 512);
      SIZE size{0, 0};
      ::GetTextExtentPoint32W(dc.Get(), text, n, &size);
      width = size.cx + Scale(6);  // a little room: rendered text can be wider than measured
      height = size.cy;
    }
    ::SetWindowPos(h, nullptr, Scale(entry.Left), Scale(entry.Top), width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::InvalidateRect(FWindow, nullptr, TRUE);
}

LRESULT CALLBACK TWin32MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TWin32MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->FWindow = hwnd;
  }
  auto* self = reinterpret_cast<TWin32MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    // The form reports its own failures; nothing may unwind into the system.
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT TWin32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      FDpi = ::GetDpiForWindow(FWindow);
      CreateControls();
      FKeys = std::make_unique<TDialogKeys>(FWindow, Control(TControl::ButtonGenerate));
      FForm->FormCreate();
      ApplyLayout();
      // Client area of the fixed size, centred on the screen.
      RECT r{0, 0, Scale(ClientWidth), Scale(ClientHeight)};
      ::AdjustWindowRectExForDpi(&r, static_cast<DWORD>(::GetWindowLongW(FWindow, GWL_STYLE)), FALSE, 0, FDpi);
      const int w = r.right - r.left, h = r.bottom - r.top;
      const int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
      ::SetWindowPos(FWindow, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_ACTIVATE:
      // Not passed on: the system would put the focus on the window itself.
      if (LOWORD(wParam) == WA_INACTIVE) {
        FForm->FormDeactivate();
      } else if (!HIWORD(wParam)) {
        FForm->FormActivate();
        if (!::GetFocus()) ::SetFocus(FWindow);  // keys still reach the window
      }
      return 0;
    case WM_NEXTDLGCTL:
      if (LOWORD(lParam)) {
        ::SetFocus(reinterpret_cast<HWND>(wParam));
      } else {
        FKeys->NextTabStop(wParam != 0);
      }
      return 0;
    case WM_DPICHANGED: {
      FDpi = HIWORD(wParam);
      ApplyLayout();
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(FWindow, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case DM_GETDEFID: return MAKELRESULT(IdOf(TControl::ButtonGenerate), DC_HASDEFID);
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER:
      if (wParam == kUpdateTimerId) FForm->UpdateTimerTick();
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HWND h = reinterpret_cast<HWND>(lParam);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      ::SetTextColor(dc, h == Control(TControl::LabelSites) ? RGB(0, 0, 255) : ::GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(FFaceBrush);
    }
    case WM_SETCURSOR:
      if (FBusy) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      if (reinterpret_cast<HWND>(wParam) == Control(TControl::LabelSites)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_CLOSE: ::DestroyWindow(FWindow); return 0;
    case WM_DESTROY:
      FForm->FormDestroy();
      ::PostQuitMessage(0);
      return 0;
    default: break;
  }
  return ::DefWindowProcW(FWindow, message, wParam, lParam);
}

void TWin32MainWindow::OnCommand(int id, int code) {
  const auto control = static_cast<TControl>(id - kFirstControlId);
  if (id == IDOK) {  // Enter with the focus outside a button runs the default command
    FForm->ButtonGenerateClick();
    return;
  }
  if (control == TControl::EditJokeCount && code == EN_CHANGE) {
    FForm->EditJokeCountChange();
    return;
  }
  if (control == TControl::LabelSites && code == STN_CLICKED) {
    FForm->LinkClick(TControl::LabelSites);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (control) {
    case TControl::ButtonGenerate: FForm->ButtonGenerateClick(); break;
    case TControl::ButtonGenerateJokes: FForm->ButtonGenerateJokesClick(); break;
    case TControl::ButtonGenerateFolk: FForm->ButtonGenerateFolkClick(); break;
    case TControl::ButtonBrowse: FForm->ButtonBrowseClick(); break;
    case TControl::ButtonCheckUpdates: FForm->ButtonCheckUpdatesClick(); break;
    case TControl::CheckAutoUpdates: FForm->CheckAutoUpdatesClick(); break;
    default: break;
  }
}

void TWin32MainWindow::SetCaption(const std::u16string& text) { ::SetWindowTextW(FWindow, Wide(text)); }

std::u16string TWin32MainWindow::Text(TControl control) {
  HWND h = Control(control);
  const int n = ::GetWindowTextLengthW(h);
  std::u16string text(static_cast<std::size_t>(n) + 1, u'\0');
  const int got = ::GetWindowTextW(h, reinterpret_cast<wchar_t*>(text.data()), n + 1);
  text.resize(static_cast<std::size_t>(got));
  return text;
}

void TWin32MainWindow::SetText(TControl control, const std::u16string& text) {
  ::SetWindowTextW(Control(control), Wide(text));
}

void TWin32MainWindow::SetEnabled(TControl control, bool enabled) { ::EnableWindow(Control(control), enabled); }

bool TWin32MainWindow::Enabled(TControl control) { return ::IsWindowEnabled(Control(control)) != FALSE; }

bool TWin32MainWindow::Checked(TControl control) {
  return ::SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TWin32MainWindow::SetChecked(TControl control, bool checked) {
  ::SendMessageW(Control(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TWin32MainWindow::Focus(TControl control) {
  // An inactive window is not brought forward; TFormMain gives the focus on activation.
  if (::GetActiveWindow() == FWindow) ::SetFocus(Control(control));
}

std::optional<TControl> TWin32MainWindow::FocusedControl() {
  HWND focus = ::GetFocus();
  while (focus && ::GetParent(focus) && ::GetParent(focus) != FWindow) focus = ::GetParent(focus);
  for (const TControlSpec& entry : ControlSpecs)
    if (focus && Control(entry.Control) == focus) return entry.Control;
  return std::nullopt;
}

int TWin32MainWindow::Caret(TControl control) {
  DWORD start = 0;
  ::SendMessageW(Control(control), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TWin32MainWindow::SetCaret(TControl control, int position) {
  ::SendMessageW(Control(control), EM_SETSEL, static_cast<WPARAM>(position), position);
}

TDate TWin32MainWindow::PickerDate() {
  SYSTEMTIME st{};
  ::SendMessageW(Control(TControl::DatePicker), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return TDate{st.wYear, st.wMonth, st.wDay};
}

void TWin32MainWindow::SetPickerDate(const TDate& date) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.Year);
  st.wMonth = static_cast<WORD>(date.Month);
  st.wDay = static_cast<WORD>(date.Day);
  ::SendMessageW(Control(TControl::DatePicker), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TWin32MainWindow::SetBusyCursor(bool busy) {
  FBusy = busy;
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void TWin32MainWindow::CreateUpdateTimer(int intervalMs) { FTimerInterval = intervalMs; }

void TWin32MainWindow::SetUpdateTimerEnabled(bool enabled) {
  if (enabled)
    ::SetTimer(FWindow, kUpdateTimerId, static_cast<UINT>(FTimerInterval), nullptr);
  else
    ::KillTimer(FWindow, kUpdateTimerId);
}

}  // namespace velmora
