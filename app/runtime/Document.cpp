#include "Document.h"

#include <Errors.h>
#include <Handler.h>
#include <Looper.h>
#include <Message.h>
#include <ResourceAddonBase.h>

#include <algorithm>
#include <cstring>
#include <memory>

Document::Document()
    : fCollection(new BResourceCollection(this)), fMergeOpen(false), fSavedDepth(0),
      fNextListener(1), fRefuseRead(false), fRefuseWrite(false), fItemSizeLimit(0),
      fRefusedGrowths(0), fLastRefused(NULL), fOpenRefused(false)
{
}

Document::~Document()
{
	delete fCollection;
}

void Document::ItemDeleter::operator()(BResourceItem* item) const
{
	delete item;
}

BResourceHandle Document::AddItem(type_code type, int32 id, const char* name, const void* data,
                                  size_t length)
{
	OwnedItem made(new BResourceItem(this, type, id, name, data, length));
	BResourceItem* item = made.get();
	{
		std::unique_lock<std::shared_mutex> lock(fLock);
		fOwned.reserve(fOwned.size() + 1);
		fItems.reserve(fItems.size() + 1);
		fLive[item] = true;
		fOwned.push_back(std::move(made));
		fItems.push_back(item);
	}
	NotifyListeners({ItemChange{BResourceHandle(item), kItemAdded}});
	return BResourceHandle(item);
}

int32 Document::IndexOf(const BResourceHandle& item) const
{
	std::shared_lock<std::shared_mutex> lock(fLock);
	if (Resolve(item) == NULL)
		return -1;
	return int32(std::find(fItems.begin(), fItems.end(), item.fItem) - fItems.begin());
}

std::vector<BResourceHandle> Document::Items() const
{
	std::shared_lock<std::shared_mutex> lock(fLock);
	std::vector<BResourceHandle> items;
	items.reserve(fItems.size());
	for (BResourceItem* item : fItems)
		items.push_back(BResourceHandle(item));
	return items;
}

size_t Document::HandleHash::operator()(const BResourceHandle& item) const
{
	return std::hash<const BResourceItem*>()(item.fItem);
}

status_t Document::CheckInfo(type_code type, int32 id, const char* name,
                             const BResourceItem* except, std::string* error) const
{
	if (name != NULL && strlen(name) > kMaxItemNameLength) {
		if (error != NULL)
			*error = "the name is " + std::to_string(strlen(name)) +
			         " bytes long; an item's name may have at most " +
			         std::to_string(kMaxItemNameLength);
		return B_NAME_TOO_LONG;
	}
	for (const BResourceItem* item : fItems) {
		if (item != except && item->fType == type && item->fID == id) {
			if (error != NULL) {
				const char code[] = {char(type >> 24), char(type >> 16), char(type >> 8),
				                     char(type), '\0'};
				*error = "an item of type '" + std::string(code) + "' with id " +
				         std::to_string(id) + " is already there (\"" + item->fName.String() +
				         "\")";
			}
			return B_NAME_IN_USE;
		}
	}
	return B_OK;
}

bool Document::RefusesData(size_t length, std::string* error) const
{
	const size_t limit = fItemSizeLimit;
	if (limit == 0 || length <= limit)
		return false;
	if (error != NULL)
		*error = "the data is " + std::to_string(length) +
		         " bytes long; an item may have at most " + std::to_string(limit);
	return true;
}

status_t Document::InsertItem(int32 index, type_code type, int32 id, const char* name,
                              const void* data, size_t length, BResourceHandle* added,
                              std::string* error)
{
	if (RefusesData(length, error))
		return B_NO_MEMORY;
	OwnedItem made(new BResourceItem(this, type, id, name, data, length));
	BResourceItem* item = made.get();
	Step step;
	step.name = "add item";
	step.edits.push_back(Edit{Edit::kAdd, item, false, 0, std::string(), index, 0, 0, ""});
	{
		std::unique_lock<std::shared_mutex> lock(fLock);
		fOwned.reserve(fOwned.size() + 1);
		fLive[item] = false;
		fOwned.push_back(std::move(made));
	}
	// The item stays owned, though never shown, when the step is refused.
	status_t status = RunStep(std::move(step), error);
	if (status == B_OK && added != NULL)
		*added = BResourceHandle(item);
	return status;
}

