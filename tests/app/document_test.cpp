// The host document: items and their edits, undo and redo with merging, the
// modified flag, refused locks and the change queues and notices.
#include <gtest/gtest.h>

#include <Errors.h>
#include <Handler.h>
#include <Looper.h>
#include <Message.h>
#include <ResourceAddonBase.h>
#include <ResourceCollection.h>
#include <ResourceItem.h>

#include <PlatformTesting.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Document.h"

namespace {

std::string Bytes(const BResourceItem* item)
{
	const BMallocIO& data = item->DataIO();
	if (data.BufferLength() == 0)
		return std::string();
	return std::string(static_cast<const char*>(data.Buffer()), data.BufferLength());
}

// One write step made by who: the edits run on the writable item.
template <typename Edits>
void Write(BResourceAddonBase& who, const BResourceHandle& handle, const char* undoName,
           Edits edits)
{
	BResourceCollection* collection = who.WriteLock(undoName);
	ASSERT_NE(collection, nullptr);
	BResourceItem* item = collection->WriteItem(handle, &who);
	ASSERT_NE(item, nullptr);
	edits(item);
	who.WriteUnlock(collection);
}

void Type(BResourceAddonBase& who, const BResourceHandle& handle, off_t at, const char* text)
{
	Write(who, handle, "typing",
	      [&](BResourceItem* item) { EXPECT_EQ(item->InsertData(at, text, strlen(text)), B_OK); });
}

void Delete(BResourceAddonBase& who, const BResourceHandle& handle, off_t at, size_t length)
{
	Write(who, handle, "delete",
	      [&](BResourceItem* item) { EXPECT_EQ(item->RemoveData(at, length), B_OK); });
}

// The changes still queued for who, as (item, bits), drained.
std::vector<std::pair<BResourceHandle, uint32>> Drain(BResourceAddonBase& who)
{
	std::vector<std::pair<BResourceHandle, uint32>> changes;
	const BResourceCollection* collection = who.ReadLock();
	EXPECT_NE(collection, nullptr);
	if (collection == NULL)
		return changes;
	for (;;) {
		uint32 bits = 0;
		BResourceHandle item = collection->GetNextChange(&who, &bits);
		if (!item.IsValid())
			break;
		changes.push_back(std::make_pair(item, bits));
	}
	who.ReadUnlock(collection);
	return changes;
}

class NoticeCounter : public BHandler
{
public:
	NoticeCounter() : BHandler("notice counter"), fNotices(0) {}

	virtual void MessageReceived(BMessage* message)
	{
		if (message->what == B_RESOURCE_CHANGE_NOTICE)
			fNotices++;
		else
			BHandler::MessageReceived(message);
	}

	int32 Notices() const { return fNotices; }

private:
	std::atomic<int32> fNotices;
};

class DocumentTest : public testing::Test
{
protected:
	DocumentTest()
	    : fWriter(fDocument.AddonArgs()),
	      fFirst(fDocument.AddItem('RAWT', 1, "first", "abcdef", 6)),
	      fSecond(fDocument.AddItem('TEXT', 2, "second", "xyz", 3))
	{
	}

	std::string FirstBytes() { return Bytes(fDocument.Item(fFirst)); }

	Document fDocument;
	BResourceAddonBase fWriter;
	BResourceHandle fFirst;
	BResourceHandle fSecond;
};

} // namespace

TEST_F(DocumentTest, ItemsKeepTypeIdNameAndBytes)
{
	ASSERT_EQ(fDocument.CountItems(), 2);
	EXPECT_TRUE(fDocument.ItemAt(0) == fFirst);
	EXPECT_TRUE(fDocument.ItemAt(1) == fSecond);
	EXPECT_FALSE(fDocument.ItemAt(2).IsValid());
	EXPECT_FALSE(fDocument.ItemAt(-1).IsValid());

	const BResourceItem* second = fDocument.Item(fSecond);
	ASSERT_NE(second, nullptr);
	EXPECT_EQ(second->Type(), type_code('TEXT'));
	EXPECT_EQ(second->ID(), 2);
	EXPECT_STREQ(second->Name(), "second");
	EXPECT_EQ(Bytes(second), "xyz");

	const char binary[] = {'\0', 'a', '\0', '\0'};
	BResourceHandle nuls = fDocument.AddItem('RAWT', 3, NULL, binary, sizeof(binary));
	EXPECT_EQ(Bytes(fDocument.Item(nuls)), std::string(binary, sizeof(binary)));
	EXPECT_STREQ(fDocument.Item(nuls)->Name(), "");

	BResourceHandle empty = fDocument.AddItem('RAWT', 4, "empty", NULL, 0);
	EXPECT_EQ(fDocument.Item(empty)->DataIO().BufferLength(), 0u);

	// Adding items is no undoable change.
	EXPECT_FALSE(fDocument.CanUndo());
	EXPECT_FALSE(fDocument.IsModified());
}

