// BMessage fields: typed items, index access, errors and copies.
#include <Message.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

TEST(BMessageFields, EveryTypeRoundTrips)
{
	BMessage message('TEST');
	int marker = 0;
	ASSERT_EQ(B_OK, message.AddInt8("i8", -8));
	ASSERT_EQ(B_OK, message.AddInt16("i16", -1600));
	ASSERT_EQ(B_OK, message.AddInt32("i32", -320000));
	ASSERT_EQ(B_OK, message.AddInt64("i64", int64(1) << 40));
	ASSERT_EQ(B_OK, message.AddBool("bool", true));
	ASSERT_EQ(B_OK, message.AddFloat("float", 1.25f));
	ASSERT_EQ(B_OK, message.AddDouble("double", -2.5));
	ASSERT_EQ(B_OK, message.AddString("string", "text"));
	ASSERT_EQ(B_OK, message.AddString("bstring", BString("other")));
	ASSERT_EQ(B_OK, message.AddPoint("point", BPoint(3, 4)));
	ASSERT_EQ(B_OK, message.AddRect("rect", BRect(1, 2, 3, 4)));
	ASSERT_EQ(B_OK, message.AddPointer("pointer", &marker));
	ASSERT_EQ(B_OK, message.AddData("raw", B_RAW_TYPE, "a\0b", 3));

	int8 i8;
	int16 i16;
	int32 i32;
	int64 i64;
	bool flag;
	float f;
	double d;
	const char* string;
	BString bstring;
	BPoint point;
	BRect rect;
	void* pointer;
	const void* data;
	ssize_t size;
	EXPECT_EQ(B_OK, message.FindInt8("i8", &i8));
	EXPECT_EQ(-8, i8);
	EXPECT_EQ(B_OK, message.FindInt16("i16", &i16));
	EXPECT_EQ(-1600, i16);
	EXPECT_EQ(B_OK, message.FindInt32("i32", &i32));
	EXPECT_EQ(-320000, i32);
	EXPECT_EQ(B_OK, message.FindInt64("i64", &i64));
	EXPECT_EQ(int64(1) << 40, i64);
	EXPECT_EQ(B_OK, message.FindBool("bool", &flag));
	EXPECT_TRUE(flag);
	EXPECT_EQ(B_OK, message.FindFloat("float", &f));
	EXPECT_EQ(1.25f, f);
	EXPECT_EQ(B_OK, message.FindDouble("double", &d));
	EXPECT_EQ(-2.5, d);
	EXPECT_EQ(B_OK, message.FindString("string", &string));
	EXPECT_STREQ("text", string);
	EXPECT_EQ(B_OK, message.FindString("bstring", &bstring));
	EXPECT_STREQ("other", bstring.String());
	EXPECT_EQ(B_OK, message.FindPoint("point", &point));
	EXPECT_EQ(BPoint(3, 4), point);
	EXPECT_EQ(B_OK, message.FindRect("rect", &rect));
	EXPECT_EQ(BRect(1, 2, 3, 4), rect);
	EXPECT_EQ(B_OK, message.FindPointer("pointer", &pointer));
	EXPECT_EQ(&marker, pointer);
	EXPECT_EQ(B_OK, message.FindData("raw", B_RAW_TYPE, &data, &size));
	ASSERT_EQ(3, size);
	EXPECT_EQ(0, memcmp(data, "a\0b", 3));
	EXPECT_EQ(B_OK, message.FindData("string", B_ANY_TYPE, &data, &size));
	EXPECT_EQ(5, size); // the string's NUL is stored with it

	EXPECT_EQ(uint32('TEST'), message.what);
	EXPECT_EQ(13, message.CountNames(B_ANY_TYPE));
	EXPECT_EQ(2, message.CountNames(B_STRING_TYPE));
}

TEST(BMessageFields, ShorthandsGiveTheItemOrAZeroValue)
{
	BMessage message;
	message.AddInt32("count", 7);
	message.AddString("name", "x");
	message.AddBool("on", true);
	message.AddPoint("where", BPoint(5, 6));
	EXPECT_EQ(7, message.FindInt32("count"));
	EXPECT_STREQ("x", message.FindString("name"));
	EXPECT_TRUE(message.FindBool("on"));
	EXPECT_EQ(BPoint(5, 6), message.FindPoint("where"));

	EXPECT_EQ(0, message.FindInt32("missing"));
	EXPECT_EQ(nullptr, message.FindString("missing"));
	EXPECT_EQ(nullptr, message.FindString("count"));
	EXPECT_FALSE(message.FindBool("count"));
	EXPECT_EQ(0, message.FindInt64("count"));
	EXPECT_FALSE(message.FindRect("where").IsValid());
}