status_t Document::RemoveItems(const std::vector<BResourceHandle>& items, std::string* error)
{
	Step step;
	step.name = "remove item";
	for (const BResourceHandle& handle : items)
		step.edits.push_back(
		    Edit{Edit::kRemove, handle.fItem, false, 0, std::string(), -1, 0, 0, ""});
	return RunStep(std::move(step), error);
}

status_t Document::SetItemInfo(const BResourceHandle& item, type_code type, int32 id,
                               const char* name, std::string* error)
{
	Step step;
	step.name = "item info";
	step.edits.push_back(Edit{Edit::kInfo, item.fItem, false, 0, std::string(), -1, type, id,
	                          name != NULL ? name : ""});
	return RunStep(std::move(step), error);
}

status_t Document::ReplaceItemData(const BResourceHandle& item, const void* data, size_t length,
                                   std::string* error)
{
	if (RefusesData(length, error))
		return B_NO_MEMORY;
	Step step;
	step.name = "import";
	// The old bytes are filled in under the lock.
	step.edits.push_back(Edit{Edit::kBytes, item.fItem, false, 0, std::string(), -1, 0, 0, ""});
	step.edits.push_back(Edit{Edit::kBytes, item.fItem, true, 0,
	                          std::string(static_cast<const char*>(data), length), -1, 0, 0, ""});
	return RunStep(std::move(step), error);
}

status_t Document::RunStep(Step&& step, std::string* error)
{
	std::vector<ItemChange> changes;
	{
		std::unique_lock<std::shared_mutex> lock(fLock);
		// Checked against the list as it will be when each change comes.
		std::vector<BResourceItem*> removed;
		for (Edit& edit : step.edits) {
			const bool live =
			    edit.kind == Edit::kAdd
			        ? fLive.count(edit.item) > 0 && !fLive.at(edit.item)
			        : Resolve(BResourceHandle(edit.item)) != NULL &&
			              std::find(removed.begin(), removed.end(), edit.item) == removed.end();
			if (!live) {
				if (error != NULL)
					*error = "the item is not in the document";
				return B_BAD_VALUE;
			}
			if (edit.kind == Edit::kRemove)
				removed.push_back(edit.item);
			if (edit.kind == Edit::kAdd && (edit.index < 0 || size_t(edit.index) > fItems.size())) {
				if (error != NULL)
					*error = "there is no place " + std::to_string(edit.index) + " in a list of " +
					         std::to_string(fItems.size()) + " items";
				return B_BAD_INDEX;
			}
			if (edit.kind == Edit::kAdd || edit.kind == Edit::kInfo) {
				status_t status = CheckInfo(edit.kind == Edit::kAdd ? edit.item->fType : edit.type,
				                            edit.kind == Edit::kAdd ? edit.item->fID : edit.id,
				                            edit.kind == Edit::kAdd ? edit.item->fName.String()
				                                                    : edit.name.c_str(),
				                            edit.item, error);
				if (status != B_OK)
					return status;
			}
			if (edit.kind == Edit::kBytes && !edit.insertion) {
				const BMallocIO& data = edit.item->fData;
				edit.bytes.assign(static_cast<const char*>(data.Buffer()), data.BufferLength());
			}
		}
		if (step.edits.empty()) {
			if (error != NULL)
				*error = "no item is chosen";
			return B_BAD_VALUE;
		}
		// Byte edits that change nothing are left out; a step that is left
		// with nothing is none.
		std::erase_if(step.edits, [](const Edit& edit) {
			return edit.kind == Edit::kBytes && edit.bytes.empty();
		});
		if (step.edits.empty())
			return B_OK;
		Reserve(step);
		std::lock_guard<std::mutex> state(fStateLock);
		const bool savedStateGone = fSavedDepth > int32(fUndo.size());
		fUndo.reserve(fUndo.size() + 1);
		ApplyStep(step, true);
		for (const Edit& edit : step.edits) {
			QueueChange(edit.item, ChangeBits(edit, true), NULL);
			NoteChange(changes, edit.item, ChangeBits(edit, true));
		}
		fUndo.push_back(std::move(step));
		if (savedStateGone)
			fSavedDepth = -1;
		fMergeOpen = false;
		fRedo.clear();
	}
	PostNotices();
	NotifyListeners(changes);
	return B_OK;
}

void Document::Reserve(const Step& step)
{
	size_t adds = 0;
	for (const Edit& edit : step.edits)
		adds += edit.kind == Edit::kAdd || edit.kind == Edit::kRemove ? 1 : 0;
	fItems.reserve(fItems.size() + adds);
}