TEST_F(DocumentTest, HandlesOfNoItemOrAnotherDocumentFindNothing)
{
	EXPECT_EQ(fDocument.Item(BResourceHandle()), nullptr);
	Document other;
	BResourceHandle foreign = other.AddItem('RAWT', 1, "foreign", "q", 1);
	EXPECT_EQ(fDocument.Item(foreign), nullptr);
	const BResourceCollection* collection = fWriter.ReadLock();
	ASSERT_NE(collection, nullptr);
	EXPECT_EQ(collection->ReadItem(foreign), nullptr);
	fWriter.ReadUnlock(collection);
	EXPECT_TRUE(foreign != fFirst);
	EXPECT_FALSE(foreign != foreign);
}

TEST_F(DocumentTest, EditsOutsideTheDataAreRefusedAndChangeNothing)
{
	Write(fWriter, fFirst, "delete", [](BResourceItem* item) {
		EXPECT_EQ(item->RemoveData(4, 3), B_BAD_VALUE);
		EXPECT_EQ(item->RemoveData(7, 0), B_BAD_VALUE);
		EXPECT_EQ(item->RemoveData(-1, 1), B_BAD_VALUE);
		EXPECT_EQ(item->InsertData(7, "z", 1), B_BAD_VALUE);
		EXPECT_EQ(item->InsertData(-1, "z", 1), B_BAD_VALUE);
		EXPECT_EQ(item->InsertData(0, NULL, 1), B_BAD_VALUE);
	});
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_FALSE(fDocument.CanUndo());

	Write(fWriter, fFirst, "typing", [](BResourceItem* item) {
		EXPECT_EQ(item->RemoveData(4, 2), B_OK);
		EXPECT_EQ(item->InsertData(4, "\0\0", 2), B_OK);
		EXPECT_EQ(item->InsertData(6, "!", 1), B_OK);
		EXPECT_EQ(item->RemoveData(0, 1), B_OK);
	});
	EXPECT_EQ(FirstBytes(), std::string("bcd\0\0!", 6));
}

TEST_F(DocumentTest, UndoAndRedoReplayNamedSteps)
{
	EXPECT_EQ(fDocument.Undo(), B_ERROR);
	EXPECT_EQ(fDocument.Redo(), B_ERROR);
	EXPECT_EQ(fDocument.UndoName(), "");

	Delete(fWriter, fFirst, 1, 2);
	EXPECT_EQ(FirstBytes(), "adef");
	ASSERT_TRUE(fDocument.CanUndo());
	EXPECT_EQ(fDocument.UndoName(), "delete");
	EXPECT_FALSE(fDocument.CanRedo());

	// A replaced byte: one step of two edits.
	Write(fWriter, fFirst, "typing", [](BResourceItem* item) {
		item->RemoveData(0, 1);
		item->InsertData(0, "A", 1);
	});
	EXPECT_EQ(FirstBytes(), "Adef");
	EXPECT_EQ(fDocument.UndoName(), "typing");

	EXPECT_EQ(fDocument.Undo(), B_OK);
	EXPECT_EQ(FirstBytes(), "adef");
	EXPECT_EQ(fDocument.UndoName(), "delete");
	EXPECT_EQ(fDocument.RedoName(), "typing");
	EXPECT_EQ(fDocument.Undo(), B_OK);
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_FALSE(fDocument.CanUndo());
	EXPECT_EQ(fDocument.Undo(), B_ERROR);

	EXPECT_EQ(fDocument.Redo(), B_OK);
	EXPECT_EQ(FirstBytes(), "adef");
	EXPECT_EQ(fDocument.Redo(), B_OK);
	EXPECT_EQ(FirstBytes(), "Adef");
	EXPECT_FALSE(fDocument.CanRedo());

	// A new step after an undo drops what could be redone.
	fDocument.Undo();
	Type(fWriter, fFirst, 0, "z");
	EXPECT_FALSE(fDocument.CanRedo());
	EXPECT_EQ(FirstBytes(), "zadef");
}

