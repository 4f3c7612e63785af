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

#include <algorithm>
#include <atomic>
#include <random>
#include <string>
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
	fDocument.AddListener(
	    [&](const std::vector<Document::ItemChange>&) { events.push_back("changed"); });
	const int32 removed = fDocument.AddListener(
	    [&](const std::vector<Document::ItemChange>&) { events.push_back("removed"); });
	fDocument.AddListener(
	    [&](const std::vector<Document::ItemChange>&) { events.push_back("also"); });
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

// A model of the document that knows nothing of how it keeps its steps: the
// live items, and an undo stack of whole snapshots with the step's name,
// the items it changed and how.
struct ModelItem
{
	int32 key;
	type_code type;
	int32 id;
	std::string name;
	std::string bytes;
};

struct ModelState
{
	std::vector<ModelItem> items;
	// A new number for every state that an edit or operation makes, so that
	// "modified" is "not the state that was saved".
	int32 number;
};

struct ModelStep
{
	std::string name;
	// The items changed, in order, with the bits doing the step gives them;
	// undoing it swaps added and removed.
	std::vector<std::pair<int32, uint32>> changes;
	ModelState other;
};

// One intent, resolved against the items when it runs, so that any sub-list
// of a sequence is a sequence too.
struct Event
{
	enum Kind
	{
		kType,
		kDelete,
		kAdd,
		kRemove,
		kInfo,
		kImport,
		kUndo,
		kRedo,
		kSave,
		kEndRun
	};
	Kind kind;
	uint32 a;
	uint32 b;
	uint32 c;
};

std::string Describe(const std::vector<Event>& events)
{
	static const char* const kNames[] = {"type",   "delete", "add",  "remove", "info",
	                                     "import", "undo",   "redo", "save",   "end run"};
	std::string text;
	for (const Event& event : events) {
		text += std::string(kNames[event.kind]) + "(" + std::to_string(event.a) + "," +
		        std::to_string(event.b) + "," + std::to_string(event.c) + ") ";
	}
	return text;
}

class DocumentModelRun
{
public:
	DocumentModelRun() : fWriter(fDocument.AddonArgs()), fOther(fDocument.AddonArgs())
	{
		fWriter.SetChangeTarget(&fWriterTarget);
		fOther.SetChangeTarget(&fOtherTarget);
		fListener = fDocument.AddListener([this](const std::vector<Document::ItemChange>& changes) {
			fHeard.insert(fHeard.end(), changes.begin(), changes.end());
		});
		fState.number = 0;
		Load('TEXT', 1, "first", "abc");
		Load('RAWT', 1, "second", "");
		fSavedNumber = fState.number;
	}

	~DocumentModelRun()
	{
		fDocument.RemoveListener(fListener);
		fWriter.SetChangeTarget(NULL);
		fOther.SetChangeTarget(NULL);
	}

	// The first disagreement after events, or "".
	std::string Run(const std::vector<Event>& events)
	{
		for (size_t index = 0; index < events.size(); index++) {
			std::vector<std::pair<int32, uint32>> byOthers;
			std::vector<std::pair<int32, uint32>> byAll;
			Play(events[index], byOthers, byAll);
			const std::string failure = Check(byOthers, byAll);
			if (!failure.empty())
				return "after event " + std::to_string(index) + ": " + failure;
		}
		return std::string();
	}

private:
	void Load(type_code type, int32 id, const char* name, const std::string& bytes)
	{
		const int32 key = int32(fHandles.size());
		fHandles.push_back(fDocument.AddItem(type, id, name, bytes.data(), bytes.size()));
		fState.items.push_back(ModelItem{key, type, id, name, bytes});
		fHeard.clear();
	}