TEST(BMessageFields, IndexedItems)
{
	BMessage message;
	for (int32 i = 0; i < 3; i++)
		ASSERT_EQ(B_OK, message.AddInt32("value", i * 10));
	int32 value = -1;
	EXPECT_EQ(B_OK, message.FindInt32("value", 2, &value));
	EXPECT_EQ(20, value);
	EXPECT_EQ(10, message.FindInt32("value", 1));
	EXPECT_TRUE(message.HasInt32("value", 2));
	EXPECT_FALSE(message.HasInt32("value", 3));
	EXPECT_FALSE(message.HasString("value"));

	type_code type;
	int32 count;
	EXPECT_EQ(B_OK, message.GetInfo("value", &type, &count));
	EXPECT_EQ(type_code(B_INT32_TYPE), type);
	EXPECT_EQ(3, count);
	bool fixedSize = false;
	EXPECT_EQ(B_OK, message.GetInfo("value", &type, &fixedSize));
	EXPECT_TRUE(fixedSize);
}

TEST(BMessageFields, FindErrorsLeaveTheOutputAlone)
{
	BMessage message;
	message.AddInt32("value", 5);
	int32 value = 99;
	EXPECT_EQ(B_NAME_NOT_FOUND, message.FindInt32("other", &value));
	EXPECT_EQ(B_BAD_INDEX, message.FindInt32("value", 1, &value));
	EXPECT_EQ(B_BAD_INDEX, message.FindInt32("value", -1, &value));
	const char* string = "untouched";
	EXPECT_EQ(B_BAD_TYPE, message.FindString("value", &string));
	EXPECT_STREQ("untouched", string);
	bool flag = true;
	EXPECT_EQ(B_BAD_TYPE, message.FindBool("value", &flag));
	EXPECT_EQ(99, value);
	EXPECT_TRUE(flag);

	type_code type = 1;
	int32 count = 1;
	EXPECT_EQ(B_NAME_NOT_FOUND, message.GetInfo("other", &type, &count));
	EXPECT_EQ(B_BAD_VALUE, message.FindInt32(NULL, &value));
}

TEST(BMessageFields, AddingAnotherTypeOrSizeIsRefused)
{
	BMessage message;
	message.AddInt32("field", 1);
	EXPECT_EQ(B_BAD_TYPE, message.AddString("field", "text"));
	EXPECT_EQ(B_BAD_TYPE, message.AddInt64("field", 1));
	EXPECT_EQ(B_OK, message.AddData("fixed", B_RAW_TYPE, "ab", 2, true));
	EXPECT_EQ(B_BAD_VALUE, message.AddData("fixed", B_RAW_TYPE, "abc", 3, true));
	EXPECT_EQ(B_OK, message.AddData("loose", B_RAW_TYPE, "ab", 2, false));
	EXPECT_EQ(B_OK, message.AddData("loose", B_RAW_TYPE, "abc", 3, false));
	EXPECT_EQ(B_BAD_VALUE, message.AddString("text", (const char*)NULL));
	int32 count;
	type_code type;
	message.GetInfo("field", &type, &count);
	EXPECT_EQ(1, count);
}

TEST(BMessageFields, ReplaceChangesOneItem)
{
	BMessage message;
	message.AddInt32("value", 1);
	message.AddInt32("value", 2);
	message.AddString("name", "short");
	EXPECT_EQ(B_OK, message.ReplaceInt32("value", 1, 20));
	EXPECT_EQ(B_OK, message.ReplaceInt32("value", 10));
	EXPECT_EQ(10, message.FindInt32("value", 0));
	EXPECT_EQ(20, message.FindInt32("value", 1));
	EXPECT_EQ(B_OK, message.ReplaceString("name", "a much longer name"));
	EXPECT_STREQ("a much longer name", message.FindString("name"));

	EXPECT_EQ(B_BAD_INDEX, message.ReplaceInt32("value", 2, 0));
	EXPECT_EQ(B_NAME_NOT_FOUND, message.ReplaceInt32("other", 0));
	EXPECT_EQ(B_BAD_TYPE, message.ReplaceBool("value", true));
}

TEST(BMessageFields, RemovingItemsAndNames)
{
	BMessage message('ABCD');
	message.AddInt32("a", 1);
	message.AddInt32("a", 2);
	message.AddString("b", "x");
	EXPECT_EQ(B_OK, message.RemoveData("a", 0));
	EXPECT_EQ(2, message.FindInt32("a"));
	EXPECT_EQ(B_BAD_INDEX, message.RemoveData("a", 1));
	EXPECT_EQ(B_OK, message.RemoveData("a"));
	EXPECT_FALSE(message.HasInt32("a"));
	EXPECT_EQ(1, message.CountNames(B_ANY_TYPE));
	EXPECT_EQ(B_NAME_NOT_FOUND, message.RemoveName("a"));
	EXPECT_EQ(B_OK, message.RemoveName("b"));
	EXPECT_TRUE(message.IsEmpty());

	message.AddBool("c", false);
	EXPECT_EQ(B_OK, message.MakeEmpty());
	EXPECT_TRUE(message.IsEmpty());
	EXPECT_EQ(uint32('ABCD'), message.what);
}

