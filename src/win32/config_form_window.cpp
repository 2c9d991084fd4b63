// The settings dialog's window: its class, its controls made from the
// control table, their fonts and places at the monitor's scale, and the
// pictures on OK and Cancel. What the controls do is in config_form.cpp.
#include "win32/config_form.h"

#include <commctrl.h>

#include <algorithm>

#include "core/button_glyph.h"
#include "core/dialog_settings.h"
#include "core/timer_interval.h"
#include "win32/common_controls.h"
#include "win32/config_form_controls.h"
#include "win32/dpi.h"
#include "win32/group_box.h"
#include "win32/radio_layout.h"
#include "win32/wide.h"
#include "win32/window_proc.h"

namespace velmora::win32 {

namespace {

using I = ConfigItem;

constexpr int kClientWidth = 567, kClientHeight = 453;  // at 96 DPI

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

// The platform puts an up-down at its field's right edge and takes its
// width off the field; the field gets it back, so that it keeps its own
// width and the up-down stands beside it.
void PlaceUpDownBeside(HWND upDown, HWND field, UINT dpi) {
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
  ::SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
  const int taken = design - width();
  if (taken > 0) {
    setWidth(design + taken);
    ::SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
  }
  // The platform's width is one for 96 DPI; the arrows grow with the scale.
  RECT arrows{};
  ::GetWindowRect(upDown, &arrows);
  const int wanted = ScaleForDpi(16, dpi);
  if (arrows.right - arrows.left < wanted) {
    ::SetWindowPos(upDown, nullptr, 0, 0, wanted, arrows.bottom - arrows.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND MakeChild(HINSTANCE instance, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
               int id) {
  return ::CreateWindowExW(exStyle, cls, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

bool TConfigForm::CreateWindowAndControls() {
  if (!RegisterClasses(instance_)) return false;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  const auto windowRect = [&](UINT dpi) {  // around the client area
    RECT r = ScaledRect(0, 0, kClientWidth, kClientHeight, dpi);
    AdjustForDpi(r, style, exStyle, dpi);
    return r;
  };
  dpi_ = DpiOfWindow(nullptr);
  const RECT r = windowRect(dpi_);
  ::CreateWindowExW(exStyle, kConfigFormClass, kConfigFormCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                    r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  // On a monitor of another scale the window itself tells the right one.
  if (const UINT dpi = DpiOfWindow(hwnd_); dpi != dpi_) {
    dpi_ = dpi;
    const RECT scaled = windowRect(dpi_);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, scaled.right - scaled.left, scaled.bottom - scaled.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateFonts();     // the menu font's face first: the controls take the font
  CreateControls();  // with the radio items
  Layout();
  return true;
}

void TConfigForm::CreateFonts() {
  LOGFONTW lf{};
  lf.lfHeight = -ScaleForDpi(12, dpi_);
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
  for (const ControlSpec& spec : ConfigControls()) {
    const HWND parent = spec.parent == kForm ? hwnd_ : Item(spec.parent);
    const int id = IdOf(spec.item);
    const RECT r = ScaledRect(spec.left, spec.top, spec.width, spec.height, dpi_);
    HWND hwnd = nullptr;
    switch (spec.kind) {
      case ControlKind::Group:
      case ControlKind::Frame:
      case ControlKind::RadioGroup:
        hwnd = CreateGroupBox(instance_, parent, id, spec.caption);
        break;
      case ControlKind::Check:
        hwnd = MakeChild(instance_, L"BUTTON", spec.caption, BS_AUTOCHECKBOX | WS_TABSTOP, 0, parent, id);
        break;
      case ControlKind::Label:
        hwnd = MakeChild(instance_, L"STATIC", spec.caption, SS_LEFTNOWORDWRAP, 0, parent, id);
        break;
      case ControlKind::Combo:
        hwnd = MakeChild(instance_, L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, parent, id);
        break;
      case ControlKind::Number: {
        auto& number = NumberFor(spec.item);
        number = std::make_unique<TNumberEdit>();
        number->Create(parent, id, r.left, r.top, r.right - r.left, r.bottom - r.top);
        number->SetReadOnly(true);
        number->SetColor(TColor::System(COLOR_BTNFACE));  // after the parent, which resets it
        number->SetText(u"0");
        hwnd = number->Handle();
        break;
      }
      case ControlKind::UpDown:
        hwnd = MakeChild(instance_, UPDOWN_CLASSW, nullptr, UDS_WRAP | UDS_ARROWKEYS | UDS_ALIGNRIGHT, 0, parent, id);
        break;
      case ControlKind::Edit:
        hwnd = MakeChild(instance_, L"EDIT", nullptr, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, parent, id);
        break;
      case ControlKind::Button:
      case ControlKind::DefButton: {
        DWORD style = (spec.kind == ControlKind::DefButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
        if (spec.item == I::BtnDel || spec.item == I::BtnLog) style |= WS_DISABLED;
        hwnd = MakeChild(instance_, L"BUTTON", spec.caption, style, 0, parent, id);
        break;
      }
      case ControlKind::List:
        hwnd = MakeChild(instance_, L"LISTBOX", nullptr, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                         WS_EX_CLIENTEDGE, parent, id);
        break;
    }
    items_[static_cast<std::size_t>(spec.item)] = hwnd;
    if (spec.kind == ControlKind::Group || spec.kind == ControlKind::RadioGroup) groups_.push_back(hwnd);

    if (spec.kind == ControlKind::RadioGroup) {
      // The items are set here, replacing whatever a design had.
      const auto& texts = RadioItemsOf(spec.item);
      auto& radios = RadiosOf(spec.item);
      for (std::size_t k = 0; k < radios.size(); ++k) {
        radios[k] = MakeChild(instance_, L"BUTTON", texts[k], BS_AUTORADIOBUTTON | (k == 0 ? WS_GROUP | WS_TABSTOP : 0),
                              0, hwnd, id * 10 + static_cast<int>(k));
      }
    }
    if (spec.kind == ControlKind::Combo) {
      for (int k = 0; k < kIntervalCount; ++k) {
        ::SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(IntervalItemText(k))));
      }
    }
  }
  // Step 1 however long an arrow is held: the control's own acceleration
  // (1, then 5, then 20) would jump across a range that wraps.
  UDACCEL oneStep{0, 1};
  for (const UpDownPair& u : UpDownPairs()) {
    const UpDownRange& range = RangeOf(u.upDown);
    ::SendMessageW(Item(u.upDown), UDM_SETRANGE32, static_cast<WPARAM>(range.min), range.max);
    ::SendMessageW(Item(u.upDown), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&oneStep));
    SetUpDownPosition(u.upDown, SettingEditedBy(u.upDown)->initial);
  }
}

void TConfigForm::Layout() {
  const auto setFont = [](HWND hwnd, HFONT font) {
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  };
  const HDC dc = ::GetDC(hwnd_);
  const HGDIOBJ oldFont = ::SelectObject(dc, font_.get());
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);

  for (const ControlSpec& spec : ConfigControls()) {
    const HWND hwnd = Item(spec.item);
    RECT r = ScaledRect(spec.left, spec.top, spec.width, spec.height, dpi_);
    switch (spec.kind) {
      case ControlKind::Number:
        NumberFor(spec.item)->SetFont(font_.get());
        break;
      case ControlKind::Combo:
        setFont(hwnd, font_.get());
        r.bottom = r.top + ScaleForDpi(20 + 12 * kIntervalCount + 8, dpi_);  // with its list
        break;
      case ControlKind::Label:
      case ControlKind::Check: {
        setFont(hwnd, font_.get());
        // Never clip a caption: a face wider than the design's gets room.
        RECT text{0, 0, 0, 0};
        ::DrawTextW(dc, spec.caption, -1, &text, DT_SINGLELINE | DT_CALCRECT);
        int need = text.right - text.left;
        if (spec.kind == ControlKind::Check) need += ScaleForDpi(kButtonBoxWidth, dpi_);
        r.right = std::max<LONG>(r.right, r.left + need);
        r.bottom = std::max<LONG>(r.bottom, r.top + (text.bottom - text.top));
        break;
      }
      case ControlKind::Edit:
        setFont(hwnd, spec.item == I::EditMem ? memFont_.get() : font_.get());
        break;
      case ControlKind::List:
        setFont(hwnd, font_.get());
        ::SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, std::max<LONG>(ScaleForDpi(12, dpi_), tm.tmHeight));
        break;
      case ControlKind::UpDown:
        continue;  // placed by its field below
      default:
        setFont(hwnd, font_.get());
        break;
    }
    ::MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);

    if (spec.kind == ControlKind::RadioGroup) {
      LayoutRadioColumns(dc, font_.get(), RadiosOf(spec.item), r.right - r.left, r.bottom - r.top, dpi_);
    }
  }
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(hwnd_, dc);

  for (const UpDownPair& u : UpDownPairs()) PlaceUpDownBeside(Item(u.upDown), Item(u.field), dpi_);
  SetButtonGlyphs();
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TConfigForm::SetButtonGlyphs() {
  // A check mark on OK, a cross on Cancel, beside the caption and sized for
  // the monitor. The button keeps showing an icon until it gets another, so
  // the old one goes only after the swap.
  const int size = ScaleForDpi(16, dpi_);
  const auto set = [&](ConfigItem button, ButtonGlyph glyph, UniqueIcon& held) {
    UniqueIcon icon = MakeIconFromPixels(DrawButtonGlyph(glyph, size), size);
    if (!icon) return;
    ::SendMessageW(Item(button), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
    held = std::move(icon);
  };
  set(I::BtnOK, ButtonGlyph::Ok, okGlyph_);
  set(I::BtnCancel, ButtonGlyph::Cancel, cancelGlyph_);
}

void TConfigForm::DpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  CreateFonts();
  Layout();
  ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velmora::win32
