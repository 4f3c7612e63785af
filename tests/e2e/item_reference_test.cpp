// TYPE:ID[:NAME] as the command line takes it, checked on random text
// against a model written another way (each form of the type tried in
// turn, the id's bounds compared as strings), with failing text shrunk to its shortest form;
// and every type, id and name the program prints reads back as itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <random>

#include "ItemListing.h"
#include "ItemReference.h"

namespace {

// A decimal int32 as text, checked on the digits as strings: without its
// leading zeros, at most as long as the bound and no greater in order.
std::optional<int32> ModelId(const std::string& text)
{
	const bool negative = !text.empty() && text[0] == '-';
	std::string digits = text.substr(negative ? 1 : 0);
	if (digits.empty() ||
	    !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
		return std::nullopt;
	digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
	const std::string bound = negative ? "2147483648" : "2147483647";
	if (digits.size() > bound.size() || (digits.size() == bound.size() && digits > bound))
		return std::nullopt;
	return int32(negative ? -std::stoll(digits) : std::stoll(digits));
}

// What the model makes of text: nothing, or the reference. It tries the
// type's two forms in turn, each followed by a colon, and takes the first
// that reads.
std::optional<ItemReference> Model(const std::string& text)
{
	for (const size_t typeLength : {size_t(4), size_t(10)}) {
		if (text.size() <= typeLength || text[typeLength] != ':')
			continue;
		const std::string type = text.substr(0, typeLength);
		ItemReference reference;
		if (typeLength == 4) {
			if (!std::all_of(type.begin(), type.end(), [](char c) { return c >= ' ' && c <= '~'; }))
				continue;
			for (unsigned char c : type)
				reference.type = reference.type * 256 + c;
		} else {
			if (type.compare(0, 2, "0x") != 0 ||
			    !std::all_of(type.begin() + 2, type.end(),
			                 [](char c) { return isxdigit(static_cast<unsigned char>(c)); }))
				continue;
			reference.type = type_code(std::stoul(type.substr(2), NULL, 16));
		}
		const std::string rest = text.substr(typeLength + 1);
		const size_t colon = rest.find(':');
		const std::optional<int32> id = ModelId(rest.substr(0, colon));
		if (!id)
			continue;
		reference.id = *id;
		reference.hasName = colon != std::string::npos;
		reference.name = reference.hasName ? rest.substr(colon + 1) : "";
		return reference;
	}
	return std::nullopt;
}

// Whether the parser and the model disagree on text.
bool Disagree(const std::string& text, std::string& what)
{
	ItemReference parsed;
	std::string error;
	const bool accepted = ItemReference::Parse(text, parsed, error);
	const std::optional<ItemReference> expected = Model(text);
	if (accepted != expected.has_value()) {
		what =
		    accepted ? "accepted, the model refuses" : "refused (" + error + "), the model accepts";
		return true;
	}
	if (!accepted) {
		if (error.empty() || error.find('\n') != std::string::npos) {
			what = "refused without a one-line reason";
			return true;
		}
		return false;
	}
	if (parsed.type != expected->type || parsed.id != expected->id ||
	    parsed.hasName != expected->hasName || parsed.name != expected->name) {
		what = "read as " + parsed.Text() + ", the model reads " + expected->Text();
		return true;
	}
	return false;
}

// The shortest text, taking characters away, that still disagrees.
std::string Shrunk(std::string text)
{
	std::string what;
	for (bool smaller = true; smaller;) {
		smaller = false;
		for (size_t at = 0; at < text.size(); at++) {
			std::string shorter = text;
			shorter.erase(at, 1);
			if (Disagree(shorter, what)) {
				text = shorter;
				smaller = true;
				break;
			}
		}
	}
	return text;
}

} // namespace

TEST(ItemReferenceTest, RandomTextReadsAsTheModelReadsIt)
{
	std::mt19937 generator(20261209);
	// Mostly the characters the form is made of, so that much of the text
	// comes close to it.
	const std::string common = "0123456789:-xabcdefABCDEFCSTRMIMS ";
	for (int round = 0; round < 200000; round++) {
		std::string text;
		const size_t length = generator() % 24;
		for (size_t at = 0; at < length; at++) {
			const uint32 pick = generator() % 16;
			text += pick < 13 ? common[generator() % common.size()] : char(generator() & 0xff);
		}
		// Some text with a well-formed start.
		if (round % 4 == 0)
			text.insert(0, round % 8 == 0 ? "0x" : "CS");
		std::string what;
		if (Disagree(text, what)) {
			const std::string shortest = Shrunk(text);
			Disagree(shortest, what);
			FAIL() << ItemListing::QuotedName(shortest) << ": " << what << " (from "
			       << ItemListing::QuotedName(text) << ")";
		}
	}
}

TEST(ItemReferenceTest, WhatTheProgramPrintsReadsBack)
{
	std::mt19937 generator(1209);
	for (int round = 0; round < 100000; round++) {
		ItemReference reference;
		// Bytes of printable ASCII (a colon among them) most of the time,
		// any byte otherwise: the type then prints in hex.
		for (int byte = 0; byte < 4; byte++) {
			const uint32 value = generator() % 8 == 0   ? generator() & 0xff
			                     : generator() % 4 == 0 ? ':'
			                                            : 0x20 + generator() % 0x5f;
			reference.type = (reference.type << 8) | value;
		}
		reference.id = int32(generator());
		reference.hasName = generator() % 2 == 0;
		for (size_t length = reference.hasName ? generator() % 12 : 0; length > 0; length--)
			reference.name += generator() % 3 == 0 ? ':' : char(generator() & 0xff);

		const std::string text = ItemListing::TypeText(reference.type) + ":" +
		                         std::to_string(reference.id) +
		                         (reference.hasName ? ":" + reference.name : "");
		ItemReference parsed;
		std::string error;
		ASSERT_TRUE(ItemReference::Parse(text, parsed, error))
		    << ItemListing::QuotedName(text) << ": " << error;
		ASSERT_EQ(parsed.type, reference.type) << ItemListing::QuotedName(text);
		ASSERT_EQ(parsed.id, reference.id) << ItemListing::QuotedName(text);
		ASSERT_EQ(parsed.hasName, reference.hasName) << ItemListing::QuotedName(text);
		ASSERT_EQ(parsed.name, reference.name) << ItemListing::QuotedName(text);
		ASSERT_EQ(parsed.Text(), text);
	}
}