void Document::Apply(Edit& edit, bool forward)
{
	BResourceItem* item = edit.item;
	switch (edit.kind) {
	case Edit::kBytes:
		if (edit.insertion == forward)
			item->Insert(edit.position, edit.bytes.data(), edit.bytes.size());
		else
			item->Remove(edit.position, edit.bytes.size());
		break;
	case Edit::kAdd:
	case Edit::kRemove:
		if ((edit.kind == Edit::kAdd) == forward) {
			fItems.insert(fItems.begin() + edit.index, item);
			fLive[item] = true;
		} else {
			// A removal learns its index as it is made; replaying it
			// later finds the item there again.
			std::vector<BResourceItem*>::iterator found =
			    std::find(fItems.begin(), fItems.end(), item);
			edit.index = int32(found - fItems.begin());
			fItems.erase(found);
			fLive[item] = false;
		}
		break;
	case Edit::kInfo: {
		std::string name = item->fName.String();
		item->fName = edit.name.c_str();
		edit.name.swap(name);
		std::swap(item->fType, edit.type);
		std::swap(item->fID, edit.id);
		break;
	}
	}
}

void Document::ApplyStep(Step& step, bool forward)
{
	if (forward) {
		for (Edit& edit : step.edits)
			Apply(edit, true);
	} else {
		for (std::vector<Edit>::reverse_iterator edit = step.edits.rbegin();
		     edit != step.edits.rend(); ++edit)
			Apply(*edit, false);
	}
}

uint32 Document::ChangeBits(const Edit& edit, bool forward)
{
	switch (edit.kind) {
	case Edit::kBytes:
		return kItemDataChanged;
	case Edit::kInfo:
		return kItemInfoChanged;
	case Edit::kAdd:
		return forward ? kItemAdded : kItemRemoved;
	case Edit::kRemove:
		return forward ? kItemRemoved : kItemAdded;
	}
	return 0;
}

void Document::NoteChange(std::vector<ItemChange>& changes, BResourceItem* item, uint32 bits)
{
	BResourceHandle handle(item);
	for (ItemChange& change : changes) {
		if (change.item == handle) {
			change.changes |= bits;
			return;
		}
	}
	changes.push_back(ItemChange{handle, bits});
}

int32 Document::CountItems() const
{
	std::shared_lock<std::shared_mutex> lock(fLock);
	return int32(fItems.size());
}

BResourceHandle Document::ItemAt(int32 index) const
{
	std::shared_lock<std::shared_mutex> lock(fLock);
	if (index < 0 || size_t(index) >= fItems.size())
		return BResourceHandle();
	return BResourceHandle(fItems[index]);
}

const BResourceItem* Document::Item(const BResourceHandle& item) const
{
	std::shared_lock<std::shared_mutex> lock(fLock);
	return Resolve(item);
}

status_t Document::ReadItem(const BResourceHandle& item,
                            const std::function<void(const BResourceItem&)>& reader) const
{
	std::shared_lock<std::shared_mutex> lock(fLock);
	const BResourceItem* found = Resolve(item);
	if (found == NULL)
		return B_BAD_VALUE;
	reader(*found);
	return B_OK;
}

BResourceAddonArgs Document::AddonArgs()
{
	return BResourceAddonArgs(this);
}

status_t Document::Undo()
{
	return Replay(true);
}

status_t Document::Redo()
{
	return Replay(false);
}

bool Document::CanUndo() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return !fUndo.empty();
}

bool Document::CanRedo() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return !fRedo.empty();
}

std::string Document::UndoName() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return fUndo.empty() ? std::string() : fUndo.back().name;
}

std::string Document::RedoName() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return fRedo.empty() ? std::string() : fRedo.back().name;
}

BResourceHandle Document::UndoItem() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return fUndo.empty() ? BResourceHandle() : BResourceHandle(fUndo.back().edits.front().item);
}

BResourceHandle Document::RedoItem() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return fRedo.empty() ? BResourceHandle() : BResourceHandle(fRedo.back().edits.front().item);
}

void Document::EndUndoRun()
{
	std::lock_guard<std::mutex> state(fStateLock);
	fMergeOpen = false;
}

bool Document::IsModified() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return fSavedDepth != int32(fUndo.size());
}

