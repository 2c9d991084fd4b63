// velmora_copydata.exe BYTES (HWND | CLASS TITLE): sends one WM_COPYDATA of
// BYTES zero bytes to the window, as another program may, and waits at most
// two seconds for the answer. Exit code 0 when it was answered, 1 when it
// was not (Wine cannot hand over a message of a few MB: the receiver's
// GetMessageW fails), 2 when there is no such window.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argc < 3) return 3;
  const unsigned long long bytes = std::wcstoull(argv[1], nullptr, 10);
  HWND target = nullptr;
  if (argc >= 4) {
    target = ::FindWindowW(argv[2], argv[3]);
  } else {
    target = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(argv[2], nullptr, 0)));
  }
  ::LocalFree(argv);
  if (!target || !::IsWindow(target)) return 2;

  std::vector<unsigned char> data(static_cast<size_t>(bytes), 0);
  COPYDATASTRUCT message{};
  message.cbData = static_cast<DWORD>(data.size());
  message.lpData = data.data();
  DWORD_PTR result = 0;
  const LRESULT answered = ::SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message),
                                                 SMTO_ABORTIFHUNG, 2000, &result);
  return answered ? 0 : 1;
}
