#include "win32/config_form.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <variant>
#include <vector>

#include "core/button_glyph.h"
#include "core/sound.h"
#include "win32/error_box.h"
#include "win32/group_box.h"
#include "win32/message_box.h"
#include "win32/system_library.h"
#include "win32/wide.h"
#include "win32/window_proc.h"

namespace velmora::win32 {

namespace {

using I = ConfigItem;

enum class Kind { Group, Frame, RadioGroup, Check, Label, Combo, Number, UpDown, Edit, Button, DefButton, List };

struct ControlSpec {
  ConfigItem item;
  ConfigItem parent;  // Count: the form
  Kind kind;
  int left, top, width, height;  // at 96 pixels per inch, in the parent's client area
  const wchar_t* caption;
};

constexpr I kForm = I::Count;

// Creation order is tab order. A label comes right before the control it
// focuses, so that its mnemonic lands there.
constexpr ControlSpec kControls[] = {
    {I::GroupBoxDisp, kForm, Kind::Group, 10, 5, 265, 275, L"表示項目(&I)"},
    {I::RadioGroupDate, I::GroupBoxDisp, Kind::RadioGroup, 10, 20, 245, 85, L"日付(&D)"},
    {I::RadioGroupTime, I::GroupBoxDisp, Kind::RadioGroup, 10, 115, 245, 85, L"時刻(&T)"},
    {I::ChkItem, I::GroupBoxDisp, Kind::Check, 15, 205, 225, 20, L"表示項目名を省略(&G)"},
    {I::Label1, I::GroupBoxDisp, Kind::Label, 100, 240, 65, 12, L"msで更新(&U)"},
    {I::ComboBoxTimer, I::GroupBoxDisp, Kind::Combo, 15, 235, 80, 20, nullptr},
    {I::GroupBoxAlarm, kForm, Kind::Frame, 10, 290, 265, 150, nullptr},
    {I::CHKAlarm, I::GroupBoxAlarm, Kind::Check, 0, 5, 100, 17, L"アラーム(&A)"},
    {I::LabelAlarm, I::GroupBoxAlarm, Kind::Label, 90, 33, 117, 12, L"秒間タイトルバー点滅(&L)"},
    {I::TXTAlarm, I::GroupBoxAlarm, Kind::Number, 10, 30, 40, 20, nullptr},
    {I::UDAlarm, I::GroupBoxAlarm, Kind::UpDown, 50, 30, 32, 20, nullptr},
    {I::UDHour, I::GroupBoxAlarm, Kind::UpDown, 75, 64, 32, 20, nullptr},
    {I::LabelHour, I::GroupBoxAlarm, Kind::Label, 110, 66, 28, 12, L"時(&H)"},
    {I::TXTHour, I::GroupBoxAlarm, Kind::Number, 35, 64, 40, 20, nullptr},
    {I::LabelMin, I::GroupBoxAlarm, Kind::Label, 215, 66, 29, 12, L"分(&M)"},
    {I::TXTMin, I::GroupBoxAlarm, Kind::Number, 145, 64, 35, 20, nullptr},
    {I::UDMin, I::GroupBoxAlarm, Kind::UpDown, 180, 64, 32, 20, nullptr},
    {I::CHKAlarmWav, I::GroupBoxAlarm, Kind::Check, 10, 90, 100, 17, L"サウンド(&O)"},
    {I::EditAlarmWav, I::GroupBoxAlarm, Kind::Edit, 10, 110, 170, 20, nullptr},
    {I::BtnAlarmWav, I::GroupBoxAlarm, Kind::Button, 190, 108, 65, 25, L"参照(&N)"},
    {I::GroupBoxWhistle, kForm, Kind::Frame, 290, 290, 265, 115, nullptr},
    {I::ChkWhistle, I::GroupBoxWhistle, Kind::Check, 0, 5, 80, 17, L"時報(&P)"},
    {I::LabelWhistle, I::GroupBoxWhistle, Kind::Label, 90, 33, 118, 12, L"秒間タイトルバー点滅(&S)"},
    {I::TXTWhistle, I::GroupBoxWhistle, Kind::Number, 10, 30, 40, 20, nullptr},
    {I::UDWhistle, I::GroupBoxWhistle, Kind::UpDown, 50, 30, 32, 20, nullptr},
    {I::ChkWhistleWav, I::GroupBoxWhistle, Kind::Check, 10, 60, 100, 17, L"サウンド(&U)"},
    {I::EditWhistleWav, I::GroupBoxWhistle, Kind::Edit, 10, 80, 170, 20, nullptr},
    {I::BtntWhistleWav, I::GroupBoxWhistle, Kind::Button, 190, 78, 65, 25, L"参照(&Y)"},
    {I::GroupBoxDisable, kForm, Kind::Group, 290, 5, 265, 175, L"タイトルを書き換えないプログラム(&E)"},
    {I::BtnRef, I::GroupBoxDisable, Kind::Button, 165, 20, 90, 25, L"参 照（&R）"},
    {I::ListBox, I::GroupBoxDisable, Kind::List, 10, 20, 145, 60, nullptr},
    {I::BtnDel, I::GroupBoxDisable, Kind::Button, 165, 55, 90, 25, L"削 除（&X）"},
    {I::CHKDialog, I::GroupBoxDisable, Kind::Check, 10, 150, 250, 17, L"ダイアログはすべて書き換えない(&W)"},
    {I::ListBoxLog, I::GroupBoxDisable, Kind::List, 10, 90, 145, 50, nullptr},
    {I::BtnLog, I::GroupBoxDisable, Kind::Button, 165, 90, 90, 25, L"追 加（&B）"},
    {I::GroupBoxMem, kForm, Kind::Frame, 290, 190, 265, 90, nullptr},
    {I::ChkMem, I::GroupBoxMem, Kind::Check, 0, 5, 140, 17, L"メモリ最適化ソフト(&Q)"},
    {I::LabelMem, I::GroupBoxMem, Kind::Label, 90, 33, 114, 12, L"%以上になったら実行(&C)"},
    {I::TXTMem, I::GroupBoxMem, Kind::Number, 10, 30, 40, 20, nullptr},
    {I::UDMem, I::GroupBoxMem, Kind::UpDown, 50, 30, 32, 20, nullptr},
    {I::EditMem, I::GroupBoxMem, Kind::Edit, 10, 54, 170, 20, nullptr},
    {I::BtnMem, I::GroupBoxMem, Kind::Button, 190, 52, 65, 25, L"参照(&F)"},
    {I::BtnOK, kForm, Kind::DefButton, 310, 415, 110, 25, L"OK"},
    {I::BtnCancel, kForm, Kind::Button, 440, 415, 110, 25, L"キャンセル"},
};
static_assert(std::size(kControls) == kConfigItemCount);

// Each item's row stands at its own place.
constexpr bool InItemOrder() {
  for (std::size_t k = 0; k < std::size(kControls); ++k) {
    if (kControls[k].item != static_cast<ConfigItem>(k)) return false;
  }
  return true;
}
static_assert(InItemOrder());
const ControlSpec& SpecOf(ConfigItem item) { return kControls[static_cast<std::size_t>(item)]; }

// A setting's editor holds its kind of value: a flag a check box, an
// integer a radio group, the interval list or an up-down, a text an edit box.
constexpr bool EditorsFitTheirSettings() {
  for (const DialogSetting& setting : kDialogSettings) {
    const Kind kind = kControls[static_cast<std::size_t>(setting.control)].kind;
    const bool fits = setting.field.index() == 0   ? kind == Kind::Check
                      : setting.field.index() == 1 ? kind == Kind::RadioGroup || kind == Kind::Combo || kind == Kind::UpDown
                                                   : kind == Kind::Edit;
    if (!fits) return false;
  }
  return true;
}
static_assert(EditorsFitTheirSettings());

constexpr const wchar_t* kDateItems[] = {L"年/月/日(曜日)", L"年/月/日", L"月/日(曜日)", L"月/日"};
constexpr const wchar_t* kTimeItems[] = {L"時:分:秒[24時間]", L"時:分    [24時間]", L"時:分:秒[12時間]",
                                         L"時:分    [12時間]"};

// The up-downs and the field each one fills. An up-down's range and its
// position at design are those of the setting it edits.
struct UpDownSpec {
  ConfigItem upDown;
  ConfigItem field;
  int number;  // index into numbers_
};
constexpr UpDownSpec kUpDowns[] = {
    {I::UDAlarm, I::TXTAlarm, 0}, {I::UDHour, I::TXTHour, 1},     {I::UDMin, I::TXTMin, 2},
    {I::UDWhistle, I::TXTWhistle, 3}, {I::UDMem, I::TXTMem, 4},
};

const UpDownRange& RangeOf(ConfigItem upDown) { return SettingEditedBy(upDown)->range; }

// --- DPI functions of newer systems, looked up once ---------------------------

UINT DpiOfWindow(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (fn && hwnd) {
    if (const UINT dpi = fn(hwnd)) return dpi;
  }
  const HDC dc = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

bool NonClientMetrics(NONCLIENTMETRICSW& ncm, UINT dpi) {
  using Fn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const Fn fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  ncm = {};
  ncm.cbSize = sizeof(ncm);
  if (fn && fn(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0, dpi)) return true;
  return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0) != FALSE;
}

void AdjustForDpi(RECT& r, DWORD style, DWORD exStyle, UINT dpi) {
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const Fn fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!fn || !fn(&r, style, FALSE, exStyle, dpi)) ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

// The common controls library is loaded when the dialog is first shown, and
// then kept. Loaded with the program it would cost the resident program
// memory all day (under Wine about 1.7 MB) for a dialog most sessions never
// open. The program's manifest makes this the version 6 library.
bool InitCommonControlsOnce() {
  using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const UniqueModule library(LoadSystemLibrary(L"comctl32.dll"));
  static const bool ready = [] {
    const auto init = library ? reinterpret_cast<InitProc>(reinterpret_cast<void*>(
                                    ::GetProcAddress(library.get(), "InitCommonControlsEx")))
                              : nullptr;
    const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    return init != nullptr && init(&icc) != FALSE;
  }();
  return ready;
}

bool RegisterClasses(HINSTANCE instance) {
  if (!InitCommonControlsOnce()) return false;

  if (!RegisterGroupBoxClass(instance)) return false;

  // A dialog window class of our own, so that the dialog manager's default
  // button, focus memory and WM_NEXTDLGCTL work for it.
  WNDCLASSEXW form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = &ForwardingWindowProc<TConfigForm>;
  form.cbWndExtra = DLGWINDOWEXTRA;
  form.hInstance = instance;
  form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.lpszClassName = kConfigFormClass;
  return ::RegisterClassExW(&form) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND MakeChild(HINSTANCE instance, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
               int id) {
  return ::CreateWindowExW(exStyle, cls, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

std::vector<Text> ListItems(HWND list) {
  std::vector<Text> items;
  const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const auto len = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(len, 0)) + 1, L'\0');
    const auto got = ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    items.push_back(FromWide(text.data(), static_cast<std::size_t>(std::max<LRESULT>(got, 0))));
  }
  return items;
}

void SetListItems(HWND list, const std::vector<Text>& items) {
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const Text& item : items) ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

bool HasSelection(HWND list) { return ::SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR; }

}  // namespace

// --- the form ------------------------------------------------------------------

TConfigForm::TConfigForm(HINSTANCE instance, TSettings& settings, SettingsStorage& storage, HWND appWindow)
    : ChooseFile(&RunOpenFileDialog),
      instance_(instance),
      settings_(settings),
      storage_(storage),
      appWindow_(appWindow) {}

TConfigForm::~TConfigForm() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

int TConfigForm::IdOf(ConfigItem item) {
  if (item == I::BtnOK) return IDOK;
  if (item == I::BtnCancel) return IDCANCEL;
  return kFirstConfigId + static_cast<int>(item);
}

bool TConfigForm::Create() {
  if (created_) return false;
  created_ = true;
  // A failed load is shown, and the interval then stays as it is.
  RunGuarded(nullptr, [&] {
    storage_.LoadSettings(settings_);
    loaded_ = true;
  });
  return true;
}

bool TConfigForm::HandleNeeded() {
  if (hwnd_) return true;
  if (!created_ || !CreateWindowAndControls()) return false;
  ShowSettings(settings_);
  return true;
}

bool TConfigForm::CreateWindowAndControls() {
  if (!RegisterClasses(instance_)) return false;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  dpi_ = DpiOfWindow(nullptr);
  RECT r{0, 0, ::MulDiv(567, static_cast<int>(dpi_), 96), ::MulDiv(453, static_cast<int>(dpi_), 96)};
  AdjustForDpi(r, style, exStyle, dpi_);
  ::CreateWindowExW(exStyle, kConfigFormClass, kConfigFormCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                    r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  // On a monitor of another scale the window itself tells the right one.
  if (const UINT dpi = DpiOfWindow(hwnd_); dpi != dpi_) {
    dpi_ = dpi;
    RECT client{0, 0, ::MulDiv(567, static_cast<int>(dpi_), 96), ::MulDiv(453, static_cast<int>(dpi_), 96)};
    AdjustForDpi(client, style, exStyle, dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateFonts();     // the menu font's face first: the controls take the font
  CreateControls();  // with the radio items
  Layout();
  return true;
}

void TConfigForm::CreateFonts() {
  LOGFONTW lf{};
  lf.lfHeight = -::MulDiv(12, static_cast<int>(dpi_), 96);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcscpy_s(lf.lfFaceName, L"MS UI Gothic");
  memFont_.reset(::CreateFontIndirectW(&lf));
  NONCLIENTMETRICSW ncm;
  if (NonClientMetrics(ncm, dpi_) && ncm.lfMenuFont.lfFaceName[0]) {
    wcscpy_s(lf.lfFaceName, ncm.lfMenuFont.lfFaceName);
  }
  font_.reset(::CreateFontIndirectW(&lf));
}

void TConfigForm::CreateControls() {
  for (const ControlSpec& spec : kControls) {
    const HWND parent = spec.parent == kForm ? hwnd_ : Item(spec.parent);
    const int id = IdOf(spec.item);
    const RECT r = Scaled(spec.left, spec.top, spec.width, spec.height);
    HWND hwnd = nullptr;
    switch (spec.kind) {
      case Kind::Group:
      case Kind::Frame:
      case Kind::RadioGroup:
        hwnd = CreateGroupBox(instance_, parent, id, spec.caption);
        break;
      case Kind::Check:
        hwnd = MakeChild(instance_, L"BUTTON", spec.caption, BS_AUTOCHECKBOX | WS_TABSTOP, 0, parent, id);
        break;
      case Kind::Label:
        hwnd = MakeChild(instance_, L"STATIC", spec.caption, SS_LEFTNOWORDWRAP, 0, parent, id);
        break;
      case Kind::Combo:
        hwnd = MakeChild(instance_, L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, parent, id);
        break;
      case Kind::Number: {
        auto& number = numbers_[static_cast<std::size_t>(
            std::find_if(std::begin(kUpDowns), std::end(kUpDowns),
                         [&](const UpDownSpec& u) { return u.field == spec.item; })->number)];
        number = std::make_unique<TNumberEdit>();
        number->Create(parent, id, r.left, r.top, r.right - r.left, r.bottom - r.top);
        number->SetReadOnly(true);
        number->SetColor(TColor::System(COLOR_BTNFACE));  // after the parent, which resets it
        number->SetText(u"0");
        hwnd = number->Handle();
        break;
      }
      case Kind::UpDown:
        hwnd = MakeChild(instance_, UPDOWN_CLASSW, nullptr, UDS_WRAP | UDS_ARROWKEYS | UDS_ALIGNRIGHT, 0, parent, id);
        break;
      case Kind::Edit:
        hwnd = MakeChild(instance_, L"EDIT", nullptr, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, parent, id);
        break;
      case Kind::Button:
      case Kind::DefButton: {
        DWORD style = (spec.kind == Kind::DefButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
        if (spec.item == I::BtnDel || spec.item == I::BtnLog) style |= WS_DISABLED;
        hwnd = MakeChild(instance_, L"BUTTON", spec.caption, style, 0, parent, id);
        break;
      }
      case Kind::List:
        hwnd = MakeChild(instance_, L"LISTBOX", nullptr, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                         WS_EX_CLIENTEDGE, parent, id);
        break;
    }
    items_[static_cast<std::size_t>(spec.item)] = hwnd;

    if (spec.kind == Kind::RadioGroup) {
      // The items are set here, replacing whatever a design had.
      const auto& texts = spec.item == I::RadioGroupDate ? kDateItems : kTimeItems;
      auto& radios = RadiosOf(spec.item);
      for (std::size_t k = 0; k < radios.size(); ++k) {
        radios[k] = MakeChild(instance_, L"BUTTON", texts[k], BS_AUTORADIOBUTTON | (k == 0 ? WS_GROUP | WS_TABSTOP : 0),
                              0, hwnd, id * 10 + static_cast<int>(k));
      }
    }
    if (spec.kind == Kind::Combo) {
      for (int k = 0; k < kIntervalCount; ++k) {
        ::SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(IntervalItemText(k))));
      }
    }
  }
  // Step 1 however long an arrow is held: the control's own acceleration
  // (1, then 5, then 20) would jump across a range that wraps.
  UDACCEL oneStep{0, 1};
  for (const UpDownSpec& u : kUpDowns) {
    const UpDownRange& range = RangeOf(u.upDown);
    ::SendMessageW(Item(u.upDown), UDM_SETRANGE32, static_cast<WPARAM>(range.min), range.max);
    ::SendMessageW(Item(u.upDown), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&oneStep));
    SetUpDownPosition(u.upDown, SettingEditedBy(u.upDown)->initial);
  }
}

RECT TConfigForm::Scaled(int left, int top, int width, int height) const {
  const int dpi = static_cast<int>(dpi_);
  const int l = ::MulDiv(left, dpi, 96), t = ::MulDiv(top, dpi, 96);
  return RECT{l, t, l + ::MulDiv(width, dpi, 96), t + ::MulDiv(height, dpi, 96)};
}

void TConfigForm::Layout() {
  const auto setFont = [](HWND hwnd, HFONT font) {
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  };
  const HDC dc = ::GetDC(hwnd_);
  const HGDIOBJ oldFont = ::SelectObject(dc, font_.get());
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);

  for (const ControlSpec& spec : kControls) {
    const HWND hwnd = Item(spec.item);
    RECT r = Scaled(spec.left, spec.top, spec.width, spec.height);
    switch (spec.kind) {
      case Kind::Number:
        numbers_[static_cast<std::size_t>(
                     std::find_if(std::begin(kUpDowns), std::end(kUpDowns),
                                  [&](const UpDownSpec& u) { return u.field == spec.item; })->number)]
            ->SetFont(font_.get());
        break;
      case Kind::Combo:
        setFont(hwnd, font_.get());
        r.bottom = r.top + ::MulDiv(20 + 12 * kIntervalCount + 8, static_cast<int>(dpi_), 96);  // with its list
        break;
      case Kind::Label:
      case Kind::Check: {
        setFont(hwnd, font_.get());
        // Never clip a caption: a face wider than the design's gets room.
        RECT text{0, 0, 0, 0};
        ::DrawTextW(dc, spec.caption, -1, &text, DT_SINGLELINE | DT_CALCRECT);
        int need = text.right - text.left;
        if (spec.kind == Kind::Check) need += ::MulDiv(13 + 6, static_cast<int>(dpi_), 96);
        r.right = std::max<LONG>(r.right, r.left + need);
        r.bottom = std::max<LONG>(r.bottom, r.top + (text.bottom - text.top));
        break;
      }
      case Kind::Edit:
        setFont(hwnd, spec.item == I::EditMem ? memFont_.get() : font_.get());
        break;
      case Kind::List:
        setFont(hwnd, font_.get());
        ::SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, std::max<LONG>(::MulDiv(12, static_cast<int>(dpi_), 96),
                                                                  tm.tmHeight));
        break;
      case Kind::UpDown:
        continue;  // placed by its field below
      default:
        setFont(hwnd, font_.get());
        break;
    }
    ::MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);

