// DocumentFile: a file's items in and out of the document.

#include "DocumentFile.h"

#include <DataIO.h>
#include <Errors.h>
#include <TypeConstants.h>

#include "Document.h"
#include "ItemListing.h"

namespace {

std::string BytesOf(const BMallocIO& data)
{
	if (data.Buffer() == NULL)
		return std::string();
	return std::string(static_cast<const char*>(data.Buffer()), data.BufferLength());
}

// A count with thousands separators: "35,664".
std::string Grouped(uint64 count)
{
	// Built front to back: GCC warns falsely (-Wrestrict) about inserts
	// into the middle of a string once this is inlined.
	const std::string digits = std::to_string(count);
	std::string grouped;
	for (size_t at = 0; at < digits.size(); at++) {
		if (at > 0 && (digits.size() - at) % 3 == 0)
			grouped += ',';
		grouped += digits[at];
	}
	return grouped;
}

std::string Counted(uint64 count, const char* noun)
{
	return (count == 0 ? std::string("no") : Grouped(count)) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

DocumentFile::DocumentFile(const std::string& path) : fFile(path), fIsResourceFile(false) {}

status_t DocumentFile::Read(uint64 itemSizeLimit,
                            const std::function<std::string(uint64)>& whyTooLarge)
{
	fError.clear();
	// The view's bound is on each item, not on the file: a resource file
	// may hold several items that each fit.
	if (fFile.Read(ItemFile::kMaxSize) != B_OK) {
		fError = fFile.ErrorMessage();
		return B_ERROR;
	}
	auto tooLarge = [&](const std::string& what, uint64 size) {
		const std::string why = whyTooLarge ? whyTooLarge(size)
		                                    : "at most " + std::to_string(itemSizeLimit) +
		                                          " bytes fit the view's exact coordinates";
		fError = fFile.Path() + ": " + what + "too large: " + std::to_string(size) + " bytes (" +
		         why + ")";
		return B_ERROR;
	};
	const std::vector<char>& data = fFile.Data();
	const ResourceFile::Kind kind = ResourceFile::KindOf(data.data(), data.size());
	fIsResourceFile = kind != ResourceFile::kNotResourceFile;
	if (!fIsResourceFile)
		return data.size() > itemSizeLimit ? tooLarge("", data.size()) : B_OK;
	if (fResources.Parse(data.data(), data.size()) != B_OK) {
		const char* what = kind == ResourceFile::kExecutableFile ? "executable" : "resource file";
		fError = fFile.Path() + ": damaged " + what + ": " + fResources.ErrorMessage();
		return B_ERROR;
	}
	for (const ResourceFile::Item& item : fResources.Items()) {
		if (item.data.size() > itemSizeLimit) {
			return tooLarge("item of type " + ItemListing::TypeText(item.type) + ", id " +
			                    std::to_string(item.id) + " ",
			                item.data.size());
		}
	}
	fStoredItems = fResources.Items();
	return B_OK;
}

void DocumentFile::StartResourceFile()
{
	fIsResourceFile = true;
	fResources = ResourceFile(ResourceFile::kX86File);
	fStoredItems.clear();
}

void DocumentFile::AddItemsTo(Document& document, int32 id)
{
	if (fIsResourceFile) {
		for (const ResourceFile::Item& item : fResources.Items()) {
			fItems.insert(document.AddItem(item.type, item.id, item.name.c_str(), item.data.data(),
			                               item.data.size()));
		}
	} else {
		const std::vector<char>& data = fFile.Data();
		fItems.insert(
		    document.AddItem(B_RAW_TYPE, id, fFile.Name().c_str(), data.data(), data.size()));
	}
}

std::string DocumentFile::Description(const Document& document) const
{
	const uint64 count = LiveItems(document).size();
	switch (fIsResourceFile ? fResources.FileKind() : ResourceFile::kNotResourceFile) {
	case ResourceFile::kX86File:
		return "x86 resource file, " + Counted(count, "resource");
	case ResourceFile::kPpcFile:
		return "PPC resource file, " + Counted(count, "resource");
	case ResourceFile::kExecutableFile:
		return fResources.Executable().KindName() + ", " + Counted(count, "resource") +
		       " after an image of " + Grouped(fResources.LeadingBytes().size()) + " bytes";
	case ResourceFile::kNotResourceFile:
		break;
	}
	return "no resource file: the file's bytes as one item";
}

bool DocumentFile::HasChanges(const Document& document) const
{
	if (fIsResourceFile)
		return ItemsOf(document) != fStoredItems;
	// A raw file whose item is gone has nothing to save; Save says so.
	const std::vector<BResourceHandle> items = LiveItems(document);
	if (items.empty())
		return true;
	bool differs = false;
	document.ReadItem(items.front(), [this, &differs](const BResourceItem& item) {
		differs = fFile.Differs(item.DataIO().Buffer(), item.DataIO().BufferLength());
	});
	return differs;
}

std::string DocumentFile::SaveWarning(const Document& document)
{
	if (!HasChanges(document))
		return std::string();
	return fFile.SaveWarning();
}

status_t DocumentFile::Save(const Document& document)
{
	fError.clear();
	fNotice.clear();
	// Items are compared, not bytes: a file laid out otherwise than this
	// writer lays it out flattens to other bytes with the same items.
	if (!HasChanges(document))
		return B_OK;
	std::string bytes;
	if (Flatten(document, bytes) != B_OK)
		return B_ERROR;
	if (fFile.Write(bytes.data(), bytes.size()) != B_OK) {
		fError = fFile.ErrorMessage();
		return B_ERROR;
	}
	fStoredItems = fResources.Items();
	fNotice = fFile.SaveNotice();
	return B_OK;
}

std::vector<ResourceFile::Item> DocumentFile::ItemsOf(const Document& document) const
{
	std::vector<ResourceFile::Item> items;
	// Read under the document's lock: another window may be editing.
	for (const BResourceHandle& handle : LiveItems(document)) {
		document.ReadItem(handle, [&items](const BResourceItem& item) {
			items.push_back({item.Type(), item.ID(), item.Name() != NULL ? item.Name() : "",
			                 BytesOf(item.DataIO())});
		});
	}
	return items;
}

status_t DocumentFile::Flatten(const Document& document, std::string& bytes)
{
	if (fIsResourceFile) {
		fResources.SetItems(ItemsOf(document));
		if (fResources.Flatten(bytes) != B_OK) {
			fError = fFile.Path() + ": cannot save: " + fResources.ErrorMessage();
			return B_ERROR;
		}
	} else {
		const std::vector<BResourceHandle> items = LiveItems(document);
		if (items.empty()) {
			fError = fFile.Path() + ": cannot save: its item is no longer in the document";
			return B_ERROR;
		}
		document.ReadItem(items.front(),
		                  [&bytes](const BResourceItem& item) { bytes = BytesOf(item.DataIO()); });
	}
	return B_OK;
}

std::vector<BResourceHandle> DocumentFile::LiveItems(const Document& document) const
{
	std::vector<BResourceHandle> items = document.Items();
	std::erase_if(items, [this](const BResourceHandle& item) { return !Holds(item); });
	return items;
}
