#include "util/text.h"

#include <climits>
#include <cstdio>
#include <vector>

WString widenBytewise(std::string_view bytes) {
  WString out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) out.push_back(static_cast<char16_t>(b));
  return out;
}

std::string toUtf8(WStringView text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
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
  return out;
}

namespace {

struct Conversion {
  bool leftAlign = false;
  bool zeroPad = false;
  int width = 0;
  int precision = -1;
};

void pad(WString& out, WStringView body, const Conversion& conv, bool numeric) {
  std::size_t len = body.size();
  std::size_t width = conv.width > 0 ? static_cast<std::size_t>(conv.width) : 0;
  if (len >= width) {
    out.append(body);
    return;
  }
  std::size_t fill = width - len;
  if (conv.leftAlign) {
    out.append(body);
    out.append(fill, u' ');
  } else if (conv.zeroPad && numeric) {
    std::size_t signLen = (!body.empty() && (body[0] == u'-')) ? 1 : 0;
    out.append(body.substr(0, signLen));
    out.append(fill, u'0');
    out.append(body.substr(signLen));
  } else {
    out.append(fill, u' ');
    out.append(body);
  }
}

WString digits(unsigned long long value, unsigned base, bool upper) {
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  WString rev;
  do {
    rev.push_back(static_cast<char16_t>(set[value % base]));
    value /= base;
  } while (value != 0);
  return WString(rev.rbegin(), rev.rend());
}

WString signedDigits(long long value) {
  if (value < 0) {
    unsigned long long magnitude = 0ULL - static_cast<unsigned long long>(value);
    return u"-" + digits(magnitude, 10, false);
  }
  return digits(static_cast<unsigned long long>(value), 10, false);
}

}  // namespace

WString formatTextV(const char16_t* format, va_list args) {
  WString out;
  if (format == nullptr) return out;
  va_list ap;
  va_copy(ap, args);
  for (const char16_t* p = format; *p != 0; ++p) {
    if (*p != u'%') {
      out.push_back(*p);
      continue;
    }
    const char16_t* start = p;
    ++p;
    if (*p == u'%') {
      out.push_back(u'%');
      continue;
    }
    Conversion conv;
    for (;; ++p) {
      if (*p == u'-') conv.leftAlign = true;
      else if (*p == u'0') conv.zeroPad = true;
      else break;
    }
    if (*p == u'*') {
      conv.width = va_arg(ap, int);
      if (conv.width < 0) {
        conv.leftAlign = true;
        conv.width = -conv.width;
      }
      ++p;
    } else {
      while (*p >= u'0' && *p <= u'9') conv.width = conv.width * 10 + (*p++ - u'0');
    }
    if (*p == u'.') {
      ++p;
      conv.precision = 0;
      if (*p == u'*') {
        conv.precision = va_arg(ap, int);
        ++p;
      } else {
        while (*p >= u'0' && *p <= u'9') conv.precision = conv.precision * 10 + (*p++ - u'0');
      }
    }
    int size = 0;  // 0 int, 1 long, 2 64-bit
    if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
      size = 2;
      p += 3;
    } else if (p[0] == u'l' && p[1] == u'l') {
      size = 2;
      p += 2;
    } else if (p[0] == u'l' || p[0] == u'h' || p[0] == u'w') {
      size = p[0] == u'l' ? 1 : 0;
      ++p;
    } else if (p[0] == u'z') {
      size = 2;
      ++p;
    }
    switch (*p) {
      case u's': {
        const char16_t* s = va_arg(ap, const char16_t*);
        WStringView body = s ? WStringView(s) : WStringView(u"(null)");
        if (conv.precision >= 0 && body.size() > static_cast<std::size_t>(conv.precision))
          body = body.substr(0, static_cast<std::size_t>(conv.precision));
        pad(out, body, conv, false);
        break;
      }
      case u'S': {
        const char* s = va_arg(ap, const char*);
        std::string_view bytes = s ? std::string_view(s) : std::string_view("(null)");
        if (conv.precision >= 0 && bytes.size() > static_cast<std::size_t>(conv.precision))
          bytes = bytes.substr(0, static_cast<std::size_t>(conv.precision));
        pad(out, widenBytewise(bytes), conv, false);
        break;
      }
      case u'c':
      case u'C': {
        char16_t c = static_cast<char16_t>(va_arg(ap, int));
        pad(out, WStringView(&c, 1), conv, false);
        break;
      }
      case u'd':
      case u'i': {
        long long v = size == 2 ? va_arg(ap, long long)
                                : (size == 1 ? va_arg(ap, long) : va_arg(ap, int));
        pad(out, signedDigits(v), conv, true);
        break;
      }
      case u'u':
      case u'x':
      case u'X': {
        unsigned long long v = size == 2 ? va_arg(ap, unsigned long long)
                                         : (size == 1 ? va_arg(ap, unsigned long)
                                                      : va_arg(ap, unsigned int));
        unsigned base = *p == u'u' ? 10 : 16;
        pad(out, digits(v, base, *p == u'X'), conv, true);
        break;
      }
      case u'p': {
        auto v = reinterpret_cast<std::uintptr_t>(va_arg(ap, void*));
        WString body = digits(v, 16, true);
        WString full(sizeof(void*) * 2 > body.size() ? sizeof(void*) * 2 - body.size() : 0, u'0');
        pad(out, full + body, conv, false);
        break;
      }
      default:
        // Unknown conversion: keep the text as written.
        out.append(start, static_cast<std::size_t>(p - start) + (*p ? 1 : 0));
        if (*p == 0) --p;
        break;
    }
  }
  va_end(ap);
  return out;
}