TEST_F(DocumentTest, StepsOfOneNameOnOneItemMergeUntilSomethingComesBetween)
{
	Type(fWriter, fFirst, 0, "1");
	Type(fWriter, fFirst, 1, "2");
	Type(fWriter, fFirst, 2, "3");
	EXPECT_EQ(FirstBytes(), "123abcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_FALSE(fDocument.CanUndo());

	// Another name, another item, an undo or a save each start a new step
	// (typing at the start of the run does not continue it either).
	Type(fWriter, fFirst, 0, "1");
	Delete(fWriter, fFirst, 0, 1);
	Type(fWriter, fFirst, 0, "2");
	Type(fWriter, fSecond, 0, "3");
	Type(fWriter, fFirst, 0, "4");
	fDocument.MarkSaved();
	Type(fWriter, fFirst, 0, "5");
	EXPECT_EQ(FirstBytes(), "542abcdef");
	EXPECT_EQ(Bytes(fDocument.Item(fSecond)), "3xyz");

	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "42abcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "2abcdef");
	fDocument.Undo();
	EXPECT_EQ(Bytes(fDocument.Item(fSecond)), "xyz");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "1abcdef");

	// Typing after an undo does not join the step before it.
	Type(fWriter, fFirst, 0, "6");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "1abcdef");
	// Nor after a redo.
	fDocument.Redo();
	Type(fWriter, fFirst, 0, "7");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "61abcdef");
}

// A step joins the one before only where it carries on from its last edit;
// an edit elsewhere, or the end of the run, starts a new step.
TEST_F(DocumentTest, OnlyAStepThatContinuesTheLastEditMerges)
{
	// Typing at offset 1, then at offset 5: two steps.
	Type(fWriter, fFirst, 1, "1");
	Type(fWriter, fFirst, 2, "2");
	Type(fWriter, fFirst, 5, "3");
	EXPECT_EQ(FirstBytes(), "a12bc3def");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "a12bcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_FALSE(fDocument.CanUndo());

	// A Backspace, then two Deletes elsewhere: two steps.
	Delete(fWriter, fFirst, 4, 1);
	Delete(fWriter, fFirst, 1, 1);
	Delete(fWriter, fFirst, 1, 1);
	EXPECT_EQ(FirstBytes(), "adf");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdf");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_FALSE(fDocument.CanUndo());

	// Typing in front of the own run, and typing on after the run ended,
	// start new steps too.
	Type(fWriter, fFirst, 0, "1");
	Type(fWriter, fFirst, 0, "2");
	fDocument.EndUndoRun();
	Type(fWriter, fFirst, 1, "3");
	EXPECT_EQ(FirstBytes(), "231abcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "21abcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "1abcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_FALSE(fDocument.CanUndo());

	// A selection typed over: its removal and the byte put in its place are
	// one step, which typing on joins; bytes put in elsewhere are not.
	Write(fWriter, fFirst, "typing",
	      [](BResourceItem* item) { EXPECT_EQ(item->RemoveData(1, 3), B_OK); });
	Type(fWriter, fFirst, 1, "1");
	Type(fWriter, fFirst, 2, "2");
	Write(fWriter, fFirst, "typing",
	      [](BResourceItem* item) { EXPECT_EQ(item->RemoveData(4, 1), B_OK); });
	Type(fWriter, fFirst, 3, "3");
	EXPECT_EQ(FirstBytes(), "a123e");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "a12e");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "a12ef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_FALSE(fDocument.CanUndo());
}

// The host shows the item of the next undo or redo step before replaying it.
TEST_F(DocumentTest, UndoAndRedoNameTheItemTheyChange)
{
	EXPECT_FALSE(fDocument.UndoItem().IsValid());
	Type(fWriter, fSecond, 0, "1");
	Type(fWriter, fFirst, 0, "2");
	EXPECT_EQ(fDocument.UndoItem(), fFirst);
	fDocument.Undo();
	EXPECT_EQ(fDocument.UndoItem(), fSecond);
	EXPECT_EQ(fDocument.RedoItem(), fFirst);
	fDocument.Undo();
	EXPECT_FALSE(fDocument.UndoItem().IsValid());
	EXPECT_EQ(fDocument.RedoItem(), fSecond);
}