void Document::MarkSaved()
{
	{
		std::lock_guard<std::mutex> state(fStateLock);
		fSavedDepth = int32(fUndo.size());
		fMergeOpen = false;
	}
	NotifyListeners();
}

int32 Document::AddListener(Listener listener)
{
	std::lock_guard<std::mutex> state(fStateLock);
	fListeners.push_back(std::make_pair(fNextListener, std::move(listener)));
	return fNextListener++;
}

void Document::RemoveListener(int32 id)
{
	std::lock_guard<std::mutex> state(fStateLock);
	std::erase_if(fListeners, [id](const std::pair<int32, Listener>& listener) {
		return listener.first == id;
	});
}

void Document::SetWriteLockObserver(std::function<void(const char*)> observer)
{
	std::lock_guard<std::mutex> state(fStateLock);
	fWriteLockObserver = std::move(observer);
}

void Document::SetRefuseReadLock(bool refuse)
{
	std::lock_guard<std::mutex> state(fStateLock);
	fRefuseRead = refuse;
}

void Document::SetRefuseWriteLock(bool refuse)
{
	std::lock_guard<std::mutex> state(fStateLock);
	fRefuseWrite = refuse;
}

void Document::SetItemSizeLimit(size_t limit)
{
	fItemSizeLimit = limit;
}

bool Document::RefusesGrowth(BResourceItem* item, size_t size)
{
	const size_t limit = fItemSizeLimit;
	if (limit == 0 || size <= limit)
		return false;
	std::lock_guard<std::mutex> state(fStateLock);
	fRefusedGrowths++;
	fLastRefused = item;
	fOpenRefused = true;
	return true;
}

uint32 Document::CountRefusedGrowths() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return fRefusedGrowths;
}

BResourceHandle Document::LastRefusedItem() const
{
	std::lock_guard<std::mutex> state(fStateLock);
	return fLastRefused != NULL ? BResourceHandle(fLastRefused) : BResourceHandle();
}

const BResourceCollection* Document::LockForReading()
{
	{
		std::lock_guard<std::mutex> state(fStateLock);
		if (fRefuseRead)
			return NULL;
	}
	fLock.lock_shared();
	return fCollection;
}

void Document::UnlockForReading()
{
	fLock.unlock_shared();
}

BResourceCollection* Document::LockForWriting(const char* undoName)
{
	std::function<void(const char*)> observer;
	{
		std::lock_guard<std::mutex> state(fStateLock);
		observer = fWriteLockObserver;
	}
	if (observer)
		observer(undoName);
	{
		std::lock_guard<std::mutex> state(fStateLock);
		if (fRefuseWrite)
			return NULL;
	}
	// Made before the lock is taken: running out of memory here leaves
	// nothing held.
	std::string name = undoName != NULL ? undoName : "";
	fLock.lock();
	fOpenStep.name = std::move(name);
	fOpenStep.edits.clear();
	fOpenWriters.clear();
	fOpenChanges.clear();
	return fCollection;
}

void Document::UnlockForWriting()
{
	// A removal that an item held back for a replacement goes before any
	// other thread can read the item; only items written under this lock
	// can hold one.
	for (const auto& written : fOpenWriters)
		written.first->TakeOutPendingRemoval();
	Step step = std::move(fOpenStep);
	fOpenStep = Step();
	fOpenWriters.clear();
	std::vector<ItemChange> changes = std::move(fOpenChanges);
	fOpenChanges.clear();
	const bool changed = !step.edits.empty();
	bool refused;
	{
		std::lock_guard<std::mutex> state(fStateLock);
		refused = fOpenRefused;
		fOpenRefused = false;
	}
	if (changed) {
		try {
			RecordStep(step);
		} catch (...) {
			// A step that cannot be kept for undo is taken back: the items
			// are as before the write lock, and the failure passes on.
			ApplyStep(step, false);
			fLock.unlock();
			throw;
		}
	}
	fLock.unlock();
	PostNotices();
	if (changed || refused)
		NotifyListeners(changes);
}