WString formatText(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  WString out = formatTextV(format, args);
  va_end(args);
  return out;
}

std::string formatNarrow(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int needed = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out;
  if (needed > 0) {
    std::vector<char> buf(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, again);
    out.assign(buf.data(), static_cast<std::size_t>(needed));
  }
  va_end(again);
  return out;
}

void truncateToCapacity(std::string& text, std::size_t cap) {
  std::size_t keep = cap == 0 ? 0 : cap - 1;
  if (text.size() > keep) text.resize(keep);
}

void truncateToCapacity(WString& text, std::size_t cap) {
  std::size_t keep = cap == 0 ? 0 : cap - 1;
  if (text.size() > keep) text.resize(keep);
}

std::int32_t decimalToInt32(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  bool overflow = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (!overflow) {
      value = value * 10 + (text[i] - '0');
      if (value > static_cast<long long>(INT32_MAX) + 1) overflow = true;
    }
  }
  if (negative) {
    value = -value;
    if (overflow || value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
  }
  if (overflow || value > INT32_MAX) return INT32_MAX;
  return static_cast<std::int32_t>(value);
}

void asciiLowerInPlace(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

void asciiLowerInPlace(WString& text) {
  for (char16_t& c : text)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
}

void asciiUpperInPlace(WString& text) {
  for (char16_t& c : text)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
}

std::vector<std::string> splitNonEmpty(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) pieces.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool startsWith(WStringView text, WStringView prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool endsWithIgnoreAsciiCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  std::string tail(text.substr(text.size() - suffix.size()));
  std::string want(suffix);
  asciiLowerInPlace(tail);
  asciiLowerInPlace(want);
  return tail == want;
}

std::string classicTimeText(int year, int month, int day, int weekday, int hour, int minute,
                            int second) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* dayName = (weekday >= 0 && weekday < 7) ? kDays[weekday] : "???";
  const char* monthName = (month >= 1 && month <= 12) ? kMonths[month - 1] : "???";
  return formatNarrow("%.3s %.3s%3d %.2d:%.2d:%.2d %d", dayName, monthName, day, hour, minute,
                      second, year);
}