// Typing, Backspace and Delete held over several keys fold into one run;
// undo and redo must still give back exactly the bytes before and after.
TEST_F(DocumentTest, RunsOfAdjacentEditsUndoAndRedoAsOneStep)
{
	// Two-digit bytes: the first digit inserts, the second replaces.
	for (off_t at = 2; at < 5; at++) {
		Type(fWriter, fFirst, at, "x");
		Write(fWriter, fFirst, "typing", [&](BResourceItem* item) {
			EXPECT_EQ(item->RemoveData(at, 1), B_OK);
			EXPECT_EQ(item->InsertData(at, "XYZ" + (at - 2), 1), B_OK);
		});
	}
	EXPECT_EQ(FirstBytes(), "abXYZcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_FALSE(fDocument.CanUndo());
	fDocument.Redo();
	EXPECT_EQ(FirstBytes(), "abXYZcdef");
	fDocument.MarkSaved();

	// Backspace from the end of the typed run into the bytes before it.
	for (off_t at = 4; at >= 1; at--)
		Delete(fWriter, fFirst, at, 1);
	EXPECT_EQ(FirstBytes(), "acdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abXYZcdef");
	fDocument.Redo();
	EXPECT_EQ(FirstBytes(), "acdef");
	fDocument.MarkSaved();

	// Delete forward, then typing that removes part of its own run.
	for (int i = 0; i < 3; i++)
		Delete(fWriter, fFirst, 1, 1);
	Type(fWriter, fFirst, 1, "123");
	Write(fWriter, fFirst, "typing",
	      [&](BResourceItem* item) { EXPECT_EQ(item->RemoveData(2, 1), B_OK); });
	EXPECT_EQ(FirstBytes(), "a13f");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "af");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "acdef");
	fDocument.Redo();
	fDocument.Redo();
	EXPECT_EQ(FirstBytes(), "a13f");

	// A step whose removal takes back its only insertion is still a step.
	fDocument.MarkSaved();
	Write(fWriter, fFirst, "typing", [&](BResourceItem* item) {
		EXPECT_EQ(item->InsertData(0, "q", 1), B_OK);
		EXPECT_EQ(item->RemoveData(0, 1), B_OK);
	});
	EXPECT_TRUE(fDocument.IsModified());
	EXPECT_EQ(fDocument.Undo(), B_OK);
	EXPECT_EQ(FirstBytes(), "a13f");
	EXPECT_FALSE(fDocument.IsModified());
}

TEST_F(DocumentTest, AStepOnSeveralItemsNeitherMergesNorTakesMore)
{
	BResourceCollection* collection = fWriter.WriteLock("typing");
	ASSERT_NE(collection, nullptr);
	collection->WriteItem(fFirst, &fWriter)->InsertData(0, "1", 1);
	collection->WriteItem(fSecond, &fWriter)->InsertData(0, "2", 1);
	fWriter.WriteUnlock(collection);
	Type(fWriter, fFirst, 0, "3");
	Type(fWriter, fFirst, 1, "4");

	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "1abcdef");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_EQ(Bytes(fDocument.Item(fSecond)), "xyz");
	EXPECT_FALSE(fDocument.CanUndo());
}

TEST_F(DocumentTest, AWriteLockWithoutEditsIsNoStep)
{
	Type(fWriter, fFirst, 0, "1");
	BResourceCollection* collection = fWriter.WriteLock("delete");
	ASSERT_NE(collection, nullptr);
	fWriter.WriteUnlock(collection);
	// It neither shows as a step nor ends the typing that goes on.
	EXPECT_EQ(fDocument.UndoName(), "typing");
	Type(fWriter, fFirst, 1, "2");
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
}

TEST_F(DocumentTest, ModifiedFlagFollowsTheSavePoint)
{
	EXPECT_FALSE(fDocument.IsModified());
	Type(fWriter, fFirst, 0, "1");
	EXPECT_TRUE(fDocument.IsModified());
	fDocument.Undo();
	EXPECT_FALSE(fDocument.IsModified());
	fDocument.Redo();
	EXPECT_TRUE(fDocument.IsModified());
	fDocument.MarkSaved();
	EXPECT_FALSE(fDocument.IsModified());
	fDocument.Undo();
	EXPECT_TRUE(fDocument.IsModified());
	fDocument.Redo();
	EXPECT_FALSE(fDocument.IsModified());

	// Once the saved state has been undone and replaced, no undo or redo
	// brings it back.
	fDocument.Undo();
	Delete(fWriter, fFirst, 0, 1);
	EXPECT_TRUE(fDocument.IsModified());
	fDocument.Undo();
	EXPECT_EQ(FirstBytes(), "abcdef");
	EXPECT_TRUE(fDocument.IsModified());
	fDocument.Redo();
	EXPECT_TRUE(fDocument.IsModified());
}

