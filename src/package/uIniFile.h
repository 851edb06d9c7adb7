// INI text as the project description, the user settings file, object
// settings and build options use it: section and key names compared without
// regard to case, key order kept, a value is the text after the first "=",
// integers in decimal, booleans as integers (0 false, anything else true), and
// a value that is not a number reads as the caller's default.
//
// Sections and keys are indexed by their folded names, so reading a text and
// looking values up take time linear in its size. One text holds at most
// kMaxIniBytes and kMaxIniLines; what lies beyond is ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kx {

inline constexpr size_t kMaxIniBytes = size_t(16) << 20;
inline constexpr size_t kMaxIniLines = 1'000'000;

enum class TIntSyntax { Decimal, DecimalOrHex };  // DecimalOrHex also takes "0x1F"

// Parses a whole 32-bit integer (blanks around it allowed); nullopt for
// anything else, including values out of range.
std::optional<int32_t> ParseInteger(std::string_view text, TIntSyntax syntax = TIntSyntax::Decimal);

class TIniFile {
 public:
  TIniFile() = default;

  // Lines before the first section, lines without "=" and lines starting
  // with ";" are ignored. A section named twice continues the first one; of a
  // key named twice in a section the first value counts.
  static TIniFile FromText(std::string_view text);
  // A missing file reads as an empty one.
  static TIniFile FromFile(const std::string& path);

  // CR LF lines, a blank line between sections.
  std::string ToText() const;
  // Replaces the file as a whole (a new file renamed over the old), so an
  // interrupted write never leaves a half-written settings file. False on failure.
  bool SaveToFile(const std::string& path) const;

  std::vector<std::string> SectionNames() const;
  bool SectionExists(std::string_view section) const;
  // The key names of a section in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def,
                      TIntSyntax syntax = TIntSyntax::Decimal) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void DeleteKey(std::string_view section, std::string_view key);
  void EraseSection(std::string_view section);

 private:
  struct TEntry {
    std::string key, value;
  };
  // Small sections are searched along their entries; a section of more than
  // kIndexFrom entries gets an index of its folded keys.
  static constexpr size_t kIndexFrom = 16;
  struct TSection {
    std::string name;
    std::vector<TEntry> entries;                   // file order, repeated keys included
    std::unordered_map<std::string, size_t> index;  // folded key -> its first entry, for large sections
    void Add(std::string key, std::string value);
    void Reindex();
    TEntry* Find(std::string_view key);
    const TEntry* Find(std::string_view key) const;
  };

  const TSection* FindSection(std::string_view name) const;
  TSection* FindSection(std::string_view name);
  TSection& SectionFor(std::string_view name);
  const std::string* FindValue(std::string_view section, std::string_view key) const;
  void ReindexSections();

  std::vector<TSection> m_sections;
  std::unordered_map<std::string, size_t> m_index;  // folded section name -> position
};

}  // namespace kx
