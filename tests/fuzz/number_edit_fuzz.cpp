// Fuzz target for the number field's text rules and its paste: whatever
// text is typed, pasted or assigned, the value stays a number within the
// field's limits, and filtering it again changes nothing.
#include <cstddef>
#include <cstdint>

#include "core/number_edit_model.h"

using namespace velmora;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The value text rules: optional "-", digits, at most one ".", within the limits.
void CheckValue(const Text& v, const NumberFormat& f) {
  size_t i = 0, integer = 0, decimals = 0;
  bool point = false;
  if (i < v.size() && v[i] == u'-') {
    Check(f.Minus);
    ++i;
  }
  for (; i < v.size(); ++i) {
    if (v[i] == u'.') {
      Check(!point);
      point = true;
    } else {
      Check(v[i] >= u'0' && v[i] <= u'9');
      ++(point ? decimals : integer);
    }
  }
  Check(integer <= static_cast<size_t>(std::max(f.IntegerLength, 1)));
  Check(decimals <= static_cast<size_t>(std::max(f.DecimalLength, 0)));
}

class PasteView final : public NumberEditView {
 public:
  Text clipboard;
  int MeasureText(TextView text) override { return static_cast<int>(text.size()) * 7; }
  void Invalidate() override {}
  void UpdateCaret() override {}
  void SetClientHeight(int) override {}
  void UpdateWindowStyle() override {}
  void MessageBeep() override {}
  void Change() override {}
  void NextControl() override {}
  bool ForegroundIsOwnThread() override { return true; }
  void SetFocus() override {}
  bool ReadClipboardText(Text& text) override {
    text = clipboard;
    return true;
  }
  bool WriteClipboardText(const Text& text) override {
    clipboard = text;
    return true;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  NumberFormat f;
  f.IntegerLength = 1 + data[0] % 12;
  f.DecimalLength = data[1] % 6;
  f.Minus = data[2] & 1;
  f.Comma = data[2] & 2;
  f.DecimalFixed = data[2] & 4;
  Text text;
  for (size_t i = 3; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));

  const Text value = FilterText(text, f);
  CheckValue(value, f);
  Check(FilterText(value, f) == value);
  (void)FormatText(value, f);
  (void)FormatText(text, f);

  // The same text pasted into a field and assigned to it.
  PasteView view;
  NumberEditModel model(view);
  model.SetIntegerLength(f.IntegerLength);
  model.SetDecimalLength(f.DecimalLength);
  model.SetMinus(f.Minus);
  model.SetComma(f.Comma);
  model.SetDecimalFixed(f.DecimalFixed);
  model.SetClientSize(400, 24);
  view.clipboard = text;
  model.SelectAll();
  model.PasteFromClipboard();
  CheckValue(model.GetText(), model.Format());
  model.SetText(text);
  CheckValue(model.GetText(), model.Format());
  model.CopyToClipboard();
  return 0;
}
