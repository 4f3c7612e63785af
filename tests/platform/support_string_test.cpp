// BString as the editor uses it: a buffer of raw bytes in which NUL bytes are
// ordinary data.
#include <String.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

// Fills a string with exactly these bytes the way the editor does.
BString FromBytes(const std::string& bytes)
{
	BString string;
	char* buffer = string.LockBuffer(int32(bytes.size()));
	memcpy(buffer, bytes.data(), bytes.size());
	string.UnlockBuffer(int32(bytes.size()));
	return string;
}

std::string Bytes(const BString& string)
{
	return std::string(string.String(), size_t(string.Length()));
}

const std::string kWithNuls("a\0b\0\0c", 6);

} // namespace

TEST(BStringBytes, LockBufferWithExplicitLengthKeepsEveryByte)
{
	BString string = FromBytes(kWithNuls);
	EXPECT_EQ(6, string.Length());
	EXPECT_EQ(kWithNuls, Bytes(string));
	// The bytes are followed by a terminating NUL, as String() promises.
	EXPECT_EQ('\0', string.String()[6]);
}

TEST(BStringBytes, UnlockBufferWithoutLengthStopsAtFirstNul)
{
	BString string;
	char* buffer = string.LockBuffer(8);
	memcpy(buffer, "xy\0z", 4);
	string.UnlockBuffer();
	EXPECT_EQ(2, string.Length());
	EXPECT_STREQ("xy", string.String());
}

TEST(BStringBytes, LockBufferNeverShrinksTheString)
{
	BString string("hello");
	char* buffer = string.LockBuffer(2);
	EXPECT_EQ(0, memcmp(buffer, "hello", 5));
	string.UnlockBuffer(5);
	EXPECT_STREQ("hello", string.String());
}

TEST(BStringBytes, InsertStringInsertsNulBytesToo)
{
	BString data = FromBytes(std::string("\x01\x02\x03", 3));
	data.Insert(FromBytes(std::string("\0\0", 2)), 1);
	EXPECT_EQ(std::string("\x01\0\0\x02\x03", 5), Bytes(data));

	data.Insert(FromBytes(kWithNuls), 0);
	EXPECT_EQ(kWithNuls + std::string("\x01\0\0\x02\x03", 5), Bytes(data));
}

TEST(BStringBytes, InsertAtOrPastTheEndAppends)
{
	BString data = FromBytes(std::string("ab", 2));
	data.Insert(FromBytes(std::string("\0", 1)), 2);
	EXPECT_EQ(std::string("ab\0", 3), Bytes(data));
	data.Insert(BString("z"), 100);
	EXPECT_EQ(std::string("ab\0z", 4), Bytes(data));
}

TEST(BStringBytes, InsertIntoEmptyString)
{
	BString data;
	data.Insert(FromBytes(std::string("\0", 1)), 0);
	EXPECT_EQ(1, data.Length());
	EXPECT_EQ('\0', data[0]);
}

TEST(BStringBytes, InsertOfOwnBytes)
{
	BString data("abc");
	data.Insert(data, 1);
	EXPECT_STREQ("aabcbc", data.String());
}

TEST(BStringBytes, RemoveAcrossNulBytes)
{
	BString data = FromBytes(kWithNuls);
	data.Remove(1, 3);
	EXPECT_EQ(std::string("a\0c", 3), Bytes(data));
}

TEST(BStringBytes, RemoveClipsWhatRunsPastTheEnd)
{
	BString data = FromBytes(kWithNuls);
	data.Remove(4, 100);
	EXPECT_EQ(std::string("a\0b\0", 4), Bytes(data));
}

TEST(BStringBytes, RemoveIgnoresEmptyAndOutsideRanges)
{
	BString data = FromBytes(kWithNuls);
	data.Remove(2, 0);
	data.Remove(2, -3);
	data.Remove(6, 1);
	data.Remove(50, 2);
	data.Remove(-1, 2);
	EXPECT_EQ(kWithNuls, Bytes(data));
}

TEST(BStringBytes, IndexOperatorReadsAndWritesAnyByte)
{
	BString data = FromBytes(kWithNuls);
	data[0] = '\0';
	data[1] = char(0xff);
	EXPECT_EQ('\0', data[0]);
	EXPECT_EQ(char(0xff), data[1]);
	EXPECT_EQ(6, data.Length());
	EXPECT_EQ(std::string("\0\xff"
	                      "b\0\0c",
	                      6),
	          Bytes(data));
}

TEST(BStringBytes, EmptyStringIsNeverNull)
{
	BString empty;
	ASSERT_NE(nullptr, empty.String());
	EXPECT_STREQ("", empty.String());
	EXPECT_EQ(0, empty.Length());

	BString data = FromBytes(kWithNuls);
	data = "";
	ASSERT_NE(nullptr, data.String());
	EXPECT_EQ(0, data.Length());

	BString fromNull(static_cast<const char*>(NULL));
	EXPECT_STREQ("", fromNull.String());
}

TEST(BStringBytes, CopyAndAssignmentKeepEveryByte)
{
	BString data = FromBytes(kWithNuls);
	BString copy(data);
	EXPECT_EQ(kWithNuls, Bytes(copy));

	BString assigned;
	assigned = data;
	EXPECT_EQ(kWithNuls, Bytes(assigned));

	copy[5] = 'd';
	EXPECT_EQ('c', data[5]);
}

TEST(BStringText, StreamsNumbers)
{
	BString text;
	text << "n=" << int32(-5) << " " << 7 << (const char*)NULL;
	EXPECT_STREQ("n=-5 7", text.String());
}