TEST(BMessageFields, GetInfoWalksFieldsInOrder)
{
	BMessage message;
	message.AddInt32("first", 1);
	message.AddString("second", "x");
	message.AddInt32("third", 3);
	message.AddInt32("third", 4);
	char* name;
	type_code type;
	int32 count;
	ASSERT_EQ(B_OK, message.GetInfo(B_INT32_TYPE, 1, &name, &type, &count));
	EXPECT_STREQ("third", name);
	EXPECT_EQ(2, count);
	ASSERT_EQ(B_OK, message.GetInfo(B_ANY_TYPE, 1, &name, &type));
	EXPECT_STREQ("second", name);
	EXPECT_EQ(type_code(B_STRING_TYPE), type);
	EXPECT_EQ(B_BAD_INDEX, message.GetInfo(B_INT32_TYPE, 2, &name, &type));
	EXPECT_EQ(B_BAD_TYPE, message.GetInfo(B_FLOAT_TYPE, 0, &name, &type));
	EXPECT_EQ(B_OK, message.Rename("first", "renamed"));
	EXPECT_EQ(1, message.FindInt32("renamed"));
	EXPECT_EQ(B_NAME_IN_USE, message.Rename("renamed", "third"));
}

TEST(BMessageCopies, CopiesAreIndependent)
{
	BMessage original('ORIG');
	original.AddString("text", "one");
	BMessage copy(original);
	copy.ReplaceString("text", "two");
	copy.AddInt32("extra", 1);
	copy.what = 'COPY';
	EXPECT_STREQ("one", original.FindString("text"));
	EXPECT_FALSE(original.HasInt32("extra"));
	EXPECT_EQ(uint32('ORIG'), original.what);

	BMessage assigned;
	assigned = copy;
	EXPECT_STREQ("two", assigned.FindString("text"));
	EXPECT_EQ(uint32('COPY'), assigned.what);
}

TEST(BMessageCopies, NestedMessagesAndFlattening)
{
	BMessage inner('INNR');
	inner.AddString("name", "inner");
	inner.AddData("raw", B_RAW_TYPE, "\0\1\2", 3);
	BMessage outer('OUTR');
	ASSERT_EQ(B_OK, outer.AddMessage("child", &inner));
	outer.AddInt32("n", 3);

	BMessage found;
	ASSERT_EQ(B_OK, outer.FindMessage("child", &found));
	EXPECT_EQ(uint32('INNR'), found.what);
	EXPECT_STREQ("inner", found.FindString("name"));

	ssize_t size = outer.FlattenedSize();
	ASSERT_GT(size, 0);
	std::string bytes(size_t(size), '\0');
	ASSERT_EQ(B_OK, outer.Flatten(&bytes[0], size));
	BMessage restored;
	ASSERT_EQ(B_OK, restored.Unflatten(bytes.data()));
	EXPECT_EQ(uint32('OUTR'), restored.what);
	EXPECT_EQ(3, restored.FindInt32("n"));
	BMessage restoredInner;
	ASSERT_EQ(B_OK, restored.FindMessage("child", &restoredInner));
	const void* data;
	ssize_t dataSize;
	ASSERT_EQ(B_OK, restoredInner.FindData("raw", B_RAW_TYPE, &data, &dataSize));
	EXPECT_EQ(3, dataSize);
	EXPECT_EQ(0, memcmp(data, "\0\1\2", 3));
}

TEST(BMessageCopies, UnflattenRejectsGarbageAndKeepsTheMessage)
{
	BMessage message('KEEP');
	message.AddInt32("n", 1);
	const char garbage[16] = "not a message";
	EXPECT_EQ(B_BAD_VALUE, message.Unflatten(garbage));
	EXPECT_EQ(uint32('KEEP'), message.what);
	EXPECT_EQ(1, message.FindInt32("n"));

	// A flattened message cut short is refused too.
	BMessage source('SRC ');
	source.AddString("text", "some text");
	BMallocIO stream;
	ASSERT_EQ(B_OK, source.Flatten(&stream));
	stream.SetSize(stream.BufferLength() - 3);
	stream.Seek(0, SEEK_SET);
	EXPECT_EQ(B_BAD_VALUE, message.Unflatten(&stream));
	EXPECT_EQ(uint32('KEEP'), message.what);

	BMallocIO whole;
	source.Flatten(&whole);
	whole.Seek(0, SEEK_SET);
	EXPECT_EQ(B_OK, message.Unflatten(&whole));
	EXPECT_STREQ("some text", message.FindString("text"));
}
