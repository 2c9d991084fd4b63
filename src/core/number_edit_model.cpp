#include "core/number_edit_model.h"

#include <algorithm>

namespace velmora {

PaintColors ChoosePaintColors(bool enabled, bool selected) {
  if (!enabled) return {ColorRole::DisabledColor, ColorRole::Color};
  if (selected) return {ColorRole::HighlightText, ColorRole::Highlight};
  return {ColorRole::FontColor, ColorRole::Color};
}

NumberEditModel::NumberEditModel(NumberEditView& view) : view_(view) {}

// --- properties ---------------------------------------------------------------

void NumberEditModel::LayoutChanged() {
  view_.Invalidate();
  view_.UpdateCaret();
}

void NumberEditModel::FormatChanged() {
  FValText = FormatText(FText);
  LayoutChanged();
}

void NumberEditModel::Refilter() {
  FText = FilterText(FText);
  // The undo step must not bring back a value the new limits forbid.
  UndoBuffer = FilterText(UndoBuffer);
  FormatChanged();
}

void NumberEditModel::SetAlignment(TAlignment value) {
  alignment_ = value;
  LayoutChanged();
}

void NumberEditModel::SetVertAlignment(TVertAlignment value) {
  vertAlignment_ = value;
  LayoutChanged();
}

void NumberEditModel::SetAutoSelect(bool value) {
  autoSelect_ = value;
  view_.Invalidate();
}

void NumberEditModel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustHeight();
  LayoutChanged();
}

void NumberEditModel::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  view_.UpdateWindowStyle();
  AdjustHeight();
  LayoutChanged();
}

void NumberEditModel::SetCtl3D(bool value) {
  if (ctl3D_ == value) return;
  ctl3D_ = value;
  if (borderStyle_ == TBorderStyle::bsSingle) view_.UpdateWindowStyle();
  AdjustHeight();
}

void NumberEditModel::SetTopMargin(int value) {
  if (value < 0) return;
  topMargin_ = value;
  AdjustHeight();
  LayoutChanged();
}

void NumberEditModel::SetBottomMargin(int value) {
  if (value < 0) return;
  bottomMargin_ = value;
  AdjustHeight();
  LayoutChanged();
}

void NumberEditModel::SetLeftMargin(int value) {
  if (value < 0) return;
  leftMargin_ = value;
  LayoutChanged();
}

void NumberEditModel::SetRightMargin(int value) {
  if (value < 0) return;
  rightMargin_ = value;
  LayoutChanged();
}

void NumberEditModel::SetIntegerLength(int value) {
  if (value < 0) return;
  format_.IntegerLength = value;
  Refilter();
}

void NumberEditModel::SetDecimalLength(int value) {
  if (value < 0) return;
  format_.DecimalLength = value;
  Refilter();
}

void NumberEditModel::SetMinus(bool value) {
  format_.Minus = value;
  Refilter();
}

void NumberEditModel::SetComma(bool value) {
  format_.Comma = value;
  FormatChanged();
}

void NumberEditModel::SetDecimalFixed(bool value) {
  format_.DecimalFixed = value;
  FormatChanged();
}

void NumberEditModel::SetLeftMark(const Text& value) {
  format_.LeftMark = value;
  FormatChanged();
}

void NumberEditModel::SetRightMark(const Text& value) {
  format_.RightMark = value;
  FormatChanged();
}

void NumberEditModel::SetText(TextView value) {
  if (value == FText) return;
  FText = StripLeadingZeros(FilterText(value));
  Shown();
}

// --- geometry -----------------------------------------------------------------

void NumberEditModel::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
}

void NumberEditModel::SetFontMetrics(int fontHeight, bool bold) {
  FFontHeight = fontHeight;
  FCaretWidth = bold ? 2 : 1;
}

void NumberEditModel::AdjustHeight() {
  if (autoSize_) view_.SetClientHeight(FFontHeight + topMargin_ + bottomMargin_);
}

int NumberEditModel::TextWidth(TextView value) { return view_.MeasureText(FormatText(value)); }

int NumberEditModel::AvailableWidth() const {
  const int frame = borderStyle_ == TBorderStyle::bsSingle && ctl3D_ ? 4 : 2;
  return clientWidth_ - leftMargin_ - rightMargin_ - frame;
}

bool NumberEditModel::TextFits(TextView value) { return TextWidth(value) <= AvailableWidth(); }

int NumberEditModel::CaretOffset(TextView value) {
  if (!format_.DecimalFixed) {
    NumberFormat noRightMark = format_;
    noRightMark.RightMark.clear();
    return view_.MeasureText(velmora::FormatText(value, noRightMark));
  }
  // The caret stands after the typed decimals, not after the padding zeros.
  const size_t pointAt = value.find(u'.');
  const TextView integer = value.substr(0, pointAt);
  const TextView rest = pointAt == TextView::npos ? TextView() : value.substr(pointAt);
  Text head;
  if (integer.empty()) {
    head = format_.LeftMark + u"0";
  } else if (integer == u"-") {
    head = format_.LeftMark + u"-0";
  } else {
    NumberFormat integerOnly = format_;
    integerOnly.DecimalLength = 0;
    integerOnly.DecimalFixed = false;
    integerOnly.RightMark.clear();
    head = velmora::FormatText(integer, integerOnly);
  }
  return view_.MeasureText(head) + (rest.empty() ? 0 : view_.MeasureText(rest));
}

