#include "common/Bytes.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

TEST(ByteReader, ReadsLittleEndianAndFailsPastTheEnd) {
  const Bytes data{0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xAA};
  ByteReader r(data);
  EXPECT_EQ(r.U8(), 0x01);
  EXPECT_EQ(r.U16(), 0x1234);
  EXPECT_EQ(r.U32(), 0x12345678u);
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.U16(), 0);  // one byte left: fails without reading it
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.U8(), 0);  // the failure sticks
  EXPECT_FALSE(r.Ok());
}

TEST(ByteReader, SpanAndSeekStayInsideTheView) {
  const Bytes data{1, 2, 3, 4};
  ByteReader r(data);
  r.Seek(2);
  ByteView s = r.Span(2);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0], 3);
  EXPECT_TRUE(r.Ok());
  EXPECT_TRUE(r.Span(1).empty());
  EXPECT_FALSE(r.Ok());

  ByteReader far(data);
  far.Seek(5);
  EXPECT_FALSE(far.Ok());
  ByteReader huge(data);
  EXPECT_TRUE(huge.Span(SIZE_MAX).empty());
  EXPECT_FALSE(huge.Ok());
}

TEST(ByteWriter, AppendsLittleEndian) {
  Bytes out;
  ByteWriter w(out);
  w.U8(0x15);
  w.U16(0x0102);
  w.U32(0xA1B2C3D4);
  EXPECT_EQ(out, (Bytes{0x15, 0x02, 0x01, 0xD4, 0xC3, 0xB2, 0xA1}));
}

}  // namespace
}  // namespace kq
