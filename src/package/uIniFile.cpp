#include "package/uIniFile.h"

#include <algorithm>
#include <utility>
#include <cstdio>
#include <vector>

#include "os/uFolderAccess.h"
#include "package/uText.h"

namespace kx {

std::optional<int32_t> ParseInteger(std::string_view text, TIntSyntax syntax) {
  std::string_view s = Trim(text);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  unsigned base = 10;
  if (syntax == TIntSyntax::DecimalOrHex && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : s) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = unsigned(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') digit = unsigned(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') digit = unsigned(c - 'A' + 10);
    else return std::nullopt;
    value = value * base + digit;
    if (value > int64_t(UINT32_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  // Hexadecimal spells the bit pattern: 0xFFFFFFFF is -1.
  if (base == 16 && !negative && value <= int64_t(UINT32_MAX)) return int32_t(uint32_t(value));
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return int32_t(value);
}

void TIniFile::TSection::Add(std::string key, std::string value) {
  entries.push_back({std::move(key), std::move(value)});
  if (entries.size() > kIndexFrom) {
    if (index.empty()) Reindex();
    else index.try_emplace(UpperCase(entries.back().key), entries.size() - 1);
  }
}

void TIniFile::TSection::Reindex() {
  index.clear();
  if (entries.size() > kIndexFrom)
    for (size_t i = 0; i < entries.size(); ++i) index.try_emplace(UpperCase(entries[i].key), i);
}

const TIniFile::TEntry* TIniFile::TSection::Find(std::string_view key) const {
  if (index.empty()) {
    for (const TEntry& e : entries)
      if (SameText(e.key, key)) return &e;
    return nullptr;
  }
  const auto it = index.find(UpperCase(key));
  return it == index.end() ? nullptr : &entries[it->second];
}

TIniFile::TEntry* TIniFile::TSection::Find(std::string_view key) {
  return const_cast<TEntry*>(std::as_const(*this).Find(key));
}

void TIniFile::ReindexSections() {
  m_index.clear();
  for (size_t i = 0; i < m_sections.size(); ++i) m_index.try_emplace(UpperCase(m_sections[i].name), i);
}

TIniFile TIniFile::FromText(std::string_view text) {
  TIniFile ini;
  TSection* current = nullptr;
  text = text.substr(0, std::min(text.size(), kMaxIniBytes));
  // Room for the sections up front (a bracket may start one), within reason.
  const size_t sections = std::min<size_t>(size_t(std::count(text.begin(), text.end(), '[')), 1 << 16);
  ini.m_sections.reserve(sections);
  ini.m_index.reserve(sections);
  size_t count = 0;
  for (size_t start = 0; start < text.size() && count < kMaxIniLines; ++count) {
    // Lines end with CR LF, LF or CR, as SplitLines reads them.
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(start, end - start));
    start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      current = &ini.SectionFor(Trim(line.substr(1, close == std::string_view::npos ? close : close - 1)));
      continue;
    }
    const size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    if (!key.empty()) current->Add(std::string(key), std::string(Trim(line.substr(eq + 1))));
  }
  return ini;
}

TIniFile TIniFile::FromFile(const std::string& path) {
  return FromText(ReadFileText(path, kMaxIniBytes));
}

std::string TIniFile::ToText() const {
  std::string out;
  for (const TSection& s : m_sections) {
    if (!out.empty()) out += "\r\n";
    out += "[" + s.name + "]\r\n";
    for (const TEntry& e : s.entries) out += e.key + "=" + e.value + "\r\n";
  }
  return out;
}

bool TIniFile::SaveToFile(const std::string& path) const {
  return ReplaceFileContents(path, ToText());
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const {
  const auto it = m_index.find(UpperCase(name));
  return it == m_index.end() ? nullptr : &m_sections[it->second];
}

TIniFile::TSection* TIniFile::FindSection(std::string_view name) {
  return const_cast<TSection*>(std::as_const(*this).FindSection(name));
}

TIniFile::TSection& TIniFile::SectionFor(std::string_view name) {
  const auto [it, added] = m_index.try_emplace(UpperCase(name), m_sections.size());
  if (!added) return m_sections[it->second];
  return m_sections.emplace_back(TSection{std::string(name), {}, {}});
}

const std::string* TIniFile::FindValue(std::string_view section, std::string_view key) const {
  const TSection* s = FindSection(section);
  const TEntry* e = s ? s->Find(key) : nullptr;
  return e ? &e->value : nullptr;
}

std::vector<std::string> TIniFile::SectionNames() const {
  std::vector<std::string> names;
  for (const TSection& s : m_sections) names.push_back(s.name);
  return names;
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const TSection* s = FindSection(section))
    for (const TEntry& e : s->entries) keys.push_back(e.key);
  return keys;
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindValue(section, key) != nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  const std::string* v = FindValue(section, key);
  return v ? *v : std::string(def);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def,
                              TIntSyntax syntax) const {
  const std::string* v = FindValue(section, key);
  return v ? ParseInteger(*v, syntax).value_or(def) : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // A line break in a value would start a new line of the file: it becomes a blank.
  std::string text(value);
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  TSection& s = SectionFor(section);
  if (TEntry* e = s.Find(key)) e->value = std::move(text);
  else s.Add(std::string(key), std::move(text));
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  if (TSection* s = FindSection(section)) {
    if (std::erase_if(s->entries, [&](const TEntry& e) { return SameText(e.key, key); }) > 0) s->Reindex();
  }
}

void TIniFile::EraseSection(std::string_view section) {
  if (std::erase_if(m_sections, [&](const TSection& s) { return SameText(s.name, section); }) > 0) ReindexSections();
}

}  // namespace kx
