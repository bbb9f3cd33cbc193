#include "payload/config_store.h"

#include "diag/log.h"

ConfigStore& configStore() {
  // Created once and never destroyed: threads that outlive WinMain's return (the
  // instance listener, the splash) may still read it while the process ends.
  static ConfigStore* store = new ConfigStore;
  return *store;
}

namespace {

const std::string* findNarrow(std::int32_t id) {
  const auto& table = configStore().narrow;
  auto it = table.find(id);
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace

std::string configString(std::int32_t id, std::size_t cap) {
  const std::string* value = findNarrow(id);
  if (value == nullptr || cap == 0) return {};
  std::string out = *value;
  if (out.size() > cap - 1) {
    logMessage(u"ERROR: config string %d truncated (%d %d)", id, static_cast<int>(cap),
               static_cast<int>(value->size()));
    out.resize(cap - 1);
  }
  return out;
}

WString configStringAsWide(std::int32_t id, std::size_t cap) {
  const std::string* value = findNarrow(id);
  if (value == nullptr) return {};
  WString out = widenBytewise(*value);
  truncateToCapacity(out, cap);
  return out;
}

WString configWideString(std::int32_t id) {
  const auto& table = configStore().wide;
  auto it = table.find(id);
  if (it == table.end()) return {};
  WString out = it->second;
  truncateToCapacity(out, kTextCapacity);
  return out;
}

WString configMessage(std::int32_t id) {
  WString text = configWideString(id);
  if (text.empty()) text = configStringAsWide(id, kTextCapacity);
  return text;
}

std::int32_t configInt(std::int32_t id) { return decimalToInt32(configString(id)); }

std::uint32_t configColor(std::int32_t id) {
  std::string value = configString(id);
  std::uint32_t parts[3] = {0, 0, 0};
  std::size_t start = 0;
  for (int i = 0; i < 3 && start <= value.size(); ++i) {
    std::size_t comma = value.find(',', start);
    std::string_view piece =
        std::string_view(value).substr(start, comma == std::string::npos ? std::string::npos
                                                                          : comma - start);
    parts[i] = static_cast<std::uint32_t>(decimalToInt32(piece)) & 0xFFu;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts[0] | (parts[1] << 8) | (parts[2] << 16);
}

std::string configStringCopy(std::int32_t id) {
  const std::string* value = findNarrow(id);
  return value ? *value : std::string();
}
