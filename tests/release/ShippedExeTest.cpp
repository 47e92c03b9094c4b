// The shipped exe as built: what its resources say and which DLLs it needs.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

// The exe mapped as an image for reading, not for running.
class MappedExe {
 public:
  MappedExe() : module_(LoadLibraryExW(OMBREL_EXE, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE)) {}
  ~MappedExe() {
    if (module_) FreeLibrary(module_);
  }
  MappedExe(const MappedExe&) = delete;
  MappedExe& operator=(const MappedExe&) = delete;
  HMODULE Handle() const { return module_; }
  // The image's first byte: the handle of a module mapped for reading has its low bits set.
  const BYTE* Base() const { return reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module_) & ~ULONG_PTR{3}); }

  std::string Resource(const wchar_t* type, int id) const {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return data ? std::string(data, SizeofResource(module_, found)) : std::string();
  }

  std::set<std::string> ImportedDlls() const {
    const BYTE* base = Base();
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::set<std::string> names;
    for (auto entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         imports.VirtualAddress && entry->Name; ++entry) {
      std::string name = reinterpret_cast<const char*>(base + entry->Name);
      CharLowerA(name.data());
      names.insert(name);
    }
    return names;
  }

 private:
  HMODULE module_;
};

std::string FileBytes() {
  std::ifstream file(OMBREL_EXE_ANSI, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// "7.20" as the version resource's numbers put it: 7.20.0.0.
std::string FourPartVersion() { return std::string(OMBREL_VERSION) + ".0.0"; }

TEST(ShippedExe, ManifestAsksForAdministratorRightsAndNamesWindows7To11) {
  MappedExe exe;
  ASSERT_NE(exe.Handle(), nullptr);
  const std::string manifest = exe.Resource(RT_MANIFEST, 1);
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"),
            std::string::npos);
  for (const char* windows : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                              "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + windows + "}\"/>"), std::string::npos) << windows;
  EXPECT_NE(manifest.find("name=\"Tarvexi.Ombrel.OmbrelSetup\" version=\"" + FourPartVersion() + "\""),
            std::string::npos);
}

TEST(ShippedExe, VersionResourceSaysTheProgramsVersion) {
  DWORD size = GetFileVersionInfoSizeW(OMBREL_EXE, nullptr);
  ASSERT_GT(size, 0u);
  std::string info(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(OMBREL_EXE, 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numbers, FourPartVersion());
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904E4\\ProductVersion",
                             reinterpret_cast<void**>(&text), &length));
  EXPECT_EQ(std::wstring(text), std::wstring(OMBREL_VERSION, OMBREL_VERSION + sizeof(OMBREL_VERSION) - 1));
}

TEST(ShippedExe, NeedsNoDllBeyondTheSystems) {
  MappedExe exe;
  ASSERT_NE(exe.Handle(), nullptr);
  const std::set<std::string> system = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",
                                        "kernel32.dll", "msvcrt.dll",   "ole32.dll",    "shell32.dll",
                                        "user32.dll"};
  const std::set<std::string> imported = exe.ImportedDlls();
  EXPECT_TRUE(imported.count("kernel32.dll"));
  for (const std::string& dll : imported) EXPECT_TRUE(system.count(dll)) << dll << " is not a system DLL";
}

// The start-up trace's switch belongs to the benchmark build only.
TEST(ShippedExe, ReadsNoEnvironmentVariable) {
  const std::string bytes = FileBytes();
  ASSERT_GT(bytes.size(), 100000u);
  const std::string name = "OMBREL_STARTUP_TRACE";
  std::string wide;
  for (char c : name) wide += {c, '\0'};
  EXPECT_EQ(bytes.find(name), std::string::npos);
  EXPECT_EQ(bytes.find(wide), std::string::npos);
}

}  // namespace