TEST_F(DocumentTest, RefusedLocksGiveNullAndLeaveTheItems)
{
	fDocument.SetRefuseReadLock(true);
	EXPECT_EQ(fWriter.ReadLock(), nullptr);
	fWriter.ReadUnlock(NULL);
	BResourceCollection* collection = fWriter.WriteLock("typing");
	ASSERT_NE(collection, nullptr);
	fWriter.WriteUnlock(collection);

	fDocument.SetRefuseReadLock(false);
	fDocument.SetRefuseWriteLock(true);
	EXPECT_EQ(fWriter.WriteLock("typing"), nullptr);
	const BResourceCollection* reading = fWriter.ReadLock();
	EXPECT_NE(reading, nullptr);
	fWriter.ReadUnlock(reading);

	fDocument.SetRefuseWriteLock(false);
	collection = fWriter.WriteLock("typing");
	EXPECT_NE(collection, nullptr);
	fWriter.WriteUnlock(collection);
	EXPECT_EQ(FirstBytes(), "abcdef");

	// Arguments of no document refuse everything.
	BResourceAddonBase orphan((BResourceAddonArgs()));
	EXPECT_EQ(orphan.ReadLock(), nullptr);
	EXPECT_EQ(orphan.WriteLock("typing"), nullptr);
}

TEST_F(DocumentTest, TheWriteLockObserverSeesEveryRequestFirstAndListenersFollow)
{
	std::vector<std::string> events;
	fDocument.SetWriteLockObserver([&](const char* name) {
		events.push_back(std::string("lock ") + (name != NULL ? name : "(none)"));
	});
	// Every listener hears, in order, until it is removed.
	fDocument.AddListener([&]() { events.push_back("changed"); });
	const int32 removed = fDocument.AddListener([&]() { events.push_back("removed"); });
	fDocument.AddListener([&]() { events.push_back("also"); });
	fDocument.RemoveListener(removed);
	Type(fWriter, fFirst, 0, "1");
	fDocument.SetRefuseWriteLock(true);
	EXPECT_EQ(fWriter.WriteLock("delete"), nullptr);
	fDocument.SetRefuseWriteLock(false);
	fDocument.Undo();
	fDocument.MarkSaved();
	EXPECT_EQ(events, (std::vector<std::string>{"lock typing", "changed", "also", "lock delete",
	                                            "changed", "also", "changed", "also"}));
}

TEST_F(DocumentTest, ChangesQueueForOtherWatchersPerItemWithBitsOred)
{
	BResourceAddonBase other(fDocument.AddonArgs());
	BResourceAddonBase unwatched(fDocument.AddonArgs());
	NoticeCounter writerTarget;
	NoticeCounter otherTarget;
	fWriter.SetChangeTarget(&writerTarget);
	other.SetChangeTarget(&otherTarget);

	Type(fWriter, fSecond, 0, "1");
	Type(fWriter, fFirst, 0, "2");
	Delete(fWriter, fSecond, 0, 1);

	// In the order of first change; one entry per item.
	std::vector<std::pair<BResourceHandle, uint32>> changes = Drain(other);
	ASSERT_EQ(changes.size(), 2u);
	EXPECT_TRUE(changes[0].first == fSecond);
	EXPECT_EQ(changes[0].second, uint32(B_RESOURCE_DATA_CHANGED));
	EXPECT_TRUE(changes[1].first == fFirst);
	EXPECT_EQ(changes[1].second, 8u);
	EXPECT_TRUE(Drain(other).empty());
	// The writer hears nothing of its own writes, a base without a target
	// nothing at all.
	EXPECT_TRUE(Drain(fWriter).empty());
	EXPECT_TRUE(Drain(unwatched).empty());

	// Undo and redo reach every watcher, the writer included.
	fDocument.Undo();
	changes = Drain(fWriter);
	ASSERT_EQ(changes.size(), 1u);
	EXPECT_TRUE(changes[0].first == fSecond);
	EXPECT_EQ(Drain(other).size(), 1u);

	// Without a target a base stops watching.
	other.SetChangeTarget(NULL);
	Type(fWriter, fFirst, 0, "3");
	EXPECT_TRUE(Drain(other).empty());
	// Targets in no looper get no notice.
	EXPECT_EQ(writerTarget.Notices(), 0);
	EXPECT_EQ(otherTarget.Notices(), 0);
}