	// Plays event on the document and the model; byOthers gets what the
	// watcher that did not write hears, byAll what the writer hears too.
	void Play(const Event& event, std::vector<std::pair<int32, uint32>>& byOthers,
	          std::vector<std::pair<int32, uint32>>& byAll)
	{
		std::vector<ModelItem>& items = fState.items;
		const size_t count = items.size();
		switch (event.kind) {
		case Event::kType:
		case Event::kDelete: {
			if (count == 0)
				return;
			ModelItem& item = items[event.a % count];
			const bool insertion = event.kind == Event::kType;
			if (!insertion && item.bytes.empty())
				return;
			const size_t at = event.b % (item.bytes.size() + (insertion ? 1 : 0));
			const size_t length = insertion
			                          ? 1 + event.c % 3
			                          : 1 + event.c % std::min<size_t>(3, item.bytes.size() - at);
			const std::string text(length, char('A' + event.c % 26));
			Write(fWriter, fHandles[item.key], insertion ? "typing" : "delete",
			      [&](BResourceItem* written) {
				      EXPECT_EQ(insertion ? written->InsertData(off_t(at), text.data(), length)
				                          : written->RemoveData(off_t(at), length),
				                B_OK);
			      });
			const bool continues =
			    fRun.open && fRun.key == item.key && fRun.insertion == insertion &&
			    (insertion ? at == fRun.end : at + length == fRun.start || at == fRun.start);
			if (!continues)
				Push(insertion ? "typing" : "delete", {{item.key, kItemDataChanged}});
			if (insertion) {
				item.bytes.insert(at, text);
				fRun = Run_{true, item.key, true, continues ? fRun.start : at, at + length};
			} else {
				item.bytes.erase(at, length);
				fRun = Run_{true, item.key, false, continues ? std::min(fRun.start, at) : at, 0};
			}
			fState.number = ++fNumbers;
			byOthers.push_back({item.key, kItemDataChanged});
			return;
		}
		case Event::kAdd: {
			const int32 index = int32(event.a % (count + 1));
			const type_code type = event.b % 2 == 0 ? 'TEXT' : 'RAWT';
			const int32 id = int32(event.b / 2 % 3);
			const std::string name = event.c % 7 == 0 ? std::string(256, 'n') : "added";
			const std::string bytes(event.c % 4, 'x');
			BResourceHandle added;
			std::string error;
			const status_t status = fDocument.InsertItem(
			    index, type, id, name.c_str(), bytes.data(), bytes.size(), &added, &error);
			if (!Allowed(type, id, name, -1)) {
				EXPECT_NE(status, B_OK);
				EXPECT_FALSE(error.empty());
				return;
			}
			EXPECT_EQ(status, B_OK) << error;
			const int32 key = int32(fHandles.size());
			fHandles.push_back(added);
			Push("add item", {{key, kItemAdded}});
			items.insert(items.begin() + index, ModelItem{key, type, id, name, bytes});
			break;
		}
		case Event::kRemove: {
			if (count == 0)
				return;
			std::vector<int32> keys = {items[event.a % count].key};
			if (event.c % 2 == 1 && items[event.b % count].key != keys[0])
				keys.push_back(items[event.b % count].key);
			std::vector<BResourceHandle> handles;
			std::vector<std::pair<int32, uint32>> changes;
			for (int32 key : keys) {
				handles.push_back(fHandles[key]);
				changes.push_back({key, kItemRemoved});
			}
			EXPECT_EQ(fDocument.RemoveItems(handles), B_OK);
			Push("remove item", changes);
			for (int32 key : keys)
				std::erase_if(items, [key](const ModelItem& item) { return item.key == key; });
			break;
		}
		case Event::kInfo: {
			if (count == 0)
				return;
			ModelItem& item = items[event.a % count];
			const type_code type = event.b % 2 == 0 ? 'TEXT' : 'RAWT';
			const int32 id = int32(event.b / 2 % 3);
			const std::string name =
			    event.c % 5 == 0 ? std::string(256, 'm') : "renamed " + std::to_string(event.c);
			std::string error;
			const status_t status =
			    fDocument.SetItemInfo(fHandles[item.key], type, id, name.c_str(), &error);
			if (!Allowed(type, id, name, item.key)) {
				EXPECT_NE(status, B_OK);
				EXPECT_FALSE(error.empty());
				return;
			}
			EXPECT_EQ(status, B_OK) << error;
			Push("item info", {{item.key, kItemInfoChanged}});
			item.type = type;
			item.id = id;
			item.name = name;
			break;
		}
		case Event::kImport: {
			if (count == 0)
				return;
			ModelItem& item = items[event.a % count];
			const std::string bytes(event.c % 5, char('0' + event.b % 10));
			EXPECT_EQ(fDocument.ReplaceItemData(fHandles[item.key], bytes.data(), bytes.size()),
			          B_OK);
			if (bytes.empty() && item.bytes.empty())
				return;
			Push("import", {{item.key, kItemDataChanged}});
			item.bytes = bytes;
			break;
		}
		case Event::kUndo:
		case Event::kRedo: {
			const bool undo = event.kind == Event::kUndo;
			std::vector<ModelStep>& from = undo ? fUndo : fRedo;
			EXPECT_EQ(undo ? fDocument.Undo() : fDocument.Redo(), from.empty() ? B_ERROR : B_OK);
			if (from.empty())
				return;
			ModelStep step = std::move(from.back());
			from.pop_back();
			std::swap(step.other, fState);
			for (const std::pair<int32, uint32>& change : step.changes) {
				uint32 bits = change.second;
				if (undo && bits == kItemAdded)
					bits = kItemRemoved;
				else if (undo && bits == kItemRemoved)
					bits = kItemAdded;
				byOthers.push_back({change.first, bits});
			}
			(undo ? fRedo : fUndo).push_back(std::move(step));
			fRun.open = false;
			byAll = byOthers;
			return;
		}
		case Event::kSave:
			fDocument.MarkSaved();
			fSavedNumber = fState.number;
			fRun.open = false;
			return;
		case Event::kEndRun:
			fDocument.EndUndoRun();
			fRun.open = false;
			return;
		}
		// An operation of the host: a step of its own that every watcher hears of.
		fState.number = ++fNumbers;
		fRun.open = false;
		byOthers = fUndo.back().changes;
		byAll = byOthers;
	}