void Document::RecordStep(Step& step)
{
	// Each way of keeping the step changes nothing when it runs out of
	// memory; everything after it cannot fail.
	std::lock_guard<std::mutex> state(fStateLock);
	BResourceItem* item = step.edits.front().item;
	const bool oneItem =
	    std::all_of(step.edits.begin(), step.edits.end(), [item](const Edit& edit) {
		    return edit.item == item && edit.kind == Edit::kBytes;
	    });
	if (fMergeOpen && oneItem && !fUndo.empty() && fUndo.back().name == step.name &&
	    Continues(fUndo.back().edits.back(), step.edits.front())) {
		// One edit folds in place: AppendEdit changes nothing when it runs
		// out of memory. Several fold into a copy, which replaces the step's
		// edits only once every edit is in.
		if (step.edits.size() == 1)
			AppendEdit(fUndo.back().edits, Edit(step.edits.front()));
		else {
			std::vector<Edit> edits = fUndo.back().edits;
			for (Edit& edit : step.edits)
				AppendEdit(edits, Edit(edit));
			fUndo.back().edits.swap(edits);
		}
	} else {
		// A saved state that was undone cannot come back once a new step
		// replaces the redo history.
		const bool savedStateGone = fSavedDepth > int32(fUndo.size());
		fUndo.push_back(std::move(step));
		if (savedStateGone)
			fSavedDepth = -1;
		fMergeOpen = oneItem;
	}
	fRedo.clear();
}

void Document::SetWatcher(const BResourceAddonBase* who, BHandler* target)
{
	std::lock_guard<std::mutex> state(fStateLock);
	if (target == NULL)
		fWatchers.erase(who);
	else
		fWatchers[who].target = target;
}

void Document::RemoveWatcher(const BResourceAddonBase* who)
{
	std::lock_guard<std::mutex> state(fStateLock);
	fWatchers.erase(who);
}

BResourceItem* Document::Resolve(const BResourceHandle& item) const
{
	// Handles of other documents, or of items of a deleted one, match none
	// of ours.
	std::unordered_map<const BResourceItem*, bool>::const_iterator found = fLive.find(item.fItem);
	return found != fLive.end() && found->second ? item.fItem : NULL;
}

void Document::BeginItemWrite(BResourceItem* item, const BResourceAddonBase* who)
{
	fOpenWriters[item] = who;
}

void Document::RecordEdit(BResourceItem* item, bool insertion, off_t position, const void* bytes,
                          size_t length)
{
	// The edit joins the step last: when memory runs out on the way, the
	// step holds no edit that was not made (a notice too many does no harm).
	Edit edit{Edit::kBytes,
	          item,
	          insertion,
	          position,
	          std::string(static_cast<const char*>(bytes), length),
	          -1,
	          0,
	          0,
	          ""};
	NoteChange(fOpenChanges, item, kItemDataChanged);
	std::map<BResourceItem*, const BResourceAddonBase*>::const_iterator writer =
	    fOpenWriters.find(item);
	{
		std::lock_guard<std::mutex> state(fStateLock);
		QueueChange(item, B_RESOURCE_DATA_CHANGED,
		            writer != fOpenWriters.end() ? writer->second : NULL);
	}
	AppendEdit(fOpenStep.edits, std::move(edit));
}

BResourceHandle Document::TakeNextChange(const BResourceAddonBase* who, uint32* changes)
{
	std::lock_guard<std::mutex> state(fStateLock);
	std::map<const BResourceAddonBase*, Watcher>::iterator watcher = fWatchers.find(who);
	if (watcher == fWatchers.end() || watcher->second.pending.empty()) {
		*changes = 0;
		return BResourceHandle();
	}
	std::vector<std::pair<BResourceItem*, uint32>>& pending = watcher->second.pending;
	BResourceHandle item(pending.front().first);
	*changes = pending.front().second;
	pending.erase(pending.begin());
	return item;
}

bool Document::Continues(const Edit& last, const Edit& edit)
{
	if (last.item != edit.item || last.kind != Edit::kBytes || edit.kind != Edit::kBytes)
		return false;
	const off_t runEnd = last.position + off_t(last.bytes.size());
	const off_t editEnd = edit.position + off_t(edit.bytes.size());
	if (last.insertion) {
		// Typing goes on at the run's end; the second digit of a byte, or
		// a Backspace, changes bytes of the run itself.
		if (edit.insertion)
			return edit.position == runEnd;
		return edit.position >= last.position && editEnd <= runEnd;
	}
	// Bytes put in where a removal was replace what it took (a selection
	// typed over: one key, so one step).
	if (edit.insertion)
		return edit.position == last.position;
	return editEnd == last.position || edit.position == last.position;
}