TEST_F(DocumentTest, EachWriteUnlockPostsOneNoticePerWatcherWithPendingChanges)
{
	BLooper* looper = new BLooper("watchers");
	NoticeCounter writerTarget;
	NoticeCounter otherTarget;
	NoticeCounter idleTarget;
	looper->AddHandler(&writerTarget);
	looper->AddHandler(&otherTarget);
	looper->Run();

	BResourceAddonBase other(fDocument.AddonArgs());
	BResourceAddonBase idle(fDocument.AddonArgs());
	fWriter.SetChangeTarget(&writerTarget);
	other.SetChangeTarget(&otherTarget);
	idle.SetChangeTarget(&idleTarget);

	// Two items changed under one lock: still one notice.
	BResourceCollection* collection = fWriter.WriteLock("typing");
	ASSERT_NE(collection, nullptr);
	collection->WriteItem(fFirst, &fWriter)->InsertData(0, "1", 1);
	collection->WriteItem(fSecond, &fWriter)->InsertData(0, "2", 1);
	fWriter.WriteUnlock(collection);
	PlatformTesting::WaitUntilIdle(looper);
	EXPECT_EQ(otherTarget.Notices(), 1);
	EXPECT_EQ(writerTarget.Notices(), 0);
	EXPECT_EQ(Drain(other).size(), 2u);

	fDocument.Undo();
	PlatformTesting::WaitUntilIdle(looper);
	EXPECT_EQ(otherTarget.Notices(), 2);
	EXPECT_EQ(writerTarget.Notices(), 1);

	// The target outside any looper kept its queue all along.
	EXPECT_EQ(idleTarget.Notices(), 0);
	EXPECT_EQ(Drain(idle).size(), 2u);

	fWriter.SetChangeTarget(NULL);
	other.SetChangeTarget(NULL);
	looper->Lock();
	looper->RemoveHandler(&writerTarget);
	looper->RemoveHandler(&otherTarget);
	looper->Quit();
}

