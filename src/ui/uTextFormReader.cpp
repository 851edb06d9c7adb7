#include "ui/uTextFormReader.h"

#include <optional>

#include "package/uText.h"
#include "ui/uAnsiText.h"

namespace kx {

TTextFormError::TTextFormError(int line, int column, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what),
      Line(line),
      Column(column) {}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }
bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
bool IsLowSurrogate(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
bool IsHighSurrogate(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }

class TReader {
 public:
  explicit TReader(std::string text) : m_text(std::move(text)) {
    if (m_text.starts_with("\xEF\xBB\xBF")) m_pos = 3;  // a byte-order mark an editor put there
  }

  TFormObject ReadRoot() {
    SkipBlanks();
    TFormObject root = ReadObject(1);
    SkipBlanks();
    if (!AtEnd()) Fail("text after the final end");
    return root;
  }

 private:
  std::string m_text;
  size_t m_pos = 0;

  [[noreturn]] void FailAt(size_t pos, const std::string& what) const {
    int line = 1, column = 1;
    for (size_t i = 0; i < pos && i < m_text.size(); ++i) {
      const char c = m_text[i];
      if (c == '\n' || (c == '\r' && (i + 1 >= m_text.size() || m_text[i + 1] != '\n'))) {
        ++line;
        column = 1;
      } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
        ++column;  // continuation bytes of a UTF-8 character add nothing
      }
    }
    throw TTextFormError(line, column, what);
  }
  [[noreturn]] void Fail(const std::string& what) const { FailAt(m_pos, what); }

  bool AtEnd() const { return m_pos >= m_text.size(); }
  char Peek(size_t ahead = 0) const { return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0'; }

  // Control characters and blanks separate tokens; NUL does not.
  void SkipBlanks() {
    while (!AtEnd() && m_text[m_pos] != '\0' && static_cast<unsigned char>(m_text[m_pos]) <= ' ') ++m_pos;
  }

  void Expect(char c, const char* what) {
    SkipBlanks();
    if (Peek() != c || AtEnd()) Fail(std::string("expected ") + what);
    ++m_pos;
  }

  // The identifier at the cursor without taking it; dotted joins "Font.Name".
  size_t IdentEnd(bool dotted) const {
    size_t p = m_pos;
    if (p >= m_text.size() || !IsIdentStart(m_text[p])) return m_pos;
    while (true) {
      while (p < m_text.size() && IsIdentChar(m_text[p])) ++p;
      if (dotted && p + 1 < m_text.size() && m_text[p] == '.' && IsIdentStart(m_text[p + 1])) {
        ++p;
        continue;
      }
      return p;
    }
  }
  std::string_view PeekIdent(bool dotted) const {
    return std::string_view(m_text).substr(m_pos, IdentEnd(dotted) - m_pos);
  }
  std::string ReadIdent(bool dotted, const char* what) {
    SkipBlanks();
    const std::string_view id = PeekIdent(dotted);
    if (id.empty()) Fail(std::string("expected ") + what);
    m_pos += id.size();
    return std::string(id);
  }

  static std::optional<TObjectKind> KindOf(std::string_view word) {
    if (SameText(word, "object")) return TObjectKind::Object;
    if (SameText(word, "inherited")) return TObjectKind::Inherited;
    if (SameText(word, "inline")) return TObjectKind::Inline;
    return std::nullopt;
  }

  void CheckDepth(int depth) const {
    if (depth > kMaxFormNesting)
      Fail("nesting deeper than " + std::to_string(kMaxFormNesting) + " levels");
  }

  TFormObject ReadObject(int depth) {
    CheckDepth(depth);
    TFormObject object;
    SkipBlanks();
    const std::optional<TObjectKind> kind = KindOf(PeekIdent(false));
    if (!kind) Fail("expected object, inherited or inline");
    object.Kind = *kind;
    m_pos = IdentEnd(false);
    const std::string first = ReadIdent(false, "a name or a class name");
    SkipBlanks();
    if (Peek() == ':') {
      ++m_pos;
      object.Name = first;
      object.ClassName = ReadIdent(false, "a class name after ':'");
    } else {
      object.ClassName = first;
    }
    object.Index = ReadOptionalIndex();
    while (true) {
      SkipBlanks();
      if (AtEnd()) Fail("missing end of object " + (object.Name.empty() ? object.ClassName : object.Name));
      const std::string_view word = PeekIdent(true);
      if (word.empty()) Fail("expected a property name, an object or end");
      if (SameText(word, "end")) {
        m_pos += word.size();
        return object;
      }
      if (KindOf(word)) {
        object.Children.push_back(ReadObject(depth + 1));
        continue;
      }
      if (!object.Children.empty()) Fail("property line after a nested object");
      object.Props.push_back(ReadProperty(depth));
    }
  }

  std::optional<int32_t> ReadOptionalIndex() {
    SkipBlanks();
    if (Peek() != '[') return std::nullopt;
    ++m_pos;
    SkipBlanks();
    const size_t start = m_pos;
    if (Peek() != '-' && Peek() != '$' && !IsDigit(Peek())) Fail("expected an integer position");
    const TFormValue v = ReadNumber();
    const auto* i = std::get_if<TFormInt>(&v.V);
    if (!i || i->Value < INT32_MIN || i->Value > INT32_MAX) FailAt(start, "expected an integer position");
    Expect(']', "']'");
    return int32_t(i->Value);
  }

  TFormProperty ReadProperty(int depth) {
    TFormProperty p;
    p.Name = ReadIdent(true, "a property name");
    Expect('=', "'=' after " + p.Name);
    SkipBlanks();
    p.Value = ReadValue(depth);
    return p;
  }

  void Expect(char c, const std::string& what) { Expect(c, what.c_str()); }

  TFormValue ReadValue(int depth) {
    SkipBlanks();
    const char c = Peek();
    if (AtEnd()) Fail("expected a value");
    if (c == '-' || IsDigit(c) || c == '$') return ReadNumber();
    if (c == '\'' || c == '#') return {TFormString{ReadString()}};
    if (c == '[') return {ReadSet()};
    if (c == '(') return {ReadList(depth + 1)};
    if (c == '{') return {ReadBinary()};
    if (c == '<') return {ReadCollection(depth + 1)};
    if (IsIdentStart(c)) return {TFormIdent{ReadIdent(true, "a value")}};
    Fail("expected a value");
  }

  TFormValue ReadNumber() {
    const size_t start = m_pos;
    const bool negative = Peek() == '-';
    if (negative) ++m_pos;
    TFormValue result;
    if (Peek() == '$') {
      ++m_pos;
      uint64_t value = 0;
      int digits = 0;
      for (; IsHexDigit(Peek()); ++m_pos) {
        if (value >> 60) FailAt(start, "integer out of range");
        value = value << 4 | uint64_t(HexValue(Peek()));
        ++digits;
      }
      if (digits == 0) FailAt(start, "expected hexadecimal digits after '$'");
      // Hexadecimal spells the bit pattern of a 64-bit integer.
      result.V = TFormInt{int64_t(negative ? 0 - value : value)};
    } else {
      if (!IsDigit(Peek())) FailAt(start, "expected digits");
      uint64_t value = 0;
      bool overflow = false;
      for (; IsDigit(Peek()); ++m_pos) {
        const uint64_t d = uint64_t(Peek() - '0');
        if (value > (UINT64_MAX - d) / 10) overflow = true;
        else value = value * 10 + d;
      }
      bool isFloat = false;
      if (Peek() == '.') {
        ++m_pos;
        if (!IsDigit(Peek())) FailAt(start, "expected digits after '.'");
        while (IsDigit(Peek())) ++m_pos;
        isFloat = true;
      }
      if (Peek() == 'e' || Peek() == 'E') {
        ++m_pos;
        if (Peek() == '+' || Peek() == '-') ++m_pos;
        if (!IsDigit(Peek())) FailAt(start, "expected digits in the exponent");
        while (IsDigit(Peek())) ++m_pos;
        isFloat = true;
      }
      const char suffix = char(Peek() | 0x20);
      if (suffix == 's' || suffix == 'c' || suffix == 'd') {
        ++m_pos;
        isFloat = true;
      }
      if (isFloat) {
        result.V = TFormFloat{m_text.substr(start, m_pos - start)};
      } else {
        const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
        if (overflow || value > limit) FailAt(start, "integer out of range");
        result.V = TFormInt{negative ? int64_t(0 - value) : int64_t(value)};
      }
    }
    if (IsIdentChar(Peek()) || Peek() == '.') FailAt(start, "malformed number");
    return result;
  }

  void CheckSize(size_t size, size_t start) const {
    if (size > kMaxFormValueBytes) FailAt(start, "value larger than 16 MB");
  }

  // Quoted pieces, #n characters and + continuations. #n is the Unicode code
  // point n; a UTF-16 surrogate pair written as two #n joins into one
  // character, and a lone surrogate becomes U+FFFD.
  std::string ReadString() {
    const size_t start = m_pos;
    std::string text;
    std::optional<uint32_t> high;
    auto flushHigh = [&] {
      if (high) AppendCodePoint(text, 0xFFFD);
      high.reset();
    };
    while (true) {
      const char c = Peek();
      if (c == '\'' && !AtEnd()) {
        flushHigh();
        const size_t open = m_pos++;
        while (true) {
          const size_t stop = m_text.find_first_of("'\r\n", m_pos);
          if (stop == std::string::npos || m_text[stop] != '\'') FailAt(open, "unterminated string");
          text.append(m_text, m_pos, stop - m_pos);
          CheckSize(text.size(), start);
          m_pos = stop + 1;
          if (Peek() != '\'' || AtEnd()) break;
          text += '\'';  // an apostrophe written twice
          ++m_pos;
        }
      } else if (c == '#') {
        const size_t at = m_pos++;
        uint32_t code = 0;
        const bool hex = Peek() == '$';
        if (hex) ++m_pos;
        int digits = 0;
        for (; hex ? IsHexDigit(Peek()) : IsDigit(Peek()); ++m_pos, ++digits) {
          code = code * (hex ? 16 : 10) + uint32_t(HexValue(Peek()));
          if (code > 0x10FFFF) FailAt(at, "character code out of range");
        }
        if (digits == 0) FailAt(at, "expected a character code after '#'");
        if (high && IsLowSurrogate(code)) {
          AppendCodePoint(text, 0x10000 + ((*high - 0xD800) << 10) + (code - 0xDC00));
          high.reset();
        } else {
          flushHigh();
          if (IsHighSurrogate(code)) high = code;
          else AppendCodePoint(text, code);
        }
      } else {
        // A "+" (across blanks and line ends) continues the string.
        size_t p = m_pos;
        while (p < m_text.size() && m_text[p] != '\0' && static_cast<unsigned char>(m_text[p]) <= ' ') ++p;
        if (p >= m_text.size() || m_text[p] != '+') break;
        m_pos = p + 1;
        SkipBlanks();
        if (Peek() != '\'' && Peek() != '#') Fail("expected a string after '+'");
      }
      CheckSize(text.size(), start);
    }
    flushHigh();
    CheckSize(text.size(), start);
    return text;
  }

  TFormSet ReadSet() {
    ++m_pos;
    TFormSet set;
    SkipBlanks();
    if (Peek() == ']') {
      ++m_pos;
      return set;
    }
    while (true) {
      set.Names.push_back(ReadIdent(true, "a set element"));
      SkipBlanks();
      if (Peek() == ']' && !AtEnd()) break;
      Expect(',', "',' or ']'");
    }
    ++m_pos;
    return set;
  }

  TFormList ReadList(int depth) {
    CheckDepth(depth);
    ++m_pos;
    TFormList list;
    while (true) {
      SkipBlanks();
      if (AtEnd()) Fail("missing ')'");
      if (Peek() == ')') break;
      list.Items.push_back(ReadValue(depth));
    }
    ++m_pos;
    return list;
  }

  TFormBinary ReadBinary() {
    const size_t start = m_pos++;
    TFormBinary binary;
    int pending = -1;
    while (true) {
      SkipBlanks();
      if (AtEnd()) Fail("missing '}'");
      const char c = Peek();
      if (c == '}') break;
      if (!IsHexDigit(c)) Fail("expected hexadecimal digits or '}'");
      // A run of digits at a time: pictures make these values long.
      size_t end = m_pos;
      while (end < m_text.size() && IsHexDigit(m_text[end])) ++end;
      CheckSize(binary.Bytes.size() + (end - m_pos) / 2, start);
      for (; m_pos < end; ++m_pos) {
        if (pending < 0) {
          pending = HexValue(m_text[m_pos]);
          continue;
        }
        binary.Bytes += char(pending << 4 | HexValue(m_text[m_pos]));
        pending = -1;
      }
      CheckSize(binary.Bytes.size(), start);
    }
    if (pending >= 0) Fail("odd number of hexadecimal digits");
    ++m_pos;
    return binary;
  }

  TFormCollection ReadCollection(int depth) {
    CheckDepth(depth);
    ++m_pos;
    TFormCollection collection;
    while (true) {
      SkipBlanks();
      if (AtEnd()) Fail("missing '>'");
      if (Peek() == '>') break;
      if (!SameText(PeekIdent(false), "item")) Fail("expected item or '>'");
      m_pos = IdentEnd(false);
      TCollectionItem item;
      item.Index = ReadOptionalIndex();
      while (true) {
        SkipBlanks();
        if (AtEnd()) Fail("missing end of item");
        const std::string_view word = PeekIdent(true);
        if (SameText(word, "end")) {
          m_pos += word.size();
          break;
        }
        item.Props.push_back(ReadProperty(depth));
      }
      collection.Items.push_back(std::move(item));
    }
    ++m_pos;
    return collection;
  }
};

}  // namespace

TFormObject ReadTextForm(std::string_view text) { return TReader(DecodeAnsiText(text)).ReadRoot(); }

}  // namespace kx
