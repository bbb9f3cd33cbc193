#include "payload/payload_reader.h"
#include "payload/payload_writer.h"
#include "tests/support/log_capture.h"
#include "tests/support/memory_source.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
  PayloadError error;
  ConfigStore store;
  std::uint32_t configEnd = 0;
};

Parsed parse(const std::string& payloadBytes, const std::string& locale = "en") {
  MemorySource source(fakeImage() + payloadBytes);
  Parsed out;
  out.error = parsePayload(
      source, out.store, [&] { return locale; }, out.configEnd);
  return out;
}

TEST(PayloadReader, LocatesPayloadBehindTheLastSectionAndReadsBothTables) {
  payload::PayloadBuilder b;
  b.reserved(7, -1, 1234567890123).item(12, "first").item(121, "").message(1005, u"Start failed");
  b.file("abc");
  clearCapturedLog();
  Parsed p = parse(b.bytes());
  ASSERT_EQ(p.error, PayloadError::None);
  EXPECT_EQ(p.store.narrow.at(12), "first");
  EXPECT_EQ(p.store.narrow.at(121), "");
  EXPECT_EQ(p.store.wide.at(1005), u"Start failed");
  EXPECT_EQ(p.configEnd, 512u + b.configPartSize());
  const std::vector<std::string> expected = {"number of sections: 2", "size of optional headers: 112",
                                             "resSectionTableStart: 304",
                                             "rawDataSize: 256, rawDataOffset: 256"};
  EXPECT_EQ(capturedLog(), expected);
}

TEST(PayloadReader, LaterEntryWithTheSameIdWins) {
  payload::PayloadBuilder b;
  b.item(12, "one").item(12, "two").message(1000, u"a").message(1000, u"b");
  Parsed p = parse(b.bytes());
  ASSERT_EQ(p.error, PayloadError::None);
  EXPECT_EQ(p.store.narrow.at(12), "two");
  EXPECT_EQ(p.store.wide.at(1000), u"b");
}

TEST(PayloadReader, EntriesEndAtTheirFirstNul) {
  // Every reader of an entry sees a C string: text after a NUL is never part of it,
  // and a UTF-16 message that starts with NUL is empty (its 8-bit text is shown).
  payload::PayloadBuilder b;
  b.item(2001, std::string("w\0xyz", 5)).item(12, std::string("\0hidden", 7));
  b.message(1005, WString(u"Launch\0 failed", 14)).message(1006, WString(u"\0x", 2));
  b.group({"", {{1007, WString(u"ok\0no", 5)}}});
  Parsed p = parse(b.bytes());
  ASSERT_EQ(p.error, PayloadError::None);
  EXPECT_EQ(p.store.narrow.at(2001), "w");
  EXPECT_EQ(p.store.narrow.at(12), "");
  EXPECT_EQ(p.store.wide.at(1005), u"Launch");
  EXPECT_EQ(p.store.wide.at(1006), u"");
  EXPECT_EQ(p.store.wide.at(1007), u"ok");
}

TEST(PayloadReader, OverrideGroupsApplyInPayloadOrderByPrefix) {
  struct Case {
    std::vector<payload::OverrideGroup> groups;
    std::string locale;
    std::u16string expected;  // empty: no value
  };
  const payload::OverrideGroup de{"de", {{1005, u"A"}}};
  const payload::OverrideGroup deDE{"de_DE", {{1005, u"B"}}};
  const payload::OverrideGroup fr{"fr", {{1005, u"F"}}};
  const payload::OverrideGroup any{"", {{1005, u"E"}}};
  const Case cases[] = {
      {{de, deDE}, "de_DE", u"B"}, {{deDE, de}, "de_DE", u"A"}, {{deDE}, "de", u"base"},
      {{fr}, "de_DE", u"base"},    {{any}, "en", u"E"},         {{de, fr}, "de_CH", u"A"},
      {{deDE}, "DE_DE", u"base"},
  };
  for (const Case& c : cases) {
    payload::PayloadBuilder b;
    b.message(1005, u"base");
    for (const auto& g : c.groups) b.group(g);
    Parsed p = parse(b.bytes(), c.locale);
    ASSERT_EQ(p.error, PayloadError::None);
    EXPECT_EQ(p.store.wide.at(1005), c.expected) << c.locale;
  }
}