    if (spec.kind == Kind::RadioGroup) {
      // Two columns, items down the first column first; the rows share the
      // height below the caption.
      const auto& radios = RadiosOf(spec.item);
      const auto px = [&](int units) { return ::MulDiv(units, static_cast<int>(dpi_), 96); };
      const int width = r.right - r.left, height = r.bottom - r.top;
      const int rest = height - tm.tmHeight - px(5);
      const int rowHeight = rest / 2;
      const int topMargin = tm.tmHeight + 1 + (rest % 2) / 2;
      // Equal columns, unless a face wider than the design's needs more
      // room for an item: then the margins give way first.
      int need[2] = {0, 0};
      for (std::size_t k = 0; k < 4; ++k) {
        RECT text{0, 0, 0, 0};
        wchar_t caption[64] = {};
        ::GetWindowTextW(radios[k], caption, static_cast<int>(std::size(caption)));
        ::DrawTextW(dc, caption, -1, &text, DT_SINGLELINE | DT_CALCRECT);
        need[k / 2] = std::max<int>(need[k / 2], text.right - text.left + px(13 + 6));
      }
      const int equal = (width - px(10)) / 2;
      const int column0 = std::max(equal, need[0]), column1 = std::max(equal, need[1]);
      const int inner = width - px(2);
      const int margin = std::clamp(inner - column0 - column1, px(2), px(8));
      const int lefts[2] = {margin, margin + column0};
      const int widths[2] = {column0, std::max(column1, 0)};
      for (std::size_t k = 0; k < 4; ++k) {
        const int column = static_cast<int>(k) / 2, row = static_cast<int>(k) % 2;
        setFont(radios[k], font_.get());
        ::MoveWindow(radios[k], lefts[column], row * rowHeight + topMargin,
                     std::min(widths[column], inner - lefts[column]), rowHeight, FALSE);
      }
    }
  }
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(hwnd_, dc);

  // The up-downs sit at their field's right edge, where the platform puts
  // them; it takes their width off the field, which is given back so that
  // the field keeps its own width and the up-down stands beside it.
  for (const UpDownSpec& u : kUpDowns) {
    const HWND field = Item(u.field);
    const auto width = [&] {
      RECT r{};
      ::GetWindowRect(field, &r);
      return r.right - r.left;
    };
    const auto setWidth = [&](int w) {
      RECT r{};
      ::GetWindowRect(field, &r);
      ::SetWindowPos(field, nullptr, 0, 0, w, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const int design = width();
    ::SendMessageW(Item(u.upDown), UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
    const int taken = design - width();
    if (taken > 0) {
      setWidth(design + taken);
      ::SendMessageW(Item(u.upDown), UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
    }
    // The platform's width is one for 96 DPI; the arrows grow with the scale.
    RECT arrows{};
    ::GetWindowRect(Item(u.upDown), &arrows);
    const int wanted = ::MulDiv(16, static_cast<int>(dpi_), 96);
    if (arrows.right - arrows.left < wanted) {
      ::SetWindowPos(Item(u.upDown), nullptr, 0, 0, wanted, arrows.bottom - arrows.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  SetButtonGlyphs();
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TConfigForm::SetButtonGlyphs() {
  // A check mark on OK, a cross on Cancel, beside the caption and sized for
  // the monitor. The button keeps showing an icon until it gets another, so
  // the old one goes only after the swap.
  const int size = ::MulDiv(16, static_cast<int>(dpi_), 96);
  const auto set = [&](ConfigItem button, ButtonGlyph glyph, UniqueIcon& held) {
    UniqueIcon icon = MakeIconFromPixels(DrawButtonGlyph(glyph, size), size);
    if (!icon) return;
    ::SendMessageW(Item(button), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
    held = std::move(icon);
  };
  set(I::BtnOK, ButtonGlyph::Ok, okGlyph_);
  set(I::BtnCancel, ButtonGlyph::Cancel, cancelGlyph_);
}

TNumberEdit* TConfigForm::NumberFor(ConfigItem upDown) {
  for (const UpDownSpec& u : kUpDowns) {
    if (u.upDown == upDown) return numbers_[static_cast<std::size_t>(u.number)].get();
  }
  return nullptr;
}

void TConfigForm::SetUpDownPosition(ConfigItem upDown, std::int32_t position) {
  const std::int32_t shown = ClampToRange(position, RangeOf(upDown));
  ::SendMessageW(Item(upDown), UDM_SETPOS32, 0, shown);
  NumberFor(upDown)->SetText(DecimalText(shown));
}

std::int32_t TConfigForm::UpDownPosition(ConfigItem upDown) const {
  return static_cast<std::int32_t>(::SendMessageW(Item(upDown), UDM_GETPOS32, 0, 0));
}

bool TConfigForm::UpDownDelta(const NMUPDOWN& change) {
  // The step and its wrap are ours, so they are the same on every platform.
  for (const UpDownSpec& u : kUpDowns) {
    if (Item(u.upDown) != change.hdr.hwndFrom) continue;
    SetUpDownPosition(u.upDown, WrapStep(change.iPos, change.iDelta, RangeOf(u.upDown)));
    return true;  // the control itself leaves its position alone
  }
  return false;
}

void TConfigForm::UpDownChanged(HWND upDown) {
  for (const UpDownSpec& u : kUpDowns) {
    if (Item(u.upDown) == upDown) NumberFor(u.upDown)->SetText(DecimalText(UpDownPosition(u.upDown)));
  }
}

bool TConfigForm::Checked(ConfigItem item) const {
  return ::SendMessageW(Item(item), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TConfigForm::SetChecked(ConfigItem item, bool on) {
  ::SendMessageW(Item(item), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

Text TConfigForm::TextOf(ConfigItem item) const {
  const int len = ::GetWindowTextLengthW(Item(item));
  std::wstring text(static_cast<std::size_t>(len) + 1, L'\0');
  const int got = ::GetWindowTextW(Item(item), text.data(), len + 1);
  return FromWide(text.data(), static_cast<std::size_t>(std::max(got, 0)));
}

void TConfigForm::SetText(ConfigItem item, const Text& text) { ::SetWindowTextW(Item(item), Wide(text)); }

void TConfigForm::ShowValue(ConfigItem control, bool on) { SetChecked(control, on); }

void TConfigForm::ShowValue(ConfigItem control, std::int32_t value) {
  switch (SpecOf(control).kind) {
    case Kind::RadioGroup: {
      const auto& radios = RadiosOf(control);
      for (std::size_t k = 0; k < radios.size(); ++k) {
        ::SendMessageW(radios[k], BM_SETCHECK, static_cast<std::int32_t>(k) == value ? BST_CHECKED : 0, 0);
      }
      break;
    }
    case Kind::Combo:  // the interval list
      ::SendMessageW(Item(control), CB_SETCURSEL, static_cast<WPARAM>(IntervalIndexOf(value)), 0);
      break;
    default:
      SetUpDownPosition(control, value);
      break;
  }
}

void TConfigForm::ShowValue(ConfigItem control, const Text& text) { SetText(control, text); }

bool TConfigForm::ShownValue(ConfigItem control, bool) const { return Checked(control); }

std::int32_t TConfigForm::ShownValue(ConfigItem control, std::int32_t current) const {
  switch (SpecOf(control).kind) {
    case Kind::RadioGroup: {
      const auto& radios = RadiosOf(control);
      std::int32_t shown = current;  // none checked: as it was
      for (std::size_t k = 0; k < radios.size(); ++k) {
        if (::SendMessageW(radios[k], BM_GETCHECK, 0, 0) == BST_CHECKED) shown = static_cast<std::int32_t>(k);
      }
      return shown;
    }
    case Kind::Combo: {
      const auto index = ::SendMessageW(Item(control), CB_GETCURSEL, 0, 0);
      return index == CB_ERR ? current : static_cast<std::int32_t>(index);
    }
    default:
      return UpDownPosition(control);
  }
}

Text TConfigForm::ShownValue(ConfigItem control, const Text&) const { return TextOf(control); }

void TConfigForm::ShowSettings(const TSettings& s) {
  for (const DialogSetting& setting : kDialogSettings) {
    std::visit([&](auto field) { ShowValue(setting.control, s.*field); }, setting.field);
  }
  // An unchanged list keeps its selection.
  if (ListItems(Item(I::ListBox)) != s.DisabledPrograms) {
    SetListItems(Item(I::ListBox), s.DisabledPrograms);
    ::EnableWindow(Item(I::BtnDel), FALSE);
  }
  ApplyEnablingRules();
}

TSettings TConfigForm::Edited() const {
  TSettings e = settings_;
  for (const DialogSetting& setting : kDialogSettings) {
    std::visit([&](auto field) { e.*field = ShownValue(setting.control, e.*field); }, setting.field);
  }
  e.DisabledPrograms = ListItems(Item(I::ListBox));
  return e;
}

void TConfigForm::ApplyEnablingRules() {
  for (ConfigItem chk : {I::CHKAlarm, I::ChkWhistle, I::ChkMem}) {
    const BOOL on = Checked(chk) ? TRUE : FALSE;
    for (ConfigItem c : ControlsFollowing(chk)) ::EnableWindow(Item(c), on);
  }
}

void TConfigForm::RefreshSeenPrograms() {
  const HWND list = Item(I::ListBoxLog);
  const auto shown = static_cast<std::size_t>(std::max<LRESULT>(::SendMessageW(list, LB_GETCOUNT, 0, 0), 0));
  for (std::size_t k = shown; k < settings_.SeenPrograms.size(); ++k) {
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(settings_.SeenPrograms[k])));
  }
}

UINT TConfigForm::TimerInterval() const {
  if (!hwnd_) return settings_.TimerIntervalMs();
  return IntervalFromIndex(static_cast<int>(::SendMessageW(Item(I::ComboBoxTimer), CB_GETCURSEL, 0, 0)));
}

CloseResult TConfigForm::ShowModal() {
  if (Visible() || !HandleNeeded()) return CloseResult::Cancel;
  RefreshSeenPrograms();
  result_.reset();
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  ::SetWindowPos(hwnd_, HWND_TOP, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE);
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
  FormShow();

  MSG msg;
  while (!result_) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    // A message that could not be received (another program's WM_COPYDATA
    // too large to hand over) is skipped, as in the main loop: it must not
    // close the dialog, let alone end the program.
    if (got == -1) continue;
    if (got == 0) {
      // The program is ending: leave the quit for the main loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      result_ = CloseResult::Cancel;
      break;
    }
    if (msg.message == WM_SYSCHAR && GroupMnemonic(static_cast<wchar_t>(msg.wParam))) continue;
    if (!::IsDialogMessageW(hwnd_, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  ::ShowWindow(hwnd_, SW_HIDE);
  return *result_;
}

bool TConfigForm::GroupMnemonic(wchar_t key) {
  // The dialog manager knows the mnemonics of labels and buttons; a group's
  // caption moves the focus into the group.
  const auto upper = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(key))));
  for (const ControlSpec& spec : kControls) {
    if (spec.kind != Kind::Group && spec.kind != Kind::RadioGroup) continue;
    if (MnemonicOf(spec.caption) != upper || !::IsWindowEnabled(Item(spec.item))) continue;
    if (const HWND target = FirstTabStopIn(Item(spec.item))) {
      ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
      return true;
    }
  }
  return false;
}

void TConfigForm::FormShow() {
  if (appWindow_) ::ShowWindow(appWindow_, SW_HIDE);
  ::SetFocus(Item(I::GroupBoxDisp));
}

void TConfigForm::CloseWith(CloseResult result) {
  if (result_) return;
  bool done = false;
  // A file that cannot be written or read keeps the dialog open as it is.
  RunGuarded(hwnd_, [&] {
    FinishConfigForm(result, Edited(), settings_, storage_);
    done = true;
  });
  if (!done) return;
  if (result != CloseResult::OK) ShowSettings(settings_);
  result_ = result;
}

void TConfigForm::AddDisabledProgram(const Text& name) {
  std::vector<Text> list = ListItems(Item(I::ListBox));
  if (const auto message = velmora::AddDisabledProgram(list, name)) {
    ShowMessageBox(nullptr, Wide(*message), L"Velmora", MB_OK | MB_TASKMODAL);
    return;
  }
  ::SendMessageW(Item(I::ListBox), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name)));
}

void TConfigForm::BtnDelClick() {
  const HWND list = Item(I::ListBox);
  const auto selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected != LB_ERR) ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  ::EnableWindow(Item(I::BtnDel), HasSelection(list));
}

void TConfigForm::BtnLogClick() {
  const HWND list = Item(I::ListBoxLog);
  const auto selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  const std::vector<Text> seen = ListItems(list);
  AddDisabledProgram(seen[static_cast<std::size_t>(selected)]);
}

void TConfigForm::Browse(BrowseButton button) {
  const BrowseSpec& spec = BrowseSpecOf(button);
  const std::optional<Text> chosen = ChooseFile ? ChooseFile(hwnd_, spec) : std::nullopt;
  if (!chosen || !HasExtension(*chosen, spec.extension)) return;
  switch (button) {
    case BrowseButton::BtnRef:
      AddDisabledProgram(Text(FileNamePart(*chosen)));
      break;
    case BrowseButton::BtnMem:
      SetText(I::EditMem, CommandLineForProgram(*chosen));
      break;
    case BrowseButton::BtnAlarmWav:
    case BrowseButton::BtntWhistleWav:
      SetText(button == BrowseButton::BtnAlarmWav ? I::EditAlarmWav : I::EditWhistleWav, *chosen);
      if (FileExistsReady(*sound_, *chosen)) PlayWave(*sound_, *chosen);
      break;
  }
}

void TConfigForm::Command(int id, int code, HWND) {
  const auto is = [&](ConfigItem item) { return id == IdOf(item); };
  if (is(I::ListBox) || is(I::ListBoxLog)) {
    if (code == LBN_SELCHANGE) {
      const bool own = is(I::ListBox);
      ::EnableWindow(Item(own ? I::BtnDel : I::BtnLog), HasSelection(Item(own ? I::ListBox : I::ListBoxLog)));
    }
    return;
  }
  if (code != BN_CLICKED) return;
  if (is(I::BtnOK)) {
    CloseWith(CloseResult::OK);
  } else if (is(I::BtnCancel)) {
    CloseWith(CloseResult::Cancel);
  } else if (is(I::CHKAlarm) || is(I::ChkWhistle) || is(I::ChkMem)) {
    ApplyEnablingRules();
  } else if (is(I::BtnRef)) {
    Browse(BrowseButton::BtnRef);
  } else if (is(I::BtnMem)) {
    Browse(BrowseButton::BtnMem);
  } else if (is(I::BtnAlarmWav)) {
    Browse(BrowseButton::BtnAlarmWav);
  } else if (is(I::BtntWhistleWav)) {
    Browse(BrowseButton::BtntWhistleWav);
  } else if (is(I::BtnDel)) {
    BtnDelClick();
  } else if (is(I::BtnLog)) {
    BtnLogClick();
  }
}

void TConfigForm::DpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  CreateFonts();
  Layout();
  ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TConfigForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == UDN_DELTAPOS) return UpDownDelta(*reinterpret_cast<const NMUPDOWN*>(lParam)) ? 1 : 0;
      break;
    }
    case WM_VSCROLL:
      if (lParam) UpDownChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      CloseWith(CloseResult::Cancel);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_NCDESTROY: {
      const HWND hwnd = hwnd_;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return ::DefDlgProcW(hwnd, msg, wParam, lParam);
    }
    default:
      break;
  }
  return ::DefDlgProcW(hwnd_, msg, wParam, lParam);
}

namespace {

// The file-open dialog's library is loaded the first time a browse button is
// used, and then kept. Linked at start-up it brings the printing stack along
// (under Wine several megabytes of this resident program's memory) for a
// dialog most sessions never open.
using GetOpenFileNameProc = BOOL(WINAPI*)(LPOPENFILENAMEW);

GetOpenFileNameProc OpenFileDialogEntry() {
  static const UniqueModule library(LoadSystemLibrary(L"comdlg32.dll"));
  static const auto entry =
      library ? reinterpret_cast<GetOpenFileNameProc>(
                    reinterpret_cast<void*>(::GetProcAddress(library.get(), "GetOpenFileNameW")))
              : nullptr;
  return entry;
}

}  // namespace

std::optional<Text> RunOpenFileDialog(HWND owner, const BrowseSpec& spec) {
  const GetOpenFileNameProc getOpenFileName = OpenFileDialogEntry();
  if (!getOpenFileName) return std::nullopt;
  // "name|pattern" becomes the double-NUL-ended list the dialog wants.
  std::wstring filter(Wide(Text(spec.filter)));
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  std::wstring file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = reinterpret_cast<const wchar_t*>(spec.title);
  // The current folder of a resident program is not moved: it would keep
  // that folder in use until the program ends.
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER |
              OFN_NOCHANGEDIR;
  if (!getOpenFileName(&ofn)) return std::nullopt;
  return FromWide(file.c_str());
}

}  // namespace velmora::win32