	bool Allowed(type_code type, int32 id, const std::string& name, int32 except) const
	{
		if (name.size() > kMaxItemNameLength)
			return false;
		for (const ModelItem& item : fState.items) {
			if (item.key != except && item.type == type && item.id == id)
				return false;
		}
		return true;
	}

	void Push(const char* name, std::vector<std::pair<int32, uint32>> changes)
	{
		fUndo.push_back(ModelStep{name, std::move(changes), fState});
		fRedo.clear();
	}

	std::string Check(const std::vector<std::pair<int32, uint32>>& byOthers,
	                  const std::vector<std::pair<int32, uint32>>& byAll)
	{
		const std::vector<ModelItem>& items = fState.items;
		if (fDocument.CountItems() != int32(items.size()))
			return "count " + std::to_string(fDocument.CountItems());
		for (size_t index = 0; index < items.size(); index++) {
			const ModelItem& expected = items[index];
			if (fDocument.ItemAt(int32(index)) != fHandles[expected.key])
				return "item " + std::to_string(index) + " is not key " +
				       std::to_string(expected.key);
			if (fDocument.IndexOf(fHandles[expected.key]) != int32(index))
				return "index of key " + std::to_string(expected.key);
		}
		// Every handle ever made names its own item while it is live, and
		// nothing once it is not.
		for (size_t key = 0; key < fHandles.size(); key++) {
			const BResourceItem* item = fDocument.Item(fHandles[key]);
			std::vector<ModelItem>::const_iterator expected =
			    std::find_if(items.begin(), items.end(),
			                 [key](const ModelItem& model) { return model.key == int32(key); });
			if (expected == items.end()) {
				if (item != NULL || fDocument.IndexOf(fHandles[key]) != -1)
					return "removed key " + std::to_string(key) + " still resolves";
				continue;
			}
			if (item == NULL || item->Type() != expected->type || item->ID() != expected->id ||
			    item->Name() != expected->name || Bytes(item) != expected->bytes)
				return "key " + std::to_string(key) + " differs: \"" + Bytes(item) + "\"";
		}
		if (fDocument.UndoName() != (fUndo.empty() ? "" : fUndo.back().name) ||
		    fDocument.RedoName() != (fRedo.empty() ? "" : fRedo.back().name))
			return "undo names " + fDocument.UndoName() + " / " + fDocument.RedoName();
		if (!fUndo.empty() && fDocument.UndoItem() != fHandles[fUndo.back().changes[0].first])
			return "undo item";
		if (!fRedo.empty() && fDocument.RedoItem() != fHandles[fRedo.back().changes[0].first])
			return "redo item";
		if (fDocument.IsModified() != (fState.number != fSavedNumber))
			return "modified flag";
		if (!SameChanges(Drain(fOther), byOthers))
			return "changes the other watcher heard";
		if (!SameChanges(Drain(fWriter), byAll))
			return "changes the writer heard";
		std::vector<std::pair<BResourceHandle, uint32>> heard;
		for (const Document::ItemChange& change : fHeard)
			heard.push_back({change.item, change.changes});
		fHeard.clear();
		if (!SameChanges(heard, byOthers))
			return "changes the listener heard";
		return std::string();
	}

