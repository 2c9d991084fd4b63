#include "core/ini_file.h"

namespace velmora {

namespace {

bool IsBlank(char16_t c) { return c <= u' '; }

TextView TrimRight(TextView s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

TextView TrimLeft(TextView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

}  // namespace

TextView TrimControlAndBlanks(TextView s) { return TrimLeft(TrimRight(s)); }

void IniFile::Parse(TextView content) {
  sections_.clear();
  slots_.clear();
  Section* current = nullptr;
  size_t pos = 0;
  while (pos <= content.size()) {
    size_t end = content.find_first_of(u"\r\n", pos);
    const bool last = end == TextView::npos;
    if (last) end = content.size();
    const TextView line = TrimControlAndBlanks(content.substr(pos, end - pos));
    if (last) {
      pos = content.size() + 1;
    } else {
      pos = end + 1;
      if (content[end] == u'\r' && pos < content.size() && content[pos] == u'\n') ++pos;
    }

    if (line.empty() || line.front() == u';') continue;
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
      current = &SectionFor(TrimControlAndBlanks(line.substr(1, line.size() - 2)));
      continue;
    }
    if (!current) continue;
    const size_t eq = line.find(u'=');
    if (eq == TextView::npos) {
      current->entries.push_back({Text(line), Text(), false});
    } else {
      current->entries.push_back({Text(TrimRight(line.substr(0, eq))), Text(TrimLeft(line.substr(eq + 1))), true});
    }
  }
}

Text IniFile::Serialize() const {
  Text out;
  for (const auto& s : sections_) {
    out += u'[';
    out += s.name;
    out += u"]\r\n";
    for (const auto& e : s.entries) {
      out += e.key;
      if (e.hasValue) {
        out += u'=';
        out += e.value;
      }
      out += u"\r\n";
    }
    out += u"\r\n";
  }
  return out;
}

size_t IniFile::SlotOf(TextView name) const {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a of the folded units
  for (char16_t c : name) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
    hash = (hash ^ c) * 1099511628211ull;
  }
  const size_t mask = slots_.size() - 1;
  for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
    const std::uint32_t slot = slots_[i];
    if (slot == 0 || EqualsAsciiNoCase(sections_[slot - 1].name, name)) return i;
  }
}

void IniFile::Rehash(size_t slotCount) {
  slots_.assign(slotCount, 0);
  for (size_t k = 0; k < sections_.size(); ++k) slots_[SlotOf(sections_[k].name)] = static_cast<std::uint32_t>(k + 1);
}

const IniFile::Section* IniFile::FindSection(TextView name) const {
  if (slots_.empty()) return nullptr;
  const std::uint32_t slot = slots_[SlotOf(name)];
  return slot ? &sections_[slot - 1] : nullptr;
}

IniFile::Section& IniFile::SectionFor(TextView name) {
  if ((sections_.size() + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? 16 : slots_.size() * 2);
  const size_t i = SlotOf(name);
  if (slots_[i] == 0) {
    sections_.push_back({Text(name), {}});
    slots_[i] = static_cast<std::uint32_t>(sections_.size());
  }
  return sections_[slots_[i] - 1];
}

const IniFile::Entry* IniFile::FindEntry(const Section& s, TextView key) {
  for (auto it = s.entries.rbegin(); it != s.entries.rend(); ++it)
    if (it->hasValue && EqualsAsciiNoCase(it->key, key)) return &*it;
  return nullptr;
}

IniFile::Entry* IniFile::FindEntry(Section& s, TextView key) {
  return const_cast<Entry*>(FindEntry(static_cast<const Section&>(s), key));
}

size_t IniFile::EntryCount(TextView section) const {
  const Section* s = FindSection(section);
  return s ? s->entries.size() : 0;
}

std::optional<Text> IniFile::Find(TextView section, TextView key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  const Entry* e = FindEntry(*s, key);
  if (!e) return std::nullopt;
  return e->value;
}

Text IniFile::ReadString(TextView section, TextView key, const Text& fallback) const {
  auto v = Find(section, key);
  return v ? *v : fallback;
}

std::int32_t IniFile::ReadInteger(TextView section, TextView key, std::int32_t fallback) const {
  const auto v = Find(section, key);
  if (!v) return fallback;
  return ParseIniInteger(*v).value_or(fallback);
}

bool IniFile::ReadBool(TextView section, TextView key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(TextView section, TextView key, const Text& value) {
  Section& s = SectionFor(section);
  if (Entry* found = FindEntry(s, key)) {
    found->value = value;
    return;
  }
  s.entries.push_back({Text(key), value, true});
}

void IniFile::WriteInteger(TextView section, TextView key, std::int32_t value) {
  WriteString(section, key, DecimalText(value));
}

void IniFile::WriteBool(TextView section, TextView key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}

std::optional<std::int32_t> ParseIniInteger(TextView text) {
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == u'$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char16_t c : text) {
    int digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (base == 16 && c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (base == 16 && c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 16) {
    // Hexadecimal covers the 32 bits: $FFFFFFFF is -1.
    const auto bits = static_cast<std::uint32_t>(value);
    const auto v = static_cast<std::int32_t>(bits);
    return negative ? static_cast<std::int32_t>(0u - bits) : v;
  }
  if (negative) {
    if (value > 0x80000000ull) return std::nullopt;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
  }
  if (value > 0x7FFFFFFFull) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace velmora
