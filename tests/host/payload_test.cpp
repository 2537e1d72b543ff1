// The payload the build makes, and its expansion.
#include "install/payload.h"
#include "tests/host/scenario.h"

namespace {

using fake::world;
using PayloadTest = Scenario;

uint32_t LittleEndian32(const fake::Bytes& bytes, size_t offset) {
    return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 | uint32_t(bytes[offset + 2]) << 16 |
           uint32_t(bytes[offset + 3]) << 24;
}

TEST_F(PayloadTest, HeaderNamesModeALastCharacterAndTheInputsLength) {
    const fake::Bytes payload = ShippedPayload();
    ASSERT_GE(payload.size(), 14u);
    EXPECT_EQ(fake::Bytes({0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33}),
              fake::Bytes(payload.begin(), payload.begin() + 8));
    EXPECT_EQ('A', payload[8]);
    EXPECT_EQ('r', payload[9]) << "the last character of Quorvane.scr";
    EXPECT_EQ(PayloadProgram().size(), LittleEndian32(payload, 10));
    EXPECT_GT(PayloadProgram().size(), 0u);
}

TEST_F(PayloadTest, ExpandsToTheInputByteForByte) {
    fake::Bytes expanded;
    ASSERT_TRUE(fake::ExpandSzdd(ShippedPayload(), expanded));
    EXPECT_EQ(PayloadProgram().size(), expanded.size());
    EXPECT_TRUE(expanded == PayloadProgram());
}

TEST_F(PayloadTest, ExpansionTruncatesAnExistingLongerTarget) {
    fake::AddFile("C:\\WINDOWS\\Quorvane.sc_", ShippedPayload());
    fake::AddFile("C:\\WINDOWS\\Quorvane.scr", fake::Bytes(PayloadProgram().size() + 5000, 0xEE));
    EXPECT_EQ(LONG(PayloadProgram().size()), ExpandPayload("C:\\WINDOWS\\Quorvane.sc_", "C:\\WINDOWS\\Quorvane.scr"));
    ASSERT_NE(nullptr, fake::FileBytes("C:\\WINDOWS\\Quorvane.scr"));
    EXPECT_TRUE(*fake::FileBytes("C:\\WINDOWS\\Quorvane.scr") == PayloadProgram());
}

TEST_F(PayloadTest, ExtractionWritesTheResourceUnchangedOverAnOldFile) {
    fake::AddFile("C:\\WINDOWS\\Quorvane.sc_", fake::Bytes(10, 'x'));
    Payload payload = {};
    EXPECT_EQ(0u, LoadPayload(payload, PayloadName, PayloadType).textId);
    EXPECT_EQ(0u, ExtractPayload("C:\\WINDOWS\\Quorvane.sc_", payload).textId);
    ASSERT_NE(nullptr, fake::FileBytes("C:\\WINDOWS\\Quorvane.sc_"));
    EXPECT_TRUE(*fake::FileBytes("C:\\WINDOWS\\Quorvane.sc_") == ShippedPayload());
    EXPECT_EQ(1, world.record.calls["WriteFile"]) << "one write of the whole resource";
    EXPECT_TRUE(world.record.boxes.empty());
}

} // namespace