PixelPoint NumberEditModel::TextOrigin() {
  const int w = view_.MeasureText(FValText);  // FValText is FormatText(FText)
  PixelPoint p;
  switch (alignment_) {
    case TAlignment::taLeftJustify: p.x = leftMargin_; break;
    case TAlignment::taRightJustify: p.x = clientWidth_ - w - rightMargin_ - 1; break;
    case TAlignment::taCenter:
      p.x = (clientWidth_ - leftMargin_ - rightMargin_) / 2 + leftMargin_ - w / 2 - 1;
      break;
  }
  switch (vertAlignment_) {
    case TVertAlignment::taTopJustify: p.y = topMargin_; break;
    case TVertAlignment::taBottomJustify: p.y = clientHeight_ - FFontHeight - bottomMargin_; break;
    case TVertAlignment::taVCenter:
      p.y = (clientHeight_ - FFontHeight - topMargin_ - bottomMargin_) / 2 + topMargin_;
      break;
  }
  return p;
}

PixelRect NumberEditModel::PaintRect() {
  const PixelPoint origin = TextOrigin();
  FDrawRect = {origin.x, origin.y, origin.x + view_.MeasureText(FValText), origin.y + FFontHeight};
  return FDrawRect;
}

PixelPoint NumberEditModel::CaretPos() {
  PixelPoint p = TextOrigin();
  p.x += CaretOffset(FText);
  return p;
}

// --- selection, undo, clipboard ----------------------------------------------

void NumberEditModel::Shown() {
  FValText = FormatText(FText);
  view_.Invalidate();
  view_.UpdateCaret();
}

void NumberEditModel::Beep() {
  if (errorBeep_) view_.MessageBeep();
}

void NumberEditModel::SaveUndo() {
  UndoBuffer = FText;
  FCanUndo = true;
}

void NumberEditModel::SwapUndo() {
  std::swap(FText, UndoBuffer);
  FCanUndo = true;
}

void NumberEditModel::SelectAll() {
  const int length = static_cast<int>(FValText.size());
  if (FSelStart == 0 && FSelLength == length) return;  // nothing to repaint
  FSelStart = 0;
  FSelLength = length;
  view_.Invalidate();
}

void NumberEditModel::ClearSelect() {
  if (FSelStart == 0 && FSelLength == 0) return;
  FSelStart = 0;
  FSelLength = 0;
  view_.Invalidate();
}

void NumberEditModel::Clear() {
  SaveUndo();
  FText = Text(u"0");
  Shown();
  ClearSelect();
  FModified = false;
}

void NumberEditModel::ClearSelection() {
  if (HasSelection()) Clear();
}

void NumberEditModel::ClearUndo() {
  UndoBuffer.clear();
  FCanUndo = false;
}

void NumberEditModel::CopyToClipboard() {
  if (!HasSelection()) return;
  if (!view_.WriteClipboardText(imageCopy_ ? FValText : FText)) Beep();
}

void NumberEditModel::CutToClipboard() {
  if (!HasSelection()) return;
  // The value goes only once it is safely on the clipboard.
  if (!view_.WriteClipboardText(imageCopy_ ? FValText : FText)) {
    Beep();
    return;
  }
  Clear();
  view_.Change();
}

void NumberEditModel::PasteFromClipboard() {
  Text pasted;
  if (!view_.ReadClipboardText(pasted)) return;
  SaveUndo();
  FText = StripLeadingZeros(HasSelection() ? FilterText(pasted) : FilterText(FText + pasted));
  Shown();
  ClearSelect();
  view_.Change();
}

void NumberEditModel::Undo() {
  if (!FCanUndo) return;
  SwapUndo();
  Shown();
  SelectAll();
  view_.Change();
}

// --- edits ----------------------------------------------------------------------

void NumberEditModel::InsertDigit(char16_t digit) {
  if (readOnly_) return;
  if (HasSelection()) Clear();
  const size_t pointAt = FText.find(u'.');
  const bool negative = FText.find(u'-') != Text::npos;
  if (pointAt == Text::npos) {
    // A lone zero is replaced by the digit, not extended: it takes no room.
    const bool loneZero = FText == u"0" || FText == u"-0";
    const int integerDigits = loneZero ? 0 : static_cast<int>(FText.size()) - (negative ? 1 : 0);
    if (integerDigits >= format_.IntegerLength) return Beep();
  } else {
    const int decimalDigits = static_cast<int>(FText.size() - pointAt - 1);
    if (decimalDigits >= format_.DecimalLength) return Beep();
  }
  Text candidate = StripLeadingZeros(FText + digit);
  if (!TextFits(candidate)) return Beep();
  if (candidate.empty() || candidate == u"-") candidate = Text(u"0");
  SaveUndo();
  FText = std::move(candidate);
  Shown();
  FModified = true;
  view_.Change();
}

