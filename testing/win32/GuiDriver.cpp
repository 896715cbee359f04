// A test-only driver for the GUI smoke test, run in the same Wine prefix as the
// program: finds the main window and its controls (child controls are not X11
// windows, so xdotool cannot see them) and clicks, reads and closes boxes.
//   GuiDriver wait <title> <seconds>          wait until the window exists
//   GuiDriver click <title> <caption>         post a click to the child with that text
//   GuiDriver text <title> <controlId>        print a child's text (UTF-8)
//   GuiDriver rect <title> <controlId>        print the child's screen centre "x y"
//   GuiDriver box <seconds>                   wait for a message box, print its caption and its
//                                             text on two lines, press its first button
//   GuiDriver texts <title>                   print the texts of the window's children, one a line
//   GuiDriver focus <title>                   print the id of the control with the keyboard focus
//   GuiDriver default <title>                 print the id of the push button framed as the default
//   GuiDriver icons <exe>                     print the sizes in the file's first icon group
//   GuiDriver version <exe>                   print the file's version resource: the fixed file
//                                             and product versions, then its FileVersion and
//                                             ProductVersion texts, one a line
//   GuiDriver manifest <exe>                  print the file's manifest resource
//   GuiDriver close <title>                   ask the window to close
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct TFind {
  std::wstring Text;
  int Id = -1;
  HWND Found = nullptr;
  std::wstring Longest;
  HWND FirstButton = nullptr;
};

// WM_GETTEXT rather than GetWindowTextW: across processes only the message reaches an
// edit control's content.
std::wstring TextOf(HWND h) {
  wchar_t buffer[4096];
  DWORD_PTR n = 0;
  if (!::SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &n))
    return {};
  return std::wstring(buffer, static_cast<std::size_t>(n));
}

std::wstring ClassOf(HWND h) {
  wchar_t buffer[256];
  int n = ::GetClassNameW(h, buffer, 256);
  return std::wstring(buffer, n > 0 ? n : 0);
}