namespace {

// One call on the item inside a write step. A replacement is a removal and an
// insertion of as many bytes at the same place, as the editor sends a changed
// byte; a read looks at the bytes in the middle of the step.
struct ItemCall
{
	enum Kind
	{
		kRemove,
		kInsert,
		kReplace,
		kRead
	};
	Kind kind;
	off_t position;
	size_t length;
	char value;
};

typedef std::vector<std::vector<ItemCall>> Steps;

Steps RandomSteps(std::mt19937& random)
{
	Steps steps(random() % 12 + 1);
	for (std::vector<ItemCall>& step : steps) {
		step.resize(random() % 4 + 1);
		for (ItemCall& call : step) {
			// Positions may lie past the end: such calls are refused.
			call = {ItemCall::Kind(random() % 4), off_t(random() % 10), random() % 3 + 1,
			        char('A' + random() % 26)};
		}
	}
	return steps;
}

// Runs the steps on a fresh item and on a string; returns what first differs,
// or an empty string when the item, undo and redo agree with the model.
std::string CheckAgainstModel(const Steps& steps)
{
	const std::string start = "abcdef";
	Document document;
	BResourceAddonBase writer(document.AddonArgs());
	const BResourceHandle handle = document.AddItem('RAWT', 1, "item", start.data(), start.size());
	std::string model = start;
	std::vector<std::string> history{model};
	std::string fault;
	auto check = [&](const std::string& bytes, const std::string& where) {
		if (fault.empty() && bytes != model)
			fault = where + ": item \"" + bytes + "\", model \"" + model + "\"";
	};
	for (size_t s = 0; s < steps.size(); s++) {
		BResourceCollection* collection = writer.WriteLock("typing");
		BResourceItem* item = collection->WriteItem(handle, &writer);
		const std::string before = model;
		for (const ItemCall& call : steps[s]) {
			const std::string run(call.length, call.value);
			const bool fits = size_t(call.position) + call.length <= model.size();
			switch (call.kind) {
			case ItemCall::kRead:
				check(Bytes(item), "read in step " + std::to_string(s));
				break;
			case ItemCall::kInsert:
				if ((item->InsertData(call.position, run.data(), run.size()) == B_OK) !=
				    (size_t(call.position) <= model.size()))
					fault = fault.empty() ? "insertion refused or let through" : fault;
				if (size_t(call.position) <= model.size())
					model.insert(size_t(call.position), run);
				break;
			case ItemCall::kRemove:
			case ItemCall::kReplace:
				if ((item->RemoveData(call.position, call.length) == B_OK) != fits)
					fault = fault.empty() ? "removal refused or let through" : fault;
				if (fits)
					model.erase(size_t(call.position), call.length);
				if (call.kind == ItemCall::kReplace && fits) {
					item->InsertData(call.position, run.data(), run.size());
					model.insert(size_t(call.position), run);
				}
				break;
			}
		}
		writer.WriteUnlock(collection);
		check(Bytes(document.Item(handle)), "after step " + std::to_string(s));
		if (model != before)
			history.push_back(model);
	}
	// Merged steps replay as one: each undo reaches an earlier state of the
	// history, and undoing everything reaches the start.
	size_t at = history.size() - 1;
	while (document.CanUndo()) {
		document.Undo();
		const std::string bytes = Bytes(document.Item(handle));
		while (at > 0 && history[at] != bytes)
			at--;
		if (history[at] != bytes && fault.empty())
			fault = "undo gave \"" + bytes + "\", no earlier state";
	}
	model = start;
	check(Bytes(document.Item(handle)), "after undoing everything");
	while (document.CanRedo())
		document.Redo();
	model = history.back();
	check(Bytes(document.Item(handle)), "after redoing everything");
	return fault;
}

} // namespace

// Random write steps of removals, insertions and replacements (a removal and
// an insertion at one place, whose bytes change in place), with reads in
// between, against a string; a failing case shrinks by dropping steps and
// calls.
TEST(ItemEditModel, RandomStepsLeaveTheBytesUndoAndRedoAsAStringModel)
{
	std::mt19937 random(22);
	for (int round = 0; round < 400; round++) {
		Steps steps = RandomSteps(random);
		std::string fault = CheckAgainstModel(steps);
		if (fault.empty())
			continue;
		for (bool shrunk = true; shrunk;) {
			shrunk = false;
			for (size_t s = 0; s < steps.size() && !shrunk; s++) {
				for (size_t c = 0; c < steps[s].size() && !shrunk; c++) {
					Steps smaller = steps;
					smaller[s].erase(smaller[s].begin() + c);
					if (smaller[s].empty())
						smaller.erase(smaller.begin() + s);
					const std::string smallerFault = CheckAgainstModel(smaller);
					if (!smallerFault.empty()) {
						steps = smaller;
						fault = smallerFault;
						shrunk = true;
					}
				}
			}
		}
		std::string calls;
		for (const std::vector<ItemCall>& step : steps) {
			calls += "[";
			for (const ItemCall& call : step)
				calls += " " + std::to_string(call.kind) + "@" + std::to_string(call.position) +
				         "x" + std::to_string(call.length);
			calls += " ]";
		}
		FAIL() << fault << " after " << calls << " (kinds: remove, insert, replace, read)";
	}
}

// A removal that no insertion follows is held back only while the write lock
// lasts: reader threads that take the read lock at once after it all see the
// bytes without it.
TEST_F(DocumentTest, ReaderThreadsSeeARemovalAfterItsWriteLock)
{
	for (int round = 0; round < 50; round++) {
		Delete(fWriter, fFirst, 1, 1);
		std::vector<std::string> seen(3);
		std::vector<std::thread> readers;
		for (std::string& bytes : seen) {
			readers.emplace_back([this, &bytes] {
				const BResourceCollection* collection = fWriter.ReadLock();
				bytes = Bytes(collection->ReadItem(fFirst));
				fWriter.ReadUnlock(collection);
			});
		}
		for (std::thread& reader : readers)
			reader.join();
		for (const std::string& bytes : seen)
			EXPECT_EQ(bytes, "acdef");
		fDocument.Undo();
		ASSERT_EQ(FirstBytes(), "abcdef");
	}
}