TEST(PayloadReader, OverrideWithoutBaseEntryAddsTheMessage) {
  payload::PayloadBuilder b;
  b.group({"de", {{1016, u"Kein Java"}}});
  Parsed p = parse(b.bytes(), "de_AT");
  ASSERT_EQ(p.error, PayloadError::None);
  EXPECT_EQ(p.store.wide.at(1016), u"Kein Java");
}

TEST(PayloadReader, ZeroAndNegativeCountsReadNothing) {
  for (std::int32_t count : {0, -1, -2147483647 - 1}) {
    std::string bytes = payload::PayloadBuilder().count8(count).count16(count).groupCount(count).bytes();
    Parsed p = parse(bytes);
    EXPECT_EQ(p.error, PayloadError::None) << count;
    EXPECT_TRUE(p.store.narrow.empty());
    EXPECT_TRUE(p.store.wide.empty());
  }
}

TEST(PayloadReader, BrokenPayloadsReportTheirReader) {
  payload::PayloadBuilder valid;
  valid.item(121, "lib\\app.jar").message(1000, u"Caption");
  const std::string full = valid.bytes();
  struct Case {
    std::string bytes;
    PayloadError error;
  };
  const Case cases[] = {
      {"", PayloadError::ReadInt},
      {payload::PayloadBuilder().magic(0xE8E413D4).bytes(), PayloadError::Magic},
      {full.substr(0, 10), PayloadError::ReadInt},
      {full.substr(0, 16), PayloadError::ReadLong},
      {full.substr(0, 24 + 4 + 4 + 3), PayloadError::ReadString},   // inside the 8-bit text
      {full.substr(0, 24 + 4 + 2), PayloadError::ReadInt},          // inside the length
      {full.substr(0, full.size() - 4 - 1), PayloadError::ReadWString},
      {payload::PayloadBuilder().count8(3).bytes(), PayloadError::ReadInt},
  };
  for (const Case& c : cases) {
    Parsed p = parse(c.bytes);
    EXPECT_EQ(p.error, c.error) << c.bytes.size();
  }
  EXPECT_EQ(WString(payloadErrorText(PayloadError::Magic)), u"Internal Error: magic");
  EXPECT_EQ(WString(payloadErrorText(PayloadError::ReadString)), u"Internal Error: readString");
}

TEST(PayloadReader, EveryCutOfAValidPayloadFailsCleanly) {
  payload::PayloadBuilder b;
  b.item(107, "0").item(2001, "w").message(1000, u"Oops").group({"de", {{1016, u"Kein Java"}}});
  const std::string full = b.bytes();
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    Parsed p = parse(full.substr(0, cut));
    EXPECT_NE(p.error, PayloadError::None) << cut;
    EXPECT_NE(p.error, PayloadError::Magic) << cut;
  }
  EXPECT_EQ(parse(full).error, PayloadError::None);
}

TEST(PayloadReader, ForgedHugeLengthFailsWithoutAllocating) {
  std::string bytes = payload::PayloadBuilder().count8(1).bytes();
  bytes.resize(24);
  bytes += std::string("\x0c\x00\x00\x00", 4) + std::string("\xff\xff\xff\x7f", 4);  // id 12, 2 GiB
  EXPECT_EQ(parse(bytes).error, PayloadError::ReadString);
  std::string negative = bytes.substr(0, 28) + std::string("\xfe\xff\xff\xff", 4);
  EXPECT_EQ(parse(negative).error, PayloadError::ReadString);
}

TEST(PayloadReader, ReadIntFailureLogsSystemErrorAndByteCount) {
  clearCapturedLog();
  Parsed p = parse(std::string("\xd5\x13", 2));
  EXPECT_EQ(p.error, PayloadError::ReadInt);
  ASSERT_FALSE(capturedLog().empty());
  EXPECT_EQ(capturedLog().back(), "error 38 2\n");
}

TEST(PayloadReader, OddWideLengthKeepsWholeUnits) {
  std::string bytes = payload::PayloadBuilder().count8(0).bytes();
  bytes.resize(24);  // header + count8 = 0
  bytes += std::string("\x01\x00\x00\x00", 4);                 // count16 = 1
  bytes += std::string("\xe8\x03\x00\x00", 4);                 // id 1000
  bytes += std::string("\x03\x00\x00\x00", 4) + std::string("A\0B", 3);        // 3 bytes
  bytes += std::string("\x00\x00\x00\x00", 4);                 // no groups
  Parsed p = parse(bytes);
  ASSERT_EQ(p.error, PayloadError::None);
  EXPECT_EQ(p.store.wide.at(1000), u"A");
}

}  // namespace