BOOL CALLBACK FindChild(HWND h, LPARAM p) {
  auto* f = reinterpret_cast<TFind*>(p);
  if ((f->Id >= 0 && ::GetDlgCtrlID(h) == f->Id) || (f->Id < 0 && TextOf(h) == f->Text)) {
    f->Found = h;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK ScanBox(HWND h, LPARAM p) {
  auto* f = reinterpret_cast<TFind*>(p);
  const std::wstring cls = ClassOf(h);
  if (_wcsicmp(cls.c_str(), L"Static") == 0 && TextOf(h).size() > f->Longest.size()) f->Longest = TextOf(h);
  if (_wcsicmp(cls.c_str(), L"Button") == 0 && !f->FirstButton) f->FirstButton = h;
  return TRUE;
}

void PrintUtf8(const std::wstring& w) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fputc('\n', stdout);
}

BOOL CALLBACK PrintText(HWND h, LPARAM) {
  const std::wstring text = TextOf(h);
  if (!text.empty()) PrintUtf8(text);
  return TRUE;
}

// The control of top that has the keyboard focus (of the thread that owns top).
HWND FocusOf(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

HWND DefaultButtonOf(HWND top) {
  for (HWND child = ::GetWindow(top, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (_wcsicmp(ClassOf(child).c_str(), L"Button") == 0 &&
        (::GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      return child;
  return nullptr;
}

#pragma pack(push, 2)
struct TGroupEntry {  // one image of an icon group resource
  BYTE Width, Height, Colors, Reserved;
  WORD Planes, BitCount;
  DWORD Bytes;
  WORD Id;
};
#pragma pack(pop)

BOOL CALLBACK FirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR p) {
  *reinterpret_cast<LPWSTR*>(p) = name;  // an id, or a name that lives as long as the module
  return FALSE;
}

// The sizes of the first icon group in the file, which is the one Explorer shows.
int PrintIconSizes(const wchar_t* file) {
  HMODULE module = ::LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return 1;
  LPWSTR first = nullptr;
  ::EnumResourceNamesW(module, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, FirstName, reinterpret_cast<LONG_PTR>(&first));
  HRSRC info = first ? ::FindResourceW(module, first, MAKEINTRESOURCEW(14)) : nullptr;
  const BYTE* data = info ? static_cast<const BYTE*>(::LockResource(::LoadResource(module, info))) : nullptr;
  if (!data) return 1;
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  const auto* entries = reinterpret_cast<const TGroupEntry*>(data + 6);
  for (WORD i = 0; i < count; ++i) std::printf("%s%d", i ? " " : "", entries[i].Width ? entries[i].Width : 256);
  std::printf("\n");
  return 0;
}

// The version resource: what Explorer's properties show.
int PrintVersion(const wchar_t* file) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file, &ignored);
  if (!size) return 1;
  std::vector<BYTE> data(size);
  if (!::GetFileVersionInfoW(file, 0, size, data.data())) return 1;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return 1;
  const auto print = [](DWORD high, DWORD low) {
    std::printf("%u.%u.%u.%u\n", HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
  };
  print(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
  print(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
  for (const wchar_t* name :
       {L"\\StringFileInfo\\041904B0\\FileVersion", L"\\StringFileInfo\\041904B0\\ProductVersion"}) {
    wchar_t* text = nullptr;
    if (!::VerQueryValueW(data.data(), name, reinterpret_cast<void**>(&text), &length) || !text) return 1;
    PrintUtf8(text);
  }
  return 0;
}

// The manifest resource (RT_MANIFEST, id 1) as it is stored (UTF-8).
int PrintManifest(const wchar_t* file) {
  HMODULE module = ::LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC info = module ? ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
  const void* data = info ? ::LockResource(::LoadResource(module, info)) : nullptr;
  if (!data) return 1;
  std::fwrite(data, 1, ::SizeofResource(module, info), stdout);
  return 0;
}

HWND Child(HWND top, const wchar_t* what, bool byId) {
  TFind f;
  if (byId) {
    f.Id = _wtoi(what);
  } else {
    f.Text = what;
  }
  ::EnumChildWindows(top, FindChild, reinterpret_cast<LPARAM>(&f));
  return f.Found;
}

}  // namespace

// Wide arguments, so captions in Cyrillic arrive intact.
int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring command = argv[1];
  if (command == L"box") {
    const DWORD until = ::GetTickCount() + static_cast<DWORD>(_wtoi(argv[2]) * 1000);
    while (::GetTickCount() < until) {
      HWND box = ::FindWindowW(L"#32770", nullptr);
      if (box && ::IsWindowVisible(box)) {
        ::Sleep(300);  // let it finish drawing
        TFind f;
        ::EnumChildWindows(box, ScanBox, reinterpret_cast<LPARAM>(&f));
        PrintUtf8(TextOf(box));
        PrintUtf8(f.Longest);
        if (f.FirstButton) ::PostMessageW(f.FirstButton, BM_CLICK, 0, 0);
        for (int i = 0; i < 50 && ::IsWindow(box); ++i) ::Sleep(100);
        return 0;
      }
      ::Sleep(100);
    }
    std::fprintf(stderr, "no message box appeared\n");
    return 1;
  }
  if (command == L"icons") return PrintIconSizes(argv[2]);
  if (command == L"version") return PrintVersion(argv[2]);
  if (command == L"manifest") return PrintManifest(argv[2]);
  const std::wstring title = argv[2];
  if (command == L"wait") {
    const DWORD until = ::GetTickCount() + static_cast<DWORD>((argc > 3 ? _wtoi(argv[3]) : 30) * 1000);
    while (::GetTickCount() < until) {
      if (::FindWindowW(nullptr, title.c_str())) return 0;
      ::Sleep(100);
    }
    return 1;
  }
  HWND top = ::FindWindowW(nullptr, title.c_str());
  if (!top) {
    std::fprintf(stderr, "window not found\n");
    return 1;
  }
  if (command == L"close") {
    ::PostMessageW(top, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"texts") {
    ::EnumChildWindows(top, PrintText, 0);
    return 0;
  }
  if (command == L"focus" || command == L"default") {
    HWND h = command == L"focus" ? FocusOf(top) : DefaultButtonOf(top);
    std::printf("%d\n", h ? ::GetDlgCtrlID(h) : 0);
    return 0;
  }
  if (argc < 4) return 2;
  HWND child = Child(top, argv[3], command != L"click");
  if (!child) {
    std::fprintf(stderr, "control not found\n");
    return 1;
  }
  if (command == L"click") {
    ::PostMessageW(child, BM_CLICK, 0, 0);
  } else if (command == L"text") {
    PrintUtf8(TextOf(child));
  } else if (command == L"rect") {
    RECT r;
    ::GetWindowRect(child, &r);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  } else {
    return 2;
  }
  return 0;
}
