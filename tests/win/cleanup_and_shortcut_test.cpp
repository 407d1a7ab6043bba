// The clean-up's subtree delete against the real registry (links inside an entry are removed
// as links, never followed), refused deletes, and shortcuts read through the shell link object.
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "operations/registry_cleanup.h"
#include "platform/win32/shell_link.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_registry.h"
#include "win_fixture.h"

namespace orv::test {
namespace {

const std::wstring kTarget = L"Software\\OrvWinLinkTarget";

bool KeyExists(HKEY hive, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A symbolic link at hive\path that points to HKEY_LOCAL_MACHINE\<target>.
bool MakeLink(HKEY hive, const std::wstring& path, const std::wstring& target) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(hive, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const std::wstring native = L"\\Registry\\Machine\\" + target;
  LONG rc = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK,
                           reinterpret_cast<const BYTE*>(native.c_str()),
                           static_cast<DWORD>(native.size() * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

class CleanupRealRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    RegKeyWriter(HKEY_LOCAL_MACHINE, kTarget + L"\\Keep").Str(L"Value", L"stays");
  }
  void TearDown() override {
    DeleteTree(HKEY_LOCAL_MACHINE, kTarget);
    DeleteTree(HKEY_CURRENT_USER, entry);
  }
  const std::wstring entry = std::wstring(kUninstallW) + L"OrvWinLinked";
  Win32Registry registry;
};

TEST_F(CleanupRealRegistry, LinkInsideTheEntryIsRemovedAndItsTargetStays) {
  RegKeyWriter(HKEY_CURRENT_USER, entry + L"\\Normal\\Deep").Str(L"X", L"y");
  ASSERT_TRUE(MakeLink(HKEY_CURRENT_USER, entry + L"\\Jump", kTarget));
  // The link leads out of the entry: through it the target's subkey is visible.
  ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, entry + L"\\Jump\\Keep"));

  CleanupResult result = RunCleanup(registry, {RegistryRoot::CurrentUser, "OrvWinLinked"},
                                    CleanupCommand::RemoveRegEntry);
  EXPECT_EQ(result.kind, CleanupResult::Deleted) << result.error;
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, entry));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kTarget + L"\\Keep"));
}

TEST_F(CleanupRealRegistry, EntryThatIsItselfALinkGoesAloneAsALink) {
  ASSERT_TRUE(MakeLink(HKEY_CURRENT_USER, entry, kTarget));
  ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, entry + L"\\Keep"));
  CleanupResult result = RunCleanup(registry, {RegistryRoot::CurrentUser, "OrvWinLinked"},
                                    CleanupCommand::RemoveRegEntry);
  EXPECT_EQ(result.kind, CleanupResult::Deleted) << result.error;
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, entry));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kTarget + L"\\Keep"));
}

TEST_F(CleanupRealRegistry, ADeleteTheSystemRefusesIsReportedAndTheKeyStays) {
  RegKeyWriter(HKEY_CURRENT_USER, entry).Str(L"DisplayName", L"locked");
  // Everyone is denied deleting the entry's key.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, entry.c_str(), 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  ASSERT_TRUE(
      AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
  EXPLICIT_ACCESSW access[2]{};
  access[0].grfAccessPermissions = DELETE;
  access[0].grfAccessMode = DENY_ACCESS;
  access[0].Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access[0].Trustee.ptstrName = static_cast<LPWSTR>(everyone);
  access[1] = access[0];
  access[1].grfAccessPermissions = KEY_READ | KEY_WRITE;
  access[1].grfAccessMode = GRANT_ACCESS;
  PACL acl = nullptr;
  ASSERT_EQ(SetEntriesInAclW(2, access, nullptr, &acl), ERROR_SUCCESS);
  SECURITY_DESCRIPTOR sd{};
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
  ASSERT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
  RegCloseKey(key);
  LocalFree(acl);
  FreeSid(everyone);

  CleanupResult result = RunCleanup(registry, {RegistryRoot::CurrentUser, "OrvWinLinked"},
                                    CleanupCommand::RemoveRegEntry);
  EXPECT_EQ(result.kind, CleanupResult::Refused);
  EXPECT_EQ(result.error, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, entry));
  EXPECT_NE(SystemErrorText(result.error).find("(5)"), std::string::npos);
  EXPECT_GT(SystemErrorText(result.error).size(), 4u);

  // Lift the denial so the fixture can clean up.
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, entry.c_str(), 0, WRITE_DAC, &key), ERROR_SUCCESS);
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
  RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
  RegCloseKey(key);
}

// A shortcut to `target` saved at `path` through the shell link object.
bool SaveShortcut(const std::wstring& path, const std::wstring& target) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
               SUCCEEDED(link->SetPath(target.c_str())) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
               SUCCEEDED(file->Save(path.c_str(), TRUE));
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return saved;
}

TEST(ShortcutFiles, ResolveToTheirTargetOrToNothing) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"OrvLinkTest ショートカット\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring target = folder + L"ツール.exe";
  HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  ASSERT_TRUE(SaveShortcut(folder + L"ツール.LNK", target));
  const std::wstring notALink = folder + L"plain.lnk";
  file = CreateFileW(notALink.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "not a shortcut", 14, &written, nullptr);
  CloseHandle(file);

  EXPECT_TRUE(EqualsAsciiNoCase(ResolveShortcut(Narrow(folder + L"ツール.LNK")), Narrow(target)));
  EXPECT_EQ(ResolveShortcut(Narrow(notALink)), "");
  EXPECT_EQ(ResolveShortcut(Narrow(folder + L"missing.lnk")), "");

  for (const wchar_t* name : {L"ツール.LNK", L"plain.lnk", L"ツール.exe"})
    DeleteFileW((folder + name).c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace orv::test
