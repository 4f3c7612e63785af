// BMessage fields: typed items, index access, errors and copies.
#include <Message.h>

#include <string>

#include <gtest/gtest.h>

TEST(BMessageFields, EveryTypeRoundTrips)
{
	BMessage message('TEST');
	ASSERT_EQ(B_OK, message.AddInt32("i32", -320000));
	ASSERT_EQ(B_OK, message.AddInt64("i64", int64(1) << 40));
	ASSERT_EQ(B_OK, message.AddBool("bool", true));
	ASSERT_EQ(B_OK, message.AddFloat("float", 1.25f));
	ASSERT_EQ(B_OK, message.AddString("string", "text"));
	ASSERT_EQ(B_OK, message.AddPoint("point", BPoint(3, 4)));
	const char bytes[] = {'a', 0, 'b', 0};
	ASSERT_EQ(B_OK, message.AddData("data", 'RAWT', bytes, sizeof(bytes)));

	int32 i32;
	bool flag;
	float f;
	const char* string;
	BPoint point;
	EXPECT_EQ(B_OK, message.FindInt32("i32", &i32));
	EXPECT_EQ(-320000, i32);
	EXPECT_EQ(B_OK, message.FindBool("bool", &flag));
	EXPECT_TRUE(flag);
	EXPECT_EQ(B_OK, message.FindFloat("float", &f));
	EXPECT_EQ(1.25f, f);
	EXPECT_EQ(B_OK, message.FindString("string", &string));
	EXPECT_STREQ("text", string);
	EXPECT_EQ(B_OK, message.FindPoint("point", &point));
	EXPECT_EQ(BPoint(3, 4), point);
	// Data keeps its NUL bytes and its type.
	const void* data;
	ssize_t length;
	EXPECT_EQ(B_OK, message.FindData("data", 'RAWT', &data, &length));
	EXPECT_EQ(std::string(static_cast<const char*>(data), size_t(length)),
	          std::string(bytes, sizeof(bytes)));
	EXPECT_EQ(B_BAD_TYPE, message.FindData("data", 'CSTR', &data, &length));
	// The wide item keeps its own type.
	EXPECT_EQ(B_BAD_TYPE, message.FindInt32("i64", &i32));
	EXPECT_EQ(uint32('TEST'), message.what);
}

TEST(BMessageFields, ShorthandsGiveTheItemOrAZeroValue)
{
	BMessage message('TEST');
	message.AddInt32("count", 7);
	message.AddString("name", "x");
	EXPECT_EQ(7, message.FindInt32("count"));
	EXPECT_STREQ("x", message.FindString("name"));

	EXPECT_EQ(0, message.FindInt32("missing"));
	EXPECT_EQ(nullptr, message.FindString("missing"));
	EXPECT_EQ(nullptr, message.FindString("count"));
	EXPECT_EQ(0, message.FindInt32("name"));
}

TEST(BMessageFields, IndexedItems)
{
	BMessage message('TEST');
	for (int32 i = 0; i < 3; i++)
		ASSERT_EQ(B_OK, message.AddInt32("value", i * 10));
	message.AddString("text", "first");
	message.AddString("text", "second");
	EXPECT_EQ(20, message.FindInt32("value", 2));
	EXPECT_EQ(10, message.FindInt32("value", 1));
	EXPECT_EQ(0, message.FindInt32("value", 3));
	EXPECT_EQ(0, message.FindInt32("value", -1));
	EXPECT_STREQ("second", message.FindString("text", 1));
	EXPECT_EQ(nullptr, message.FindString("text", 2));
}

TEST(BMessageFields, FindErrorsLeaveTheOutputAlone)
{
	BMessage message('TEST');
	message.AddInt32("value", 5);
	int32 value = 99;
	EXPECT_EQ(B_NAME_NOT_FOUND, message.FindInt32("other", &value));
	const char* string = "untouched";
	EXPECT_EQ(B_BAD_TYPE, message.FindString("value", &string));
	EXPECT_STREQ("untouched", string);
	bool flag = true;
	EXPECT_EQ(B_BAD_TYPE, message.FindBool("value", &flag));
	EXPECT_EQ(99, value);
	EXPECT_TRUE(flag);
	EXPECT_EQ(B_BAD_VALUE, message.FindInt32(NULL, &value));
	EXPECT_EQ(B_BAD_VALUE, message.FindInt32("value", (int32*)NULL));
}

TEST(BMessageFields, AddingAnotherTypeIsRefused)
{
	BMessage message('TEST');
	message.AddInt32("field", 1);
	EXPECT_EQ(B_BAD_TYPE, message.AddString("field", "text"));
	EXPECT_EQ(B_BAD_TYPE, message.AddInt64("field", 1));
	EXPECT_EQ(B_BAD_VALUE, message.AddString("text", (const char*)NULL));
	EXPECT_EQ(B_BAD_VALUE, message.AddInt32(NULL, 1));
	// Nothing was added by the refused calls.
	EXPECT_EQ(1, message.FindInt32("field", 0));
	EXPECT_EQ(0, message.FindInt32("field", 1));
	EXPECT_EQ(nullptr, message.FindString("text"));
}

TEST(BMessageCopies, CopiesAreIndependent)
{
	BMessage original('ORIG');
	original.AddString("text", "one");
	BMessage copy(original);
	copy.AddString("text", "two");
	copy.AddInt32("extra", 1);
	copy.what = 'COPY';
	EXPECT_EQ(nullptr, original.FindString("text", 1));
	int32 extra;
	EXPECT_EQ(B_NAME_NOT_FOUND, original.FindInt32("extra", &extra));
	EXPECT_EQ(uint32('ORIG'), original.what);

	BMessage assigned('NONE');
	assigned = copy;
	EXPECT_STREQ("two", assigned.FindString("text", 1));
	EXPECT_EQ(uint32('COPY'), assigned.what);
}
