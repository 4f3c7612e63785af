// BMallocIO: the host keeps each item's data in a BMallocIO.
#include <DataIO.h>

#include <gtest/gtest.h>

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
	std::string expected;
	for (int i = 0; i < 1000; i++) {
		char byte = char(i * 7);
		ASSERT_EQ(1, io.WriteAt(i, &byte, 1));
		expected.push_back(byte);
	}
	EXPECT_EQ(expected, Contents(io));
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
