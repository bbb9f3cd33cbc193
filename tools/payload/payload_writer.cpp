#include "payload/payload_writer.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace payload {

namespace {

void put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void put64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void putBytes(std::string& out, const std::string& bytes) {
  put32(out, static_cast<std::uint32_t>(bytes.size()));
  out += bytes;
}
void putWide(std::string& out, std::int32_t id, const std::u16string& text) {
  put32(out, static_cast<std::uint32_t>(id));
  put32(out, static_cast<std::uint32_t>(text.size() * 2));
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
}

std::uint32_t get32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t{static_cast<unsigned char>(s[at + i])} << (8 * i);
  return v;
}
std::uint16_t get16(const std::string& s, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                    (static_cast<unsigned char>(s[at + 1]) << 8));
}

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

PayloadBuilder& PayloadBuilder::item(std::int32_t id, std::string value) {
  items_.emplace_back(id, std::move(value));
  return *this;
}
PayloadBuilder& PayloadBuilder::message(std::int32_t id, std::u16string value) {
  messages_.emplace_back(id, std::move(value));
  return *this;
}
PayloadBuilder& PayloadBuilder::group(OverrideGroup group) {
  groups_.push_back(std::move(group));
  return *this;
}
PayloadBuilder& PayloadBuilder::file(std::string bytes) {
  const auto length = static_cast<std::int64_t>(bytes.size());
  files_.emplace_back(length, std::move(bytes));
  return *this;
}
PayloadBuilder& PayloadBuilder::fileRecord(std::int64_t declaredLength, std::string bytes) {
  files_.emplace_back(declaredLength, std::move(bytes));
  return *this;
}
PayloadBuilder& PayloadBuilder::trailer(std::string bytes) {
  trailer_ = std::move(bytes);
  return *this;
}
PayloadBuilder& PayloadBuilder::magic(std::uint32_t value) {
  magic_ = value;
  return *this;
}
PayloadBuilder& PayloadBuilder::reserved(std::int32_t a, std::int32_t b, std::int64_t c) {
  reservedA_ = a;
  reservedB_ = b;
  reservedC_ = c;
  return *this;
}
PayloadBuilder& PayloadBuilder::count8(std::int32_t forged) {
  count8_ = forged;
  return *this;
}
PayloadBuilder& PayloadBuilder::count16(std::int32_t forged) {
  count16_ = forged;
  return *this;
}
PayloadBuilder& PayloadBuilder::groupCount(std::int32_t forged) {
  groupCount_ = forged;
  return *this;
}

std::size_t PayloadBuilder::configPartSize() const {
  PayloadBuilder copy = *this;
  copy.files_.clear();
  copy.trailer_.clear();
  return copy.bytes().size();
}

std::string PayloadBuilder::bytes() const {
  std::string out;
  put32(out, magic_);
  put32(out, static_cast<std::uint32_t>(reservedA_));
  put32(out, static_cast<std::uint32_t>(reservedB_));
  put64(out, static_cast<std::uint64_t>(reservedC_));

  put32(out, static_cast<std::uint32_t>(count8_.value_or(static_cast<std::int32_t>(items_.size()))));
  for (const auto& [id, value] : items_) {
    put32(out, static_cast<std::uint32_t>(id));
    putBytes(out, value);
  }
  put32(out,
        static_cast<std::uint32_t>(count16_.value_or(static_cast<std::int32_t>(messages_.size()))));
  for (const auto& [id, text] : messages_) putWide(out, id, text);

  put32(out,
        static_cast<std::uint32_t>(groupCount_.value_or(static_cast<std::int32_t>(groups_.size()))));
  for (const OverrideGroup& g : groups_) {
    putBytes(out, g.name);
    put32(out, static_cast<std::uint32_t>(g.entries.size()));
    for (const auto& [id, text] : g.entries) putWide(out, id, text);
  }

  for (const auto& [length, data] : files_) {
    put64(out, static_cast<std::uint64_t>(length));
    for (unsigned char c : data) out.push_back(static_cast<char>(c ^ kFileMask));
  }
  out += trailer_;
  return out;
}

std::u16string utf16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    auto c = static_cast<unsigned char>(utf8[i]);
    std::uint32_t cp = c;
    int extra = 0;
    if (c >= 0xF0) { cp = c & 0x07; extra = 3; }
    else if (c >= 0xE0) { cp = c & 0x0F; extra = 2; }
    else if (c >= 0xC0) { cp = c & 0x1F; extra = 1; }
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::optional<std::uint64_t> peImageEnd(const std::string& image) {
  if (image.size() < 64 || image[0] != 'M' || image[1] != 'Z') return std::nullopt;
  const std::uint32_t pe = get32(image, 60);
  if (pe + 24 > image.size() || image.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
    return std::nullopt;
  const std::uint16_t sections = get16(image, pe + 6);
  const std::uint16_t optionalSize = get16(image, pe + 20);
  if (sections == 0) return std::nullopt;
  const std::size_t last = pe + 24 + optionalSize + 40u * (sections - 1u);
  if (last + 40 > image.size()) return std::nullopt;
  return std::uint64_t{get32(image, last + 16)} + get32(image, last + 20);
}

std::optional<std::string> writeLauncher(const std::string& stubPath,
                                         const std::string& outputPath,
                                         const std::string& payloadBytes) {
  auto stub = readFile(stubPath);
  if (!stub) return "cannot read " + stubPath;
  auto end = peImageEnd(*stub);
  if (!end) return stubPath + " is not a PE image";
  if (*end != stub->size()) {
    std::ostringstream why;
    why << stubPath << " does not end at its last section (" << stub->size() << " bytes, image ends at "
        << *end << "); is it stripped?";
    return why.str();
  }
  std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
  if (!out) return "cannot write " + outputPath;
  out.write(stub->data(), static_cast<std::streamsize>(stub->size()));
  out.write(payloadBytes.data(), static_cast<std::streamsize>(payloadBytes.size()));
  if (!out) return "cannot write " + outputPath;
  return std::nullopt;
}

}  // namespace payload