	bool SameChanges(const std::vector<std::pair<BResourceHandle, uint32>>& heard,
	                 const std::vector<std::pair<int32, uint32>>& expected) const
	{
		if (heard.size() != expected.size())
			return false;
		for (size_t index = 0; index < heard.size(); index++) {
			if (heard[index].first != fHandles[expected[index].first] ||
			    heard[index].second != expected[index].second)
				return false;
		}
		return true;
	}

	// The run of byte edits that the next one may join.
	struct Run_
	{
		bool open;
		int32 key;
		bool insertion;
		size_t start;
		size_t end;
	};

	Document fDocument;
	BResourceAddonBase fWriter;
	BResourceAddonBase fOther;
	NoticeCounter fWriterTarget;
	NoticeCounter fOtherTarget;
	int32 fListener;
	std::vector<Document::ItemChange> fHeard;
	// Handles by key: every item the run ever made.
	std::vector<BResourceHandle> fHandles;
	ModelState fState;
	int32 fNumbers = 0;
	int32 fSavedNumber;
	std::vector<ModelStep> fUndo;
	std::vector<ModelStep> fRedo;
	Run_ fRun = {false, 0, false, 0, 0};
};

std::string RunModel(const std::vector<Event>& events)
{
	DocumentModelRun run;
	return run.Run(events);
}

} // namespace

TEST(DocumentModelTest, RandomEditsAndOperationsAgreeWithSnapshotModel)
{
	for (uint32 seed = 1; seed <= 60; seed++) {
		std::mt19937 random(seed);
		std::vector<Event> events;
		for (int32 count = 0; count < 120; count++) {
			events.push_back(Event{Event::Kind(random() % 10), uint32(random() % 1000),
			                       uint32(random() % 1000), uint32(random() % 1000)});
		}
		std::string failure = RunModel(events);
		if (failure.empty())
			continue;
		// Shrinks by dropping events while the sequence still fails.
		for (bool dropped = true; dropped;) {
			dropped = false;
			for (size_t index = 0; index < events.size(); index++) {
				std::vector<Event> shorter = events;
				shorter.erase(shorter.begin() + index);
				const std::string shorterFailure = RunModel(shorter);
				if (!shorterFailure.empty()) {
					events = std::move(shorter);
					failure = shorterFailure;
					dropped = true;
					break;
				}
			}
		}
		ADD_FAILURE() << "seed " << seed << ": " << failure << "\n  " << Describe(events);
		return;
	}
}
