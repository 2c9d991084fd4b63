#include "win32/settings_files.h"

#include <windows.h>
#include <shlobj.h>

#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

DWORD Attributes(const Text& path) { return ::GetFileAttributesW(Wide(path)); }

// Removes a temporary file that did not make it into place.
struct TempFile {
  Text path;
  bool keep = false;
  ~TempFile() {
    if (!keep && !path.empty()) ::DeleteFileW(Wide(path));
  }
};

}  // namespace

std::optional<Text> Win32SettingsFiles::SpecialFolder(int csidl) {
  wchar_t buf[MAX_PATH + 1] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, buf))) return std::nullopt;
  return FromWide(buf);
}

bool Win32SettingsFiles::DirectoryExists(const Text& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void Win32SettingsFiles::MakeDirectory(const Text& path) { ::CreateDirectoryW(Wide(path), nullptr); }

bool Win32SettingsFiles::FileExists(const Text& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32SettingsFiles::ReadWholeFile(const Text& path, std::string& bytes, std::uint32_t& error) {
  const auto file = OwnFileHandle(::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = ::GetLastError();
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) {
    error = size.QuadPart > (64 << 20) ? ERROR_FILE_TOO_LARGE : ::GetLastError();
    return false;
  }
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
      error = ::GetLastError();
      return false;
    }
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return true;
}

bool Win32SettingsFiles::ReplaceFileAtomically(const Text& path, const std::string& bytes, std::uint32_t& error) {
  // Write the new content beside the file, flush it, then swap it in: a
  // crash at any moment leaves either the old file or the new one.
  const DWORD attributes = Attributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // A folder is never replaced by a file (Wine would do it; Windows refuses).
    error = ERROR_ACCESS_DENIED;
    return false;
  }
  const auto slash = path.find_last_of(u'\\');
  const Text folder = slash == Text::npos ? Text(u".") : path.substr(0, slash);
  wchar_t tempName[MAX_PATH + 1] = {};
  if (!::GetTempFileNameW(Wide(folder), L"vel", 0, tempName)) {
    error = ::GetLastError();
    return false;
  }
  TempFile temp{FromWide(tempName)};
  {
    const auto file = OwnFileHandle(
        ::CreateFileW(tempName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      error = ::GetLastError();
      return false;
    }
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !::FlushFileBuffers(file.get())) {
      error = ::GetLastError();
      return false;
    }
  }
  // A rename within one folder replaces the file in one step.
  const BOOL moved = ::MoveFileExW(tempName, Wide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!moved) {
    error = ::GetLastError();
    return false;
  }
  temp.keep = true;
  return true;
}

Text Win32SettingsFiles::ErrorText(std::uint32_t error) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  Text text = n ? FromWide(buffer, n) : Text();
  if (buffer) ::LocalFree(buffer);
  // The system's text ends in a line break (and often a full stop).
  while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.pop_back();
  return text;
}

Text Win32CodePage::Decode(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return FromWide(out);
}

std::string Win32CodePage::Encode(TextView text) {
  if (text.empty()) return {};
  const auto* w = reinterpret_cast<const wchar_t*>(text.data());
  const int n = ::WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

bool Win32CodePage::IsUtf8() { return ::GetACP() == CP_UTF8; }

}  // namespace velmora::win32
