#include "text/utf.h"

namespace orv {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

// `keepLone`: an unpaired surrogate keeps its own three-byte form instead of U+FFFD.
template <typename Unit, typename Get>
std::string Utf16UnitsToUtf8(std::size_t count, Get get, bool keepLone = false) {
  std::string out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    char32_t c = static_cast<Unit>(get(i));
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < count) {
      char32_t low = static_cast<Unit>(get(i + 1));
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    if (c >= 0xD800 && c < 0xE000 && !keepLone) c = kReplacement;  // lone surrogate
    AppendUtf8(out, c);
  }
  return out;
}

bool IsAsciiSpaceOrControl(unsigned char c) { return c <= 32; }

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    unsigned char b = p[i];
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    int extra = b >= 0xF5 ? -1 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 ? 1 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= n) {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    char32_t c = b & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char t = p[i + k];
      if ((t & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (t & 0x3F);
    }
    const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    // A surrogate's three-byte form is what KeyNameToUtf8 made of an unpaired one: it goes back.
    if (!ok || c < minimum[extra] || c > 0x10FFFF) {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    AppendUtf16(out, c);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  return Utf16UnitsToUtf8<char16_t>(text.size(), [&](std::size_t i) { return text[i]; });
}

std::string KeyNameToUtf8(std::u16string_view name) {
  return Utf16UnitsToUtf8<char16_t>(name.size(), [&](std::size_t i) { return name[i]; }, true);
}

std::string Utf16LeBytesToUtf8(const unsigned char* data, std::size_t size) {
  std::size_t units = size / 2;
  for (std::size_t i = 0; i < units; ++i) {
    if (data[2 * i] == 0 && data[2 * i + 1] == 0) {
      units = i;
      break;
    }
  }
  return Utf16UnitsToUtf8<char16_t>(units, [&](std::size_t i) {
    return static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  });
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

std::string TrimControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsAsciiSpaceOrControl(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && IsAsciiSpaceOrControl(static_cast<unsigned char>(text[end - 1]))) --end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace orv
