// INI text as the settings file keeps it: sections and keys compared without
// regard to case, repeated sections merged, the later of two equal keys
// winning; writing keeps the file's order and spelling, drops comments.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/text.h"

namespace velmora {

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(TextView content) { Parse(content); }

  void Parse(TextView content);
  // The whole file: CR LF after every line, an empty line after each section.
  Text Serialize() const;

  // Absent keys and keys without "=" give nullopt.
  std::optional<Text> Find(TextView section, TextView key) const;
  Text ReadString(TextView section, TextView key, const Text& fallback) const;
  // Decimal, or hexadecimal after "0x" / "$"; anything else gives `fallback`.
  std::int32_t ReadInteger(TextView section, TextView key, std::int32_t fallback) const;
  bool ReadBool(TextView section, TextView key, bool fallback) const;

  void WriteString(TextView section, TextView key, const Text& value);
  void WriteInteger(TextView section, TextView key, std::int32_t value);
  void WriteBool(TextView section, TextView key, bool value);

  bool Empty() const { return sections_.empty(); }
  // Lines of a section, keys without "=" included; 0 when it is absent.
  size_t EntryCount(TextView section) const;
  // Calls f(key, value) for each key with a value of the section, in file
  // order (a repeated key once per line); nothing when it is absent.
  template <typename F>
  void ForEachValue(TextView section, F&& f) const {
    if (const Section* s = FindSection(section)) {
      for (const Entry& e : s->entries)
        if (e.hasValue) f(TextView(e.key), e.value);
    }
  }

 private:
  struct Entry {
    Text key;
    Text value;
    bool hasValue = true;  // false: a line without "=", kept as it stands
  };
  struct Section {
    Text name;
    std::vector<Entry> entries;
  };

  const Section* FindSection(TextView name) const;
  Section& SectionFor(TextView name);
  static const Entry* FindEntry(const Section& s, TextView key);
  static Entry* FindEntry(Section& s, TextView key);

  // The slot of `name` in `slots_`: the one holding it, or the empty one
  // where it belongs.
  size_t SlotOf(TextView name) const;
  void Rehash(size_t slotCount);

  std::vector<Section> sections_;
  // Sections by name with A-Z folded, open addressing (position + 1; 0 is
  // empty): a file of a great many sections, hand-made or garbage full of
  // brackets, must not take quadratic time, nor an allocation a section.
  std::vector<std::uint32_t> slots_;
};

// Integer text as the settings file stores it: optional sign, decimal, or
// hexadecimal after "0x"/"0X" (longer than two characters) or "$". nullopt
// for anything else, including values outside 32 bits.
std::optional<std::int32_t> ParseIniInteger(TextView text);

// Removes characters with a code not above U+0020 from both ends.
TextView TrimControlAndBlanks(TextView s);

}  // namespace velmora
