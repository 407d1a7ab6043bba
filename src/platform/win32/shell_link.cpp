#include "platform/win32/shell_link.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/scope_exit.h"
#include "platform/win32/wide.h"

namespace orv {
namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

}  // namespace

std::string ResolveShortcut(const std::string& path) {
  // The library is set up for this call and released again on every path; a thread that
  // already runs another model still gets the object, just without our own set-up.
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ScopeExit uninit([initialized = SUCCEEDED(init)] {
    if (initialized) CoUninitialize();
  });

  std::string target;
  {
    Released<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link.p))))
      return target;
    Released<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))))
      return target;
    const std::wstring wide = Widen(path);
    if (FAILED(file.p->Load(wide.c_str(), STGM_READ))) return target;
    wchar_t buffer[MAX_PATH * 4] = {};
    WIN32_FIND_DATAW found{};
    if (link.p->GetPath(buffer, static_cast<int>(std::size(buffer)), &found, SLGP_UNCPRIORITY) ==
        S_OK)
      target = Narrow(buffer);
  }
  return target;
}

}  // namespace orv
