// BMallocIO and BMemoryIO: the host keeps each item's data in a BMallocIO.
#include <DataIO.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

namespace {

std::string Contents(const BMallocIO& io)
{
	if (io.Buffer() == NULL)
		return std::string();
	return std::string((const char*)io.Buffer(), io.BufferLength());
}

} // namespace

TEST(BMallocIOTest, HasNoBufferUntilSomethingIsWritten)
{
	BMallocIO io;
	EXPECT_EQ(nullptr, io.Buffer());
	EXPECT_EQ(0u, io.BufferLength());
	EXPECT_EQ(0, io.Position());
	char byte;
	EXPECT_EQ(0, io.ReadAt(0, &byte, 1));
	EXPECT_EQ(0, io.WriteAt(0, "x", 0));
	EXPECT_EQ(nullptr, io.Buffer());
}

TEST(BMallocIOTest, WriteAtGrowsAndZeroFillsTheGap)
{
	BMallocIO io;
	EXPECT_EQ(3, io.WriteAt(0, "abc", 3));
	EXPECT_EQ(2, io.WriteAt(5, "\0z", 2));
	EXPECT_EQ(7u, io.BufferLength());
	EXPECT_EQ(std::string("abc\0\0\0z", 7), Contents(io));
	// Overwriting inside the data keeps its length.
	EXPECT_EQ(2, io.WriteAt(1, "XY", 2));
	EXPECT_EQ(std::string("aXY\0\0\0z", 7), Contents(io));
}

TEST(BMallocIOTest, GrowsAcrossManyBlocks)
{
	BMallocIO io;
	io.SetBlockSize(3);
	std::string expected;
	for (int i = 0; i < 1000; i++) {
		char byte = char(i * 7);
		ASSERT_EQ(1, io.WriteAt(i, &byte, 1));
		expected.push_back(byte);
	}
	EXPECT_EQ(expected, Contents(io));
}

TEST(BMallocIOTest, ReadAtClipsAtTheEnd)
{
	BMallocIO io;
	io.WriteAt(0, "hello", 5);
	char buffer[8] = {};
	EXPECT_EQ(2, io.ReadAt(3, buffer, sizeof(buffer)));
	EXPECT_EQ(0, memcmp(buffer, "lo", 2));
	EXPECT_EQ(0, io.ReadAt(5, buffer, 1));
	EXPECT_EQ(B_BAD_VALUE, io.ReadAt(-1, buffer, 1));
}

TEST(BMallocIOTest, SetSizeSetsTheLengthExactly)
{
	BMallocIO io;
	io.WriteAt(0, "abcdef", 6);
	EXPECT_EQ(B_OK, io.SetSize(2));
	EXPECT_EQ(std::string("ab"), Contents(io));
	EXPECT_EQ(B_OK, io.SetSize(4));
	EXPECT_EQ(std::string("ab\0\0", 4), Contents(io));
	EXPECT_EQ(B_BAD_VALUE, io.SetSize(-1));
	EXPECT_EQ(4u, io.BufferLength());
	EXPECT_EQ(B_OK, io.SetSize(0));
	EXPECT_EQ(nullptr, io.Buffer());
	EXPECT_EQ(0u, io.BufferLength());
}

TEST(BMallocIOTest, SequentialReadWriteFollowsThePosition)
{
	BMallocIO io;
	EXPECT_EQ(3, io.Write("abc", 3));
	EXPECT_EQ(2, io.Write("de", 2));
	EXPECT_EQ(5, io.Position());
	EXPECT_EQ(1, io.Seek(1, SEEK_SET));
	char buffer[3];
	EXPECT_EQ(3, io.Read(buffer, 3));
	EXPECT_EQ(0, memcmp(buffer, "bcd", 3));
	EXPECT_EQ(4, io.Position());
	EXPECT_EQ(3, io.Seek(-1, SEEK_CUR));
	EXPECT_EQ(7, io.Seek(2, SEEK_END));
	EXPECT_EQ(B_BAD_VALUE, io.Seek(-8, SEEK_END));
	EXPECT_EQ(7, io.Position());
	EXPECT_EQ(1, io.Write("!", 1));
	EXPECT_EQ(std::string("abcde\0\0!", 8), Contents(io));
}

TEST(BMemoryIOTest, WritesStayInsideTheCallersBuffer)
{
	char storage[4] = {'a', 'b', 'c', 'd'};
	BMemoryIO io(storage, sizeof(storage));
	EXPECT_EQ(2, io.WriteAt(2, "XYZ", 3));
	EXPECT_EQ(0, memcmp(storage, "abXY", 4));
	EXPECT_EQ(0, io.WriteAt(4, "!", 1));

	const char constant[3] = {'1', '2', '3'};
	BMemoryIO readOnly(static_cast<const void*>(constant), sizeof(constant));
	EXPECT_EQ(B_NOT_ALLOWED, readOnly.WriteAt(0, "x", 1));
	char buffer[3];
	EXPECT_EQ(3, readOnly.Read(buffer, 3));
	EXPECT_EQ(0, memcmp(buffer, "123", 3));
}