void NumberEditModel::InsertDecimalPoint() {
  if (readOnly_) return;
  if (format_.DecimalLength == 0) return Beep();
  if (HasSelection()) Clear();
  if (FText.find(u'.') != Text::npos) return Beep();
  Text candidate = FText + u'.';
  if (!TextFits(candidate)) return Beep();
  candidate = StripLeadingZeros(candidate);
  SaveUndo();
  FText = std::move(candidate);
  Shown();
  FModified = true;
  view_.Change();
}

void NumberEditModel::ToggleMinus() {
  if (readOnly_) return;
  if (!format_.Minus) return Beep();
  if (HasSelection()) Clear();
  const size_t minusAt = FText.find(u'-');
  if (minusAt != Text::npos) {
    SaveUndo();
    FText.erase(minusAt, 1);
  } else {
    Text candidate = u"-" + FText;
    if (!TextFits(candidate)) return Beep();
    // The sign on zero gives minus one; minus zero only as a fixed-decimal start.
    if (!format_.DecimalFixed && candidate == u"-0") candidate = Text(u"-1");
    SaveUndo();
    FText = std::move(candidate);
  }
  Shown();
  FModified = true;
  view_.Change();
}

void NumberEditModel::DeleteLastChar() {
  if (readOnly_) return;
  if (FText.empty()) {
    FText = Text(u"0");
    Shown();
    return;
  }
  if (HasSelection()) {
    Clear();
    return;
  }
  Text result = FText.substr(0, FText.size() - 1);
  if (!result.empty() && result.back() == u'.') result.pop_back();
  if (result.empty() || result == u"-") result = Text(u"0");
  SaveUndo();
  FText = std::move(result);
  Shown();
  FModified = true;
  view_.Change();
}

// --- input ----------------------------------------------------------------------

bool NumberEditModel::KeyDown(std::uint16_t key, unsigned shift) {
  switch (shift) {
    case ssShift:
      if (key == vk::Left || key == vk::Right) {
        SelectAll();
        return true;
      }
      return false;
    case ssCtrl:
      switch (key) {
        case vk::A: SelectAll(); return true;
        case vk::C: CopyToClipboard(); return true;
        case vk::V:
          if (readOnly_) return false;
          PasteFromClipboard();
          return true;
        case vk::X:
          if (readOnly_) return false;
          CutToClipboard();
          return true;
        default: return false;
      }
    case ssNone:
      switch (key) {
        case vk::Prior:
        case vk::Next:
        case vk::End:
        case vk::Home:
        case vk::Left:
        case vk::Right: ClearSelect(); return true;
        case vk::Up:
        case vk::Down:
          ClearSelect();
          if (arrowFocusMove_) view_.NextControl();
          return true;
        case vk::Back:
        case vk::Delete:
          if (readOnly_) return false;
          DeleteLastChar();
          return true;
        default: return false;
      }
    default: return false;
  }
}

bool NumberEditModel::KeyPress(char16_t ch) {
  if (readOnly_) return true;
  const char16_t c = HalfWidthNumberChar(ch);
  switch (c) {
    case 1: case 3: case 22: case 24: case 8:  // their work is done on key down
      return true;
    case 13:
      if (enterFocusMove_) {
        view_.NextControl();
      } else {
        Beep();
      }
      return true;
    case u'-': ToggleMinus(); return true;
    case u'.': InsertDecimalPoint(); return true;
    default:
      if (IsDigit(c)) {
        InsertDigit(c);
      } else {
        Beep();
      }
      return true;
  }
}

void NumberEditModel::MouseDown(MouseButton button) {
  if (button == MouseButton::Left && !DblClickFlag) {
    if (view_.ForegroundIsOwnThread()) view_.SetFocus();
    ClearSelect();
  }
  DblClickFlag = false;
}

void NumberEditModel::DblClick() {
  SelectAll();
  DblClickFlag = true;
}

void NumberEditModel::MouseMove(int x, bool leftButtonHeld) {
  if (leftButtonHeld && x >= FDrawRect.left && x <= FDrawRect.right) SelectAll();
}

void NumberEditModel::Enter() {
  if (autoSelect_) SelectAll();
}

void NumberEditModel::Exit() {
  if (FText == u"-") {
    FText = Text(u"0");
    Shown();
  }
  if (hideSelection_) ClearSelect();
}

unsigned NumberEditModel::DialogCode() const {
  constexpr unsigned kWantArrows = 0x01, kWantAllKeys = 0x04, kWantChars = 0x80;
  return kWantArrows | kWantChars | (enterFocusMove_ ? kWantAllKeys : 0u);
}

}  // namespace velmora