// Folds an edit into the step's last one when both touch one run of the same
// item, so that typing, Backspace or Delete held over many keys is one edit
// and undoing or redoing it moves the bytes after the run once, not once per
// key. Folded edits leave the item exactly as the separate ones did:
// - an insertion inside or at either end of the inserted run joins the run;
// - a removal inside the inserted run takes its bytes out of the run, unless
//   that would empty the step's only edit (a step always changes something);
// - a removal that ends where the removed run starts (Backspace) or starts
//   where it starts (Delete) joins the removed bytes.
void Document::AppendEdit(std::vector<Edit>& edits, Edit&& edit)
{
	if (!edits.empty() && edits.back().item == edit.item && edits.back().kind == Edit::kBytes &&
	    edit.kind == Edit::kBytes) {
		Edit& last = edits.back();
		const off_t runEnd = last.position + off_t(last.bytes.size());
		const off_t editEnd = edit.position + off_t(edit.bytes.size());
		if (last.insertion && edit.insertion && edit.position >= last.position &&
		    edit.position <= runEnd) {
			last.bytes.insert(size_t(edit.position - last.position), edit.bytes);
			return;
		}
		if (last.insertion && !edit.insertion && edit.position >= last.position &&
		    editEnd <= runEnd && (edit.bytes.size() < last.bytes.size() || edits.size() > 1)) {
			last.bytes.erase(size_t(edit.position - last.position), edit.bytes.size());
			if (last.bytes.empty())
				edits.pop_back();
			return;
		}
		if (!last.insertion && !edit.insertion) {
			if (editEnd == last.position) {
				last.bytes.insert(0, edit.bytes);
				last.position = edit.position;
				return;
			}
			if (edit.position == last.position) {
				last.bytes.append(edit.bytes);
				return;
			}
		}
	}
	edits.push_back(std::move(edit));
}

void Document::QueueChange(BResourceItem* item, uint32 bits, const BResourceAddonBase* except)
{
	for (std::pair<const BResourceAddonBase* const, Watcher>& entry : fWatchers) {
		if (entry.first == except)
			continue;
		std::vector<std::pair<BResourceItem*, uint32>>& pending = entry.second.pending;
		std::vector<std::pair<BResourceItem*, uint32>>::iterator found =
		    std::find_if(pending.begin(), pending.end(),
		                 [item](const std::pair<BResourceItem*, uint32>& change) {
			                 return change.first == item;
		                 });
		if (found != pending.end())
			found->second |= bits;
		else
			pending.push_back(std::make_pair(item, bits));
	}
}

status_t Document::Replay(bool undo)
{
	std::vector<ItemChange> changes;
	fLock.lock();
	{
		std::lock_guard<std::mutex> state(fStateLock);
		std::vector<Step>& from = undo ? fUndo : fRedo;
		if (from.empty()) {
			fLock.unlock();
			return B_ERROR;
		}
		std::vector<Step>& to = undo ? fRedo : fUndo;
		to.reserve(to.size() + 1);
		Reserve(from.back());
		Step step = std::move(from.back());
		from.pop_back();
		ApplyStep(step, !undo);
		// Every watcher hears of a replay, the one that made the step too.
		for (const Edit& edit : step.edits) {
			QueueChange(edit.item, ChangeBits(edit, !undo), NULL);
			NoteChange(changes, edit.item, ChangeBits(edit, !undo));
		}
		to.push_back(std::move(step));
		fMergeOpen = false;
	}
	fLock.unlock();
	PostNotices();
	NotifyListeners(changes);
	return B_OK;
}

void Document::PostNotices()
{
	// Posted with the state lock held, so that a watcher cannot go away
	// between the look-up of its target and the post.
	std::lock_guard<std::mutex> state(fStateLock);
	for (std::pair<const BResourceAddonBase* const, Watcher>& entry : fWatchers) {
		if (entry.second.pending.empty())
			continue;
		BHandler* target = entry.second.target;
		BLooper* looper = target->Looper();
		if (looper == NULL)
			continue;
		BMessage notice(B_RESOURCE_CHANGE_NOTICE);
		looper->PostMessage(&notice, target);
	}
}

void Document::NotifyListeners(const std::vector<ItemChange>& changes)
{
	std::vector<std::pair<int32, Listener>> listeners;
	{
		std::lock_guard<std::mutex> state(fStateLock);
		listeners = fListeners;
	}
	for (const std::pair<int32, Listener>& listener : listeners)
		listener.second(changes);
}
